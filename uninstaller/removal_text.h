// The uninstaller's texts: bounded path joins, the helper copy's command
// line and the closing report. Free of Windows so that it builds and can be
// tried anywhere.
#ifndef REMOVAL_TEXT_H
#define REMOVAL_TEXT_H

#include <cstddef>
#include <cstdint>

// out = first + second (either may be null) when the whole text with its
// terminator fits size bytes; otherwise out is left empty and the result is
// false.
bool JoinText(char* out, size_t size, const char* first, const char* second);

// The folder of a file's path, with its trailing backslash; false (out
// empty) when the path has no backslash or the folder does not fit.
bool FolderOfPath(char* out, size_t size, const char* path);

// The helper copy's arguments: FINISH_SWITCH, the number of the handle it
// waits for, one blank, then the target folder, taken whole.
extern const char FINISH_SWITCH[];
bool FormatFinishArguments(char* out, size_t size, uint32_t waitHandle, const char* folder);
// False for anything FormatFinishArguments does not make, or a folder that
// does not fit folderSize bytes or does not end in a backslash.
bool ParseFinishArguments(const char* arguments, uint32_t* waitHandle, char* folder,
                          size_t folderSize);

// What could not be removed, one name a line, for the closing message.
struct RemovalReport {
    char names[2048];
    size_t length;
    int failures;
};
void StartReport(RemovalReport* report);
void AddFailure(RemovalReport* report, const char* name);
// The closing message: Velari was removed, or what was left.
void ComposeClosingMessage(const RemovalReport& report, char* out, size_t size);

#endif
