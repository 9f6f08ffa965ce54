#include "file_replace.h"

#include <windows.h>

// The new file is written in the target's own folder, so a plain rename on
// the same volume is enough; MoveFileExA leaves the target alone if it fails.
bool ReplaceFileWithNew(const char* newFile, const char* target)
{
    return MoveFileExA(newFile, target, MOVEFILE_REPLACE_EXISTING) != 0;
}
