// The removal of what an installation makes (installed_product.h): its
// files and keys (installation_removal.h), its Start-menu folder and its
// association. Something already gone counts as removed; anything else that
// an installation did not make, or that points elsewhere, is left alone.
#include "removal_steps.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstring>

#include "installation_removal.h"
#include "installed_product.h"
#include "removal_rules.h"
#include "same_folder.h"
#include "running_programs.h"

namespace {

// Whether a program's path lies in folder.
bool PointsInto(const char* program, const char* folder)
{
    char programFolder[PATH_SIZE];
    return FolderOfPath(programFolder, sizeof programFolder, program) && SameFolder(programFolder, folder);
}

// The shortcut's target, as saved; "" when it can't be read.
void ShortcutTarget(const char* link, char (&target)[PATH_SIZE])
{
    target[0] = '\0';
    WCHAR widePath[PATH_SIZE];
    IShellLinkA* shellLink = nullptr;
    IPersistFile* file = nullptr;
    if (MultiByteToWideChar(CP_ACP, 0, link, -1, widePath, PATH_SIZE) > 0 &&
        SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&shellLink))) &&
        SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(widePath, STGM_READ)) &&
        FAILED(shellLink->GetPath(target, PATH_SIZE, nullptr, SLGP_RAWPATH)))
        target[0] = '\0';
    if (file)
        file->Release();
    if (shellLink)
        shellLink->Release();
}

// Only the shortcuts to this installation's files: one made by an
// installation elsewhere stays.
void RemoveShortcuts(InstallScope scope, const char* installation, RemovalReport* report)
{
    char folder[PATH_SIZE], link[PATH_SIZE], target[PATH_SIZE];
    if (!FindStartMenuFolder(scope, folder, sizeof folder)) {
        AddFailure(report, "the Start menu's folder Velari");
        return;
    }
    const HRESULT com = CoInitialize(nullptr);
    for (const InstalledShortcut& shortcut : INSTALLED_SHORTCUTS) {
        if (!JoinPath(link, sizeof link, folder, shortcut.linkName) ||
            GetFileAttributesA(link) == INVALID_FILE_ATTRIBUTES)
            continue;
        ShortcutTarget(link, target);
        if (PointsInto(target, installation))
            RemoveFile(folder, shortcut.linkName, report);
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    RemoveFolderIfEmpty(folder, report);
}

// Only while its open command starts this installation's editor: an
// association another installation or program wrote keeps it; and the
// extension only while it still names our class.
void RemoveTrackAssociation(RegistryPlace place, const char* classes, const char* installation, RemovalReport* report)
{
    char extension[PATH_SIZE], trackClass[PATH_SIZE], command[PATH_SIZE], value[2 * PATH_SIZE] = "", program[PATH_SIZE];
    DWORD size = sizeof value;
    if (!JoinPath(extension, sizeof extension, classes, TRACK_EXTENSION_KEY) ||
        !JoinPath(trackClass, sizeof trackClass, classes, TRACK_CLASS_KEY) ||
        !JoinPath(command, sizeof command, trackClass, "\\shell\\open\\command") ||
        RegGetValueA(RootKey(place.root), command, nullptr, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS ||
        !ProgramOfCommand(value, program, sizeof program) || !PointsInto(program, installation))
        return;
    size = sizeof value;
    if (RegGetValueA(RootKey(place.root), extension, nullptr, RRF_RT_REG_SZ, nullptr, value, &size) == ERROR_SUCCESS &&
        lstrcmpiA(value, TRACK_CLASS_KEY) == 0)
        RemoveKeyTree(place, extension, report);
    RemoveKeyTree(place, trackClass, report);
}

void RemoveRegistryEntries(InstallScope scope, const char* installation, RemovalReport* report)
{
    const ScopePlaces& places = SCOPE_PLACES[scope];
    RemoveTrackAssociation({places.classesRoot, 0}, places.classesKey, installation, report);
    RemoveProgramKeys({places.settingsRoot, 0}, report);
}

}  // namespace

InstallScope RegisteredScope(const char* folder)
{
    const InstallScope userFirst[] = {SCOPE_CURRENT_USER, SCOPE_ALL_USERS};
    for (InstallScope scope : userFirst) {
        char value[PATH_SIZE];
        DWORD size = sizeof value;
        if (RegGetValueA(RootKey(SCOPE_PLACES[scope].settingsRoot), PROGRAM_KEY, TARGET_FOLDER_VALUE, RRF_RT_REG_SZ,
                         nullptr, value, &size) == ERROR_SUCCESS &&
            SameFolder(folder, value))
            return scope;
    }
    return SCOPE_NONE;
}

bool IsInstallation(const char* folder)
{
    char editor[PATH_SIZE];
    return RegisteredScope(folder) != SCOPE_NONE ||
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
    RemoveProgramFiles(folder, false, report);
    if (scope == SCOPE_NONE)
        return;  // a copy: the registered installation is not its to remove
    RemoveShortcuts(scope, folder, report);
    RemoveRegistryEntries(scope, folder, report);
}

void RemoveUninstallerAndFolder(const char* folder, RemovalReport* report)
{
    RemoveFile(folder, UNINSTALLER_FILE, report);
    if (RemoveFolderIfEmpty(folder, report))
        NoteKeptFolder(report, folder);
}
