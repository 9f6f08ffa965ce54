// The silent modes: the wizard's steps without its pages and questions,
// "Create Folder?" answered Yes. /SILENT shows the progress window for the
// search and the installation; /VERYSILENT shows nothing at all.
#include <windows.h>

#include "elevation.h"
#include "game_search.h"
#include "install_actions.h"
#include "install_scope.h"
#include "installer_state.h"
#include "progress_window.h"
#include "scope_choice.h"
#include "target_test.h"

namespace {

// A progress window that can't be made only leaves the run without it.
HWND OpenProgressIfShown(DLGPROC form)
{
    return installer.options.mode == INSTALL_SILENT ? OpenProgressWindow(form) : nullptr;
}

void CloseProgress(HWND progress)
{
    if (progress)
        DestroyWindow(progress);
}

int InstallWithoutQuestions()
{
    // Nothing is made before the elevated installer, which does it all.
    if (NeedsElevatedRestart(installer.scope, ProcessIsElevated())) {
        int code;
        RunElevatedInstaller(&code);
        return code;
    }
    // A folder that can't be used ends the run before anything is written.
    if (!installer.givenFoldersFit || !PrepareTargetFolderSilently())
        return EXIT_FOLDER_REFUSED;
    HWND progress = installer.givenGameFolder[0] ? nullptr : OpenProgressIfShown(SearchProgressDlgProc);
    FindGameFolder(progress);
    CloseProgress(progress);
    progress = OpenProgressIfShown(InstallProgressDlgProc);
    RunInstallationActions(progress);
    CloseProgress(progress);
    return installer.exitCode;
}

}  // namespace

void InstallSilently()
{
    installer.exitCode = InstallWithoutQuestions();
    installer.finished = 1;
    DestroyWindow(installer.window);
}
