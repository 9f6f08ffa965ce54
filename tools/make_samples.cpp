// Writes the bundled sample tracks, and with --seed-corpus the fuzzer's
// starting files: valid tracks and the malformed kinds the loader refuses.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "track_format.h"

namespace {

std::string TrackBytes(const char* name, const char* designer, uint8_t matterhorn, int count,
                       const std::vector<TrackPiece>& pieces)
{
    TrackHeader header;
    std::memset(&header, 0, sizeof header);
    header.signature[0] = 'R';
    header.signature[1] = 'C';
    header.reserved2 = 0x01;
    header.matterhornSetting = matterhorn;
    std::snprintf(header.trackName, sizeof header.trackName, "%s", name);
    std::snprintf(header.designerName, sizeof header.designerName, "%s", designer);
    header.pieceCount = static_cast<int16_t>(count);
    for (size_t i = 0; i < sizeof header.reserved51; ++i)
        header.reserved51[i] = static_cast<uint8_t>(i * 7);
    std::string bytes(reinterpret_cast<const char*>(&header), sizeof header);
    bytes.append(reinterpret_cast<const char*>(pieces.data()), pieces.size() * sizeof(TrackPiece));
    return bytes;
}

// A ride that goes through every shape, length and attribute, with banks and
// pitches over the whole range the arrows allow.
std::vector<TrackPiece> RidePieces(int count)
{
    std::vector<TrackPiece> pieces;
    for (int i = 0; i < count; ++i) {
        int shape = (i * 5 + i / 8) % PIECE_SHAPE_COUNT;
        int length = (i / 3) % PIECE_LENGTH_COUNT;
        int attribute = (i % 7 == 3) ? 1 : (i % 11 == 5) ? 2 : 0;
        TrackPiece piece;
        piece.code = static_cast<uint8_t>(PieceShapeBits(shape, length) | PieceAttributeBits(attribute));
        piece.bank = static_cast<int8_t>((i * 29) % 251 - 125);
        piece.pitch = static_cast<int8_t>((i * 17) % 171 - 85);
        pieces.push_back(piece);
    }
    return pieces;
}

bool WriteFile(const std::string& path, const std::string& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

std::string SmallSample()
{
    const TrackPiece pieces[] = {
        {0x08, 0, 40},   {0x0C, 60, 0},  {0x16, 0, 0},    {0x5C, -60, -5}, {0xA2, 0, 0},
        {0x24, 0, 10},   {0x26, 0, -10}, {0x28, 0, 0},    {0x8A, 125, -85}, {0x52, 0, 0}};
    return TrackBytes("PINE VALLEY", "QUORVANE", 0, 10,
                      std::vector<TrackPiece>(std::begin(pieces), std::end(pieces)));
}

std::string LongSample()
{
    return TrackBytes("THE LONG HAUL", "QUORVANE", 1, MAX_TRACK_PIECES, RidePieces(MAX_TRACK_PIECES));
}

bool WriteSeeds(const std::string& folder)
{
    std::string valid = SmallSample();
    std::string badSignature = valid, tooMany = valid, negative = valid;
    badSignature[1] = 'X';
    tooMany[49] = static_cast<char>(0xD1);  // 2001
    tooMany[50] = 0x07;
    negative[50] = static_cast<char>(0x80);
    const std::pair<const char*, std::string> seeds[] = {
        {"valid-10", valid},
        {"valid-0", TrackBytes("EMPTY", "", 0, 0, {})},
        {"valid-1", TrackBytes("ONE", "X", 3, 1, RidePieces(1))},
        {"valid-unknown-codes", TrackBytes("ODD", "Y", 0, 3, {{0xFF, -128, 127}, {0x01, 0, 0}, {0xC4, 1, 1}})},
        {"short-header", valid.substr(0, 40)},
        {"short-records", valid.substr(0, valid.size() - 4)},
        {"bad-signature", badSignature},
        {"count-2001", tooMany},
        {"count-negative", negative},
    };
    for (const auto& seed : seeds)
        if (!WriteFile(folder + "/" + seed.first, seed.second))
            return false;
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--seed-corpus") == 0)
        return WriteSeeds(argv[2]) ? 0 : 1;
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_samples <folder> | --seed-corpus <folder>\n");
        return 2;
    }
    std::string folder = argv[1];
    bool written = WriteFile(folder + "/sample-small.tra", SmallSample()) &&
                   WriteFile(folder + "/sample-2000.tra", LongSample());
    return written ? 0 : 1;
}
