// install: the Velari installer. One hidden window drives a wizard of eight
// pages; every move between pages is a message posted to it.
#include <windows.h>

#include "dll_search.h"
#include "installer_state.h"

// The command line and the show state are of no use: the window is never shown.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    RestrictDllSearch();
    installer.instance = instance;
    if (!RegisterInstallerClass() || !CreateInstallerWindow())
        return 0;

    MSG message;
    BOOL received;
    while ((received = GetMessageA(&message, nullptr, 0, 0)) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return received == 0 ? static_cast<int>(message.wParam) : 0;
}
