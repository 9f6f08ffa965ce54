// Putting a finished save file in the track's place so that, whatever step
// fails, a track stays on disk: the old one back in its place, the new one
// in it, or both under the names the message gives.
#ifndef VELARI_SAVED_FILE_PLACE_H
#define VELARI_SAVED_FILE_PLACE_H

#include <cstddef>

enum SavedFilePlace {
    SAVED_IN_PLACE,   // the track as saved is the target; no other file left
    TRACK_UNCHANGED,  // the track as it was is the target; the new file gone
    TRACK_ASIDE,      // no track at the target: see which of the two remain
};

// Replaces target by newFile, the old file moved to backup on the way. On a
// failure it looks at the files rather than trust the error: it moves the
// new file in, or else the old one back, and deletes no file that may be the
// only copy of either. The system's reason for the first failure goes to
// reason.
SavedFilePlace PutSavedFileInPlace(const char* newFile, const char* target, const char* backup, char* reason,
                                   size_t reasonSize);

#endif
