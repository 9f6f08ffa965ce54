#include "kept_track_file.h"

#include <cstdio>
#include <cstring>

const char KEPT_FILE_ENDING[] = ".kept";
const char NEW_KEPT_ENDING[] = ".new";
const char DAMAGED_KEPT_ENDING[] = ".damaged";

namespace {

const unsigned char KEPT_MAGIC[KEPT_MAGIC_SIZE] = {'V', 'E', 'L', 'K', 'E', 'P', 'T', '1'};

// Windows compares names without regard to ASCII letter case, and takes
// either slash.
unsigned char FoldedPathByte(char byte)
{
    if (byte >= 'A' && byte <= 'Z')
        return static_cast<unsigned char>(byte - 'A' + 'a');
    return byte == '/' ? '\\' : static_cast<unsigned char>(byte);
}

uint32_t Checksum(const unsigned char* bytes, size_t length)
{
    uint32_t hash = 2166136261u;
    for (size_t i = 0; i < length; ++i)
        hash = (hash ^ bytes[i]) * 16777619u;
    return hash;
}

// Little-endian fields, one after the other.
struct Writer {
    unsigned char* at;
    void Bytes(const void* from, size_t length)
    {
        std::memcpy(at, from, length);
        at += length;
    }
    void Number(uint64_t value, int size)
    {
        for (int i = 0; i < size; ++i)
            *at++ = static_cast<unsigned char>(value >> (8 * i));
    }
};

struct Reader {
    const unsigned char* at;
    const unsigned char* end;
    bool Bytes(void* to, size_t length)
    {
        if (static_cast<size_t>(end - at) < length)
            return false;
        std::memcpy(to, at, length);
        at += length;
        return true;
    }
    bool Number(uint64_t& value, int size)
    {
        unsigned char bytes[8];
        if (!Bytes(bytes, size))
            return false;
        value = 0;
        for (int i = size - 1; i >= 0; --i)
            value = value << 8 | bytes[i];
        return true;
    }
};

}  // namespace

size_t KeptTrackBytes(const KeptTrack& track, unsigned char* bytes)
{
    Writer out = {bytes};
    out.Bytes(KEPT_MAGIC, sizeof KEPT_MAGIC);
    const size_t pathLength = std::strlen(track.path);
    out.Number(pathLength, 2);
    out.Bytes(track.path, pathLength);
    out.Number(track.stamp.size, 8);
    out.Number(track.stamp.time, 8);
    out.Number(static_cast<uint32_t>(track.currentPiece), 4);
    TrackHeader stored = track.header;
    const int storedCount = track.header.pieceCount + 1;
    stored.pieceCount = static_cast<int16_t>(storedCount);
    out.Bytes(&stored, sizeof stored);
    out.Bytes(track.pieces, sizeof(TrackPiece) * storedCount);
    out.Number(Checksum(bytes, out.at - bytes), 4);
    return out.at - bytes;
}

bool ReadKeptTrackBytes(const unsigned char* bytes, size_t length, KeptTrack& track)
{
    if (length < 4 || length > KEPT_FILE_MAX_SIZE)
        return false;
    Reader in = {bytes, bytes + length - 4};
    uint64_t sum, pathLength, current;
    unsigned char magic[KEPT_MAGIC_SIZE];
    if (!Reader{in.end, bytes + length}.Number(sum, 4) || sum != Checksum(bytes, length - 4) ||
        !in.Bytes(magic, sizeof magic) || std::memcmp(magic, KEPT_MAGIC, sizeof magic) != 0 ||
        !in.Number(pathLength, 2) || pathLength == 0 || pathLength >= TRACK_PATH_SIZE ||
        !in.Bytes(track.path, pathLength))
        return false;
    track.path[pathLength] = '\0';
    if (std::strlen(track.path) != pathLength || !PathFits(track.path, pathLength) ||
        !in.Number(track.stamp.size, 8) || !in.Number(track.stamp.time, 8) || !in.Number(current, 4) ||
        !in.Bytes(&track.header, sizeof track.header))
        return false;
    const int storedCount = track.header.pieceCount;
    track.currentPiece = static_cast<int32_t>(current);
    // A track's pieces as the document holds them: as many as a track file
    // may have, the current one among them (piece 0 of a track of none).
    if (track.header.signature[0] != 'R' || track.header.signature[1] != 'C' || storedCount < 0 ||
        storedCount > MAX_TRACK_PIECES || track.currentPiece < 0 || track.currentPiece >= (storedCount ? storedCount : 1) ||
        static_cast<size_t>(in.end - in.at) != sizeof(TrackPiece) * storedCount)
        return false;
    in.Bytes(track.pieces, sizeof(TrackPiece) * storedCount);
    std::memset(track.pieces + storedCount, 0, sizeof(TrackPiece) * (MAX_TRACK_PIECES - storedCount));
    track.header.pieceCount = static_cast<int16_t>(storedCount - 1);
    return true;
}

void KeptFileName(const char* trackPath, const char* ending, char (&name)[KEPT_NAME_SIZE])
{
    uint64_t hash = 14695981039346656037ull;
    for (const char* at = trackPath; *at; ++at)
        hash = (hash ^ FoldedPathByte(*at)) * 1099511628211ull;
    std::snprintf(name, sizeof name, "%016llX%s", static_cast<unsigned long long>(hash), ending);
}

bool SameTrackPath(const char* one, const char* other)
{
    for (; *one && FoldedPathByte(*one) == FoldedPathByte(*other); ++one, ++other) {
    }
    return *one == *other;
}
