// "Go to Piece": asks for a piece number.
#ifndef VELARI_GO_TO_PIECE_H
#define VELARI_GO_TO_PIECE_H

// The piece (from 0) whose number the user gave, or -1 when cancelled.
int AskPieceToGoTo();

#endif
