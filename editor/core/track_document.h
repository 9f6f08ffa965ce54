// The one track in memory, its loading, saving and the unsaved-changes prompt.
#ifndef VELARI_TRACK_DOCUMENT_H
#define VELARI_TRACK_DOCUMENT_H

#include <cstdint>

#include "path_size.h"
#include "piece_edit_state.h"
#include "track_format.h"

enum { TRACK_PATH_SIZE = PATH_SIZE };  // UTF-8 bytes of up to 259 characters, and the zero

struct TrackDocument {
    TrackHeader header;   // pieceCount holds the listed count (stored count - 1)
    TrackPiece pieces[MAX_TRACK_PIECES];
    PieceEditState editState;
    int32_t currentPiece;
    int32_t isLoaded;
    int32_t isDirty;
    char path[TRACK_PATH_SIZE];        // written by the commands before a load or save
    char settledPath[TRACK_PATH_SIZE]; // the file the document last came from or went to
};

extern TrackDocument trackDocument;
struct KeptTrack;

// Back to the start-up state: everything zero, path empty.
void ResetTrackDocument();
// Reads the file named by path. On any failure the document, path included,
// is left exactly as it was before path was set for the attempt.
bool LoadTrack();
// Loads the file at path as the saved version, with the kept track in the
// document instead: unsaved, where it differs.
bool LoadTrackWithKeptChanges(const KeptTrack& kept);
// Writes the loaded, dirty track to path through a new file beside it that
// replaces the old one only once it is complete.
bool SaveTrack();
// Offers to save unsaved changes; false when the caller must stop (Cancel, or
// Yes and the save failed).
bool ConfirmSaveChanges();
// After a change or its undoing: isDirty is set exactly when the track
// differs from what its file held at the last load or save.
void UpdateDirtyFlag();
// Sets path for a coming load or save; refuses (false) a name of more than
// 259 characters, as Windows counts them.
bool SetTrackPath(const char* newPath);
// Writes the track, changed or not, to newPath. On success the window title
// names the new file; on failure path and isDirty are as they were.
bool SaveTrackAs(const char* newPath);

#endif
