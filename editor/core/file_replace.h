// The file operations a save needs beyond the C library, which the platform
// layer provides (POSIX natively, Win32 on Windows): a file made only where
// no file has the name, written through to the disk, then put in the place
// of another; and the system's words for the last failure.
#ifndef VELARI_FILE_REPLACE_H
#define VELARI_FILE_REPLACE_H

#include <cstddef>
#include <cstdio>

// Opens a new file for writing under name, never one that exists: null on
// failure, with exists set when a file of that name is in the way.
std::FILE* CreateNewFile(const char* name, bool& exists);
// Writes what the stream holds through to the disk and closes it; false if
// any of it failed.
bool CloseWrittenThrough(std::FILE* file);
// Puts newFile in the place of target, keeping target's attributes, with the
// old file moved to backup (a name no file has). A target that doesn't exist
// is simply named. On failure the files may stand anywhere in between: the
// system moves the old file aside before it moves the new one in, and
// either move can fail.
bool ReplaceKeepingBackup(const char* newFile, const char* target, const char* backup);
// Renames from to a name no file has, written through; never replaces one.
bool MoveToFreeName(const char* from, const char* to);
bool FileExists(const char* name);
// The system's reason for the call that failed last, as one line.
void LastSystemErrorText(char* text, size_t size);

#endif
