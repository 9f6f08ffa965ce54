#include "removal_rules.h"

#include <cstring>

#include "path_size.h"

namespace {

const long NOT_FOUND = 2;  // ERROR_FILE_NOT_FOUND

}  // namespace

EmptyKeyStep DecideEmptyKey(long opened, long queried, unsigned long subkeys, unsigned long values)
{
    if (opened == NOT_FOUND)
        return EMPTY_KEY_GONE;
    if (opened != 0 || queried != 0)
        return EMPTY_KEY_UNCHECKED;
    return subkeys || values ? EMPTY_KEY_IN_USE : EMPTY_KEY_DELETE;
}

bool ProgramOfCommand(const char* command, char* out, size_t size)
{
    if (size == 0)
        return false;
    out[0] = '\0';
    const bool quoted = command[0] == '"';
    const char* start = command + quoted;
    const char* end = quoted ? std::strchr(start, '"') : std::strstr(start, " %1");
    if (!end)
        end = quoted ? nullptr : start + std::strlen(start);
    if (!end || end == start || static_cast<size_t>(end - start) >= size)
        return false;
    std::memcpy(out, start, static_cast<size_t>(end - start));
    out[end - start] = '\0';
    if (PathFits(out))
        return true;
    out[0] = '\0';
    return false;
}
