#include "track_document.h"

#include <cstdio>
#include <cstring>

#include "edit_history.h"
#include "file_replace.h"
#include "track_display.h"

TrackDocument trackDocument;

namespace {

const char INVALID_TRACK_TEXT[] = "This is an invalid track file!";
const char ERROR_CAPTION[] = "Error!";
const char TITLE_PREFIX[] = "Velari - ";
// The new file is written beside the old one under this suffix.
const char SAVE_SUFFIX[] = ".tmp";

// A file is read whole into these before the document takes it over, so a
// refused file leaves no trace in the document.
TrackHeader loadedHeader;
TrackPiece loadedPieces[MAX_TRACK_PIECES];

// The track as the file holds it since the last load or save: the track is
// unsaved exactly when it differs from this.
TrackHeader settledHeader;
TrackPiece settledPieces[MAX_TRACK_PIECES];

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

// The track now is what its file holds.
void SettleTrack()
{
    TrackDocument& doc = trackDocument;
    doc.isDirty = 0;
    std::memcpy(doc.settledPath, doc.path, TRACK_PATH_SIZE);
    settledHeader = doc.header;
    std::memcpy(settledPieces, doc.pieces, sizeof settledPieces);
}

void ShowTitleForPath()
{
    char title[sizeof TITLE_PREFIX + TRACK_PATH_SIZE];
    std::snprintf(title, sizeof title, "%s%s", TITLE_PREFIX, trackDocument.path);
    ShowWindowTitle(title);
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
    if (!file)
        return -1;
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
    char text[TRACK_PATH_SIZE + 128];
    std::snprintf(text, sizeof text,
                  "The track could not be saved to %s. The file on disk was not changed.",
                  trackDocument.path);
    ShowTrackMessage(text, ERROR_CAPTION, MESSAGE_ERROR);
}

// Writes the whole track into a new file; false if any byte did not arrive.
bool WriteTrackFile(const char* fileName)
{
    std::FILE* file = std::fopen(fileName, "wb");
    if (!file)
        return false;
    TrackHeader stored = trackDocument.header;
    int storedCount = trackDocument.header.pieceCount + 1;
    stored.pieceCount = static_cast<int16_t>(storedCount);
    bool written = std::fwrite(&stored, sizeof stored, 1, file) == 1;
    if (written && storedCount > 0)
        written = std::fwrite(trackDocument.pieces, sizeof(TrackPiece), storedCount, file) ==
                  static_cast<size_t>(storedCount);
    if (std::fclose(file) != 0)
        written = false;
    if (!written)
        std::remove(fileName);
    return written;
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
    doc.isDirty = differs;
}

bool SetTrackPath(const char* newPath)
{
    return CopyPath(trackDocument.path, newPath);
}

bool LoadTrack()
{
    int count = ReadTrackFile();
    if (count < 0) {
        RestoreSettledPath();
        return false;
    }
    TrackDocument& doc = trackDocument;
    doc.header = loadedHeader;
    // Nothing of an earlier track stays behind the new one's records.
    std::memcpy(doc.pieces, loadedPieces, sizeof(TrackPiece) * count);
    std::memset(doc.pieces + count, 0, sizeof(TrackPiece) * (MAX_TRACK_PIECES - count));
    // From here on the header holds the listed count: the last record is
    // carried but not listed.
    doc.header.pieceCount = static_cast<int16_t>(count - 1);

    RefreshPieceList();
    doc.currentPiece = 0;
    DecodeCurrentPiece();
    doc.isLoaded = 1;
    SettleTrack();
    ClearEditHistory();
    ShowTitleForPath();
    return true;
}

bool SaveTrack()
{
    TrackDocument& doc = trackDocument;
    if (!doc.isLoaded || !doc.isDirty)
        return false;
    if (doc.editState.editPending)
        EncodeCurrentPiece();

    char newFile[TRACK_PATH_SIZE];
    bool saved = std::snprintf(newFile, sizeof newFile, "%s%s", doc.path, SAVE_SUFFIX) <
                     static_cast<int>(sizeof newFile) &&
                 WriteTrackFile(newFile);
    if (saved && !ReplaceFileWithNew(newFile, doc.path)) {
        std::remove(newFile);
        saved = false;
    }
    if (!saved) {
        ShowSaveFailure();
        return false;
    }
    SettleTrack();
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
    ShowTitleForPath();
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
        return true;
    }
}
