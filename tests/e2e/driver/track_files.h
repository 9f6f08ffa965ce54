// Track files written byte by byte for the tests, independent of the
// editor's own code: an 82-byte header ("RC", the Matterhorn flag at 3, the
// track name at 7 and the designer at 28, 21 bytes each, the signed 16-bit
// count at 49) and 3-byte records (code, bank, pitch).
#ifndef E2E_TRACK_FILES_H
#define E2E_TRACK_FILES_H

#include <cstdint>
#include <string>
#include <vector>

namespace e2e {

enum { HEADER_SIZE = 82, RECORD_SIZE = 3, COUNT_OFFSET = 49, MATTERHORN_OFFSET = 3 };

struct Piece {
    uint8_t code;
    int8_t bank;
    int8_t pitch;
};

struct TrackFile {
    uint8_t matterhorn = 1;
    std::string name = "Pine Valley";
    std::string designer = "Quorvane";
    std::vector<Piece> pieces;
    // The header's count when it is not the number of records.
    bool countGiven = false;
    int16_t count = 0;
    // Bytes after the records.
    std::string trailing;

    // The reserved bytes and the bytes after each name's zero hold a pattern
    // of their own, so that a save that does not carry them back shows.
    std::string Bytes() const;
};

// Changes record i of a file's bytes.
void SetRecord(std::string* bytes, int i, Piece piece);
Piece RecordOf(const std::string& bytes, int i);

// The track most cases use: every shape, length and attribute, values at
// the limits of the arrows, and a last record that is not listed.
TrackFile SmallTrack();
// The piece list lines SmallTrack shows.
std::vector<std::string> SmallTrackLines();

// A track of count records whose codes run through every shape.
TrackFile LongTrack(int count);

}  // namespace e2e

#endif
