#include "installation_removal.h"

#include <cstring>

#include "removal_rules.h"

namespace {

bool IsGone(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

void AddKeyFailure(RegistryPlace place, const char* key, const char* why, RemovalReport* report)
{
    char name[PATH_SIZE + 100];
    const bool named = JoinPath(name, sizeof name, ROOT_NAMES[place.root], "\\", key) &&
                       JoinPath(name, sizeof name, name, place.view ? (place.view == KEY_WOW64_32KEY ? " (32-bit)" : " (64-bit)") : "", why);
    AddFailure(report, named ? name : key);
}

}  // namespace

void RemoveFile(const char* folder, const char* name, RemovalReport* report)
{
    char path[PATH_SIZE];
    if (!JoinPath(path, sizeof path, folder, name)) {
        AddFailure(report, name);
        return;
    }
    // A read-only mark, which the help viewer may leave, must not keep it.
    SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
    if (!DeleteFileA(path) && !IsGone(GetLastError()))
        AddFailure(report, path);
}

bool RemoveFolderIfEmpty(const char* folder, RemovalReport* report)
{
    if (RemoveDirectoryA(folder))
        return false;
    const DWORD error = GetLastError();
    if (error != ERROR_DIR_NOT_EMPTY && !IsGone(error))
        AddFailure(report, folder);
    return error == ERROR_DIR_NOT_EMPTY;
}

void RemoveProgramFiles(const char* folder, bool withUninstaller, RemovalReport* report)
{
    for (const InstalledFile& file : INSTALLED_FILES)
        if (withUninstaller || strcmp(file.expandedName, UNINSTALLER_FILE) != 0)
            RemoveFile(folder, file.expandedName, report);
    for (const char* name : HELP_VIEWER_FILES)
        RemoveFile(folder, name, report);
}

// Its subkeys and values through a handle in the view, then the key itself.
void RemoveKeyTree(RegistryPlace place, const char* key, RemovalReport* report)
{
    const HKEY root = RootKey(place.root);
    HKEY handle;
    LONG result = RegOpenKeyExA(root, key, 0, KEY_ALL_ACCESS | place.view, &handle);
    if (result == ERROR_SUCCESS) {
        result = RegDeleteTreeA(handle, nullptr);
        RegCloseKey(handle);
        if (result == ERROR_SUCCESS)
            result = RegDeleteKeyExA(root, key, place.view, 0);
    }
    if (result != ERROR_SUCCESS && !IsGone(static_cast<DWORD>(result)))
        AddKeyFailure(place, key, "", report);
}

void RemoveKeyIfEmpty(RegistryPlace place, const char* key, RemovalReport* report)
{
    const HKEY root = RootKey(place.root);
    HKEY handle;
    DWORD subkeys = 0, values = 0;
    const LONG opened = RegOpenKeyExA(root, key, 0, KEY_READ | place.view, &handle);
    LONG queried = opened;
    if (opened == ERROR_SUCCESS) {
        queried = RegQueryInfoKeyA(handle, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                                   nullptr, nullptr, nullptr);
        RegCloseKey(handle);
    }
    switch (DecideEmptyKey(opened, queried, subkeys, values)) {
    case EMPTY_KEY_UNCHECKED: AddKeyFailure(place, key, ": kept, as it can't be looked into", report); break;
    // Refused by the system should anything have come below it meanwhile.
    case EMPTY_KEY_DELETE: {
        const LONG deleted = RegDeleteKeyExA(root, key, place.view, 0);
        if (deleted != ERROR_SUCCESS && !IsGone(static_cast<DWORD>(deleted)))
            AddKeyFailure(place, key, "", report);
        break;
    }
    default: break;
    }
}

void RemoveProgramKeys(RegistryPlace place, RemovalReport* report)
{
    RemoveKeyTree(place, PROGRAM_KEY, report);
    for (const char* parent : PROGRAM_KEY_PARENTS)
        RemoveKeyIfEmpty(place, parent, report);
    RemoveKeyTree(place, UNINSTALL_KEY, report);
}
