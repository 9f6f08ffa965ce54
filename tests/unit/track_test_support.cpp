#include "track_test_support.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "display_recorder.h"
#include "track_document.h"

std::string TrackFileBytes(const TrackFileContents& contents)
{
    TrackHeader header;
    for (size_t i = 0; i < sizeof header; ++i)
        reinterpret_cast<uint8_t*>(&header)[i] = static_cast<uint8_t>(0xA0 + i);
    header.signature[0] = 'R';
    header.signature[1] = 'C';
    header.matterhornSetting = contents.matterhorn;
    std::memset(header.trackName, 0, sizeof header.trackName);
    std::memset(header.designerName, 0, sizeof header.designerName);
    std::memcpy(header.trackName, contents.trackName.data(),
                std::min(contents.trackName.size(), sizeof header.trackName));
    std::memcpy(header.designerName, contents.designerName.data(),
                std::min(contents.designerName.size(), sizeof header.designerName));
    header.pieceCount = contents.count;
    std::string bytes(reinterpret_cast<const char*>(&header), sizeof header);
    bytes.append(reinterpret_cast<const char*>(contents.pieces.data()),
                 contents.pieces.size() * sizeof(TrackPiece));
    return bytes;
}

std::vector<TrackPiece> VariedPieces(int count)
{
    static const uint8_t codes[] = {0x02, 0x44, 0x8A, 0x12, 0x5C, 0xA2, 0x24,
                                    0x66, 0x28, 0x68, 0x20, 0x98, 0x0E, 0x16};
    std::vector<TrackPiece> pieces;
    for (int i = 0; i < count; ++i) {
        TrackPiece piece;
        piece.code = codes[i % sizeof codes];
        piece.bank = static_cast<int8_t>((i * 37) % 251 - 125);
        piece.pitch = static_cast<int8_t>((i * 13) % 171 - 85);
        pieces.push_back(piece);
    }
    return pieces;
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void TrackTest::SetUp()
{
    ResetTrackDocument();
    display.Clear();
    char pattern[] = "/tmp/velari-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder = pattern;
}

void TrackTest::TearDown()
{
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

std::string TrackTest::PathInFolder(const std::string& name) const
{
    return folder + "/" + name;
}

bool TrackTest::LoadBytes(const std::string& name, const std::string& bytes)
{
    std::string path = PathInFolder(name);
    WriteFileBytes(path, bytes);
    if (!SetTrackPath(path.c_str()))
        return false;
    return LoadTrack();
}
