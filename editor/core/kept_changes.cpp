#include "kept_changes.h"

#include <cstdio>
#include <cstring>

#include "file_replace.h"
#include "kept_changes_platform.h"
#include "kept_track_file.h"
#include "piece_edit_state.h"
#include "track_display.h"
#include "track_document.h"

namespace {

const char MESSAGE_CAPTION[] = "Velari";
const char CHANGED_ON_DISK_TEXT[] =
    "The unsaved changes to %s are back, but the file has changed on disk since they were made.\n\n"
    "Saving writes the changes over it; closing without saving leaves the file as it is now.";
const char PUT_ASIDE_TEXT[] =
    "Unsaved changes kept from before could not be brought back (%d file%s): the kept file is damaged, "
    "or its track can no longer be opened.\n\nNothing was deleted: the kept files were put aside in %s, "
    "ending in %s.";
enum { PUT_ASIDE_TRIES = 10 };

// Renewed within a second of a change, not at every change: a change stays
// as fast as without keeping.
bool keepDue;
// This editor's kept file, with its folder; empty when it keeps none.
char keptFile[TRACK_PATH_SIZE];
// The version of the track's file that the document was last loaded from
// or saved to.
FileStamp settledStamp;

KeptTrack keptTrack;
unsigned char keptBytes[KEPT_FILE_MAX_SIZE + 1];

bool JoinPath(char (&path)[TRACK_PATH_SIZE], const char* folder, const char* name)
{
    const int length = std::snprintf(path, sizeof path, "%s%s", folder, name);
    return length > 0 && static_cast<size_t>(length) < sizeof path && PathFits(path);
}

bool KeptFileOf(const char* trackPath, const char* ending, char (&file)[TRACK_PATH_SIZE], bool makeFolder)
{
    char folder[TRACK_PATH_SIZE], name[KEPT_NAME_SIZE];
    if (!KeptChangesFolder(folder, makeFolder))
        return false;
    KeptFileName(trackPath, ending, name);
    return JoinPath(file, folder, name);
}

// The new file is complete and on the disk before it takes the old one's
// place: a write cut off half-way leaves the good copy.
bool WriteKeptFile(const char* newFile, const char* file, size_t length)
{
    std::FILE* out = std::fopen(newFile, "wb");
    if (!out)
        return false;
    const bool written = std::fwrite(keptBytes, 1, length, out) == length;
    if (CloseWrittenThrough(out) && written && MoveFileOver(newFile, file))
        return true;
    std::remove(newFile);
    return false;
}

bool ReadKeptFile(const char* file)
{
    std::FILE* in = std::fopen(file, "rb");
    if (!in)
        return false;
    const size_t length = std::fread(keptBytes, 1, sizeof keptBytes, in);
    std::fclose(in);
    return ReadKeptTrackBytes(keptBytes, length, keptTrack);
}

// Under a name of its own beside the others, never over an earlier one.
void PutAside(const char* file)
{
    const size_t stem = std::strlen(file) - std::strlen(KEPT_FILE_ENDING);
    char aside[TRACK_PATH_SIZE];
    FileStamp taken;
    for (int attempt = 0; attempt < PUT_ASIDE_TRIES; ++attempt) {
        const int length = std::snprintf(aside, sizeof aside, "%.*s%.0d%s", static_cast<int>(stem), file, attempt,
                                         DAMAGED_KEPT_ENDING);
        if (length > 0 && static_cast<size_t>(length) < sizeof aside && !ReadFileStamp(aside, taken)) {
            std::rename(file, aside);
            return;
        }
    }
}

struct KeptFileSearch {
    const char* folder;
    const char* requested;
    char chosen[TRACK_PATH_SIZE];
    uint64_t chosenTime;
    int putAside;
};

void LookAtKeptFile(const char* name, void* context)
{
    KeptFileSearch& search = *static_cast<KeptFileSearch*>(context);
    char file[TRACK_PATH_SIZE];
    FileStamp trackStamp, keptStamp;
    if (!JoinPath(file, search.folder, name))
        return;
    if (!ReadKeptFile(file) || !ReadFileStamp(keptTrack.path, trackStamp)) {
        PutAside(file);
        ++search.putAside;
        return;
    }
    if (TrackOpenInOtherEditor(keptTrack.path))
        return;
    const bool wanted = search.requested[0] ? SameTrackPath(keptTrack.path, search.requested)
                                            : ReadFileStamp(file, keptStamp) &&
                                                  (!search.chosen[0] || keptStamp.time > search.chosenTime);
    if (!wanted)
        return;
    std::memcpy(search.chosen, file, sizeof file);
    search.chosenTime = search.requested[0] ? 0 : keptStamp.time;
}

void SayPutAside(int count, const char* folder)
{
    char text[sizeof PUT_ASIDE_TEXT + TRACK_PATH_SIZE + 32];
    std::snprintf(text, sizeof text, PUT_ASIDE_TEXT, count, count == 1 ? "" : "s", folder, DAMAGED_KEPT_ENDING);
    ShowTrackMessage(text, MESSAGE_CAPTION, MESSAGE_WARNING);
}

// The track's file is loaded as it is now, as the version the changes are
// measured against, and the kept track takes its place in the document.
bool RestoreKeptTrack(const char* file, const char* folder)
{
    if (!ReadKeptFile(file))
        return false;
    FileStamp now;
    const bool changed = ReadFileStamp(keptTrack.path, now) &&
                         (now.size != keptTrack.stamp.size || now.time != keptTrack.stamp.time);
    if (!SetTrackPath(keptTrack.path) || !LoadTrack()) {
        PutAside(file);
        SayPutAside(1, folder);
        return false;
    }
    TrackDocument& doc = trackDocument;
    doc.header = keptTrack.header;
    std::memcpy(doc.pieces, keptTrack.pieces, sizeof doc.pieces);
    doc.currentPiece = keptTrack.currentPiece;
    RefreshPieceList();
    DecodeCurrentPiece();
    std::memcpy(keptFile, file, sizeof keptFile);
    UpdateDirtyFlag();
    if (changed) {
        char text[sizeof CHANGED_ON_DISK_TEXT + 2 * TRACK_PATH_SIZE];
        std::snprintf(text, sizeof text, CHANGED_ON_DISK_TEXT, doc.path);
        ShowTrackMessage(text, MESSAGE_CAPTION, MESSAGE_WARNING);
    }
    return true;
}

}  // namespace

