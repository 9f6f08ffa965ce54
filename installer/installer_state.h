// The installer's one state, program-wide for the whole run. Each room's
// operations are declared in its own headers: wizard/, actions/, chooser/
// and scope/; the rules free of Windows among them say so.
#ifndef INSTALLER_STATE_H
#define INSTALLER_STATE_H

#include <windows.h>
#include <commctrl.h>

#include "install_options.h"
#include "path_size.h"

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

#endif
