// The progress window that the search and the installation share, in its
// two forms.
#ifndef PROGRESS_WINDOW_H
#define PROGRESS_WINDOW_H

#include <windows.h>

INT_PTR CALLBACK SearchProgressDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK InstallProgressDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
HWND OpenProgressWindow(DLGPROC form);
void StepProgress(HWND progress);
// The search bar: each fixed drive fills its own share, ever more slowly as
// its folders pile up, and the share's end only once the drive is done.
void StartDriveSearch(int fixedDriveOrdinal);
void StepSearchProgress(HWND progress);
void EndDriveSearch(HWND progress);

#endif
