// The common controls, from the system's comctl32.dll loaded by name. It is
// no known DLL: imported directly, it would be looked for beside install.exe
// before any of the installer's code could restrict the search.
#ifndef COMMON_CONTROLS_H
#define COMMON_CONTROLS_H

#include <windows.h>
#include <commctrl.h>

// Loads it and registers its window classes (progress bar, tree view);
// false when it is missing.
bool LoadCommonControls();
// Image lists of small icons; null or -1 when the controls are not loaded.
HIMAGELIST CreateIconList(int size, int initial, int grow);
int AddIconToList(HIMAGELIST list, HICON icon);
void DestroyIconList(HIMAGELIST list);

#endif
