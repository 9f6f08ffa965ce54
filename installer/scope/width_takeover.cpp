// One Velari per machine: installed for all users over an installation of
// the other width, this one takes it over. It installs into its own width's
// folder, where Windows puts it; the other's settings and entry, which lie
// in the other width's view of HKEY_LOCAL_MACHINE\SOFTWARE, and its program
// files go, while anything else in its folder (a person's tracks) stays.
// The association and the Start menu's folder are one for both widths:
// this installation has already written them anew. For one user there is
// nothing to take over: both widths see the same keys of the user, so the
// other's installation is upgraded in place.
#include <windows.h>

#include <cstring>

#include "install_log.h"
#include "install_scope.h"
#include "installed_product.h"
#include "installer_state.h"
#include "path_text.h"
#include "width_takeover.h"

namespace {

const char UNINSTALL_PARENT[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const bool PROGRAM_64_BIT = sizeof(void*) == 8;

REGSAM OtherView()
{
    BOOL wow64 = FALSE;
    if (!PROGRAM_64_BIT && !IsWow64Process(GetCurrentProcess(), &wow64))
        wow64 = FALSE;
    switch (FindOtherWidthView(PROGRAM_64_BIT, PROGRAM_64_BIT || wow64)) {
    case OTHER_VIEW_32: return KEY_WOW64_32KEY;
    case OTHER_VIEW_64: return KEY_WOW64_64KEY;
    default: return 0;
    }
}

// parent\name in the view, with all below it; only when empty if so asked.
// False when it stays although it should go.
bool DeleteKey(const char* parent, const char* name, REGSAM view, bool onlyEmpty)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, parent, 0, KEY_ALL_ACCESS | view, &key) != ERROR_SUCCESS)
        return true;
    HKEY child;
    DWORD subkeys = 0, values = 0;
    if (onlyEmpty && RegOpenKeyExA(key, name, 0, KEY_READ, &child) == ERROR_SUCCESS) {
        RegQueryInfoKeyA(child, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                         nullptr);
        RegCloseKey(child);
    }
    const LONG result = subkeys || values ? ERROR_SUCCESS : RegDeleteTreeA(key, name);
    RegCloseKey(key);
    LogStep("Registry HKEY_LOCAL_MACHINE\\%s\\%s of the other width: %s", parent, name,
            result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND ? (subkeys || values ? "kept, not empty" : "removed")
                                                                      : StepResult("it can't be removed", result));
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

bool DeleteFileOf(const char* folder, const char* name)
{
    char path[PATH_SIZE];
    if (!JoinPath(path, sizeof path, folder, name))
        return false;
    SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
    const bool gone = DeleteFileA(path) || GetLastError() == ERROR_FILE_NOT_FOUND;
    if (!gone)
        LogStep("File %s of the other width: %s", path, StepResult("it can't be removed", GetLastError()));
    return gone;
}

// Its program files, and the folder once empty; the folder this one
// installed into keeps them, as they are this installation's now.
int RemoveOtherFiles(const char* folder)
{
    if (!folder[0] || SameFolder(folder, installer.targetFolder))
        return 0;
    int failures = 0;
    for (const InstalledFile& file : INSTALLED_FILES)
        failures += !DeleteFileOf(folder, file.expandedName);
    for (const char* name : HELP_VIEWER_FILES)
        failures += !DeleteFileOf(folder, name);
    LogStep("Folder %s of the other width: %s", folder,
            RemoveDirectoryA(folder) ? "removed" : "kept, as it holds other files");
    return failures;
}

}  // namespace

int TakeOverOtherWidth()
{
    const REGSAM view = OtherView();
    HKEY key;
    if (installer.scope != SCOPE_ALL_USERS || !view ||
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, PROGRAM_KEY, 0, KEY_READ | view, &key) != ERROR_SUCCESS)
        return 0;
    char value[PATH_SIZE] = "", folder[PATH_SIZE] = "";
    DWORD size = sizeof value - 1;
    if (RegQueryValueExA(key, TARGET_FOLDER_VALUE, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) != ERROR_SUCCESS ||
        !FolderFromTyped(folder, sizeof folder, value))
        folder[0] = '\0';
    RegCloseKey(key);
    const char* width = PROGRAM_64_BIT ? "32-bit" : "64-bit";
    if (installer.failedActions) {
        LogStep("The %s installation for all users in %s is kept, as this one is incomplete", width, folder);
        return 0;
    }
    LogStep("Taking over the %s installation for all users in %s: this one, in %s, is now the one Velari, with "
            "the entry, the association and the shortcuts; the other's settings, entry and program files go, the "
            "rest of its folder stays",
            width, folder, installer.targetFolder);
    int failures = RemoveOtherFiles(folder);
    failures += !DeleteKey(PROGRAM_KEY_PARENTS[0], "2.0", view, false);
    failures += !DeleteKey(PROGRAM_KEY_PARENTS[1], "Velari", view, true);
    failures += !DeleteKey("SOFTWARE", "Quorvane", view, true);
    failures += !DeleteKey(UNINSTALL_PARENT, "Velari", view, false);
    return failures;
}
