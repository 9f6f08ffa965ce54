#include "start_folder.h"

#include <cstring>

#include "installed_product.h"

char startFolder[PATH_SIZE];

namespace {

// A value that is no text or does not fit with its zero leaves the folder
// empty: a cut folder name would only send the dialog somewhere wrong.
bool ReadStartFolderUnder(HKEY root)
{
    HKEY key;
    if (RegOpenKeyExA(root, PROGRAM_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;

    char value[PATH_SIZE];
    DWORD type = 0;
    DWORD size = sizeof value;
    LONG result = RegQueryValueExA(key, GAME_FOLDER_VALUE, nullptr, &type,
                                   reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);

    if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ) || size > sizeof value)
        return false;
    // The stored text need not carry its own zero.
    if (size == 0 || value[size - 1] != '\0') {
        if (size == sizeof value)
            return false;
        value[size] = '\0';
    }
    // A folder under %ProgramFiles% is usually stored with its variables.
    if (type == REG_SZ)
        std::memcpy(startFolder, value, sizeof startFolder);
    else if (ExpandEnvironmentStringsA(value, startFolder, sizeof startFolder) - 1 >= sizeof startFolder)
        startFolder[0] = '\0';
    return startFolder[0] != '\0';
}

}  // namespace

// An installation just for this user keeps its settings under the user's
// own key, and stands before one for all users.
void ReadStartFolder()
{
    startFolder[0] = '\0';
    if (!ReadStartFolderUnder(HKEY_CURRENT_USER))
        ReadStartFolderUnder(HKEY_LOCAL_MACHINE);
}
