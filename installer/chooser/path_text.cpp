#include "path_text.h"

#include <cstring>

static char UpperAscii(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

int DriveNumberOfDirectory(const char* directory)
{
    const char letter = directory[0];
    if (letter >= 'a' && letter <= 'z')
        return letter - 'a';
    if (letter >= 'A' && letter <= 'Z')
        return letter - 'A';
    return 'C' - 'A';
}

// "<folder>Velari.exe" %1 with its two quotes, and its terminator.
static const size_t LONGEST_SUFFIX = (sizeof "\"" - 1) + (sizeof "Velari.exe\" %1" - 1);
static_assert(MAX_TARGET_FOLDER_LENGTH == PATH_CHARACTERS - LONGEST_SUFFIX,
              "the refusal's message names this length");

bool TargetFolderFits(const char* folder)
{
    return PathCharacterCount(folder, strlen(folder)) <= MAX_TARGET_FOLDER_LENGTH;
}

bool HasDriveRoot(const char* folder)
{
    const char letter = UpperAscii(folder[0]);
    return letter >= 'A' && letter <= 'Z' && folder[1] == ':' && folder[2] == '\\';
}

const char* SilentTargetRefusal(const char* folder)
{
    if (!HasDriveRoot(folder))
        return "it names no drive";
    return TargetFolderFits(folder) ? nullptr : "the name is too long";
}

bool FolderFromTyped(char* folder, size_t size, const char* typed)
{
    const size_t length = strlen(typed);
    const bool needsBackslash = length > 0 && typed[length - 1] != '\\';
    return JoinPath(folder, size, typed, needsBackslash ? "\\" : nullptr);
}

int FolderLevels(const char* folder)
{
    int levels = 0;
    for (; *folder; ++folder)
        levels += *folder == '\\';
    return levels;
}

// The level's text runs from after the backslash that ends the level before
// (from the start for the root) to its own backslash, which only the root's
// text keeps.
bool FolderLevelName(const char* folder, int level, char* name, size_t size)
{
    const char* start = folder;
    for (int seen = 1; seen < level && start; ++seen)
        if ((start = strchr(start, '\\')))
            ++start;
    const char* end = start ? strchr(start, '\\') : nullptr;
    if (level < 1 || !end || size == 0)
        return false;
    const size_t length = static_cast<size_t>(end - start) + (level == 1);
    if (length >= size) {
        name[0] = '\0';
        return false;
    }
    memcpy(name, start, length);
    name[length] = '\0';
    return true;
}

void CutFolderToLevel(char* folder, int level)
{
    int seen = 0;
    for (char* at = folder; *at; ++at)
        if (*at == '\\' && ++seen >= level) {
            at[1] = '\0';
            return;
        }
}

bool IsGameExecutable(const char* name, bool isFolder, bool hiddenOrSystem)
{
    return !isFolder && !hiddenOrSystem && SameNameIgnoringCase(name, "gravion.exe");
}

bool SameNameIgnoringCase(const char* a, const char* b)
{
    for (; *a && *b; ++a, ++b)
        if (UpperAscii(*a) != UpperAscii(*b))
            return false;
    return *a == *b;
}
