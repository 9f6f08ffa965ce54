// The user's edits, as the main window's controls report them.
#ifndef VELARI_TRACK_EDITS_H
#define VELARI_TRACK_EDITS_H

// A new line of the piece list was selected (-1: none).
void ChoosePiece(int line);
// A new entry of "Piece Type", "Piece Length" or "Attributes" (-1: none).
void ChangePieceType(int selection);
void SetPieceLength(int selection);
void SetPieceAttribute(int selection);
// The pitch or bank field changed; position is its up-down control's
// position, outOfRange is set when the field's text is empty or lies
// outside the control's range (the control then reports its previous
// position). With several pieces chosen, each of them takes the value.
void ReadBackPitch(int position, bool outOfRange);
void ReadBackBank(int position, bool outOfRange);
// The "Matterhorn Setting" box was clicked.
void ToggleMatterhornSetting();

#endif
