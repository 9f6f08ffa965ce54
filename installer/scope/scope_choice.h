// Who the installation is for, as the platform answers: the rights, the
// installations there are, the scope's own folders, and the elevated run.
#ifndef SCOPE_CHOICE_H
#define SCOPE_CHOICE_H

#include <cstddef>

#include "install_scope.h"
#include "path_size.h"

// The scope's installation's folder that still holds Velari.exe; "" for none.
void ReadInstalledFolder(InstallScope scope, char (&folder)[PATH_SIZE]);
// Where the scope's programs go, with its backslash; "" when unknown.
bool FindScopeProgramsFolder(InstallScope scope, char* folder, size_t size);
// From the command line, the rights and what is installed; logged.
void DecideInstallScope();
// This installer again with administrator rights, for all users: how it
// ended, logged, with its log taken over; *exitCode is this run's.
ElevatedEnd RunElevatedInstaller(int* exitCode);
// On leaving the welcome page: false when the wizard does not go on there
// (it ended with the elevated run, or shows the choice again).
bool ApplyScopeChoice();

#endif
