// Who the installation is for: decided at the start from the command line,
// the rights and what is installed, and chosen again on the welcome page.
// For all users without the rights the installer starts again with them and
// this run ends with that one's outcome.
#include <windows.h>
#include <shlobj.h>

#include "elevation.h"
#include "install_log.h"
#include "install_scope.h"
#include "installed_product.h"
#include "installer_state.h"
#include "log_handover.h"
#include "path_text.h"
#include "running_velari.h"
#include "scope_choice.h"
#include "target_folder.h"
#include "wizard.h"

void ReadInstalledFolder(InstallScope scope, char (&folder)[PATH_SIZE])
{
    char value[PATH_SIZE], program[PATH_SIZE];
    DWORD size = sizeof value;
    if (RegGetValueA(RootKey(SCOPE_PLACES[scope].settingsRoot), PROGRAM_KEY, TARGET_FOLDER_VALUE, RRF_RT_REG_SZ,
                     nullptr, value, &size) != ERROR_SUCCESS ||
        !TakeFolder(folder, sizeof folder, value) || !JoinPath(program, sizeof program, folder, "Velari.exe") ||
        GetFileAttributesA(program) == INVALID_FILE_ATTRIBUTES)
        folder[0] = '\0';
}

bool FindScopeProgramsFolder(InstallScope scope, char* folder, size_t size)
{
    char base[MAX_PATH];
    if (SHGetFolderPathA(nullptr, SCOPE_PLACES[scope].programsBase, nullptr, SHGFP_TYPE_CURRENT, base) == S_OK &&
        FolderFromTyped(folder, size, base) && JoinPath(folder, size, folder, SCOPE_PLACES[scope].programsAfter))
        return true;
    folder[0] = '\0';
    return false;
}

void DecideInstallScope()
{
    char folders[SCOPE_COUNT][PATH_SIZE];
    ScopeFacts facts = {installer.options.scope, ProcessIsElevated(), installer.options.mode == INSTALL_WIZARD, {}};
    for (int scope = 0; scope < SCOPE_COUNT; ++scope) {
        ReadInstalledFolder(static_cast<InstallScope>(scope), folders[scope]);
        facts.installed[scope] = folders[scope][0] != '\0';
    }
    const ScopeChoice choice = ChooseInstallScope(facts);
    installer.scope = choice.scope;
    LogStep("For %s: %s", SCOPE_PLACES[choice.scope].name, choice.reason);
    const int other = choice.scope == SCOPE_ALL_USERS ? SCOPE_CURRENT_USER : SCOPE_ALL_USERS;
    if (facts.installed[other])
        LogStep("Velari is also installed for %s, in %s: that installation is left alone", SCOPE_PLACES[other].name,
                folders[other]);
}

ElevatedEnd RunElevatedInstaller(int* exitCode)
{
    // The restart writes its log, and the list of the editors it closed for
    // this process to open again with the person's own rights, in a folder
    // only it can change, named here.
    char arguments[3 * PATH_SIZE + 100], handoverName[HANDOVER_NAME_LENGTH + 1];
    const bool handover = MakeHandoverName(handoverName);
    if (!ComposeElevatedArguments(arguments, sizeof arguments, installer.options, handover ? handoverName : nullptr)) {
        LogStep("The installer can't start again with administrator rights: %s", StepResult("the command line is too long", 0));
        *exitCode = EXIT_INCOMPLETE;
        return ELEVATED_NOT_STARTED;
    }
    LogStep("For all users administrator rights are needed: the installer starts again with them, %s", arguments);
    // In the current folder, where relative paths such as /DIR's were given;
    // it takes its files from its own folder.
    DWORD code;
    const ElevatedEnd end = RunElevated(arguments, nullptr, &code);
    const DWORD error = GetLastError();
    if (handover && end != ELEVATED_DECLINED && end != ELEVATED_NOT_STARTED) {
        ReopenListedVelari(handoverName);
        TakeOverHandoverLog(handoverName);
    }
    *exitCode = ExitCodeAfterElevated(end, code);
    if (end == ELEVATED_CRASHED)
        LogStep("The installer with administrator rights: %s",
                StepResult("it ended abnormally", code >= 0xC0000000u ? code : 0));
    else if (end != ELEVATED_EXITED)
        LogStep("The installer did not start again with administrator rights: %s",
                end == ELEVATED_DECLINED ? "the person declined" : StepResult("it could not be started", error));
    return end;
}

bool ApplyScopeChoice()
{
    if (NeedsElevatedRestart(installer.scope, ProcessIsElevated())) {
        int code;
        const ElevatedEnd end = RunElevatedInstaller(&code);
        if (end == ELEVATED_EXITED || end == ELEVATED_CRASHED) {
            installer.exitCode = code;
            installer.finished = 1;
            DestroyWindow(installer.window);
            return false;
        }
        if (end == ELEVATED_NOT_STARTED)
            MessageBoxA(installer.window, "Velari Installer could not start with administrator rights.",
                        "Velari Installer", MB_OK | MB_ICONERROR);
        ShowPage();  // back to the choice
        return false;
    }
    if (installer.scope != installer.targetScope && !installer.options.targetFolder)
        ProposeTargetFolder();
    return true;
}
