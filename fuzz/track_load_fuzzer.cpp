// Feeds arbitrary bytes to the loader as a track file; an accepted track holds
// as many records as it says, and saved unchanged it comes back byte for byte.
// The same bytes go to Paste's row reader as text: rows it takes, written
// out as Copy writes them, read back as the same pieces; a refusal says why.
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "kept_changes_platform.h"
#include "piece_rows.h"
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
void SelectPieceListRange(int, int) {}
void SelectChoice(PieceChoiceList, int) {}
void ShowTrackOverview() {}
bool DecodeCodePageText(unsigned, const char*, size_t, char*, size_t) { return false; }
bool TrackOpenInOtherEditor(const char*) { return false; }
void ScheduleTrackKeeping() {}

static void CheckRows(const std::string& text)
{
    static PieceRows rows, again;
    char message[160] = "";
    if (!ParsePieceRows(text.c_str(), 0, MAX_TRACK_PIECES, rows, message, sizeof message)) {
        if (!message[0])
            std::abort();
        return;
    }
    std::string copied;
    for (int i = 0; i < rows.count; ++i) {
        char row[PIECE_ROW_SIZE];
        if (!FormatPieceRow(i + 1, rows.pieces[i], row, sizeof row))
            std::abort();
        copied += row;
    }
    if (!ParsePieceRows(copied.c_str(), 0, MAX_TRACK_PIECES, again, message, sizeof message) || again.count != rows.count ||
        std::memcmp(again.pieces, rows.pieces, rows.count * sizeof *rows.pieces) != 0)
        std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path = "/tmp/velari-fuzz-" + std::to_string(getpid()) + ".tra";
    const std::string input(reinterpret_cast<const char*>(data), size);
    CheckRows(input);
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
