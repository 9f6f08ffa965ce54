// Whether two paths name the same folder, decided in one place for the
// installer and the uninstaller alike. A folder is held in one form: the
// full long path, with backslashes, no "." or "..", and one backslash at
// its end; so "HDDir", the entry, the open command and the log never hold a
// short name or a forward slash. Header only: the programs share no
// objects. The text rules build anywhere; the platform's answers need
// Windows.
#ifndef SAME_FOLDER_H
#define SAME_FOLDER_H

#include <cstring>

#include "path_size.h"

// Whether text starts with a drive's root, "D:\" or "D:/": only such a path
// is taken as a full one. Any other (relative, "D:name", a network path) is
// left as given, to be refused as naming no drive.
inline bool StartsWithDriveRoot(const char* text)
{
    const char letter = static_cast<char>(text[0] & ~0x20);
    return letter >= 'A' && letter <= 'Z' && text[1] == ':' && (text[2] == '\\' || text[2] == '/');
}

// out = given with either slash as a backslash, empty levels and "." left
// out, ".." taking back the level before (never the root), the drive's
// letter in capitals and one backslash at the end. False, out empty, for a
// text without a drive's root or one that does not fit size bytes.
inline bool CanonicalFolderText(const char* given, char* out, size_t size)
{
    if (size == 0)
        return false;
    out[0] = '\0';
    if (!StartsWithDriveRoot(given) || size < 4)
        return false;
    char folder[PATH_SIZE] = {static_cast<char>(given[0] & ~0x20), ':', '\\', '\0'};
    size_t length = 3;
    for (const char* at = given + 3; *at;) {
        const size_t name = std::strcspn(at, "\\/");
        if (name == 2 && at[0] == '.' && at[1] == '.') {
            while (length > 3 && folder[length - 2] != '\\')
                --length;
            length -= length > 3;
            folder[length] = '\0';
        } else if (name > 0 && !(name == 1 && at[0] == '.')) {
            if (length + name + 1 >= sizeof folder)
                return false;
            std::memcpy(folder + length, at, name);
            length += name;
            folder[length++] = '\\';
            folder[length] = '\0';
        }
        at += name + (at[name] != '\0');
    }
    return JoinPath(out, size, folder, nullptr);
}

#ifdef _WIN32
#include <windows.h>

// The levels of folder (canonical) that exist, in their long form; the rest,
// not made yet, as given. Short names exist only for what is on disk.
inline bool LongFormOfExisting(char* folder, size_t size)
{
    char existing[PATH_SIZE], longer[PATH_SIZE], rest[PATH_SIZE];
    if (!JoinPath(existing, sizeof existing, folder, nullptr))
        return false;
    for (size_t cut = std::strlen(existing); cut > 3;) {
        existing[cut] = '\0';
        const DWORD length = GetLongPathNameA(existing, longer, sizeof longer - 1);
        if (length > 0 && length < sizeof longer - 1) {
            if (longer[length - 1] != '\\')
                std::memcpy(longer + length, "\\", 2);
            return JoinPath(rest, sizeof rest, folder + cut, nullptr) && JoinPath(folder, size, longer, rest);
        }
        // Back to the level above: cut after the backslash before the last name.
        for (--cut; cut > 3 && existing[cut - 1] != '\\'; --cut) {
        }
    }
    return true;
}

// out = given in the one form (above), asking the system for the full path
// and the long names. False, out empty, where given names no drive's root
// or the result does not fit.
inline bool CanonicalFolder(const char* given, char* out, size_t size)
{
    char full[PATH_SIZE];
    if (size > 0)
        out[0] = '\0';
    if (!StartsWithDriveRoot(given))
        return false;
    const DWORD length = GetFullPathNameA(given, sizeof full, full, nullptr);
    return length > 0 && length < sizeof full && CanonicalFolderText(full, out, size) && PathFits(out) &&
           LongFormOfExisting(out, size);
}

// The folder's identity on its volume, where it exists.
inline bool FolderIdentity(const char* folder, BY_HANDLE_FILE_INFORMATION* identity)
{
    HANDLE handle = CreateFileA(folder, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    const bool known = GetFileInformationByHandle(handle, identity) != FALSE;
    CloseHandle(handle);
    return known;
}

// Case as the file system ignores it: for every letter, not ASCII alone.
inline bool SameTextIgnoringCase(const char* first, const char* second)
{
    WCHAR wideFirst[PATH_SIZE], wideSecond[PATH_SIZE];
    const int firstLength = MultiByteToWideChar(CP_ACP, 0, first, -1, wideFirst, PATH_SIZE);
    const int secondLength = MultiByteToWideChar(CP_ACP, 0, second, -1, wideSecond, PATH_SIZE);
    return firstLength > 0 && secondLength > 0 &&
           CompareStringOrdinal(wideFirst, firstLength - 1, wideSecond, secondLength - 1, TRUE) == CSTR_EQUAL;
}

// Where both folders exist, the same volume and file index decide (a link
// or a second name of the drive is the same folder); otherwise their one
// form, case ignored. A path without a drive's root is compared as given.
inline bool SameFolder(const char* first, const char* second)
{
    char canonicalFirst[PATH_SIZE], canonicalSecond[PATH_SIZE];
    const char* a = CanonicalFolder(first, canonicalFirst, sizeof canonicalFirst) ? canonicalFirst : first;
    const char* b = CanonicalFolder(second, canonicalSecond, sizeof canonicalSecond) ? canonicalSecond : second;
    BY_HANDLE_FILE_INFORMATION identityA, identityB;
    if (a[0] && b[0] && FolderIdentity(a, &identityA) && FolderIdentity(b, &identityB))
        return identityA.dwVolumeSerialNumber == identityB.dwVolumeSerialNumber &&
               identityA.nFileIndexHigh == identityB.nFileIndexHigh && identityA.nFileIndexLow == identityB.nFileIndexLow;
    return a[0] && SameTextIgnoringCase(a, b);
}
#endif

#endif
