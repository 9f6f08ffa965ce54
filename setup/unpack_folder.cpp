#include "unpack_folder.h"

#include <ntsecapi.h>
#include <sddl.h>

#include <cstring>

#include "path_size.h"
#include "unpack_rules.h"

namespace {

// The process's user as SID text, as the descriptor's rules take it.
bool UserSidText(char* text, size_t size)
{
    HANDLE token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return false;
    union {
        TOKEN_USER user;
        BYTE bytes[256];
    } buffer;
    DWORD length = 0;
    char* sid = nullptr;
    const bool known = GetTokenInformation(token, TokenUser, &buffer, sizeof buffer, &length) &&
                       ConvertSidToStringSidA(buffer.user.User.Sid, &sid);
    CloseHandle(token);
    const bool fits = known && strlen(sid) < size;
    if (fits)
        strcpy(text, sid);
    if (sid)
        LocalFree(sid);
    return fits;
}

uint32_t RandomNumber()
{
    uint32_t number = GetTickCount();
    RtlGenRandom(&number, sizeof number);
    return number;
}

// Its contents, then the folder itself, which ends in a backslash; false
// while anything is left. Folders nest no deeper than the installer makes
// them; deeper ones stay.
bool RemoveTree(const char* folder, int depth)
{
    char pattern[PATH_SIZE];
    WIN32_FIND_DATAA entry;
    HANDLE found = JoinPath(pattern, sizeof pattern, folder, "*") ? FindFirstFileA(pattern, &entry)
                                                                    : INVALID_HANDLE_VALUE;
    for (BOOL more = found != INVALID_HANDLE_VALUE; more; more = FindNextFileA(found, &entry)) {
        char path[PATH_SIZE];
        if (!strcmp(entry.cFileName, ".") || !strcmp(entry.cFileName, "..") ||
            !JoinPath(path, sizeof path, folder, entry.cFileName))
            continue;
        const DWORD attributes = entry.dwFileAttributes;
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT) && depth < 8 &&
            JoinPath(path, sizeof path, path, "\\"))
            RemoveTree(path, depth + 1);
        else if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            RemoveDirectoryA(path);
        else {
            SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);  // a read-only file, too
            DeleteFileA(path);
        }
    }
    if (found != INVALID_HANDLE_VALUE)
        FindClose(found);
    return RemoveDirectoryA(folder) || GetFileAttributesA(folder) == INVALID_FILE_ATTRIBUTES;
}

}  // namespace

namespace {

SECURITY_ATTRIBUTES* userOnly;

unsigned long MakeUserOnlyFolder(const char* folder)
{
    return CreateDirectoryA(folder, userOnly) ? 0 : GetLastError();
}

}  // namespace

DWORD MakeUnpackFolder(char* folder, size_t size)
{
    char temporary[PATH_SIZE], sid[200], sddl[600];
    const DWORD length = GetTempPathA(sizeof temporary, temporary);
    if (length == 0 || length >= sizeof temporary)
        return length ? ERROR_FILENAME_EXCED_RANGE : GetLastError();
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!UserSidText(sid, sizeof sid) || !ComposeUserOnlyDescriptor(sddl, sizeof sddl, sid) ||
        !ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &descriptor, nullptr))
        return GetLastError() ? GetLastError() : ERROR_INVALID_SECURITY_DESCR;
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, descriptor, FALSE};
    userOnly = &attributes;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const uint64_t time = (static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    const DWORD error = MakeFreshUnpackFolder(folder, size, temporary, GetCurrentProcessId(), time, RandomNumber,
                                              MakeUserOnlyFolder);
    userOnly = nullptr;
    LocalFree(descriptor);
    return error;
}

DWORD UnpackPayload(const char* folder, const PayloadTable& table, const unsigned char* payload, const char** failed)
{
    for (int i = 0; i < table.count; ++i) {
        const PayloadFile& file = table.files[i];
        *failed = file.name;
        char path[PATH_SIZE];
        if (!JoinPath(path, sizeof path, folder, file.name))
            return ERROR_FILENAME_EXCED_RANGE;
        HANDLE handle = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE)
            return GetLastError();
        DWORD written = 0;
        const DWORD size = static_cast<DWORD>(file.size);
        const bool whole = WriteFile(handle, payload + file.offset, size, &written, nullptr) && written == size;
        const DWORD error = whole ? 0 : GetLastError() ? GetLastError() : ERROR_WRITE_FAULT;
        if (!CloseHandle(handle) && !error)
            return GetLastError();
        if (error)
            return error;
    }
    *failed = nullptr;
    return 0;
}

void RemoveUnpackFolder(const char* folder)
{
    // Right after the installer ends, its file may still be held for a
    // moment, as by a virus scanner: tried again for two seconds.
    for (int attempt = 0; attempt < 20 && !RemoveTree(folder, 0); ++attempt)
        Sleep(100);
}
