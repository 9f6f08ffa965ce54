#include "piece_edit_state.h"

#include <cstdio>
#include <initializer_list>

#include "piece_selection.h"
#include "track_display.h"
#include "track_document.h"
#include "track_name_text.h"

namespace {

const char* const PIECE_LIST_TEXTS[PIECE_SHAPE_COUNT] = {
    "Lift", "Left Turn", "Straight", "Right Turn",
    "Corkscrew", "Little Loop", "Big Loop", "Fake Tunnel"};

bool IsPieceIndex(int32_t index)
{
    return index >= 0 && index < MAX_TRACK_PIECES;
}

void ShowNumber(TrackField field, int value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    ShowFieldText(field, text);
}

void ShowTrackName(TrackField field, const char (&name)[TRACK_NAME_SIZE])
{
    char text[TRACK_NAME_TEXT_SIZE];
    TrackNameText(name, text);
    ShowFieldText(field, text);
}

}  // namespace

const char* PieceListText(uint8_t code)
{
    int shape = PieceShapeOfCode(code);
    return shape < 0 ? "Unknown" : PIECE_LIST_TEXTS[shape];
}

bool GiveShapeItsLength(PieceEditState& state)
{
    const bool hasLengths = state.shape >= 0 && state.shape < SHAPES_WITH_LENGTH;
    if (!hasLengths || state.length < PIECE_LENGTH_COUNT)
        return false;
    state.length = 0;  // "12 Feet"
    return true;
}

uint8_t EncodePieceCode(const PieceEditState& state, uint8_t oldCode)
{
    uint8_t shapeBits = oldCode & PIECE_SHAPE_BITS;
    uint8_t attributeBits = oldCode & PIECE_ATTRIBUTE_BITS;
    if (state.shape >= 0 && state.shape < SHAPES_WITH_LENGTH) {
        // A shape chosen has its length; a code that came without one is kept.
        if (state.length < PIECE_LENGTH_COUNT)
            shapeBits = PieceShapeBits(state.shape, state.length);
    } else if (state.shape >= SHAPES_WITH_LENGTH && state.shape < PIECE_SHAPE_COUNT) {
        shapeBits = PieceShapeBits(state.shape, 0);
    }
    if (state.attribute < PIECE_ATTRIBUTE_COUNT)
        attributeBits = PieceAttributeBits(state.attribute);

    uint8_t code = static_cast<uint8_t>(shapeBits | attributeBits);
    // A code kept as read may name no attribute; a code we change never does.
    if (code != oldCode && (code & PIECE_ATTRIBUTE_BITS) == PIECE_ATTRIBUTE_BITS)
        code &= PIECE_SHAPE_BITS;
    return code;
}

PieceEditState PieceStateOfRecord(const TrackPiece& piece)
{
    const int shape = PieceShapeOfCode(piece.code);
    const int length = PieceLengthOfCode(piece.code);
    const int attribute = PieceAttributeOfCode(piece.code);
    PieceEditState state = PieceEditState();
    state.shape = static_cast<int8_t>(shape < 0 ? PIECE_SHAPE_UNKNOWN : shape);
    state.length = static_cast<uint8_t>(length < 0 ? PIECE_LENGTH_NONE : length);
    state.attribute = static_cast<uint8_t>(attribute < 0 ? PIECE_ATTRIBUTE_UNKNOWN : attribute);
    state.pitch = piece.pitch;
    state.bank = piece.bank;
    return state;
}

TrackPiece RecordOfPieceState(const PieceEditState& state, const TrackPiece& piece)
{
    TrackPiece record = piece;
    record.code = EncodePieceCode(state, piece.code);
    record.pitch = state.pitch;
    record.bank = state.bank;
    return record;
}

namespace {

// A track of no records has no piece to show: the fields stay empty.
void ShowNoPiece()
{
    ShowFieldText(FIELD_CURRENT_PIECE, "");
    SelectPieceListLine(-1);
    for (PieceChoiceList list : {CHOICE_PIECE_TYPE, CHOICE_PIECE_LENGTH, CHOICE_ATTRIBUTES})
        SelectChoice(list, -1);
    ShowFieldText(FIELD_PIECE_BANK, "");
    ShowFieldText(FIELD_PIECE_PITCH, "");
    ShowTrackOverview();
}

}  // namespace

bool HasPieceToEdit()
{
    const TrackDocument& doc = trackDocument;
    return doc.isLoaded && IsPieceIndex(doc.currentPiece) && doc.currentPiece <= doc.header.pieceCount;
}

void DecodeCurrentPiece()
{
    TrackDocument& doc = trackDocument;
    if (!IsPieceIndex(doc.currentPiece))
        return;
    // The piece is shown alone: a choice of several ends here.
    ChooseCurrentPieceAlone();
    const TrackPiece& piece = doc.pieces[doc.currentPiece];
    PieceEditState& state = doc.editState;
    // The listed count leaves out the last stored record, which is still a
    // piece; past it there is none.
    if (doc.currentPiece > doc.header.pieceCount) {
        state = PieceEditState();  // nothing pending: without a piece no field reports an edit
        ShowNoPiece();
        return;
    }

    const int32_t pending = state.editPending;
    state = PieceStateOfRecord(piece);
    state.editPending = pending;
    ShowPieceFields();
    // Only after the fields are shown: writing them reports changes that
    // must not leave an edit pending.
    state.editPending = 0;
}

TrackPiece CurrentPieceAsEdited()
{
    const TrackDocument& doc = trackDocument;
    const PieceEditState& state = doc.editState;
    if (!IsPieceIndex(doc.currentPiece))
        return TrackPiece();
    TrackPiece piece = doc.pieces[doc.currentPiece];
    return state.editPending ? RecordOfPieceState(state, piece) : piece;
}

void EncodeCurrentPiece()
{
    TrackDocument& doc = trackDocument;
    if (doc.editState.editPending && IsPieceIndex(doc.currentPiece))
        doc.pieces[doc.currentPiece] = CurrentPieceAsEdited();
}

void RefreshPieceList()
{
    const TrackHeader& header = trackDocument.header;
    ShowTrackName(FIELD_TRACK_NAME, header.trackName);
    ShowTrackName(FIELD_DESIGNER_NAME, header.designerName);
    ShowNumber(FIELD_PIECE_COUNT, header.pieceCount);

    int lineCount = header.pieceCount > 0 ? header.pieceCount : 0;
    BeginPieceList(lineCount);
    ShowMatterhornCheck(header.matterhornSetting != 0);
    for (int i = 0; i < lineCount && i < MAX_TRACK_PIECES; ++i)
        AddPieceListLine(PieceListText(trackDocument.pieces[i].code));
    EndPieceList();
    ShowTrackOverview();
}

void ShowPieceFields()
{
    const TrackDocument& doc = trackDocument;
    const PieceEditState& state = doc.editState;
    ShowNumber(FIELD_CURRENT_PIECE, doc.currentPiece + 1);
    SelectPieceListLine(doc.currentPiece);
    SelectChoice(CHOICE_PIECE_TYPE, state.shape);
    SelectChoice(CHOICE_PIECE_LENGTH, state.length == PIECE_LENGTH_NONE ? -1 : state.length);
    SelectChoice(CHOICE_ATTRIBUTES,
                 state.attribute == PIECE_ATTRIBUTE_UNKNOWN ? -1 : state.attribute);
    ShowNumber(FIELD_PIECE_BANK, state.bank);
    ShowNumber(FIELD_PIECE_PITCH, state.pitch);
    ShowTrackOverview();
}
