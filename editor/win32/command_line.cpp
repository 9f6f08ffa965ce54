#include "command_line.h"

#include <cstring>

#include "path_size.h"

bool TrackPathFromCommandLine(const char* commandLine, char* path, size_t pathSize)
{
    if (pathSize == 0)
        return false;
    path[0] = '\0';

    const char* start = commandLine;
    size_t length = std::strlen(commandLine);
    // Only a pair that wraps the whole line counts; a quote elsewhere is
    // part of the name as typed.
    if (length >= 2 && start[0] == '"' && start[length - 1] == '"'
        && std::memchr(start + 1, '"', length - 2) == nullptr) {
        ++start;
        length -= 2;
    }
    if (length >= pathSize || PathCharacterCount(start, length) > PATH_CHARACTERS)
        return false;
    std::memcpy(path, start, length);
    path[length] = '\0';
    return true;
}
