// Which running programs keep an installation's files in use, and how a
// closed editor is opened again: rules over what the system says about a
// window and a process, free of Windows so that they can be tried with any
// answers. The installer closes these programs before it replaces the
// files, the uninstaller before it removes them. Header only: the programs
// share no objects.
#ifndef RUNNING_PROGRAM_RULES_H
#define RUNNING_PROGRAM_RULES_H

#include <cstddef>
#include <cstring>
#include <initializer_list>

#include "path_size.h"

// The editor's window class, its program file, and its title: "Velari -
// " and the track's full path, after a "*" while the track has unsaved
// changes; "Velari" alone without a track.
const char EDITOR_CLASS[] = "Velari";
const char EDITOR_FILE[] = "Velari.exe";
const char EDITOR_TITLE_PREFIX[] = "Velari - ";
// The help viewers' windows, and the title they show for Velari's help.
const char* const HELP_VIEWER_CLASSES[] = {"HH Parent", "MS_WINHELP"};
const char HELP_TITLE[] = "Velari Help";
const char* const HELP_FILES[] = {"Velari.chm", "Velari.hlp"};

// Whether path is folder (with its backslash) followed by file, letters in
// either case, as the file system compares names.
inline bool IsFileOfFolder(const char* path, const char* folder, const char* file)
{
    auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
    const size_t folderLength = std::strlen(folder);
    if (folderLength == 0 || folder[folderLength - 1] != '\\')
        return false;
    for (const char* expected : {folder, file})
        for (; *expected; ++expected, ++path)
            if (upper(*path) != upper(*expected))
                return false;
    return *path == '\0';
}

// The track an editor's window title names, into track; "" for a window
// without one. False when the title is no editor's or the path does not fit.
inline bool TrackOfEditorTitle(const char* title, char* track, size_t size)
{
    if (size == 0)
        return false;
    track[0] = '\0';
    if (*title == '*')
        ++title;
    if (std::strcmp(title, EDITOR_CLASS) == 0)
        return true;
    const size_t prefix = sizeof EDITOR_TITLE_PREFIX - 1;
    if (std::strncmp(title, EDITOR_TITLE_PREFIX, prefix) != 0 || title[prefix] == '\0')
        return false;
    return JoinPath(track, size, title + prefix, nullptr);
}

// Who opens a closed editor again. Never with rights it did not have: an
// elevated installer opens only editors that ran elevated themselves. The
// others are left to the first process, which started the elevated one with
// the person's own rights and waits for it; without one, the editor opens
// at its next start and brings its kept changes back itself.
enum ReopenWay { REOPEN_HERE, REOPEN_BY_FIRST_PROCESS, REOPEN_AT_NEXT_START, REOPEN_NOT_ASKED };
struct ReopenFacts {
    bool restartAsked;       // not /NORESTARTAPPLICATIONS, nor the uninstaller
    bool installerElevated;
    bool editorElevated;
    bool firstProcessWaits;  // started again with rights by a process without them
};
inline ReopenWay ChooseReopenWay(const ReopenFacts& facts)
{
    if (!facts.restartAsked)
        return REOPEN_NOT_ASKED;
    if (!facts.installerElevated || facts.editorElevated)
        return REOPEN_HERE;
    return facts.firstProcessWaits ? REOPEN_BY_FIRST_PROCESS : REOPEN_AT_NEXT_START;
}

// What the log says of an editor that is not opened again here.
inline const char* ReopenWayText(ReopenWay way)
{
    switch (way) {
    case REOPEN_BY_FIRST_PROCESS: return "it opens again with the rights of the person who started the installer";
    case REOPEN_AT_NEXT_START: return "it can't be opened again without administrator rights it did not have: "
                                      "it brings its kept changes back at its next start";
    case REOPEN_NOT_ASKED: return "not opened again, as asked";
    default: return "";
    }
}

// The hand-over from the elevated installer to the first process: one line
// a closed editor, its program, a tab, its track ("" for none).
inline bool ComposeReopenLine(char* out, size_t size, const char* program, const char* track)
{
    const size_t programLength = std::strlen(program), trackLength = std::strlen(track);
    if (programLength + trackLength + 3 > size)
        return false;
    std::memcpy(out, program, programLength);
    out[programLength] = '\t';
    std::memcpy(out + programLength + 1, track, trackLength);
    std::memcpy(out + programLength + 1 + trackLength, "\n", 2);
    return true;
}
// The next line of text from *at, split into program and track; *at moves
// past it. False at the end, or for a line that is no such pair.
inline bool TakeReopenLine(const char** at, char (&program)[PATH_SIZE], char (&track)[PATH_SIZE])
{
    const char* line = *at;
    if (*line == '\0')
        return false;
    const char* end = std::strchr(line, '\n');
    end = end ? end : line + std::strlen(line);
    *at = *end ? end + 1 : end;
    const char* tab = static_cast<const char*>(std::memchr(line, '\t', static_cast<size_t>(end - line)));
    if (!tab || tab == line || static_cast<size_t>(tab - line) >= PATH_SIZE ||
        static_cast<size_t>(end - tab - 1) >= PATH_SIZE)
        return false;
    std::memcpy(program, line, static_cast<size_t>(tab - line));
    program[tab - line] = '\0';
    std::memcpy(track, tab + 1, static_cast<size_t>(end - tab - 1));
    track[end - tab - 1] = '\0';
    return PathFits(program) && PathFits(track);
}

#endif
