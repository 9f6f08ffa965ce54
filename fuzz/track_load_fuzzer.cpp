// Feeds arbitrary bytes to the loader as a track file; an accepted track is
// saved unchanged and must come back byte for byte, and load again.
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "track_display.h"
#include "track_document.h"
#include "track_edits.h"

// The window stand-in: the pitch and bank fields report their change back
// the way the real edit fields do.
MessageAnswer ShowTrackMessage(const char*, const char*, MessageKind) { return ANSWER_OK; }
void ShowWindowTitle(const char*) {}
void ShowFieldText(TrackField field, const char* text)
{
    int value = std::atoi(text);
    if (field == FIELD_PIECE_PITCH)
        ReadBackPitch(value, value < -PITCH_ARROW_LIMIT || value > PITCH_ARROW_LIMIT);
    else if (field == FIELD_PIECE_BANK)
        ReadBackBank(value, value < -BANK_ARROW_LIMIT || value > BANK_ARROW_LIMIT);
}
void ShowMatterhornCheck(bool) {}
void BeginPieceList(int) {}
void AddPieceListLine(const char*) {}
void EndPieceList() {}
void SelectPieceListLine(int) {}
void SelectChoice(PieceChoiceList, int) {}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path = "/tmp/velari-fuzz-" + std::to_string(getpid()) + ".tra";
    const std::string input(reinterpret_cast<const char*>(data), size);
    if (!(std::ofstream(path, std::ios::binary) << input))
        return 0;
    ResetTrackDocument();
    if (!SetTrackPath(path.c_str()) || !LoadTrack())
        return 0;

    int storedCount = trackDocument.header.pieceCount + 1;
    size_t trackSize = TRACK_HEADER_SIZE + TRACK_PIECE_SIZE * static_cast<size_t>(storedCount);
    if (trackDocument.isDirty || storedCount < 0 || storedCount > MAX_TRACK_PIECES || size < trackSize)
        std::abort();
    trackDocument.isDirty = 1;
    if (!SaveTrack())
        std::abort();
    std::ifstream in(path, std::ios::binary);
    if (std::string(std::istreambuf_iterator<char>(in), {}) != input.substr(0, trackSize))
        std::abort();

    static TrackDocument first;
    first = trackDocument;
    if (!LoadTrack() || std::memcmp(&first.header, &trackDocument.header, sizeof first.header) != 0 ||
        std::memcmp(first.pieces, trackDocument.pieces, sizeof(TrackPiece) * storedCount) != 0)
        std::abort();
    return 0;
}