void TrackChangedForKeeping()
{
    if (!trackDocument.isDirty) {
        DropKeptChanges();
    } else if (!keepDue) {
        keepDue = true;
        ScheduleTrackKeeping();
    }
}

void TrackSettledForKeeping()
{
    DropKeptChanges();
    if (!trackDocument.isLoaded || !ReadFileStamp(trackDocument.settledPath, settledStamp))
        settledStamp = FileStamp();
}

void DropKeptChanges()
{
    keepDue = false;
    if (keptFile[0])
        std::remove(keptFile);
    keptFile[0] = '\0';
}

bool KeepDueTrack()
{
    return !keepDue || KeepTrackNow();
}

bool KeepTrackNow()
{
    const TrackDocument& doc = trackDocument;
    if (!doc.isLoaded || !doc.isDirty)
        return true;
    keepDue = false;
    char file[TRACK_PATH_SIZE], newFile[TRACK_PATH_SIZE];
    if (!KeptFileOf(doc.settledPath, KEPT_FILE_ENDING, file, true) ||
        !KeptFileOf(doc.settledPath, NEW_KEPT_ENDING, newFile, false))
        return false;
    KeptTrack& kept = keptTrack;
    std::memcpy(kept.path, doc.settledPath, sizeof kept.path);
    kept.stamp = settledStamp;
    kept.header = doc.header;
    std::memcpy(kept.pieces, doc.pieces, sizeof kept.pieces);
    kept.currentPiece = 0;
    if (HasPieceToEdit()) {
        kept.currentPiece = doc.currentPiece;
        kept.pieces[doc.currentPiece] = CurrentPieceAsEdited();
    }
    if (!WriteKeptFile(newFile, file, KeptTrackBytes(kept, keptBytes)))
        return false;
    if (keptFile[0] && !SameTrackPath(keptFile, file))
        std::remove(keptFile);
    std::memcpy(keptFile, file, sizeof keptFile);
    return true;
}

bool BringBackKeptChanges(const char* requested)
{
    KeptFileSearch search = {};
    char folder[TRACK_PATH_SIZE];
    if (!KeptChangesFolder(folder, false))
        return false;
    search.folder = folder;
    search.requested = requested;
    ListFolder(folder, KEPT_FILE_ENDING, LookAtKeptFile, &search);
    if (search.putAside)
        SayPutAside(search.putAside, folder);
    return search.chosen[0] && RestoreKeptTrack(search.chosen, folder);
}
