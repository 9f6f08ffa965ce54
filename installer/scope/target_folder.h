// The target folder in its one form (same_folder.h), taken wherever it is
// set: the default, /DIR, the folder chooser; and whether Velari is
// installed there already.
#ifndef TARGET_FOLDER_H
#define TARGET_FOLDER_H

#include <cstddef>

#include "installed_product.h"

// folder = given in its one form when it names a drive's root; any other
// text only gets its backslash, so that the target test refuses it as
// naming no drive. False, folder empty, when it does not fit size bytes.
bool TakeFolder(char* folder, size_t size, const char* given);

// Whether the scope's installation is in the target folder: then this one
// upgrades it in place.
bool InstalledInTarget(InstallScope scope);

#endif
