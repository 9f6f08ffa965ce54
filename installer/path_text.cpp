#include "path_text.h"

#include <cstring>

bool JoinPath(char* out, size_t size, const char* first, const char* second, const char* third)
{
    const char* parts[3] = {first, second, third};
    size_t length = 0;
    for (const char* part : parts)
        if (part)
            length += strlen(part);
    if (size == 0)
        return false;
    if (length >= size) {
        out[0] = '\0';
        return false;
    }
    size_t at = 0;
    for (const char* part : parts) {
        if (!part)
            continue;
        size_t n = strlen(part);
        memmove(out + at, part, n);
        at += n;
    }
    out[at] = '\0';
    return true;
}

static char UpperAscii(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool SameNameIgnoringCase(const char* a, const char* b)
{
    for (; *a && *b; ++a, ++b)
        if (UpperAscii(*a) != UpperAscii(*b))
            return false;
    return *a == *b;
}
