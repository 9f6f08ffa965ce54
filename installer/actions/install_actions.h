// The installation's actions, in the wizard and in the silent modes.
#ifndef INSTALL_ACTIONS_H
#define INSTALL_ACTIONS_H

#include <windows.h>

// The wizard's automatic page, in the progress window.
void RunInstallation();
// Every action, one step of progress each (null: no window); sets
// failedActions and the exit code.
void RunInstallationActions(HWND progress);

// silent_install.cpp: the search and the installation without a page or a
// question; ends the run with its exit code.
void InstallSilently();

#endif
