// Removal.exe: a stand-in for Velari's uninstaller, so that the distribution
// is complete until the real one is written.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    MessageBoxA(nullptr,
                "This is a placeholder for the Velari uninstaller. It removes nothing yet.",
                "Uninstall Velari", MB_OK | MB_ICONINFORMATION);
    return 0;
}
