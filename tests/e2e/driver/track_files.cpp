#include "track_files.h"

#include <cstring>

namespace e2e {

namespace {

const int NAME_OFFSET = 7;
const int DESIGNER_OFFSET = 28;
const int NAME_FIELD_SIZE = 21;

void PutName(std::string* bytes, int offset, const std::string& name)
{
    for (int i = 0; i < NAME_FIELD_SIZE; ++i) {
        char c;
        if (i < static_cast<int>(name.size()))
            c = name[i];
        else if (i == static_cast<int>(name.size()))
            c = '\0';
        else
            c = static_cast<char>(0xE0 + i);  // after the zero: carried, never shown
        (*bytes)[offset + i] = c;
    }
}

}  // namespace

std::string TrackFile::Bytes() const
{
    std::string bytes(HEADER_SIZE, '\0');
    for (int i = 0; i < HEADER_SIZE; ++i)
        bytes[i] = static_cast<char>(i);  // reserved bytes: their own offset
    bytes[0] = 'R';
    bytes[1] = 'C';
    bytes[2] = static_cast<char>(0xA5);
    bytes[MATTERHORN_OFFSET] = static_cast<char>(matterhorn);
    PutName(&bytes, NAME_OFFSET, name);
    PutName(&bytes, DESIGNER_OFFSET, designer);
    int16_t stored = countGiven ? count : static_cast<int16_t>(pieces.size());
    bytes[COUNT_OFFSET] = static_cast<char>(stored & 0xFF);
    bytes[COUNT_OFFSET + 1] = static_cast<char>((static_cast<uint16_t>(stored) >> 8) & 0xFF);
    for (const Piece& piece : pieces) {
        bytes += static_cast<char>(piece.code);
        bytes += static_cast<char>(piece.bank);
        bytes += static_cast<char>(piece.pitch);
    }
    bytes += trailing;
    return bytes;
}

void SetRecord(std::string* bytes, int i, Piece piece)
{
    size_t at = HEADER_SIZE + RECORD_SIZE * static_cast<size_t>(i);
    if (at + RECORD_SIZE > bytes->size())
        return;
    (*bytes)[at] = static_cast<char>(piece.code);
    (*bytes)[at + 1] = static_cast<char>(piece.bank);
    (*bytes)[at + 2] = static_cast<char>(piece.pitch);
}

Piece RecordOf(const std::string& bytes, int i)
{
    size_t at = HEADER_SIZE + RECORD_SIZE * static_cast<size_t>(i);
    if (at + RECORD_SIZE > bytes.size())
        return {0, 0, 0};
    return {static_cast<uint8_t>(bytes[at]), static_cast<int8_t>(bytes[at + 1]),
            static_cast<int8_t>(bytes[at + 2])};
}

TrackFile SmallTrack()
{
    TrackFile track;
    track.matterhorn = 7;  // any value but 0 is on
    track.name = "Pine Valley";
    track.designer = "Quorvane";
    track.pieces = {
        {0x44, 0, 10},       // lift, 24 feet, brake
        {0x0A, -20, 0},      // left turn, 12 feet
        {0x16, 5, -5},       // straight, 36 feet
        {0x20, 125, 85},     // right turn, 48 feet; bank and pitch at the top
        {0xA2, -125, -85},   // corkscrew, accelerate; at the bottom
        {0x24, 1, 2},        // little loop
        {0x26, -1, -2},      // big loop
        {0x68, 3, 4},        // tunnel with brake
        {0x8E, 7, -7},       // left turn, 36 feet, accelerate
        {0x12, 9, 9},        // the last record: carried, not listed
    };
    return track;
}

std::vector<std::string> SmallTrackLines()
{
    return {"Lift",        "Left Turn", "Straight",    "Right Turn", "Corkscrew",
            "Little Loop", "Big Loop",  "Fake Tunnel", "Left Turn"};
}

TrackFile LongTrack(int count)
{
    static const uint8_t CODES[] = {0x02, 0x0C, 0x16, 0x20, 0x22, 0x24, 0x26, 0x28,
                                    0x44, 0x8A, 0xA2, 0x68, 0x58, 0x9E};
    TrackFile track;
    track.name = "Long Run";
    track.designer = "Bench";
    for (int i = 0; i < count; ++i) {
        Piece piece;
        piece.code = CODES[i % (sizeof CODES / sizeof *CODES)];
        piece.bank = static_cast<int8_t>((i * 7) % 251 - 125);
        piece.pitch = static_cast<int8_t>((i * 5) % 171 - 85);
        track.pieces.push_back(piece);
    }
    return track;
}

}  // namespace e2e
