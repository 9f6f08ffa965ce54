// Building track files byte by byte and a fresh document and folder per test.
#ifndef VELARI_TRACK_TEST_SUPPORT_H
#define VELARI_TRACK_TEST_SUPPORT_H

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "track_format.h"

// The bytes of a track file: a header whose reserved bytes are not zero (so
// that carrying them is tested), then the records.
struct TrackFileContents {
    int16_t count = 0;
    std::vector<TrackPiece> pieces;  // written whatever count says
    uint8_t matterhorn = 0;
    std::string trackName = "Test Track";
    std::string designerName = "Test Designer";
};

std::string TrackFileBytes(const TrackFileContents& contents);
// count records of varied codes, banks and pitches.
std::vector<TrackPiece> VariedPieces(int count);
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

class TrackTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::string PathInFolder(const std::string& name) const;
    // Writes the file and loads it as the command line would.
    bool LoadBytes(const std::string& name, const std::string& bytes);

    std::string folder;
};

#endif
