// What the keeping of unsaved changes needs of the platform beyond the C
// library and file_replace.h: Win32 in the program, POSIX in the tests.
#ifndef VELARI_KEPT_CHANGES_PLATFORM_H
#define VELARI_KEPT_CHANGES_PLATFORM_H

#include <cstddef>

#include "kept_track_file.h"

// The folder of the kept files, ending in a separator, made first when make
// is set; false when there is none.
bool KeptChangesFolder(char (&folder)[TRACK_PATH_SIZE], bool make);
// Calls found with each name (no folder) in folder that ends with ending.
void ListFolder(const char* folder, const char* ending, void (*found)(const char* name, void* context), void* context);
// The file's size and last-write time; false when it can't be read.
bool ReadFileStamp(const char* path, FileStamp& stamp);
// Moves from onto to, replacing to, through to the disk; on failure to is
// untouched.
bool MoveFileOver(const char* from, const char* to);
// Another running editor has the track open.
bool TrackOpenInOtherEditor(const char* trackPath);
// KeepTrackNow is to run within a second; asked once per change that makes
// keeping due.
void ScheduleTrackKeeping();

#endif
