// The changes a person made to the loaded track, one step each, so that
// Undo takes them back and Redo makes them again. A load starts with none; a
// save keeps them.
#ifndef VELARI_EDIT_HISTORY_H
#define VELARI_EDIT_HISTORY_H

#include <cstdint>

#include "track_format.h"

// Four bytes a step; past this many the oldest step is forgotten.
enum { EDIT_HISTORY_CAPACITY = 10000 };

// A change of the piece's record, both records as a save would write them.
// One change of the edit state alters one byte of it; no byte, no step.
// A new step forgets the steps that could have been made again.
void RecordPieceEdit(int piece, const TrackPiece& before, const TrackPiece& after);
void RecordMatterhornEdit(uint8_t before, uint8_t after);
// Everything recorded between the two is one step, however many pieces it
// changed: a change of several pieces, or a paste.
void BeginEditGroup();
void EndEditGroup();

bool CanUndoEdit();
bool CanRedoEdit();
// The last step taken back, or the next one made again: its piece becomes
// the current piece, shown with the step's value; the pieces of a group are
// shown chosen together. False when there is none.
bool UndoEdit();
bool RedoEdit();
void ClearEditHistory();

#endif
