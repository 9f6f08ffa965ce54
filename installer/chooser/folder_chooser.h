// The folder chooser, dialog 205, in its two roles: the target folder and
// the game folder.
#ifndef FOLDER_CHOOSER_H
#define FOLDER_CHOOSER_H

#include <windows.h>

INT_PTR CALLBACK TargetFolderDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK GameFolderDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
