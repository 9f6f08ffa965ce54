// install: the Velari installer. One hidden window drives a wizard of eight
// pages; every move between pages is a message posted to it.
#include <windows.h>

#include "installer_state.h"
#include "resource.h"

InstallerState installer;

namespace {

const char INSTALLER_CLASS[] = "Velari Installer";

bool RegisterInstallerClass(HINSTANCE instance)
{
    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = InstallerWndProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_INSTALLER));
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    windowClass.lpszClassName = INSTALLER_CLASS;
    return RegisterClassA(&windowClass) != 0;
}

}  // namespace

// The command line and the show state are of no use: the window is never shown.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    installer.instance = instance;
    if (!RegisterInstallerClass(instance))
        return 0;
    HWND window = CreateWindowExA(WS_EX_ACCEPTFILES | WS_EX_CLIENTEDGE | WS_EX_CONTEXTHELP,
                                  INSTALLER_CLASS, INSTALLER_CLASS, WS_OVERLAPPEDWINDOW, 100, 100,
                                  10, 10, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 0;
    ShowWindow(window, SW_HIDE);
    UpdateWindow(window);

    MSG message;
    BOOL received;
    while ((received = GetMessageA(&message, nullptr, 0, 0)) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return received == 0 ? static_cast<int>(message.wParam) : 0;
}
