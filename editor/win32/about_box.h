#ifndef VELARI_ABOUT_BOX_H
#define VELARI_ABOUT_BOX_H

#include <windows.h>

INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
