// The removal of the files, the Start-menu folder and the registry entries
// that an installation makes (installed_product.h). Something already gone counts as
// removed; anything else that an installation did not make is left alone.
#include "removal_steps.h"

#include <windows.h>
#include <shlwapi.h>

#include <cstring>

#include "installed_product.h"
#include "removal_scope.h"
#include "running_programs.h"

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

void RemoveShortcuts(InstallScope scope, RemovalReport* report)
{
    char folder[PATH_SIZE];
    if (!FindStartMenuFolder(scope, folder, sizeof folder)) {
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
    const char* rootName = root == HKEY_CLASSES_ROOT ? "HKEY_CLASSES_ROOT\\"
                           : root == HKEY_CURRENT_USER ? "HKEY_CURRENT_USER\\" : "HKEY_LOCAL_MACHINE\\";
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
void RemoveTrackAssociation(HKEY root, const char* classes, RemovalReport* report)
{
    char extension[PATH_SIZE], trackClass[PATH_SIZE], value[PATH_SIZE] = "";
    LONG size = sizeof value;
    if (!JoinPath(extension, sizeof extension, classes, TRACK_EXTENSION_KEY) ||
        !JoinPath(trackClass, sizeof trackClass, classes, TRACK_CLASS_KEY))
        return;
    if (RegQueryValueA(root, extension, value, &size) == ERROR_SUCCESS) {
        value[sizeof value - 1] = '\0';
        if (lstrcmpiA(value, TRACK_CLASS_KEY) == 0)
            RemoveKeyTree(root, extension, report);
    }
    RemoveKeyTree(root, trackClass, report);
}

void RemoveRegistryEntries(InstallScope scope, RemovalReport* report)
{
    const ScopePlaces& places = SCOPE_PLACES[scope];
    const HKEY settings = RootKey(places.settingsRoot);
    RemoveKeyTree(settings, PROGRAM_KEY, report);
    for (const char* parent : PROGRAM_KEY_PARENTS)
        RemoveKeyIfEmpty(settings, parent, report);
    RemoveTrackAssociation(RootKey(places.classesRoot), places.classesKey, report);
    RemoveKeyTree(settings, UNINSTALL_KEY, report);
}

// A folder as a long full path with its backslash, as "HDDir" holds it: the
// program may have been started by a short name.
void LongFolder(const char* folder, char (&out)[PATH_SIZE])
{
    const DWORD length = GetLongPathNameA(folder, out, sizeof out);
    if (length == 0 || length >= sizeof out - 1)
        JoinPath(out, sizeof out, folder, nullptr);
    else if (out[length - 1] != '\\')
        memcpy(out + length, "\\", 2);
}

}  // namespace

InstallScope RegisteredScope(const char* folder)
{
    char own[PATH_SIZE], registered[SCOPE_COUNT][PATH_SIZE];
    const char* named[SCOPE_COUNT] = {};
    LongFolder(folder, own);
    for (int scope = 0; scope < SCOPE_COUNT; ++scope) {
        char value[PATH_SIZE];
        DWORD size = sizeof value;
        if (RegGetValueA(RootKey(SCOPE_PLACES[scope].settingsRoot), PROGRAM_KEY, TARGET_FOLDER_VALUE, RRF_RT_REG_SZ,
                         nullptr, value, &size) == ERROR_SUCCESS) {
            LongFolder(value, registered[scope]);
            named[scope] = registered[scope];
        }
    }
    return FindRegisteredScope(own, named);
}

bool IsInstallation(const char* folder)
{
    char editor[PATH_SIZE];
    return RegisteredScope(folder) != SCOPE_COUNT ||
           (JoinPath(editor, sizeof editor, folder, "Velari.exe") && GetFileAttributesA(editor) != INVALID_FILE_ATTRIBUTES);
}

void RemoveInstallation(const char* folder, InstallScope scope, RemovalReport* report)
{
    RemoveInstalledParts(folder, scope, report);
    RemoveUninstallerAndFolder(folder, report);
}

void RemoveInstalledParts(const char* folder, InstallScope scope, RemovalReport* report)
{
    // Velari running from there is closed first, keeping its unsaved changes
    // for its next start elsewhere; one that does not end keeps its files,
    // which the report then names.
    RunningPrograms running;
    FindRunningPrograms(folder, &running);
    CloseRunningPrograms(&running);
    // The uninstaller goes apart, once no process runs from it.
    for (const InstalledFile& file : INSTALLED_FILES)
        if (strcmp(file.expandedName, UNINSTALLER_FILE) != 0)
            RemoveFile(folder, file.expandedName, report);
    for (const char* name : HELP_VIEWER_FILES)
        RemoveFile(folder, name, report);
    if (scope == SCOPE_COUNT)
        return;  // a copy: the registered installation is not its to remove
    RemoveShortcuts(scope, report);
    RemoveRegistryEntries(scope, report);
}

void RemoveUninstallerAndFolder(const char* folder, RemovalReport* report)
{
    RemoveFile(folder, UNINSTALLER_FILE, report);
    if (RemoveFolderIfEmpty(folder, report))
        NoteKeptFolder(report, folder);
}
