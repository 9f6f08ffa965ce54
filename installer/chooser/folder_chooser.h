// The folder chooser, dialog 205, in its two roles: the target folder and
// the game folder.
#ifndef FOLDER_CHOOSER_H
#define FOLDER_CHOOSER_H

#include <windows.h>

INT_PTR CALLBACK TargetFolderDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK GameFolderDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// A folder chosen for the installation gets Velari's own folder below it
// unless it is that folder already, however it is spelled, so that the
// files never lie loose among others' and their folder can go with them;
// false, with folder empty, when that does not fit size.
bool AddVelariFolder(char* folder, size_t size);

#endif
