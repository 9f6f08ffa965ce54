// The folder in which the Open dialog starts: the game's track folder, as
// the installer recorded it for this user or, failing that, for all users.
#ifndef VELARI_START_FOLDER_H
#define VELARI_START_FOLDER_H

#include <windows.h>

#include "path_size.h"

// Empty when the setting is missing or unusable; always zero-ended.
extern char startFolder[PATH_SIZE];

void ReadStartFolder();

#endif
