#include "chosen_piece_edits.h"

#include <cstring>

#include "edit_history.h"
#include "piece_edit_state.h"
#include "piece_rows.h"
#include "piece_selection.h"
#include "track_display.h"
#include "track_document.h"

namespace {

const char PASTE_CAPTION[] = "Paste";

PieceRows pasted;

bool SameRecord(const TrackPiece& a, const TrackPiece& b)
{
    return a.code == b.code && a.pitch == b.pitch && a.bank == b.bank;
}

// Puts the record into the piece as part of the open group; true when it
// changed its type, and so its line: a line names the type alone.
bool Change(int piece, const TrackPiece& record, bool& changed)
{
    TrackPiece& stored = trackDocument.pieces[piece];
    if (SameRecord(stored, record))
        return false;
    RecordPieceEdit(piece, stored, record);
    const bool lineChanged = PieceShapeOfCode(stored.code) != PieceShapeOfCode(record.code);
    stored = record;
    changed = true;
    return lineChanged;
}

}  // namespace

TrackPiece PieceWithField(const TrackPiece& piece, PieceField field, int value)
{
    PieceEditState state = PieceStateOfRecord(piece);
    switch (field) {
    case PIECE_FIELD_TYPE:      state.shape = static_cast<int8_t>(value); break;
    case PIECE_FIELD_LENGTH:    state.length = static_cast<uint8_t>(value); break;
    case PIECE_FIELD_ATTRIBUTE: state.attribute = static_cast<uint8_t>(value); break;
    case PIECE_FIELD_PITCH:     state.pitch = static_cast<int8_t>(value); break;
    case PIECE_FIELD_BANK:      state.bank = static_cast<int8_t>(value); break;
    }
    GiveShapeItsLength(state);
    return RecordOfPieceState(state, piece);
}

void ChangeChosenPieces(PieceField field, int value)
{
    SettlePendingEdit();
    bool changed = false, linesChanged = false;
    BeginEditGroup();
    for (int piece = 0; piece < ListedPieceCount(); ++piece) {
        if (IsPieceChosen(piece))
            linesChanged |= Change(piece, PieceWithField(trackDocument.pieces[piece], field, value), changed);
    }
    EndEditGroup();
    if (!changed)
        return;
    // The pitch or bank field shows what the user typed or stepped already;
    // writing it again would move the caret out of a number being typed.
    if (linesChanged) {
        RefreshPieceList();
        ShowChosenPieces(true);
    } else if (field != PIECE_FIELD_PITCH && field != PIECE_FIELD_BANK) {
        ShowSharedChoices();
    }
    ShowTrackOverview();
    UpdateDirtyFlag();
}

size_t CopyChosenPieceRows(char* text, size_t size)
{
    size_t used = 0;
    for (int piece = 0; piece < ListedPieceCount(); ++piece) {
        if (!IsPieceChosen(piece))
            continue;
        const TrackPiece record = piece == trackDocument.currentPiece ? CurrentPieceAsEdited() : trackDocument.pieces[piece];
        const size_t length = FormatPieceRow(piece + 1, record, text + used, size - used);
        if (length == 0)
            return 0;
        used += length;
    }
    return used;
}

bool PastePieceRows(const char* text)
{
    const int first = trackDocument.currentPiece;
    if (!HasPieceToEdit() || first >= ListedPieceCount())
        return false;
    char message[160];
    if (!ParsePieceRows(text, first, ListedPieceCount() - first, pasted, message, sizeof message)) {
        ShowTrackMessage(message, PASTE_CAPTION, MESSAGE_ERROR);
        return false;
    }
    SettlePendingEdit();
    bool changed = false, linesChanged = false;
    BeginEditGroup();
    for (int row = 0; row < pasted.count; ++row)
        linesChanged |= Change(first + row, pasted.pieces[row], changed);
    EndEditGroup();
    if (linesChanged)
        RefreshPieceList();
    ChoosePieceRange(first, first + pasted.count - 1);
    UpdateDirtyFlag();
    return true;
}
