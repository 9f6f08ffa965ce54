// Pieces as rows of text, as Copy puts them on the clipboard and Paste takes
// them back: a spreadsheet's cells, one line per piece.
#ifndef VELARI_PIECE_ROWS_H
#define VELARI_PIECE_ROWS_H

#include <cstddef>

#include "track_format.h"

// The texts of the "Piece Type", "Piece Length" and "Attributes" lists, in
// the order of the edit state's values.
extern const char* const PIECE_TYPE_TEXTS[PIECE_SHAPE_COUNT];
extern const char* const PIECE_LENGTH_TEXTS[PIECE_LENGTH_COUNT];
extern const char* const PIECE_ATTRIBUTE_TEXTS[PIECE_ATTRIBUTE_COUNT];

// Room for the longest row with its CR LF and zero.
enum { PIECE_ROW_SIZE = 64 };

// The piece numbered number (from 1) as the cells number, type, length
// (empty for a type without lengths), attribute, pitch and bank, separated
// by tabs and ended by CR LF; a code that names no type or attribute gives
// "Unknown". Returns the row's length, 0 when it does not fit.
size_t FormatPieceRow(int number, const TrackPiece& piece, char* row, size_t size);

struct PieceRows {
    int count;
    TrackPiece pieces[MAX_TRACK_PIECES];
};

// Rows of six cells as FormatPieceRow writes them, or as a spreadsheet
// copies such cells: the number cell is not read, a first line whose second
// cell is "Piece Type" names the columns and is skipped, blank lines at the
// end are dropped. They go over the pieces from firstPiece (from 0) on, and
// at most fit of them are left. False, with the reason in message, when no
// row, more rows than fit, or any row that isn't understood is given.
bool ParsePieceRows(const char* text, int firstPiece, int fit, PieceRows& rows, char* message, size_t size);

#endif
