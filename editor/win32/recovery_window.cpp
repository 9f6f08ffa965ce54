#include "recovery_window.h"

#include <windows.h>

#include "command_line.h"
#include "commands.h"
#include "kept_changes.h"
#include "main_window.h"
#include "track_document.h"

namespace {

// Windows starts the program again with this command line: the track's
// path in quotes, which the command line's reading takes off again.
void AskToBeStartedAgain()
{
    WCHAR commandLine[RESTART_MAX_CMD_LINE] = L"\"";
    const int length = MultiByteToWideChar(CP_UTF8, 0, trackDocument.settledPath, -1, commandLine + 1,
                                           RESTART_MAX_CMD_LINE - 2);
    if (length <= 0)
        return;
    commandLine[length] = L'"';
    commandLine[length + 1] = L'\0';
    RegisterApplicationRestart(commandLine, RESTART_NO_CRASH | RESTART_NO_HANG);
}

}  // namespace

// The window is already up, so a message about the file shows over it.
void LoadStartTrack(const char* commandLine)
{
    char path[TRACK_PATH_SIZE];
    if (!TrackPathFromCommandLine(commandLine, path, sizeof path))
        return;
    if (BringBackKeptChanges(path))
        ShowLoadedTrack();
    else if (path[0] != '\0' && SetTrackPath(path))
        LoadTrackIntoWindow();
}

LRESULT SessionEndQueried(HWND window, WPARAM wParam, LPARAM lParam)
{
    if (!trackDocument.isDirty)
        return DefWindowProcA(window, WM_QUERYENDSESSION, wParam, lParam);
    KeepTrackNow();
    AskToBeStartedAgain();
    return TRUE;
}

void SessionEnds(bool ending)
{
    if (!ending)
        return;
    KeepTrackNow();
    DestroyWindow(mainWindow);
}
