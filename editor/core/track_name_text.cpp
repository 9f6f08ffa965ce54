#include "track_name_text.h"

#include <cstdint>
#include <cstring>

unsigned trackNameCodePage = 1252;

namespace {

// Windows-1252, the Western systems' code page: 0xA0-0xFF are Latin-1; the
// five bytes it leaves free stand for the C1 controls, as Windows decodes them.
const uint16_t CP1252_80_TO_9F[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char* PutUtf8(char* at, unsigned code)
{
    if (code < 0x80) {
        *at++ = static_cast<char>(code);
    } else if (code < 0x800) {
        *at++ = static_cast<char>(0xC0 | code >> 6);
        *at++ = static_cast<char>(0x80 | (code & 0x3F));
    } else {
        *at++ = static_cast<char>(0xE0 | code >> 12);
        *at++ = static_cast<char>(0x80 | (code >> 6 & 0x3F));
        *at++ = static_cast<char>(0x80 | (code & 0x3F));
    }
    return at;
}

}  // namespace

void TrackNameText(const char (&name)[TRACK_NAME_SIZE], char (&text)[TRACK_NAME_TEXT_SIZE])
{
    const void* zero = std::memchr(name, '\0', TRACK_NAME_SIZE);
    const size_t length =
        zero ? static_cast<size_t>(static_cast<const char*>(zero) - name) : static_cast<size_t>(TRACK_NAME_SIZE);
    if (trackNameCodePage != 1252 && DecodeCodePageText(trackNameCodePage, name, length, text, sizeof text))
        return;
    // Three bytes at most a byte: the whole name fits. Without a decoding a
    // byte beyond ASCII can only be shown as unknown.
    char* at = text;
    for (size_t i = 0; i < length; ++i) {
        const unsigned byte = static_cast<unsigned char>(name[i]);
        if (byte < 0x80)
            at = PutUtf8(at, byte);
        else if (trackNameCodePage != 1252)
            at = PutUtf8(at, '?');
        else
            at = PutUtf8(at, byte < 0xA0 ? CP1252_80_TO_9F[byte - 0x80] : byte);
    }
    *at = '\0';
}
