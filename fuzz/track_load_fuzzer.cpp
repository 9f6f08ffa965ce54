// Feeds arbitrary bytes to the loader as a track file; an accepted track holds
// as many records as it says, and saved unchanged it comes back byte for byte.
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "kept_changes_platform.h"
#include "track_display.h"
#include "track_document.h"
#include "track_name_text.h"

// The window stand-in.
MessageAnswer ShowTrackMessage(const char*, const char*, MessageKind) { return ANSWER_OK; }
void ShowWindowTitle(const char*) {}
void ShowFieldText(TrackField, const char*) {}
void ShowMatterhornCheck(bool) {}
void BeginPieceList(int) {}
void AddPieceListLine(const char*) {}
void EndPieceList() {}
void SelectPieceListLine(int) {}
void SelectChoice(PieceChoiceList, int) {}
void ShowTrackOverview() {}
bool DecodeCodePageText(unsigned, const char*, size_t, char*, size_t) { return false; }
bool TrackOpenInOtherEditor(const char*) { return false; }
void ScheduleTrackKeeping() {}

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
    if (!SaveTrackAs(path.c_str()))  // written, changed or not
        std::abort();
    std::ifstream in(path, std::ios::binary);
    if (std::string(std::istreambuf_iterator<char>(in), {}) != input.substr(0, trackSize))
        std::abort();
    return 0;
}
