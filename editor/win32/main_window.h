// The editor's one top-level window and the handles the rest of the program
// addresses it by.
#ifndef VELARI_MAIN_WINDOW_H
#define VELARI_MAIN_WINDOW_H

#include <windows.h>

#include "main_window_layout.h"

// The controls that the display and the commands address.
struct MainWindowControls {
    HWND trackName;
    HWND designerName;
    HWND pieceCount;
    HWND pieceList;
    HWND currentPiece;
    HWND pieceType;
    HWND pieceLength;
    HWND attributes;
    HWND piecePitch;
    HWND pieceBank;
    HWND pitchUpDown;
    HWND bankUpDown;
    HWND matterhorn;
    HWND overview;
};

extern HINSTANCE programInstance;
extern HWND mainWindow;          // null until CreateMainWindow returns
extern MainWindowControls mainControls;
extern LayoutUnits layoutUnits;

bool RegisterMainWindowClass(HINSTANCE instance);
// Creates the window with its controls; it is not shown yet.
HWND CreateMainWindow();
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The keyboard before a message is dispatched: the menu's keys, then Tab and
// the arrow keys between the controls. True when the message was handled.
bool TranslateMainWindowKeys(MSG& message);

// True while the display moves an up-down control on its own: the change
// notice its buddy field sends then is not the user's edit.
bool UpDownIsBeingPlaced();

#endif
