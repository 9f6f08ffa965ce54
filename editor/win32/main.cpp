// Velari: the track editor for Gravion!. One window, one track at a time.
#include <windows.h>

#include "help_viewer.h"
#include "main_window.h"
#include "recovery_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showState)
{
    if (!RegisterMainWindowClass(instance))
        return 0;
    if (!CreateMainWindow())
        return 0;
    ShowWindow(mainWindow, showState);
    UpdateWindow(mainWindow);

    LoadStartTrack(commandLine);
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
