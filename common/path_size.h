// Paths as the programs hold them. Their manifests make UTF-8 the code page
// of every A function, so a path of the system's longest, MAX_PATH - 1
// characters, takes up to three bytes a character. Free of Windows, so that
// the rules can be tried anywhere; header only, as the programs share no
// objects.
#ifndef PATH_SIZE_H
#define PATH_SIZE_H

#include <cstddef>
#include <cstring>

enum { PATH_CHARACTERS = 259 };                    // MAX_PATH less the terminating zero
enum { PATH_SIZE = 3 * PATH_CHARACTERS + 1 };      // bytes, the terminating zero included

// The characters of length bytes of UTF-8 text as Windows counts them: one
// UTF-16 unit each, so two for a character beyond U+FFFF (its four-byte
// form). Continuation bytes add nothing.
inline size_t PathCharacterCount(const char* text, size_t length)
{
    size_t count = 0;
    for (size_t i = 0; i < length; ++i) {
        const unsigned char byte = static_cast<unsigned char>(text[i]);
        if ((byte & 0xC0) != 0x80)
            count += byte >= 0xF0 ? 2 : 1;
    }
    return count;
}

// Whether length bytes of text are a path Windows takes whole, and fit a
// PATH_SIZE buffer with their zero.
inline bool PathFits(const char* text, size_t length)
{
    return length < PATH_SIZE && PathCharacterCount(text, length) <= PATH_CHARACTERS;
}

inline bool PathFits(const char* text)
{
    return PathFits(text, std::strlen(text));
}

#endif
