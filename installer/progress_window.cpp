// The progress window in its two forms. The search and the installation
// run without dispatching messages, so the window is painted here, on the
// spot, after it opens and after every step.
#include <windows.h>
#include <commctrl.h>

#include "installer_state.h"
#include "resource.h"

namespace {

const int STEPS_PER_MOVE = 16;
int searchSteps, searchStepsShown, pendingSteps;

void PrepareProgress(HWND dialog, const char* status, int maximum)
{
    SetDlgItemTextA(dialog, IDC_STATUS_TEXT, status);
    SendDlgItemMessageA(dialog, IDC_PROGRESS_BAR, PBM_SETRANGE, 0, MAKELPARAM(0, maximum));
    SendDlgItemMessageA(dialog, IDC_PROGRESS_BAR, PBM_SETSTEP, 1, 0);
}

}  // namespace

INT_PTR CALLBACK SearchProgressDlgProc(HWND dialog, UINT message, WPARAM, LPARAM)
{
    if (message != WM_INITDIALOG)
        return FALSE;
    searchSteps = SEARCH_STEPS_PER_DRIVE * installer.fixedDriveCount;
    PrepareProgress(dialog, "Velari Installer is currently searching for the Gravion! program.",
                    searchSteps);
    return TRUE;
}

INT_PTR CALLBACK InstallProgressDlgProc(HWND dialog, UINT message, WPARAM, LPARAM)
{
    if (message != WM_INITDIALOG)
        return FALSE;
    PrepareProgress(dialog, "Velari Installer is now installing Velari!", INSTALL_ACTION_COUNT);
    return TRUE;
}

// Null when the window can't be made; the caller reports that and ends.
HWND OpenProgressWindow(DLGPROC form)
{
    HWND progress = CreateDialogParamA(installer.instance, MAKEINTRESOURCEA(IDD_PROGRESS),
                                       installer.window, form, 0);
    if (!progress)
        return nullptr;
    searchStepsShown = pendingSteps = 0;
    ShowWindow(progress, SW_SHOWNORMAL);
    RedrawWindow(progress, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return progress;
}

void StepProgress(HWND progress)
{
    HWND bar = GetDlgItem(progress, IDC_PROGRESS_BAR);
    SendMessageA(bar, PBM_STEPIT, 0, 0);
    UpdateWindow(bar);
}

// The search steps once per folder, thousands of times a second, and every
// move of the bar repaints it: it moves a few steps at a time, and not at
// all once it is full.
void StepSearchProgress(HWND progress)
{
    if (searchStepsShown >= searchSteps || ++pendingSteps < STEPS_PER_MOVE)
        return;
    HWND bar = GetDlgItem(progress, IDC_PROGRESS_BAR);
    SendMessageA(bar, PBM_DELTAPOS, pendingSteps, 0);
    UpdateWindow(bar);
    searchStepsShown += pendingSteps;
    pendingSteps = 0;
}
