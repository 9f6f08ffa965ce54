#include "track_edits.h"

#include "chosen_piece_edits.h"
#include "edit_history.h"
#include "piece_edit_state.h"
#include "piece_selection.h"
#include "track_display.h"
#include "track_document.h"

namespace {

// One field of the current piece's edit state takes the user's value: the
// change is pending for the piece, and one step to take back.
template <typename Field>
void Edit(Field& field, int value)
{
    const TrackPiece before = CurrentPieceAsEdited();
    field = static_cast<Field>(value);
    // A shape with lengths takes one with it, in the same step.
    if (GiveShapeItsLength(trackDocument.editState))
        SelectChoice(CHOICE_PIECE_LENGTH, trackDocument.editState.length);
    trackDocument.editState.editPending = 1;
    RecordPieceEdit(trackDocument.currentPiece, before, CurrentPieceAsEdited());
    UpdateDirtyFlag();
    ShowTrackOverview();
}

// A choice counts only for a piece of the track and with an entry selected.
bool IsChoice(int selection, int choiceCount)
{
    return HasPieceToEdit() && selection >= 0 && selection < choiceCount;
}

// With several pieces chosen the change goes to each of them at once.
bool ChangedSeveral(PieceField field, int value)
{
    if (!SeveralPiecesChosen())
        return false;
    ChangeChosenPieces(field, value);
    return true;
}

}  // namespace

void ChoosePiece(int line)
{
    if (line < 0 || line >= MAX_TRACK_PIECES)
        return;
    EncodeCurrentPiece();
    trackDocument.currentPiece = line;
    DecodeCurrentPiece();
}

void ChangePieceType(int selection)
{
    if (!IsChoice(selection, PIECE_SHAPE_COUNT) || ChangedSeveral(PIECE_FIELD_TYPE, selection))
        return;
    Edit(trackDocument.editState.shape, selection);
    // The new shape goes into the piece at once so that its line shows it.
    EncodeCurrentPiece();
    RefreshPieceList();
    SelectPieceListLine(trackDocument.currentPiece);
}

void SetPieceLength(int selection)
{
    if (!IsChoice(selection, PIECE_LENGTH_COUNT) || ChangedSeveral(PIECE_FIELD_LENGTH, selection))
        return;
    Edit(trackDocument.editState.length, selection);
}

void SetPieceAttribute(int selection)
{
    if (!IsChoice(selection, PIECE_ATTRIBUTE_COUNT) || ChangedSeveral(PIECE_FIELD_ATTRIBUTE, selection))
        return;
    Edit(trackDocument.editState.attribute, selection);
}

// A field showing a value its up-down control cannot hold reports the
// control's old position; taking that would change the piece unasked.
static void ReadBack(int8_t& value, PieceField field, int position, bool outOfRange)
{
    if (!HasPieceToEdit() || outOfRange || ChangedSeveral(field, position) || position == value)
        return;
    Edit(value, position);
}

void ReadBackPitch(int position, bool outOfRange)
{
    ReadBack(trackDocument.editState.pitch, PIECE_FIELD_PITCH, position, outOfRange);
}

void ReadBackBank(int position, bool outOfRange)
{
    ReadBack(trackDocument.editState.bank, PIECE_FIELD_BANK, position, outOfRange);
}

void ToggleMatterhornSetting()
{
    if (!trackDocument.isLoaded)
        return;
    uint8_t& setting = trackDocument.header.matterhornSetting;
    const uint8_t before = setting;
    setting = setting == 0 ? 1 : 0;
    RecordMatterhornEdit(before, setting);
    UpdateDirtyFlag();
}
