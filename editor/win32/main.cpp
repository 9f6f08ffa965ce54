// Velari: the track editor for Gravion!. One window, one track at a time.
#include <windows.h>

#include "command_line.h"
#include "commands.h"
#include "help_viewer.h"
#include "main_window.h"
#include "track_document.h"

namespace {

// The shell opens a track by passing its path as the whole command line.
// The window is already up, so a message about the file shows over it.
void LoadCommandLineTrack(const char* commandLine)
{
    // A file that is refused or cannot be read leaves path empty again: the
    // load puts back the path of the last track, and there is none yet.
    char path[TRACK_PATH_SIZE];
    if (TrackPathFromCommandLine(commandLine, path, sizeof path) && path[0] != '\0' &&
        SetTrackPath(path))
        LoadTrackIntoWindow();
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showState)
{
    if (!RegisterMainWindowClass(instance))
        return 0;
    if (!CreateMainWindow())
        return 0;
    ShowWindow(mainWindow, showState);
    UpdateWindow(mainWindow);

    LoadCommandLineTrack(commandLine);
    InitializeHelp();

    MSG message;
    BOOL received;
    while ((received = GetMessageA(&message, nullptr, 0, 0)) > 0) {
        if (TranslateMainWindowKeys(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    UninitializeHelp();
    return received == 0 ? static_cast<int>(message.wParam) : 0;
}
