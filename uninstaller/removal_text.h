// The uninstaller's texts: a file's folder, the helper copy's command line
// and the closing report. Free of Windows so that it builds and can be
// tried anywhere.
#ifndef REMOVAL_TEXT_H
#define REMOVAL_TEXT_H

#include <cstddef>
#include <cstdint>

#include "installed_product.h"

// The folder of a file's path, with its trailing backslash; false (out
// empty) when the path has no backslash or the folder does not fit.
bool FolderOfPath(char* out, size_t size, const char* path);

// The helper copy's arguments: its switch, the numbers of the two handles
// it waits for (the process that started it, and after a restart with
// administrator rights the first one; 0 for none), one blank each, then the
// target folder, taken whole. FINISH_SWITCH asks for the whole removal,
// TIDY_SWITCH for the uninstaller's own file and folder after a quiet removal.
extern const char FINISH_SWITCH[];
extern const char TIDY_SWITCH[];
bool FormatFinishArguments(char* out, size_t size, const char* switchText, const uint32_t (&waitHandles)[2],
                           const char* folder);
// False for anything FormatFinishArguments does not make with switchText,
// or a folder that does not fit folderSize bytes or does not end in a
// backslash.
bool ParseFinishArguments(const char* arguments, const char* switchText, uint32_t (&waitHandles)[2],
                          char* folder, size_t folderSize);

// The removal's own switches, in any order, blanks between: "/SILENT" in
// any case for the quiet removal, and "/FIRST=" with the first process's id
// on the command line of its restart with administrator rights. False for
// anything else.
extern const char FIRST_SWITCH[];
bool ParseRemovalSwitches(const char* arguments, bool* quiet, uint32_t* firstProcess);

// What could not be removed, one name a line, for the closing message; and
// the installation's folder when it stays because it still holds files.
struct RemovalReport {
    char names[2048];
    size_t length;
    int failures;
    char keptFolder[PATH_SIZE];
};
void StartReport(RemovalReport* report);
void AddFailure(RemovalReport* report, const char* name);
void NoteKeptFolder(RemovalReport* report, const char* folder);
// The closing message: Velari was removed, or what was left; and the folder
// kept, which is no failure of its own.
void ComposeClosingMessage(const RemovalReport& report, char* out, size_t size);

// The quiet removal's exit code for the tool that waits for it: removed
// only when something was installed there and nothing of it was left.
int QuietRemovalExitCode(bool installed, const RemovalReport& report);

#endif
