// What an installation made, and its removal.
#ifndef REMOVAL_STEPS_H
#define REMOVAL_STEPS_H

#include "installed_product.h"
#include "path_size.h"
#include "removal_text.h"

// The scope whose "HDDir" names the same folder as folder, the user's own
// first; SCOPE_NONE when none does.
InstallScope RegisteredScope(const char* folder);
// Whether folder holds an installation: registered there, or the editor
// lies in it (a copy, or what an earlier removal left).
bool IsInstallation(const char* folder);

// Removes the installation's files from folder and, for an installation
// registered there (scope not SCOPE_NONE), that scope's shortcuts and
// association that point into folder, and its registry entries; then folder when nothing else is left in it. Every
// thing that stays although it belongs to the installation goes into report.
void RemoveInstallation(const char* folder, InstallScope scope, RemovalReport* report);
// The same in two parts: all but the uninstaller's own file and the folder,
// which only a process not started from that file can remove; then those.
void RemoveInstalledParts(const char* folder, InstallScope scope, RemovalReport* report);
void RemoveUninstallerAndFolder(const char* folder, RemovalReport* report);

#endif
