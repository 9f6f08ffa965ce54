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
#include "installation_removal.h"
#include "install_scope.h"
#include "installed_product.h"
#include "installer_state.h"
#include "same_folder.h"
#include "target_folder.h"
#include "width_takeover.h"

namespace {

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

// Its program files, and the folder once empty; the folder this one
// installed into keeps them, as they are this installation's now.
void RemoveOtherFiles(const char* folder, RemovalReport* report)
{
    if (!folder[0] || SameFolder(folder, installer.targetFolder))
        return;
    RemoveProgramFiles(folder, true, report);
    LogStep("Folder %s of the other width: %s", folder,
            RemoveFolderIfEmpty(folder, report) ? "kept, as it holds other files" : "removed, or gone already");
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
        !TakeFolder(folder, sizeof folder, value))
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
    RemovalReport report;
    StartReport(&report);
    RemoveOtherFiles(folder, &report);
    RemoveProgramKeys({ROOT_LOCAL_MACHINE, view}, &report);
    // One line each, as the removal names them.
    for (const char* name = report.names; *name;) {
        const size_t length = strcspn(name, "\n");
        LogStep("Of the other width, %.*s: %s", static_cast<int>(length), name, StepResult("it can't be removed", 0));
        name += length + (name[length] != '\0');
    }
    return report.failures;
}
