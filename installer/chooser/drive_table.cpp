// The table of fixed drives, built once at start-up, and the pictures the
// wizard and the folder chooser show.
#include <windows.h>
#include <commctrl.h>
#include <direct.h>

#include <cstdlib>

#include "common_controls.h"
#include "drive_table.h"
#include "installer_state.h"
#include "path_text.h"
#include "resource.h"
#include "screen_bitmap.h"

namespace {

// The folder the run-time library keeps as the drive's current one, as a
// path without a trailing backslash (or the bare root).
void FillFromDriveDirectory(char* entry, int driveNumber, const char* root)
{
    char current[PATH_SIZE];
    if (_getdcwd(driveNumber, current, sizeof current) && current[0] != '\0' &&
        JoinPath(entry, PATH_SIZE, current, nullptr))
        return;
    JoinPath(entry, PATH_SIZE, root, nullptr);
}

HICON LoadSmallIcon(int id)
{
    return static_cast<HICON>(
        LoadImageA(installer.instance, MAKEINTRESOURCEA(id), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
}

}  // namespace

void InitDriveTable()
{
    DWORD present = GetLogicalDrives();
    installer.fixedDriveCount = 0;
    char root[] = "A:\\";
    for (int i = 1; i <= DRIVE_COUNT; ++i, ++root[0]) {
        DriveEntry& drive = installer.drives[i - 1];
        if (!(present & (1u << (i - 1))) || GetDriveTypeA(root) != DRIVE_FIXED)
            continue;
        drive.path = static_cast<char*>(malloc(PATH_SIZE));
        if (!drive.path)
            continue;
        drive.fixed = 1;
        if (i == installer.currentDrive + 1)
            JoinPath(drive.path, PATH_SIZE, installer.targetFolder, nullptr);
        else
            FillFromDriveDirectory(drive.path, i, root);
        ++installer.fixedDriveCount;
    }
}

void FreeDriveTable()
{
    for (DriveEntry& drive : installer.drives) {
        free(drive.path);
        drive.path = nullptr;
    }
}

void LoadWizardImages()
{
    installer.driveIcon = LoadSmallIcon(IDI_DRIVE);
    HICON closedFolder = LoadSmallIcon(IDI_FOLDER_CLOSED);
    HICON openFolder = LoadSmallIcon(IDI_FOLDER_OPEN);
    installer.folderIcons = CreateIconList(16, 4, 10);
    if (installer.folderIcons) {
        AddIconToList(installer.folderIcons, installer.driveIcon);
        installer.closedFolderImage = AddIconToList(installer.folderIcons, closedFolder);
        installer.openFolderImage = AddIconToList(installer.folderIcons, openFolder);
    }
    installer.banner = LoadScreenBitmap(installer.instance, IDB_BANNER);
}
