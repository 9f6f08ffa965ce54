#include "target_folder.h"

#include "installer_state.h"
#include "path_text.h"
#include "same_folder.h"
#include "scope_choice.h"

bool TakeFolder(char* folder, size_t size, const char* given)
{
    if (StartsWithDriveRoot(given))
        return CanonicalFolder(given, folder, size);
    return FolderFromTyped(folder, size, given);
}

bool InstalledInTarget(InstallScope scope)
{
    char installed[PATH_SIZE];
    ReadInstalledFolder(scope, installed);
    return installed[0] && SameFolder(installed, installer.targetFolder);
}
