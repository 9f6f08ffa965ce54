// The editor's help, beside its program file: the HTML Help file, which
// every Windows from 98 on can show; where it or its viewer is missing, or
// shows no window, the WinHelp file as before.
#ifndef VELARI_HELP_VIEWER_H
#define VELARI_HELP_VIEWER_H

// Help > Contents.
void ShowHelpContents();
// F1: the page on the control that has the focus; the contents where no
// page describes it.
void ShowHelpOnFocus();
// When the main window goes: every help window it opened closes.
void CloseHelp();

#endif
