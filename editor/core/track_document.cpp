#include "track_document.h"

#include <cstdio>
#include <cstring>
#include <ctime>

#include "edit_history.h"
#include "file_replace.h"
#include "kept_changes.h"
#include "kept_track_file.h"
#include "running_program_rules.h"
#include "saved_file_place.h"
#include "track_display.h"

TrackDocument trackDocument;

namespace {

const char INVALID_TRACK_TEXT[] = "This is an invalid track file!";
const char ERROR_CAPTION[] = "Error!";
// Before the title of a track with unsaved changes.
const char UNSAVED_MARK[] = "*";
// The new file's name beside the old one: the mark, hex digits, the ending,
// as long as the path has room for.
const char NEW_FILE_MARK[] = "~";
const char NEW_FILE_ENDING[] = ".tmp";
enum { NEW_FILE_DIGITS = 4, NEW_FILE_TRIES = 0x10000 };

// A file is read whole into these before the document takes it over, so a
// refused file leaves no trace in the document.
TrackHeader loadedHeader;
TrackPiece loadedPieces[MAX_TRACK_PIECES];

// The track as the file holds it since the last load or save: the track is
// unsaved exactly when it differs from this.
TrackHeader settledHeader;
TrackPiece settledPieces[MAX_TRACK_PIECES];

// The system's reason for the failure, taken where it happened: cleaning up
// afterwards must not replace it.
char failureReason[256];

void NoteFailure()
{
    LastSystemErrorText(failureReason, sizeof failureReason);
}

bool CopyPath(char (&target)[TRACK_PATH_SIZE], const char* source)
{
    size_t length = std::strlen(source);
    if (!PathFits(source, length))
        return false;
    std::memcpy(target, source, length + 1);
    return true;
}

void RestoreSettledPath()
{
    std::memcpy(trackDocument.path, trackDocument.settledPath, TRACK_PATH_SIZE);
}

// The file at the document's path now holds header and pieces.
void SettleTrackAs(const TrackHeader& header, const TrackPiece* pieces)
{
    TrackDocument& doc = trackDocument;
    doc.isDirty = 0;
    std::memcpy(doc.settledPath, doc.path, TRACK_PATH_SIZE);
    settledHeader = header;
    std::memcpy(settledPieces, pieces, sizeof settledPieces);
    TrackSettledForKeeping();
}

// The track now is what its file holds.
void SettleTrack()
{
    SettleTrackAs(trackDocument.header, trackDocument.pieces);
}

void ShowTitleForPath()
{
    char title[sizeof UNSAVED_MARK + sizeof EDITOR_TITLE_PREFIX + TRACK_PATH_SIZE];
    std::snprintf(title, sizeof title, "%s%s%s", trackDocument.isDirty ? UNSAVED_MARK : "", EDITOR_TITLE_PREFIX,
                  trackDocument.path);
    ShowWindowTitle(title);
}

// A failure the system gives a reason for: the sentence, the file, the reason.
void ShowFileFailure(const char* sentence)
{
    char text[TRACK_PATH_SIZE + sizeof failureReason + 128];
    std::snprintf(text, sizeof text, sentence, trackDocument.path, failureReason);
    ShowTrackMessage(text, ERROR_CAPTION, MESSAGE_ERROR);
}

void ShowInvalidTrackMessage()
{
    ShowTrackMessage(INVALID_TRACK_TEXT, ERROR_CAPTION, MESSAGE_ERROR);
}

// Reads the file at path into loadedHeader and loadedPieces; returns the
// stored count, or -1 when the file is refused (any message already shown).
int ReadTrackFile()
{
    std::FILE* file = std::fopen(trackDocument.path, "rb");
    if (!file) {
        // Held by another program, gone or not to be read: an empty window
        // would look like a lost track.
        NoteFailure();
        ShowFileFailure("The track could not be read from %s.\n\n%s");
        return -1;
    }
    // A file shorter than a header does not start like a track either.
    size_t headerRead = std::fread(&loadedHeader, 1, sizeof loadedHeader, file);
    if (headerRead < sizeof loadedHeader || loadedHeader.signature[0] != 'R' || loadedHeader.signature[1] != 'C') {
        std::fclose(file);
        ShowInvalidTrackMessage();
        return -1;
    }
    int count = loadedHeader.pieceCount;
    size_t piecesRead = 0;
    if (count >= 0 && count <= MAX_TRACK_PIECES)
        piecesRead = std::fread(loadedPieces, sizeof(TrackPiece), count, file);
    std::fclose(file);
    if (count < 0 || count > MAX_TRACK_PIECES || piecesRead < static_cast<size_t>(count)) {
        ShowInvalidTrackMessage();
        return -1;
    }
    return count;
}

void ShowSaveFailure()
{
    ShowFileFailure("The track could not be saved to %s. The file on disk was not changed.\n\n%s");
}

// The save failed half-way and neither file could be put back in the
// track's place: say where each one is, so that nothing is thrown away.
void ShowFilesAside(const char* newFile, const char* backup)
{
    const bool old = FileExists(backup), saved = FileExists(newFile);
    char text[3 * TRACK_PATH_SIZE + sizeof failureReason + 160];
    int length = std::snprintf(text, sizeof text, "The track could not be saved to %s.", trackDocument.path);
    if (old)
        length += std::snprintf(text + length, sizeof text - length, " The track as it was is now %s.", backup);
    if (saved)
        length += std::snprintf(text + length, sizeof text - length, " The track as saved is %s.", newFile);
    if (!old && !saved)
        length += std::snprintf(text + length, sizeof text - length, " The file is no longer there.");
    std::snprintf(text + length, sizeof text - length, "\n\n%s", failureReason);
    ShowTrackMessage(text, ERROR_CAPTION, MESSAGE_ERROR);
}

// A name beside the track that no file in the folder has, no longer than the
// track's path has room for, so that a track that opened also saves: the
// mark, hex digits, the ending, as long as there is room. With file, the
// file is made under it at once; null and false when none could be found.
bool FreeNameBesideTrack(char (&name)[TRACK_PATH_SIZE], std::FILE** file)
{
    const char* path = trackDocument.path;
    const char* slash = std::strrchr(path, '\\');
    if (const char* other = std::strrchr(path, '/'))
        slash = !slash || other > slash ? other : slash;
    const size_t folderBytes = slash ? slash - path + 1 : 0;
    const size_t room = PATH_CHARACTERS - PathCharacterCount(path, folderBytes);
    const size_t markAndDigits = sizeof NEW_FILE_MARK - 1 + NEW_FILE_DIGITS;
    const bool withEnding = room >= markAndDigits + sizeof NEW_FILE_ENDING - 1;
    const bool withMark = room > NEW_FILE_DIGITS;
    const int digits = room >= markAndDigits ? NEW_FILE_DIGITS : static_cast<int>(room);
    static unsigned next = static_cast<unsigned>(std::time(nullptr));
    for (int attempt = digits > 0 ? 0 : NEW_FILE_TRIES; attempt < NEW_FILE_TRIES; ++attempt) {
        const unsigned number = next++ & ((1u << (4 * digits)) - 1);
        std::snprintf(name, sizeof name, "%.*s%s%0*X%s", static_cast<int>(folderBytes), path, withMark ? NEW_FILE_MARK : "",
                      digits, number, withEnding ? NEW_FILE_ENDING : "");
        bool exists = false;
        if (!file) {
            if (!FileExists(name))
                return true;
            continue;
        }
        if ((*file = CreateNewFile(name, exists)))
            return true;
        if (!exists)
            break;
    }
    NoteFailure();
    return false;
}

// Writes the whole track into a new file beside it, through to the disk;
// false, with no file left, if any byte did not arrive.
bool WriteTrackFile(char (&fileName)[TRACK_PATH_SIZE])
{
    std::FILE* file = nullptr;
    if (!FreeNameBesideTrack(fileName, &file))
        return false;
    TrackHeader stored = trackDocument.header;
    int storedCount = trackDocument.header.pieceCount + 1;
    stored.pieceCount = static_cast<int16_t>(storedCount);
    bool written = std::fwrite(&stored, sizeof stored, 1, file) == 1;
    if (written && storedCount > 0)
        written = std::fwrite(trackDocument.pieces, sizeof(TrackPiece), storedCount, file) ==
                  static_cast<size_t>(storedCount);
    if (!written)
        NoteFailure();
    if (!CloseWrittenThrough(file) && written) {
        NoteFailure();
        written = false;
    }
    if (!written)
        std::remove(fileName);
    return written;
}

// Reads the file at path as the saved version of the track; the document
// takes it, or the kept changes when given, which the list then shows once.
bool LoadTrackShowing(const KeptTrack* kept)
{
    int count = ReadTrackFile();
    if (count < 0) {
        RestoreSettledPath();
        return false;
    }
    // Nothing of an earlier track stays behind the new one's records. From
    // here on the header holds the listed count: the last record is carried
    // but not listed.
    std::memset(loadedPieces + count, 0, sizeof(TrackPiece) * (MAX_TRACK_PIECES - count));
    loadedHeader.pieceCount = static_cast<int16_t>(count - 1);
    TrackDocument& doc = trackDocument;
    doc.header = kept ? kept->header : loadedHeader;
    std::memcpy(doc.pieces, kept ? kept->pieces : loadedPieces, sizeof doc.pieces);

    RefreshPieceList();
    doc.currentPiece = kept ? kept->currentPiece : 0;
    DecodeCurrentPiece();
    doc.isLoaded = 1;
    SettleTrackAs(loadedHeader, loadedPieces);
    ClearEditHistory();
    UpdateDirtyFlag();
    ShowTitleForPath();
    return true;
}

}  // namespace

