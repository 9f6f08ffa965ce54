#include "folder_rights.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

const char PROGRAM_FOLDER_RIGHTS[] = "D:PAI(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)";
const char HANDOVER_FOLDER_RIGHTS[] = "D:PAI(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1300a9;;;BU)";

namespace {

bool StartsWithIgnoringCase(const char* text, const char* start)
{
    auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
    for (; *start; ++text, ++start)
        if (upper(*text) != upper(*start))
            return false;
    return true;
}

// The rights that change a folder or what is in it: write data or add a
// file, append or add a folder, write extended attributes, delete a child,
// write attributes, delete, change the DACL or the owner, all or write.
const uint32_t CHANGING_RIGHTS = 0x2 | 0x4 | 0x10 | 0x40 | 0x100 | 0x10000 | 0x40000 | 0x80000 | 0x10000000 | 0x40000000;

// An ACE's rights: a number, or the two-letter names SDDL gives them. A
// name not known gives all rights.
uint32_t RightsOf(const char* rights, size_t length)
{
    if (length > 2 && rights[0] == '0' && (rights[1] == 'x' || rights[1] == 'X'))
        return static_cast<uint32_t>(strtoul(rights, nullptr, 16));
    static const struct { char name[3]; uint32_t mask; } NAMES[] = {
        {"GA", 0x10000000}, {"GR", 0x80000000}, {"GW", 0x40000000}, {"GX", 0x20000000}, {"RC", 0x20000},
        {"SD", 0x10000},    {"WD", 0x40000},    {"WO", 0x80000},    {"FA", 0x1f01ff},   {"FR", 0x120089},
        {"FW", 0x120116},   {"FX", 0x1200a0},   {"CC", 0x1},        {"DC", 0x2},        {"LC", 0x4},
        {"SW", 0x8},        {"RP", 0x10},       {"WP", 0x20},       {"DT", 0x40},       {"LO", 0x80},
        {"CR", 0x100},
    };
    uint32_t mask = 0;
    for (size_t at = 0; at < length; at += 2) {
        bool known = false;
        for (const auto& name : NAMES)
            if (at + 1 < length && rights[at] == name.name[0] && rights[at + 1] == name.name[1]) {
                mask |= name.mask;
                known = true;
            }
        if (!known)
            return 0xffffffff;
    }
    return mask;
}

bool TrustedTrustee(const char* sid, size_t length, const char* ownSid)
{
    static const char* const TRUSTED[] = {"SY", "BA", "CO",
                                          "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464"};
    for (const char* trusted : TRUSTED)
        if (strlen(trusted) == length && strncmp(sid, trusted, length) == 0)
            return true;
    return ownSid && ownSid[0] && strlen(ownSid) == length && strncmp(sid, ownSid, length) == 0;
}

}  // namespace

const char* RightsForNewFolder(InstallScope scope, const char* folder, const char* const programFiles[], size_t count)
{
    if (scope != SCOPE_ALL_USERS)
        return nullptr;
    for (size_t i = 0; i < count; ++i)
        if (programFiles[i][0] && StartsWithIgnoringCase(folder, programFiles[i]))
            return nullptr;
    return PROGRAM_FOLDER_RIGHTS;
}

// Each ACE is "(type;flags;rights;object;inherited object;trustee)"; only
// allowing ones give rights. One that only passes to what is made inside
// still reaches Velari's files there.
bool OthersMayChange(const char* sddl, const char* ownSid)
{
    const char* dacl = strstr(sddl, "D:");
    if (!dacl || strncmp(dacl + 2, "NO_ACCESS_CONTROL", 17) == 0)
        return true;
    for (const char* ace = strchr(dacl, '('); ace; ace = strchr(ace + 1, '(')) {
        const char* fields[6];
        size_t lengths[6];
        const char* at = ace + 1;
        int count = 0;
        for (; count < 6; ++count) {
            fields[count] = at;
            lengths[count] = strcspn(at, ";)");
            at += lengths[count];
            if (*at != ';')
                break;
            ++at;
        }
        if (count != 5 || *at != ')')
            return true;  // not understood
        const bool allows = lengths[0] == 1 && fields[0][0] == 'A';
        if (allows && (RightsOf(fields[2], lengths[2]) & CHANGING_RIGHTS) &&
            !TrustedTrustee(fields[5], lengths[5], ownSid))
            return true;
    }
    return false;
}

#ifdef _WIN32
#include <aclapi.h>
#include <sddl.h>

bool CreateFolderWithRights(const char* folder, const char* sddl)
{
    if (!sddl)
        return CreateDirectoryA(folder, nullptr);
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, nullptr, FALSE};
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &attributes.lpSecurityDescriptor,
                                                              nullptr))
        return false;
    const BOOL made = CreateDirectoryA(folder, &attributes);
    const DWORD error = GetLastError();
    LocalFree(attributes.lpSecurityDescriptor);
    SetLastError(error);
    return made;
}

bool ReadFolderRights(const char* folder, char* sddl, size_t size)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    PACL dacl = nullptr;
    if (GetNamedSecurityInfoA(folder, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl, nullptr,
                              &descriptor) != ERROR_SUCCESS)
        return false;
    char* text = nullptr;
    const bool read = ConvertSecurityDescriptorToStringSecurityDescriptorA(descriptor, SDDL_REVISION_1,
                                                                           DACL_SECURITY_INFORMATION, &text, nullptr) &&
                      JoinPath(sddl, size, text, nullptr);
    LocalFree(text);
    LocalFree(descriptor);
    return read;
}

void ReadOwnSid(char* sid, size_t size)
{
    sid[0] = '\0';
    HANDLE token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return;
    union { TOKEN_USER user; BYTE bytes[256]; } data;
    DWORD length = 0;
    char* text = nullptr;
    if (GetTokenInformation(token, TokenUser, &data, sizeof data, &length) &&
        ConvertSidToStringSidA(data.user.User.Sid, &text))
        JoinPath(sid, size, text, nullptr);
    LocalFree(text);
    CloseHandle(token);
}
#endif
