// The installer's one state, program-wide for the whole run, and the
// operations that the window procedure, the pages and the automatic steps
// call on one another.
#ifndef INSTALLER_STATE_H
#define INSTALLER_STATE_H

#include <windows.h>
#include <commctrl.h>

#include "install_options.h"
#include "path_size.h"

// Page changes, always posted to the installer window with both parameters 0.
#define WM_WIZARD_START          (WM_USER + 100)
#define WM_WIZARD_NEXT           (WM_USER + 101)
#define WM_WIZARD_BACK           (WM_USER + 102)
#define WM_WIZARD_CANCEL         (WM_USER + 103)
#define WM_WIZARD_BROWSE_TARGET  (WM_USER + 104)
#define WM_WIZARD_BROWSE_GAME    (WM_USER + 105)
#define WM_WIZARD_FINISHED       (WM_USER + 106)

enum { DRIVE_COUNT = 26, INSTALL_ACTION_COUNT = 23, SEARCH_STEPS_PER_DRIVE = 500 };

struct DriveEntry {
    BYTE fixed;   // present and of type DRIVE_FIXED when the table was built
    char* path;   // PATH_SIZE bytes: the folder last shown; only for fixed drives
};

struct InstallerState {
    HINSTANCE instance;
    HWND window;
    char sourceFolder[PATH_SIZE];
    char targetFolder[PATH_SIZE];
    char gameFolder[PATH_SIZE];
    char madeFolder[PATH_SIZE];  // the highest level of the target this run made; "" for none
    int pageIndex;
    int finished;
    int currentDrive;           // 0 for drive A
    int failedActions;          // of the last installation run
    InstallOptions options;     // from the command line; all zero: the wizard
    InstallScope scope;         // who the installation is for
    InstallScope targetScope;   // whose default the target folder is
    char givenGameFolder[PATH_SIZE];  // /GAMEDIR with its backslash; empty: search
    int givenFoldersFit;        // every folder given fits its buffer
    int exitCode;
    HBITMAP banner;
    DriveEntry drives[DRIVE_COUNT];
    int fixedDriveCount;
    HIMAGELIST folderIcons;
    HICON driveIcon;
    int closedFolderImage;
    int openFolderImage;
};

extern InstallerState installer;

// installer_window.cpp
bool RegisterInstallerClass();
HWND CreateInstallerWindow();
// The installer as its entry point runs it once the command line is read:
// the wizard, or the silent installation, to its end; returns the exit code.
int InstallerMain(const InstallOptions& options);
LRESULT CALLBACK InstallerWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void ShowPage();
int ConfirmAbort();
void ReportWindowFailure();

// The target folder the scope's installation is proposed, and why, in the log.
void ProposeTargetFolder();

// scope_choice.cpp
// The scope's installation's folder that still holds Velari.exe; "" for none.
void ReadInstalledFolder(InstallScope scope, char (&folder)[PATH_SIZE]);
// Where the scope's programs go, with its backslash; "" when unknown.
bool FindScopeProgramsFolder(InstallScope scope, char* folder, size_t size);
// From the command line, the rights and what is installed; logged.
void DecideInstallScope();
// This installer again with administrator rights, for all users; its exit
// code, or ELEVATION_DECLINED or ELEVATION_FAILED, both logged.
long RunElevatedInstaller();
// On leaving the welcome page: false when the wizard does not go on there
// (it ended with the elevated run, or shows the choice again).
bool ApplyScopeChoice();

// width_takeover.cpp: after the actions, the other width's installation
// for all users, logged; the count of what of it stays though it should go.
int TakeOverOtherWidth();

// wizard_pages.cpp
INT_PTR CALLBACK WelcomePageDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK TargetPageDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK GamePageDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK SummaryPageDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK FinishPageDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// progress_window.cpp
INT_PTR CALLBACK SearchProgressDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK InstallProgressDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
HWND OpenProgressWindow(DLGPROC form);
void StepProgress(HWND progress);
// The search bar: each fixed drive fills its own share, ever more slowly as
// its folders pile up, and the share's end only once the drive is done.
void StartDriveSearch(int fixedDriveOrdinal);
void StepSearchProgress(HWND progress);
void EndDriveSearch(HWND progress);

// target_test.cpp
void TestTargetFolder();
// The same test without its questions, "Create Folder?" answered Yes:
// false when the folder can't be used.
bool PrepareTargetFolderSilently();
// An abort takes back the folders this run made, as long as they are empty.
void RemoveMadeFolders();

// silent_install.cpp: the search and the installation without a page or a
// question; ends the run with its exit code.
void InstallSilently();

// game_search.cpp
void RunGameFolderSearch();
// The game folder given on the command line, or else the search's result,
// its bar in progress (null: no window).
void FindGameFolder(HWND progress);
int SearchFixedDrives(HWND progress);
int SearchFolder(HWND progress, const char* pattern);

// install_actions.cpp
void RunInstallation();
// Every action, one step of progress each (null: no window); sets
// failedActions and the exit code.
void RunInstallationActions(HWND progress);

// drive_table.cpp
void InitDriveTable();
void LoadWizardImages();
void FreeDriveTable();

#endif
