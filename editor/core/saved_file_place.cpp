#include "saved_file_place.h"

#include <cstdio>

#include "file_replace.h"

SavedFilePlace PutSavedFileInPlace(const char* newFile, const char* target, const char* backup, char* reason,
                                   size_t reasonSize)
{
    if (ReplaceKeepingBackup(newFile, target, backup)) {
        std::remove(backup);
        return SAVED_IN_PLACE;
    }
    LastSystemErrorText(reason, reasonSize);
    const bool newFileThere = FileExists(newFile);
    if (FileExists(target)) {
        // The new file moved in although the call failed: the save is done.
        if (!newFileThere) {
            std::remove(backup);
            return SAVED_IN_PLACE;
        }
        // The old file never left: the track is as it was.
        std::remove(newFile);
        return TRACK_UNCHANGED;
    }
    if (newFileThere && MoveToFreeName(newFile, target)) {
        std::remove(backup);
        return SAVED_IN_PLACE;
    }
    if (FileExists(backup) && MoveToFreeName(backup, target)) {
        std::remove(newFile);
        return TRACK_UNCHANGED;
    }
    return TRACK_ASIDE;
}
