// Changes of several pieces at once: a field set on every chosen piece, and
// rows of pieces copied out and pasted back. Each is one step for Undo.
#ifndef VELARI_CHOSEN_PIECE_EDITS_H
#define VELARI_CHOSEN_PIECE_EDITS_H

#include <cstddef>

#include "track_format.h"

enum PieceField { PIECE_FIELD_TYPE, PIECE_FIELD_LENGTH, PIECE_FIELD_ATTRIBUTE, PIECE_FIELD_PITCH, PIECE_FIELD_BANK };

// The record after one field takes value, by the rule of an edit of that
// piece alone: a new type keeps the piece's length where both have one.
TrackPiece PieceWithField(const TrackPiece& piece, PieceField field, int value);
// Sets the field on every chosen piece.
void ChangeChosenPieces(PieceField field, int value);

// The chosen pieces as rows, in the window's order; the text's length, 0
// when nothing is chosen or it does not fit.
size_t CopyChosenPieceRows(char* text, size_t size);
// The rows go over the pieces from the first chosen one on, which are then
// shown chosen. A refusal is shown and changes nothing.
bool PastePieceRows(const char* text);

#endif
