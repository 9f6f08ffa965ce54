// Track files as the editor's tests write them, laid out by the format's own
// structs, and where a byte lies in one.
#ifndef VELARI_TEST_TRACK_BYTES_H
#define VELARI_TEST_TRACK_BYTES_H

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "track_format.h"

enum PieceByte : size_t { CODE_BYTE = offsetof(TrackPiece, code), BANK_BYTE = offsetof(TrackPiece, bank), PITCH_BYTE = offsetof(TrackPiece, pitch) };
const size_t MATTERHORN_BYTE = offsetof(TrackHeader, matterhornSetting), COUNT_BYTES = offsetof(TrackHeader, pieceCount);
inline size_t ByteOfPiece(int piece, PieceByte byte) { return TRACK_HEADER_SIZE + piece * TRACK_PIECE_SIZE + byte; }
inline std::string WithByte(std::string bytes, size_t at, int value) { return bytes.replace(at, 1, 1, static_cast<char>(value)); }

// The names zero-padded (one of 21 bytes has no zero byte), the count that
// of the records unless given; the reserved bytes zero or, marked, each a
// value of its own.
inline std::string TrackBytes(const std::string& name, const std::string& designer, uint8_t matterhorn,
                              const std::vector<TrackPiece>& records, bool marked = false, int count = -1)
{
    TrackHeader header;
    for (size_t i = 0; i < sizeof header; ++i)
        reinterpret_cast<uint8_t*>(&header)[i] = marked ? static_cast<uint8_t>(0xA0 + i) : 0;
    std::memcpy(header.signature, "RC", 2);
    header.matterhornSetting = matterhorn;
    std::memset(header.trackName, 0, TRACK_NAME_SIZE);
    std::memset(header.designerName, 0, TRACK_NAME_SIZE);
    std::memcpy(header.trackName, name.data(), name.size());
    std::memcpy(header.designerName, designer.data(), designer.size());
    header.pieceCount = static_cast<int16_t>(count < 0 ? records.size() : count);
    std::string bytes(reinterpret_cast<const char*>(&header), sizeof header);
    for (const TrackPiece& record : records)
        bytes.append(reinterpret_cast<const char*>(&record), sizeof record);
    return bytes;
}

#endif