void ResetTrackDocument()
{
    std::memset(&trackDocument, 0, sizeof trackDocument);
    SettleTrack();
    ClearEditHistory();
}

void UpdateDirtyFlag()
{
    TrackDocument& doc = trackDocument;
    bool differs = std::memcmp(&doc.header, &settledHeader, sizeof settledHeader) != 0;
    for (int i = 0; i < MAX_TRACK_PIECES && !differs; ++i) {
        // The current piece's pending edit counts as made.
        const TrackPiece piece = i == doc.currentPiece ? CurrentPieceAsEdited() : doc.pieces[i];
        differs = std::memcmp(&piece, &settledPieces[i], sizeof piece) != 0;
    }
    const bool changed = doc.isDirty != differs;
    doc.isDirty = differs;
    if (doc.isLoaded && changed)
        ShowTitleForPath();
    TrackChangedForKeeping();
}

bool SetTrackPath(const char* newPath)
{
    return CopyPath(trackDocument.path, newPath);
}

bool LoadTrack()
{
    return LoadTrackShowing(nullptr);
}

bool LoadTrackWithKeptChanges(const KeptTrack& kept)
{
    return LoadTrackShowing(&kept);
}

bool SaveTrack()
{
    TrackDocument& doc = trackDocument;
    if (!doc.isLoaded || !doc.isDirty)
        return false;
    if (doc.editState.editPending)
        EncodeCurrentPiece();

    char newFile[TRACK_PATH_SIZE], backup[TRACK_PATH_SIZE];
    bool written = WriteTrackFile(newFile);
    if (written && !FreeNameBesideTrack(backup, nullptr)) {
        std::remove(newFile);
        written = false;
    }
    if (!written) {
        ShowSaveFailure();
        return false;
    }
    switch (PutSavedFileInPlace(newFile, doc.path, backup, failureReason, sizeof failureReason)) {
    case SAVED_IN_PLACE:
        break;
    case TRACK_UNCHANGED:
        ShowSaveFailure();
        return false;
    case TRACK_ASIDE:
        ShowFilesAside(newFile, backup);
        return false;
    }
    SettleTrack();
    ShowTitleForPath();
    return true;
}

bool SaveTrackAs(const char* newPath)
{
    TrackDocument& doc = trackDocument;
    if (!doc.isLoaded || !SetTrackPath(newPath))
        return false;
    int32_t wasDirty = doc.isDirty;
    doc.isDirty = 1;
    if (!SaveTrack()) {
        RestoreSettledPath();
        doc.isDirty = wasDirty;
        return false;
    }
    return true;
}

bool ConfirmSaveChanges()
{
    if (trackDocument.editState.editPending)
        EncodeCurrentPiece();
    if (!trackDocument.isDirty)
        return true;
    switch (ShowTrackMessage("This Track Has Not Been Saved! Save Now?", "Save Track?",
                             MESSAGE_SAVE_QUESTION)) {
    case ANSWER_CANCEL:
        return false;
    case ANSWER_YES:
        return SaveTrack();
    default:
        DropKeptChanges();
        return true;
    }
}
