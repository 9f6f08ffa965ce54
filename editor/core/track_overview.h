// The whole track at a glance: the strip under the main window's buttons
// draws one pixel column after another, left to right from the first listed
// piece to the last. This is what it draws and where a click lands; the
// window only paints it.
#ifndef VELARI_TRACK_OVERVIEW_H
#define VELARI_TRACK_OVERVIEW_H

#include <cstddef>

#include "track_format.h"

// The pieces one column stands for: first and as many as count (at least one
// while the track has pieces). With fewer pieces than columns, a piece
// spans several neighbouring columns.
struct OverviewPieces {
    int first;
    int count;
};

// What is marked on a column.
enum OverviewMark {
    OVERVIEW_BRAKE = 1,
    OVERVIEW_ACCELERATE = 2,
    OVERVIEW_PITCH_BEYOND = 4,  // a stored pitch beyond the arrows' -85..85
    OVERVIEW_BANK_BEYOND = 8,   // a stored bank beyond -125..125
    OVERVIEW_UNNAMED = 16       // a code that names no shape, length or attribute
};

// The band colours: one per shape, except that both turns share one and are
// told apart by which half of the band they fill.
enum OverviewBand {
    BAND_NONE = -1,  // no piece names a shape
    BAND_LIFT,
    BAND_LEFT_TURN,
    BAND_STRAIGHT,
    BAND_RIGHT_TURN,
    BAND_CORKSCREW,
    BAND_LITTLE_LOOP,
    BAND_BIG_LOOP,
    BAND_TUNNEL
};

struct OverviewColumn {
    OverviewPieces pieces;
    int band;  // OverviewBand: the most notable shape among the pieces
    int lowestPitch, highestPitch;
    int lowestBank, highestBank;
    unsigned marks;  // OverviewMark bits
};

// Columns are numbered from 0 at the strip's left edge.
OverviewPieces PiecesOfOverviewColumn(int column, int pieceCount, int columnCount);
int OverviewColumnOfPiece(int piece, int pieceCount, int columnCount);
// The piece a click at column x chooses: the first its column stands for;
// -1 beyond the strip or without pieces.
int OverviewPieceAt(int x, int pieceCount, int columnCount);
OverviewColumn SummarizeOverviewColumn(const TrackPiece* pieces, int pieceCount, int column, int columnCount);

// The listed pieces as the strip shows them, the current piece with its
// pending edit; returns how many.
int OverviewTrackPieces(TrackPiece (&pieces)[MAX_TRACK_PIECES]);

// The tooltip over a piece, numbered as "Current Piece" numbers it:
// "Piece 734: Big Loop, Accelerate, pitch 12, bank -30".
void OverviewTooltipText(int piece, const TrackPiece& record, char* text, size_t size);

#endif
