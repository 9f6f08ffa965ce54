// The overview strip's logic: which pieces each column stands for, what a
// column shows, where a click lands and what the tooltip says.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "track_display.h"
#include "track_overview.h"

// The track logic's tests record the rest of the display; the strip has
// nothing to record there.
void ShowTrackOverview() {}

// Pieces to columns and back: every column stands for a run of pieces, the
// runs follow each other without gap, and each piece's column stands for it.
TEST(TrackOverview, ColumnsAndPieces)
{
    const struct { int pieces, columns; OverviewPieces last; int columnOfLast; } rows[] = {
        {9, 540, {8, 1}, 480}, {2000, 540, {1997, 3}, 539}, {2000, 2000, {1999, 1}, 1999}, {2000, 3, {1334, 666}, 2},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.pieces) + " pieces in " + std::to_string(row.columns));
        const OverviewPieces last = PiecesOfOverviewColumn(row.columns - 1, row.pieces, row.columns);
        EXPECT_EQ(last.first, row.last.first);
        EXPECT_EQ(last.count, row.last.count);
        EXPECT_EQ(OverviewColumnOfPiece(row.pieces - 1, row.pieces, row.columns), row.columnOfLast);
        int next = 0;
        for (int column = 0; column < row.columns; ++column) {
            const OverviewPieces run = PiecesOfOverviewColumn(column, row.pieces, row.columns);
            ASSERT_TRUE(run.first == next || (row.pieces < row.columns && run.first == next - 1)) << column;
            ASSERT_EQ(OverviewPieceAt(column, row.pieces, row.columns), run.first);
            next = run.first + run.count;
        }
        EXPECT_EQ(next, row.pieces);
        for (int piece = 0; piece < row.pieces; ++piece) {
            const OverviewPieces run =
                PiecesOfOverviewColumn(OverviewColumnOfPiece(piece, row.pieces, row.columns), row.pieces, row.columns);
            ASSERT_TRUE(piece >= run.first && piece < run.first + run.count) << piece;
        }
    }
    EXPECT_EQ(OverviewPieceAt(540, 9, 540), -1);
    EXPECT_EQ(OverviewPieceAt(-1, 9, 540), -1);
    EXPECT_EQ(OverviewPieceAt(0, 0, 540), -1);
}

// A column's band, extremes and marks over its pieces, and the tooltip.
TEST(TrackOverview, ColumnSummaryAndTooltip)
{
    const std::vector<TrackPiece> pieces = {
        {0x12, 0, 0},     {0x26 | 0x80, -30, 12}, {0x0A | 0x40, 125, -85},  // straight, big loop, left turn
        {0x1A, 126, 0},   {0x1A, -128, 86},       {0x2A, 0, -86},           // right turns beyond; code 42
        {0xC4, 3, 4},     {0x02, -5, -6},         {0x28, 1, 2},             // both attribute bits; lift; tunnel
    };
    const struct { int column, columns; int band, lowPitch, highPitch, lowBank, highBank; unsigned marks; } rows[] = {
        {0, 3, BAND_BIG_LOOP, -85, 12, -30, 125, OVERVIEW_BRAKE | OVERVIEW_ACCELERATE},
        {1, 3, BAND_RIGHT_TURN, -86, 86, -128, 126,
         OVERVIEW_PITCH_BEYOND | OVERVIEW_BANK_BEYOND | OVERVIEW_UNNAMED},
        {2, 3, BAND_TUNNEL, -6, 4, -5, 3, OVERVIEW_UNNAMED},
        {5, 18, BAND_LEFT_TURN, -85, -85, 125, 125, OVERVIEW_BRAKE},
        {11, 18, BAND_NONE, -86, -86, 0, 0, OVERVIEW_PITCH_BEYOND | OVERVIEW_UNNAMED},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.column) + " of " + std::to_string(row.columns));
        const OverviewColumn c = SummarizeOverviewColumn(pieces.data(), 9, row.column, row.columns);
        EXPECT_EQ(c.band, row.band);
        EXPECT_EQ(std::vector<int>({c.lowestPitch, c.highestPitch, c.lowestBank, c.highestBank}),
                  std::vector<int>({row.lowPitch, row.highPitch, row.lowBank, row.highBank}));
        EXPECT_EQ(c.marks, row.marks);
    }
    const struct { int piece; TrackPiece record; const char* text; } tips[] = {
        {733, pieces[1], "Piece 734: Big Loop, Accelerate, pitch 12, bank -30"},
        {0, pieces[6], "Piece 1: Lift, unnamed attribute, pitch 4, bank 3"},
        {1998, pieces[5], "Piece 1999: Unknown, pitch -86, bank 0"},
    };
    for (const auto& tip : tips) {
        char text[80];
        OverviewTooltipText(tip.piece, tip.record, text, sizeof text);
        EXPECT_STREQ(text, tip.text);
    }
}
