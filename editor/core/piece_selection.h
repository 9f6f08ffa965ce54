// Which pieces are chosen. One chosen piece is the current piece, edited
// through the edit state as ever; with several, the current piece is the
// first of them, and a change of a field goes to all of them at once.
#ifndef VELARI_PIECE_SELECTION_H
#define VELARI_PIECE_SELECTION_H

#include <cstddef>

#include "track_display.h"
#include "track_format.h"

// The piece list's chosen lines, in any order, and the line a Shift+click
// or Shift+arrow stretches from. One line chooses that piece alone, as
// ChoosePiece does; none changes nothing. The list shows them already.
void ChoosePieceLines(const int* lines, int count, int anchor);
// Every listed piece from anchor to piece, both included.
void ChoosePieceRange(int anchor, int piece);
void ChooseAllPieces();
// The pieces marked, as Undo and Redo of a change of several show them.
void ChooseMarkedPieces(const bool (&marked)[MAX_TRACK_PIECES]);
// A piece shown alone (DecodeCurrentPiece) ends a choice of several.
void ChooseCurrentPieceAlone();

// Pending edits go into the current piece and nothing stays pending: the
// pieces themselves are changed next.
void SettlePendingEdit();

// The lines of the piece list: the listed pieces of a loaded track.
int ListedPieceCount();
bool SeveralPiecesChosen();
bool IsPieceChosen(int piece);
// Where the next Shift+click stretches from.
int PieceSelectionAnchor();

// "Current Piece" for several pieces: "3-6" for a run, "4 pieces" otherwise.
void ChosenPiecesText(char* text, size_t size);

// What every chosen piece shares; -1 (no choice, an empty field) where
// they differ, or for a list where none names a value.
struct SharedPieceFields {
    int shape, length, attribute;
    bool pitchShared, bankShared;
    int pitch, bank;
};
SharedPieceFields SharedFieldsOfChosenPieces();
// Shows the chosen pieces' shared values in the lists, and, unless the user
// is typing in them, in the pitch and bank fields; lines: the piece list
// is told which lines are chosen too.
void ShowChosenPieces(bool lines);
void ShowSharedChoices();
// An up-down step of the pitch or bank field starts from a value: not from
// an empty field.
bool PieceFieldCanStep(TrackField field);

// A piece number as typed in "Go to Piece": 1 to the listed count. False,
// with the reason in message, for anything else.
bool ParsePieceNumber(const char* text, int& piece, char* message, size_t size);

#endif
