// Feeds arbitrary bytes to the reader of kept changes: what it accepts is a
// track the document can hold, and written again it gives the same bytes.
#include <cstdlib>
#include <cstring>

#include "kept_track_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static KeptTrack track;
    static unsigned char bytes[KEPT_FILE_MAX_SIZE];
    if (!ReadKeptTrackBytes(data, size, track))
        return 0;
    const int storedCount = track.header.pieceCount + 1;
    if (storedCount < 0 || storedCount > MAX_TRACK_PIECES || track.currentPiece < 0 ||
        track.currentPiece >= (storedCount ? storedCount : 1) || !PathFits(track.path))
        std::abort();
    if (KeptTrackBytes(track, bytes) != size || std::memcmp(bytes, data, size) != 0)
        std::abort();
    return 0;
}
