// The installer's rules on path texts: drives, the target folder, the
// folder chooser's levels (the bounded join is path_size.h's). Free of
// Windows so that it builds and can be tried anywhere.
#ifndef PATH_TEXT_H
#define PATH_TEXT_H

#include <cstddef>

#include "path_size.h"

// The zero-based drive number (0 for A) of a directory's drive letter, in
// either case; a directory without one (a network path) counts as drive C.
int DriveNumberOfDirectory(const char* directory);

// Whether every text the installation composes from this target folder (the
// longest is the quoted open command) has at most 259 characters.
bool TargetFolderFits(const char* folder);
const size_t MAX_TARGET_FOLDER_LENGTH = 244;
// Whether a folder starts with a drive's root, such as "D:\".
bool HasDriveRoot(const char* folder);
// Why a folder can't be the silent modes' target, in the log's words, or
// null when it can: without a drive it would be taken relative to the
// current one, and it must fit every path the installation makes from it.
const char* SilentTargetRefusal(const char* folder);

// The folder chooser's rules. A folder ends in a backslash, so that file
// names can be joined to it: a typed folder gets one (a bare drive "D:" thus
// becomes its root); false, with folder empty, when that does not fit size.
bool FolderFromTyped(char* folder, size_t size, const char* typed);
// The folder's levels: 1 for a root ("D:\"), one more for each folder below.
int FolderLevels(const char* folder);
// The text of the chooser's tree item at level (1: the root, "D:\"; then
// each folder's name); false past the deepest level or when it does not fit.
bool FolderLevelName(const char* folder, int level, char* name, size_t size);
// Cuts the folder back to its first levels (at least the root).
void CutFolderToLevel(char* folder, int level);
// Whether a folder's entry is the game's executable, as the search and the
// game page take it: "gravion.exe" in any case, a file, and not hidden or
// a system file, which a plain listing does not show either.
bool IsGameExecutable(const char* name, bool isFolder, bool hiddenOrSystem);

// Case-insensitive comparison folding ASCII letters only: for file names
// the program itself gives in ASCII; folders are compared by same_folder.h.
bool SameNameIgnoringCase(const char* a, const char* b);

#endif
