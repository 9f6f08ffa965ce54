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
#include "path_text.h"
#include "scope_choice.h"
#include "wizard.h"

void ReadInstalledFolder(InstallScope scope, char (&folder)[PATH_SIZE])
{
    char value[PATH_SIZE], program[PATH_SIZE];
    DWORD size = sizeof value;
    if (RegGetValueA(RootKey(SCOPE_PLACES[scope].settingsRoot), PROGRAM_KEY, TARGET_FOLDER_VALUE, RRF_RT_REG_SZ,
                     nullptr, value, &size) != ERROR_SUCCESS ||
        !FolderFromTyped(folder, sizeof folder, value) || !JoinPath(program, sizeof program, folder, "Velari.exe") ||
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

long RunElevatedInstaller()
{
    char arguments[3 * PATH_SIZE + 60];
    if (!ComposeElevatedArguments(arguments, sizeof arguments, installer.options)) {
        LogStep("The installer can't start again with administrator rights: %s", StepResult("the command line is too long", 0));
        return ELEVATION_FAILED;
    }
    LogStep("For all users administrator rights are needed: the installer starts again with them, %s", arguments);
    // That one writes the same log from its start.
    PauseInstallLog();
    // In the current folder, where relative paths such as /LOG's were given;
    // it takes its files from its own folder.
    const long code = RunElevated(arguments, nullptr);
    const DWORD error = GetLastError();
    if (code >= 0)
        return code;
    ResumeInstallLog(installer.options.logFile);
    LogStep("The installer did not start again with administrator rights: %s",
            code == ELEVATION_DECLINED ? "the person declined" : StepResult("it could not be started", error));
    return code;
}

bool ApplyScopeChoice()
{
    if (NeedsElevatedRestart(installer.scope, ProcessIsElevated())) {
        const long code = RunElevatedInstaller();
        if (code >= 0) {
            installer.exitCode = static_cast<int>(code);
            installer.finished = 1;
            DestroyWindow(installer.window);
            return false;
        }
        if (code == ELEVATION_FAILED)
            MessageBoxA(installer.window, "Velari Installer could not start with administrator rights.",
                        "Velari Installer", MB_OK | MB_ICONERROR);
        ShowPage();  // back to the choice
        return false;
    }
    if (installer.scope != installer.targetScope && !installer.options.targetFolder)
        ProposeTargetFolder();
    return true;
}
