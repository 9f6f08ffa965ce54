#include "track_overview.h"

#include <cstdio>
#include <cstring>

#include "piece_edit_state.h"
#include "track_document.h"

namespace {

// Features before plain track, so that a column of many pieces shows its loop.
const int BANDS_BY_NOTABILITY[] = {BAND_BIG_LOOP, BAND_LITTLE_LOOP, BAND_CORKSCREW, BAND_TUNNEL,
                                   BAND_LEFT_TURN, BAND_RIGHT_TURN, BAND_LIFT, BAND_STRAIGHT};

int CeilingQuotient(long long numerator, long long denominator)
{
    return static_cast<int>((numerator + denominator - 1) / denominator);
}

int Notability(int band)
{
    for (int rank = 0; rank < PIECE_SHAPE_COUNT; ++rank) {
        if (BANDS_BY_NOTABILITY[rank] == band)
            return PIECE_SHAPE_COUNT - rank;
    }
    return 0;
}

unsigned MarksOf(const TrackPiece& piece)
{
    unsigned marks = 0;
    const int attribute = PieceAttributeOfCode(piece.code);
    if (attribute == 1)
        marks |= OVERVIEW_BRAKE;
    if (attribute == 2)
        marks |= OVERVIEW_ACCELERATE;
    if (attribute < 0 || PieceShapeOfCode(piece.code) < 0)
        marks |= OVERVIEW_UNNAMED;
    if (piece.pitch < -PITCH_ARROW_LIMIT || piece.pitch > PITCH_ARROW_LIMIT)
        marks |= OVERVIEW_PITCH_BEYOND;
    if (piece.bank < -BANK_ARROW_LIMIT || piece.bank > BANK_ARROW_LIMIT)
        marks |= OVERVIEW_BANK_BEYOND;
    return marks;
}

}  // namespace

// Column c covers the piece positions [c * P / W, (c + 1) * P / W): the
// pieces starting inside it, or, when none does, the piece it lies within.
OverviewPieces PiecesOfOverviewColumn(int column, int pieceCount, int columnCount)
{
    if (pieceCount <= 0 || columnCount <= 0 || column < 0 || column >= columnCount)
        return {0, 0};
    const int first = CeilingQuotient(1LL * column * pieceCount, columnCount);
    const int end = CeilingQuotient(1LL * (column + 1) * pieceCount, columnCount);
    if (first == end)
        return {first - 1, 1};
    return {first, end - first};
}

int OverviewColumnOfPiece(int piece, int pieceCount, int columnCount)
{
    if (pieceCount <= 0 || columnCount <= 0 || piece < 0 || piece >= pieceCount)
        return -1;
    return static_cast<int>(1LL * piece * columnCount / pieceCount);
}

int OverviewPieceAt(int x, int pieceCount, int columnCount)
{
    const OverviewPieces pieces = PiecesOfOverviewColumn(x, pieceCount, columnCount);
    return pieces.count > 0 ? pieces.first : -1;
}

OverviewColumn SummarizeOverviewColumn(const TrackPiece* pieces, int pieceCount, int column, int columnCount)
{
    OverviewColumn summary = {PiecesOfOverviewColumn(column, pieceCount, columnCount), BAND_NONE, 0, 0, 0, 0, 0};
    for (int i = summary.pieces.first; i < summary.pieces.first + summary.pieces.count; ++i) {
        const TrackPiece& piece = pieces[i];
        const bool first = i == summary.pieces.first;
        const int band = PieceShapeOfCode(piece.code);
        if (Notability(band) > Notability(summary.band))
            summary.band = band;
        if (first || piece.pitch < summary.lowestPitch)
            summary.lowestPitch = piece.pitch;
        if (first || piece.pitch > summary.highestPitch)
            summary.highestPitch = piece.pitch;
        if (first || piece.bank < summary.lowestBank)
            summary.lowestBank = piece.bank;
        if (first || piece.bank > summary.highestBank)
            summary.highestBank = piece.bank;
        summary.marks |= MarksOf(piece);
    }
    return summary;
}

int OverviewTrackPieces(TrackPiece (&pieces)[MAX_TRACK_PIECES])
{
    const TrackDocument& doc = trackDocument;
    if (!doc.isLoaded || doc.header.pieceCount <= 0)
        return 0;
    const int count = doc.header.pieceCount < MAX_TRACK_PIECES ? doc.header.pieceCount : int(MAX_TRACK_PIECES);
    std::memcpy(pieces, doc.pieces, count * sizeof *pieces);
    if (HasPieceToEdit() && doc.currentPiece < count)
        pieces[doc.currentPiece] = CurrentPieceAsEdited();
    return count;
}

void OverviewTooltipText(int piece, const TrackPiece& record, char* text, size_t size)
{
    const char* attribute = "";
    switch (PieceAttributeOfCode(record.code)) {
    case 1:  attribute = ", Brake"; break;
    case 2:  attribute = ", Accelerate"; break;
    case -1: attribute = ", unnamed attribute"; break;
    default: break;
    }
    std::snprintf(text, size, "Piece %d: %s%s, pitch %d, bank %d", piece + 1, PieceListText(record.code), attribute,
                  record.pitch, record.bank);
}
