#include "file_replace.h"

#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <cstring>

std::FILE* CreateNewFile(const char* name, bool& exists)
{
    HANDLE handle = CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    exists = handle == INVALID_HANDLE_VALUE &&
             (GetLastError() == ERROR_FILE_EXISTS || GetLastError() == ERROR_ALREADY_EXISTS);
    if (handle == INVALID_HANDLE_VALUE)
        return nullptr;
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
    std::FILE* file = descriptor >= 0 ? _fdopen(descriptor, "wb") : nullptr;
    if (!file) {
        if (descriptor >= 0)
            _close(descriptor);
        else
            CloseHandle(handle);
    }
    return file;
}

bool CloseWrittenThrough(std::FILE* file)
{
    const bool flushed = std::fflush(file) == 0 &&
                         FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file))));
    const DWORD error = GetLastError();
    const bool closed = std::fclose(file) == 0;
    SetLastError(error);
    return closed && flushed;
}

// ReplaceFileA keeps the old file's attributes and security, but needs an
// old file: a new name (Save As) takes a move written through instead. The
// new file lies in the target's own folder, so either is a rename. With a
// backup name it never deletes the old file, whatever step fails.
bool ReplaceKeepingBackup(const char* newFile, const char* target, const char* backup)
{
    if (!FileExists(target) && GetLastError() == ERROR_FILE_NOT_FOUND)
        return MoveToFreeName(newFile, target);
    return ReplaceFileA(target, newFile, backup, 0, nullptr, nullptr) != 0;
}

bool MoveToFreeName(const char* from, const char* to)
{
    return MoveFileExA(from, to, MOVEFILE_WRITE_THROUGH) != 0;
}

bool FileExists(const char* name)
{
    return GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES;
}

void LastSystemErrorText(char* text, size_t size)
{
    const DWORD error = GetLastError();
    if (!FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                        static_cast<DWORD>(size), nullptr))
        std::snprintf(text, size, "System error %lu.", static_cast<unsigned long>(error));
    // The system's text ends with a line break.
    for (size_t end = std::strlen(text); end > 0 && (text[end - 1] == '\r' || text[end - 1] == '\n'); --end)
        text[end - 1] = '\0';
}
