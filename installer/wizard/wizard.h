// The wizard: the hidden installer window that drives the pages, the page
// dialogs, and the abort prompt.
#ifndef WIZARD_H
#define WIZARD_H

#include <windows.h>

#include "install_options.h"

// Page changes, always posted to the installer window with both parameters 0.
#define WM_WIZARD_START          (WM_USER + 100)
#define WM_WIZARD_NEXT           (WM_USER + 101)
#define WM_WIZARD_BACK           (WM_USER + 102)
#define WM_WIZARD_CANCEL         (WM_USER + 103)
#define WM_WIZARD_BROWSE_TARGET  (WM_USER + 104)
#define WM_WIZARD_BROWSE_GAME    (WM_USER + 105)
#define WM_WIZARD_FINISHED       (WM_USER + 106)

// installer_window.cpp
// The source folder: the folder of this program file.
void TakeSourceFolder();
bool RegisterInstallerClass();
HWND CreateInstallerWindow();
// The installer as its entry point runs it once the command line is read:
// the wizard, or the silent installation, to its end; returns the exit code.
int InstallerMain(const InstallOptions& options);
// A command line not understood: the usage shown (not with /VERYSILENT)
// and logged; returns the exit code.
int RefuseCommandLine(const InstallOptions& options);
LRESULT CALLBACK InstallerWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void ShowPage();
int ConfirmAbort();
void ReportWindowFailure();
// The target folder the scope's installation is proposed, and why, in the log.
void ProposeTargetFolder();

// wizard_pages.cpp
INT_PTR CALLBACK WelcomePageDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK TargetPageDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK GamePageDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK SummaryPageDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK FinishPageDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
