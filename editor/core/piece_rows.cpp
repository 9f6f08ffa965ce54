#include "piece_rows.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

const char* const PIECE_TYPE_TEXTS[PIECE_SHAPE_COUNT] = {
    "Lift", "Left Turn", "Straight", "Right Turn", "Corkscrew", "Little Loop", "Big Loop", "Tunnel"};
const char* const PIECE_LENGTH_TEXTS[PIECE_LENGTH_COUNT] = {"12 Feet", "24 Feet", "36 Feet", "48 Feet"};
const char* const PIECE_ATTRIBUTE_TEXTS[PIECE_ATTRIBUTE_COUNT] = {"None", "Brake", "Accelerate"};

namespace {

const char UNKNOWN_TEXT[] = "Unknown";

enum Column { COLUMN_NUMBER, COLUMN_TYPE, COLUMN_LENGTH, COLUMN_ATTRIBUTE, COLUMN_PITCH, COLUMN_BANK, ROW_CELLS };
const char* const COLUMN_NAMES[ROW_CELLS] = {"number", "Piece Type", "Piece Length", "Attributes", "pitch", "bank"};
// A cell's text as far as a message quotes it.
enum { QUOTED_CELL = 30 };

struct Cell {
    const char* begin;
    int length;
};

// One line of the text: LF or CR LF ends it; next is null after the last.
struct Line {
    const char* begin;
    const char* end;
    const char* next;
};

Line LineAt(const char* at)
{
    const char* newline = std::strchr(at, '\n');
    Line line = {at, newline ? newline : at + std::strlen(at), newline ? newline + 1 : nullptr};
    if (line.end > line.begin && line.end[-1] == '\r')
        --line.end;
    return line;
}

bool IsBlankText(const char* begin, const char* end)
{
    for (const char* at = begin; at < end; ++at) {
        if (*at != ' ' && *at != '\t' && *at != '\r')
            return false;
    }
    return true;
}

// Splits the line at its tabs into up to six cells, trimmed of blanks; more
// is set when anything but blanks follows the sixth. Returns the count.
int SplitCells(const Line& line, Cell (&cells)[ROW_CELLS], bool& more)
{
    int count = 0;
    const char* at = line.begin;
    while (count < ROW_CELLS && at <= line.end) {
        const char* tab = static_cast<const char*>(std::memchr(at, '\t', line.end - at));
        const char* end = tab ? tab : line.end;
        const char* begin = at;
        while (begin < end && *begin == ' ')
            ++begin;
        while (end > begin && end[-1] == ' ')
            --end;
        cells[count++] = {begin, static_cast<int>(end - begin)};
        at = tab ? tab + 1 : line.end + 1;
    }
    more = at <= line.end && !IsBlankText(at, line.end);
    return count;
}

bool SameText(const Cell& cell, const char* text)
{
    if (static_cast<size_t>(cell.length) != std::strlen(text))
        return false;
    for (int i = 0; i < cell.length; ++i) {
        const char a = cell.begin[i], b = text[i];
        if ((a >= 'A' && a <= 'Z' ? a + 32 : a) != (b >= 'A' && b <= 'Z' ? b + 32 : b))
            return false;
    }
    return true;
}

// The entry of a list whose text the cell holds, in any case; -1 if none.
int FindText(const Cell& cell, const char* const* texts, int count)
{
    for (int i = 0; i < count; ++i) {
        if (SameText(cell, texts[i]))
            return i;
    }
    return -1;
}

bool IsHeader(const Line& line)
{
    Cell cells[ROW_CELLS];
    bool more;
    return SplitCells(line, cells, more) > COLUMN_TYPE && SameText(cells[COLUMN_TYPE], COLUMN_NAMES[COLUMN_TYPE]);
}

// A whole number of up to four digits with an optional sign.
bool ReadNumber(const Cell& cell, int& value)
{
    int at = cell.length > 0 && (cell.begin[0] == '-' || cell.begin[0] == '+') ? 1 : 0;
    if (at == cell.length || cell.length - at > 4)
        return false;
    value = 0;
    for (int i = at; i < cell.length; ++i) {
        if (cell.begin[i] < '0' || cell.begin[i] > '9')
            return false;
        value = value * 10 + (cell.begin[i] - '0');
    }
    value = cell.begin[0] == '-' ? -value : value;
    return true;
}

class RowReader {
public:
    RowReader(int lineNumber, char* message, size_t size) : lineNumber(lineNumber), message(message), size(size) {}

