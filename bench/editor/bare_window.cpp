// A window program that does nothing else: the floor under the editor's
// start-up time in its benchmark.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "Bare";
    RegisterClassA(&windowClass);
    ShowWindow(CreateWindowA("Bare", "Bare", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr, instance,
                             nullptr),
               show);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchMessageA(&message);
    return 0;
}
