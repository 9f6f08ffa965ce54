// Pieces as text rows: what Copy writes, and what Paste takes or refuses
// with its reason.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "piece_rows.h"

namespace {

std::string Row(int number, TrackPiece piece)
{
    char row[PIECE_ROW_SIZE];
    return FormatPieceRow(number, piece, row, sizeof row) ? row : "(too long)";
}

// Parsed over the pieces from piece 5 on, with fit of them left: the codes,
// pitches and banks, or the message.
std::string Parsed(const std::string& text, int fit = 3)
{
    static PieceRows rows;
    char message[160] = "";
    if (!ParsePieceRows(text.c_str(), 4, fit, rows, message, sizeof message))
        return message;
    std::string parsed;
    for (int i = 0; i < rows.count; ++i)
        parsed += std::to_string(rows.pieces[i].code) + "/" + std::to_string(rows.pieces[i].pitch) + "/" +
                  std::to_string(rows.pieces[i].bank) + " ";
    return parsed;
}

TEST(PieceRows, EachPieceIsARowOfTheListsTextsAndReadsBackAsItWas)
{
    EXPECT_EQ(Row(1, {0x44, 0, 10}), "1\tLift\t24 Feet\tBrake\t10\t0\r\n");
    EXPECT_EQ(Row(1999, {0xA2, -125, -85}), "1999\tCorkscrew\t\tAccelerate\t-85\t-125\r\n");
    EXPECT_EQ(Row(3, {0xFF, -128, 127}), "3\tUnknown\t\tUnknown\t127\t-128\r\n");
    EXPECT_EQ(Row(4, {0x28, 0, 0}), "4\tTunnel\t\tNone\t0\t0\r\n");
    // Every code that names a type and an attribute comes back as it was.
    for (int code = 0; code < 256; ++code) {
        if (PieceShapeOfCode(code) < 0 || PieceAttributeOfCode(code) < 0)
            continue;
        SCOPED_TRACE(code);
        EXPECT_EQ(Parsed(Row(7, {uint8_t(code), -7, 85}), 1), std::to_string(code) + "/85/-7 ");
    }
}

TEST(PieceRows, WhatPasteTakes)
{
    const struct { const char* what; std::string text; int fit; std::string parsed; } rows[] = {
        {"rows as copied, as many as fit", "1\tLift\t24 Feet\tBrake\t10\t0\r\n2\tTunnel\t\tNone\t-85\t125\r\n", 2,
         "68/10/0 40/-85/125 "},
        {"a spreadsheet's: a header, lines without CR, no end of line", "#\tPiece Type\tPiece Length\tAttributes\tPitch\tBank\n"
         "\tstraight\t12 feet\tACCELERATE\t+5\t-1", 1, "146/5/-1 "},
        {"a length for a type without lengths, blanks around cells, blank lines at the end",
         "x\t Big Loop \t48 Feet\t None\t 0 \t0\t\t\r\n \r\n\r\n", 3, "38/0/0 "},
        {"a header alone", "Piece\tPiece Type\r\n", 3, "The clipboard holds no piece rows."},
        {"nothing", "", 3, "The clipboard holds no piece rows."},
        {"one row past the end", "\tLift\t12 Feet\tNone\t0\t0\r\n\tLift\t12 Feet\tNone\t0\t0\r\n", 1,
         "Only 1 rows fit from piece 5 to the last piece; the clipboard holds 2."},
        {"a blank line before a row", "\r\n\tLift\t12 Feet\tNone\t0\t0", 3,
         "Line 1 has 1 cells; a row has six: number, Piece Type, Piece Length, Attributes, pitch and bank."},
        {"a missing cell", "\tLift\t12 Feet\tNone\t0", 3,
         "Line 1 has 5 cells; a row has six: number, Piece Type, Piece Length, Attributes, pitch and bank."},
        {"a seventh cell", "\tLift\t12 Feet\tNone\t0\t0\tmore", 3, "Line 1 has more than six cells."},
        {"an unknown type, on the second line", "\tLift\t12 Feet\tNone\t0\t0\n\tLoop\t\tNone\t0\t0", 3,
         "Line 2 has \"Loop\", which is no piece type."},
        {"a type with lengths without one", "\tRight Turn\t\tNone\t0\t0", 3, "Line 1 has no length, which a Right Turn needs."},
        {"a length the type doesn't take", "\tLift\t60 Feet\tNone\t0\t0", 3, "Line 1 has \"60 Feet\", which is no piece length."},
        {"an unknown attribute", "\tLift\t12 Feet\tUnknown\t0\t0", 3, "Line 1 has \"Unknown\", which is no attribute."},
        {"a pitch past 85", "\tLift\t12 Feet\tNone\t86\t0", 3, "Line 1 has the pitch 86, outside -85 to 85."},
        {"a pitch below -85", "\tLift\t12 Feet\tNone\t-86\t0", 3, "Line 1 has the pitch -86, outside -85 to 85."},
        {"a bank past 125", "\tLift\t12 Feet\tNone\t0\t126", 3, "Line 1 has the bank 126, outside -125 to 125."},
        {"a pitch that isn't a number", "\tLift\t12 Feet\tNone\t1.5\t0", 3, "Line 1 has the pitch \"1.5\", which is no whole number."},
        {"an empty bank", "\tLift\t12 Feet\tNone\t0\t", 3, "Line 1 has no bank."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(Parsed(row.text, row.fit), row.parsed);
    }
}

}  // namespace