    bool Read(const Line& line, TrackPiece& piece)
    {
        bool more;
        const int count = SplitCells(line, cells, more);
        if (count < ROW_CELLS)
            return Refuse("has %d cells; a row has six: number, Piece Type, Piece Length, Attributes, pitch and bank",
                          count);
        if (more)
            return Refuse("has more than six cells");
        int shape = 0, length = 0, attribute = 0, pitch = 0, bank = 0;
        if (!Choice(COLUMN_TYPE, PIECE_TYPE_TEXTS, PIECE_SHAPE_COUNT, "piece type", shape) ||
            !Length(shape, length) ||
            !Choice(COLUMN_ATTRIBUTE, PIECE_ATTRIBUTE_TEXTS, PIECE_ATTRIBUTE_COUNT, "attribute", attribute) ||
            !Number(COLUMN_PITCH, PITCH_ARROW_LIMIT, pitch) || !Number(COLUMN_BANK, BANK_ARROW_LIMIT, bank))
            return false;
        piece.code = static_cast<uint8_t>(PieceShapeBits(shape, length) | PieceAttributeBits(attribute));
        piece.pitch = static_cast<int8_t>(pitch);
        piece.bank = static_cast<int8_t>(bank);
        return true;
    }

private:
    __attribute__((format(printf, 2, 3))) bool Refuse(const char* what, ...)
    {
        const int at = std::snprintf(message, size, "Line %d ", lineNumber);
        if (at > 0 && static_cast<size_t>(at) < size) {
            va_list values;
            va_start(values, what);
            std::vsnprintf(message + at, size - at, what, values);
            va_end(values);
        }
        const size_t used = std::strlen(message);
        if (used + 1 < size) {
            message[used] = '.';
            message[used + 1] = '\0';
        }
        return false;
    }

    bool Filled(Column column)
    {
        return cells[column].length > 0 || Refuse("has no %s", COLUMN_NAMES[column]);
    }

    bool Choice(Column column, const char* const* texts, int count, const char* what, int& value)
    {
        if (!Filled(column))
            return false;
        value = FindText(cells[column], texts, count);
        return value >= 0 || Refuse("has \"%.*s\", which is no %s", Quoted(column), cells[column].begin, what);
    }

    // A type with lengths needs one; a type without takes an empty cell or
    // any length, which it does not keep.
    bool Length(int shape, int& length)
    {
        const Cell& cell = cells[COLUMN_LENGTH];
        if (cell.length == 0 && shape >= SHAPES_WITH_LENGTH)
            return true;
        if (cell.length == 0)
            return Refuse("has no length, which a %s needs", PIECE_TYPE_TEXTS[shape]);
        length = FindText(cell, PIECE_LENGTH_TEXTS, PIECE_LENGTH_COUNT);
        if (length < 0)
            return Refuse("has \"%.*s\", which is no piece length", Quoted(COLUMN_LENGTH), cell.begin);
        return true;
    }

    bool Number(Column column, int limit, int& value)
    {
        if (!Filled(column))
            return false;
        if (!ReadNumber(cells[column], value))
            return Refuse("has the %s \"%.*s\", which is no whole number", COLUMN_NAMES[column], Quoted(column),
                          cells[column].begin);
        if (value < -limit || value > limit)
            return Refuse("has the %s %d, outside -%d to %d", COLUMN_NAMES[column], value, limit, limit);
        return true;
    }

    int Quoted(Column column) const
    {
        return cells[column].length < QUOTED_CELL ? cells[column].length : int(QUOTED_CELL);
    }

    int lineNumber;
    char* message;
    size_t size;
    Cell cells[ROW_CELLS];
};

}  // namespace

size_t FormatPieceRow(int number, const TrackPiece& piece, char* row, size_t size)
{
    const int shape = PieceShapeOfCode(piece.code);
    const int length = PieceLengthOfCode(piece.code);
    const int attribute = PieceAttributeOfCode(piece.code);
    const int written = std::snprintf(row, size, "%d\t%s\t%s\t%s\t%d\t%d\r\n", number,
                                      shape < 0 ? UNKNOWN_TEXT : PIECE_TYPE_TEXTS[shape],
                                      length < 0 ? "" : PIECE_LENGTH_TEXTS[length],
                                      attribute < 0 ? UNKNOWN_TEXT : PIECE_ATTRIBUTE_TEXTS[attribute], piece.pitch,
                                      piece.bank);
    return written > 0 && static_cast<size_t>(written) < size ? static_cast<size_t>(written) : 0;
}

bool ParsePieceRows(const char* text, int firstPiece, int fit, PieceRows& rows, char* message, size_t size)
{
    rows.count = 0;
    const char* start = text;
    int firstLine = 1;
    if (IsHeader(LineAt(text))) {
        start = LineAt(text).next;
        firstLine = 2;
    }
    // Every line up to the last that isn't blank is a row.
    int count = 0;
    int lineNumber = firstLine;
    for (const char* at = start; at; at = LineAt(at).next, ++lineNumber) {
        const Line line = LineAt(at);
        if (!IsBlankText(line.begin, line.end))
            count = lineNumber - firstLine + 1;
    }
    if (count == 0) {
        std::snprintf(message, size, "The clipboard holds no piece rows.");
        return false;
    }
    if (count > fit) {
        std::snprintf(message, size, "Only %d rows fit from piece %d to the last piece; the clipboard holds %d.", fit,
                      firstPiece + 1, count);
        return false;
    }
    const char* at = start;
    for (int i = 0; i < count; ++i) {
        const Line line = LineAt(at);
        if (!RowReader(firstLine + i, message, size).Read(line, rows.pieces[i]))
            return false;
        at = line.next;
    }
    rows.count = count;
    return true;
}
