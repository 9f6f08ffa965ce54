#include "track_edits.h"

#include "piece_edit_state.h"
#include "track_display.h"
#include "track_document.h"

namespace {

void MarkEdited()
{
    trackDocument.isDirty = 1;
    trackDocument.editState.editPending = 1;
}

// A choice counts only for a piece of the track and with an entry selected.
bool IsChoice(int selection, int choiceCount)
{
    return HasPieceToEdit() && selection >= 0 && selection < choiceCount;
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
    if (!IsChoice(selection, PIECE_SHAPE_COUNT))
        return;
    trackDocument.editState.shape = static_cast<int8_t>(selection);
    MarkEdited();
    // The new shape goes into the piece at once so that its line shows it.
    EncodeCurrentPiece();
    RefreshPieceList();
    SelectPieceListLine(trackDocument.currentPiece);
}

void SetPieceLength(int selection)
{
    if (!IsChoice(selection, PIECE_LENGTH_COUNT))
        return;
    trackDocument.editState.length = static_cast<uint8_t>(selection);
    MarkEdited();
}

void SetPieceAttribute(int selection)
{
    if (!IsChoice(selection, PIECE_ATTRIBUTE_COUNT))
        return;
    trackDocument.editState.attribute = static_cast<uint8_t>(selection);
    MarkEdited();
}

// A field showing a value its up-down control cannot hold reports the
// control's old position; taking that would change the piece unasked.
static void ReadBack(int8_t& value, int position, bool outOfRange)
{
    if (!HasPieceToEdit() || outOfRange || position == value)
        return;
    value = static_cast<int8_t>(position);
    MarkEdited();
}

void ReadBackPitch(int position, bool outOfRange)
{
    ReadBack(trackDocument.editState.pitch, position, outOfRange);
}

void ReadBackBank(int position, bool outOfRange)
{
    ReadBack(trackDocument.editState.bank, position, outOfRange);
}

void ToggleMatterhornSetting()
{
    if (!trackDocument.isLoaded)
        return;
    uint8_t& setting = trackDocument.header.matterhornSetting;
    setting = setting == 0 ? 1 : 0;
    trackDocument.isDirty = 1;
}
