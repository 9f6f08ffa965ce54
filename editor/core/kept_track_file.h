// The file in which the editor keeps a track's unsaved changes, so that a
// crash, a kill or the end of the session loses nothing: its bytes and its
// name. No file access here; the keeping itself is in kept_changes.
#ifndef VELARI_KEPT_TRACK_FILE_H
#define VELARI_KEPT_TRACK_FILE_H

#include <cstddef>
#include <cstdint>

#include "track_document.h"
#include "track_format.h"

// Which version of a file the changes were made to: its size and its
// last-write time, in the platform's own units.
struct FileStamp {
    uint64_t size;
    uint64_t time;
};

// The track as edited, with the file it belongs to.
struct KeptTrack {
    char path[TRACK_PATH_SIZE];
    FileStamp stamp;          // the track's file when the changes began
    int32_t currentPiece;
    TrackHeader header;       // pieceCount holds the listed count, as in the document
    TrackPiece pieces[MAX_TRACK_PIECES];
};

// Magic, path length and path, stamp, current piece, header, records, checksum.
enum {
    KEPT_MAGIC_SIZE = 8,
    KEPT_FILE_MAX_SIZE = KEPT_MAGIC_SIZE + 2 + TRACK_PATH_SIZE + 16 + 4 + TRACK_HEADER_SIZE +
                         MAX_TRACK_PIECES * TRACK_PIECE_SIZE + 4
};
// 16 hex digits and the longest ending.
enum { KEPT_NAME_SIZE = 16 + 8 + 1 };

extern const char KEPT_FILE_ENDING[];   // a kept file
extern const char NEW_KEPT_ENDING[];    // one being written
extern const char DAMAGED_KEPT_ENDING[];  // one put aside

// The kept file's bytes for track into bytes (KEPT_FILE_MAX_SIZE); the length.
size_t KeptTrackBytes(const KeptTrack& track, unsigned char* bytes);
// False for anything but a whole, unaltered kept file of a track the
// editor can hold: cut short, too long, another file, a count or current
// piece out of range, a path that does not fit.
bool ReadKeptTrackBytes(const unsigned char* bytes, size_t length, KeptTrack& track);
// The name (no folder) of the track's kept file with the given ending: one
// per track, whatever the letter case of its path.
void KeptFileName(const char* trackPath, const char* ending, char (&name)[KEPT_NAME_SIZE]);
// Whether two paths name the same track, as Windows compares names.
bool SameTrackPath(const char* one, const char* other);

#endif
