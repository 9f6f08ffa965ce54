// Paths as the programs hold them, and their one bounded join. Their
// manifests make UTF-8 the code page of every A function, so a path of the
// system's longest, MAX_PATH - 1 characters, takes up to three bytes a
// character. Free of Windows, so that
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

// out = first + second + third (either of the last two may be null), when the
// whole text with its terminator fits size bytes and has at most
// PATH_CHARACTERS characters, the longest path Windows takes; otherwise out
// is left empty and the result is false. out may be first.
inline bool JoinPath(char* out, size_t size, const char* first, const char* second, const char* third = nullptr)
{
    const char* parts[3] = {first, second, third};
    size_t lengths[3] = {}, length = 0, characters = 0;
    for (int i = 0; i < 3; ++i) {
        lengths[i] = parts[i] ? std::strlen(parts[i]) : 0;
        length += lengths[i];
        characters += parts[i] ? PathCharacterCount(parts[i], lengths[i]) : 0;
    }
    if (size == 0)
        return false;
    if (length >= size || characters > PATH_CHARACTERS) {
        out[0] = '\0';
        return false;
    }
    size_t at = 0;
    for (int i = 0; i < 3; ++i) {
        if (parts[i])
            std::memmove(out + at, parts[i], lengths[i]);
        at += lengths[i];
    }
    out[at] = '\0';
    return true;
}

#endif
