// The removal of an installation's program files and keys, in the registry
// view given: the uninstaller's own (0), or the other width's
// (KEY_WOW64_32KEY or KEY_WOW64_64KEY) when an installation of this width
// takes that one over. Both programs build it from this source. Something
// already gone counts as removed; what stays though it should go is named
// in the report.
#ifndef INSTALLATION_REMOVAL_H
#define INSTALLATION_REMOVAL_H

#include <windows.h>

#include "installed_product.h"
#include "removal_text.h"

// Where the keys lie: a root and its view.
struct RegistryPlace {
    RegistryRoot root;
    REGSAM view;
};

void RemoveFile(const char* folder, const char* name, RemovalReport* report);
// True when the folder stays because it holds other files, which is no failure.
bool RemoveFolderIfEmpty(const char* folder, RemovalReport* report);
// The expanded files and what the help viewer wrote beside them; the
// uninstaller's own file too only when asked, as a process may run from it.
void RemoveProgramFiles(const char* folder, bool withUninstaller, RemovalReport* report);

// key with all below it.
void RemoveKeyTree(RegistryPlace place, const char* key, RemovalReport* report);
// key only when it holds nothing: never with another program's keys or values.
void RemoveKeyIfEmpty(RegistryPlace place, const char* key, RemovalReport* report);
// The settings, their parents once empty, and the entry in the list of programs.
void RemoveProgramKeys(RegistryPlace place, RemovalReport* report);

#endif
