// The editor's help, beside its program file: the HTML Help file, which
// every Windows from 98 on can show; where it or its viewer is missing, or
// shows no window, the WinHelp file as before.
#ifndef VELARI_HELP_VIEWER_H
#define VELARI_HELP_VIEWER_H

#include <windows.h>

// The HTML Help viewer's one entry point, from the system's hhctrl.ocx,
// looked up at the first use; null where there is none. The window test
// puts a recorder here to see what the help is asked to show.
using HtmlHelpProc = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);
extern HtmlHelpProc htmlHelp;

// Around the program's message loop, as HTML Help asks of a program that
// shows it in its own process.
void InitializeHelp();
void UninitializeHelp();
// The help window's own keys, before the loop translates any: true when
// the message was the help window's and is handled.
bool HelpTakesMessage(MSG& message);

// Help > Contents.
void ShowHelpContents();
// F1: the page on the control that has the focus; the contents where no
// page describes it.
void ShowHelpOnFocus();
// When the main window goes: every help window it opened closes.
void CloseHelp();

#endif
