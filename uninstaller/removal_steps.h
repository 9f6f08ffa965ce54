// What an installation made, and its removal.
#ifndef REMOVAL_STEPS_H
#define REMOVAL_STEPS_H

#include "path_size.h"
#include "removal_text.h"

// Whether folder (ending in a backslash) holds an installation: the editor
// lies in it, or the program's registry key is there.
bool IsInstallation(const char* folder);

// Removes the installation's files from folder, its Start-menu folder and
// its registry entries, then folder when nothing else is left in it. Every
// thing that stays although it belongs to the installation goes into report.
void RemoveInstallation(const char* folder, RemovalReport* report);
// The same in two parts: all but the uninstaller's own file and the folder,
// which only a process not started from that file can remove; then those.
void RemoveInstalledParts(const char* folder, RemovalReport* report);
void RemoveUninstallerAndFolder(const char* folder, RemovalReport* report);

#endif
