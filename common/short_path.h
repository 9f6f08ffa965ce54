// For a path that another program reads in the system's code page rather
// than in the UTF-8 of these programs (the help viewer; a shortcut, which
// keeps its target also as such text): a name beyond ASCII does not survive
// that, its short form has no such letters. Header only: the programs share
// no objects.
#ifndef SHORT_PATH_H
#define SHORT_PATH_H

#include <windows.h>

#include <cstring>

#include "path_size.h"

// Replaces path (size bytes) by its short form when it holds a letter beyond
// ASCII and the file has a short form that fits; otherwise leaves it.
inline void UseShortFormBeyondAscii(char* path, size_t size)
{
    for (const char* at = path; *at; ++at) {
        if (static_cast<unsigned char>(*at) < 0x80)
            continue;
        char shortPath[PATH_SIZE];
        const DWORD length = GetShortPathNameA(path, shortPath, sizeof shortPath);
        if (length > 0 && length < sizeof shortPath && length < size)
            std::memcpy(path, shortPath, length + 1);
        return;
    }
}

#endif
