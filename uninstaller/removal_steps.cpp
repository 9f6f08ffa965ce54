// The removal of the files, the Start-menu folder and the registry entries
// that an installation makes (installed_product.h). Something already gone counts as
// removed; anything else that an installation did not make is left alone.
#include "removal_steps.h"

#include <windows.h>
#include <shlwapi.h>

#include <cstring>

#include "installed_product.h"

namespace {

bool IsGone(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

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

// A folder that still holds anything is the user's to keep: true then.
bool RemoveFolderIfEmpty(const char* folder, RemovalReport* report)
{
    if (RemoveDirectoryA(folder))
        return false;
    const DWORD error = GetLastError();
    if (error != ERROR_DIR_NOT_EMPTY && !IsGone(error))
        AddFailure(report, folder);
    return error == ERROR_DIR_NOT_EMPTY;
}

void RemoveShortcuts(RemovalReport* report)
{
    char folder[PATH_SIZE];
    if (!FindStartMenuFolder(folder, sizeof folder)) {
        AddFailure(report, "the Start menu's folder Velari");
        return;
    }
    for (const InstalledShortcut& shortcut : INSTALLED_SHORTCUTS)
        RemoveFile(folder, shortcut.linkName, report);
    RemoveFolderIfEmpty(folder, report);
}

void AddKeyFailure(HKEY root, const char* key, RemovalReport* report)
{
    char name[PATH_SIZE];
    const char* rootName = root == HKEY_CLASSES_ROOT ? "HKEY_CLASSES_ROOT\\" : "HKEY_LOCAL_MACHINE\\";
    AddFailure(report, JoinPath(name, sizeof name, rootName, key) ? name : key);
}

void RemoveKeyTree(HKEY root, const char* key, RemovalReport* report)
{
    const DWORD result = SHDeleteKeyA(root, key);
    if (result != ERROR_SUCCESS && !IsGone(result))
        AddKeyFailure(root, key, report);
}

// Another program's keys or values below it keep it.
void RemoveKeyIfEmpty(HKEY root, const char* key, RemovalReport* report)
{
    HKEY handle;
    if (RegOpenKeyExA(root, key, 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return;
    DWORD subkeys = 1, values = 1;
    const bool empty = RegQueryInfoKeyA(handle, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                                        &values, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
                       subkeys == 0 && values == 0;
    RegCloseKey(handle);
    if (empty && RegDeleteKeyA(root, key) != ERROR_SUCCESS)
        AddKeyFailure(root, key, report);
}

// Only while the extension still names our class: a program that took the
// association over keeps it.
void RemoveTrackAssociation(RemovalReport* report)
{
    char value[PATH_SIZE] = "";
    LONG size = sizeof value;
    if (RegQueryValueA(HKEY_CLASSES_ROOT, TRACK_EXTENSION_KEY, value, &size) != ERROR_SUCCESS)
        return;
    value[sizeof value - 1] = '\0';
    if (lstrcmpiA(value, TRACK_CLASS_KEY) == 0)
        RemoveKeyTree(HKEY_CLASSES_ROOT, TRACK_EXTENSION_KEY, report);
}

void RemoveRegistryEntries(RemovalReport* report)
{
    RemoveKeyTree(HKEY_LOCAL_MACHINE, PROGRAM_KEY, report);
    for (const char* parent : PROGRAM_KEY_PARENTS)
        RemoveKeyIfEmpty(HKEY_LOCAL_MACHINE, parent, report);
    RemoveTrackAssociation(report);
    RemoveKeyTree(HKEY_CLASSES_ROOT, TRACK_CLASS_KEY, report);
    RemoveKeyTree(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, report);
}

}  // namespace

bool IsInstallation(const char* folder)
{
    char editor[PATH_SIZE];
    if (JoinPath(editor, sizeof editor, folder, "Velari.exe") &&
        GetFileAttributesA(editor) != INVALID_FILE_ATTRIBUTES)
        return true;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, PROGRAM_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void RemoveInstallation(const char* folder, RemovalReport* report)
{
    RemoveInstalledParts(folder, report);
    RemoveUninstallerAndFolder(folder, report);
}

void RemoveInstalledParts(const char* folder, RemovalReport* report)
{
    // The uninstaller goes apart, once no process runs from it.
    for (const InstalledFile& file : INSTALLED_FILES)
        if (strcmp(file.expandedName, UNINSTALLER_FILE) != 0)
            RemoveFile(folder, file.expandedName, report);
    for (const char* name : HELP_VIEWER_FILES)
        RemoveFile(folder, name, report);
    RemoveShortcuts(report);
    RemoveRegistryEntries(report);
}

void RemoveUninstallerAndFolder(const char* folder, RemovalReport* report)
{
    RemoveFile(folder, UNINSTALLER_FILE, report);
    if (RemoveFolderIfEmpty(folder, report))
        NoteKeptFolder(report, folder);
}
