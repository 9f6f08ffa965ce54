// The progress window in its two forms. The search and the installation
// run without dispatching messages, so the window is painted here, on the
// spot, after it opens and after every step.
#include <windows.h>
#include <commctrl.h>

#include "installer_state.h"
#include "progress_window.h"
#include "resource.h"

namespace {

// After this many folders a drive has filled half its share. Under Wine
// every repaint of the bar costs about as much as reading a folder: it moves
// at most every few hundredths of a second.
const long HALF_SHARE_FOLDERS = 1000;
const DWORD SEARCH_BAR_INTERVAL_MS = 40;
int driveShareStart, foldersInDrive, barShown;
DWORD barMovedAt;

// A silent installation may run without the window.
void MoveSearchBar(HWND progress, int position, bool now)
{
    if (!progress || position == barShown || (!now && GetTickCount() - barMovedAt < SEARCH_BAR_INTERVAL_MS))
        return;
    barMovedAt = GetTickCount();
    HWND bar = GetDlgItem(progress, IDC_PROGRESS_BAR);
    SendMessageA(bar, PBM_SETPOS, position, 0);
    UpdateWindow(bar);
    barShown = position;
}

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
    PrepareProgress(dialog, "Velari Installer is currently searching for the Gravion! program.",
                    SEARCH_STEPS_PER_DRIVE * installer.fixedDriveCount);
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
    barShown = 0;
    ShowWindow(progress, SW_SHOWNORMAL);
    RedrawWindow(progress, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return progress;
}

void StepProgress(HWND progress)
{
    if (!progress)
        return;
    HWND bar = GetDlgItem(progress, IDC_PROGRESS_BAR);
    SendMessageA(bar, PBM_STEPIT, 0, 0);
    UpdateWindow(bar);
}

void StartDriveSearch(int fixedDriveOrdinal)
{
    driveShareStart = SEARCH_STEPS_PER_DRIVE * fixedDriveOrdinal;
    foldersInDrive = 0;
}

// One step per folder would fill a drive's share after its first few hundred
// folders and then stand still for the rest of a large drive, which reads
// as hung: share * n / (n + k) keeps moving and never reaches the end.
void StepSearchProgress(HWND progress)
{
    ++foldersInDrive;
    const long long share = SEARCH_STEPS_PER_DRIVE * static_cast<long long>(foldersInDrive) /
                            (foldersInDrive + HALF_SHARE_FOLDERS);
    MoveSearchBar(progress, driveShareStart + static_cast<int>(share), false);
}

void EndDriveSearch(HWND progress)
{
    MoveSearchBar(progress, driveShareStart + SEARCH_STEPS_PER_DRIVE, true);
}
