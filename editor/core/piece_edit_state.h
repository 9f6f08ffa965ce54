// The current piece split into the fields the user edits, and what the piece
// list and the track fields show.
#ifndef VELARI_PIECE_EDIT_STATE_H
#define VELARI_PIECE_EDIT_STATE_H

#include <cstdint>

#include "track_format.h"

enum { PIECE_LENGTH_NONE = 255 };
// A code that names no shape or no attribute leaves that field unselected.
enum { PIECE_SHAPE_UNKNOWN = -1, PIECE_ATTRIBUTE_UNKNOWN = 255 };

struct PieceEditState {
    int8_t shape;       // 0-7, or PIECE_SHAPE_UNKNOWN
    uint8_t length;     // 0-3, or PIECE_LENGTH_NONE
    uint8_t attribute;  // 0-2, or PIECE_ATTRIBUTE_UNKNOWN
    int8_t bank;
    int8_t pitch;
    int32_t editPending;
};

void DecodeCurrentPiece();
// A track is loaded and the current piece is one of its records: edits can
// be saved.
bool HasPieceToEdit();
void EncodeCurrentPiece();
// The current piece's record as the next encode leaves it: with the pending
// edit, or as stored when none is pending.
TrackPiece CurrentPieceAsEdited();
void RefreshPieceList();
void ShowPieceFields();

// A shape with lengths can't do without one: a piece that has none takes
// the first, so that a change of shape lands at once. True when it did.
bool GiveShapeItsLength(PieceEditState& state);

// A record split into the fields the user edits.
PieceEditState PieceStateOfRecord(const TrackPiece& piece);
// The record as the edit state's fields leave it, as an encoding does.
TrackPiece RecordOfPieceState(const PieceEditState& state, const TrackPiece& piece);

// The text of a piece's line in the piece list.
const char* PieceListText(uint8_t code);
// The code that the edit state gives to a record whose code is oldCode.
uint8_t EncodePieceCode(const PieceEditState& state, uint8_t oldCode);

#endif
