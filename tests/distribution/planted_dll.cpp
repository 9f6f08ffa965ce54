// A DLL as an attacker would plant it under the name of one a program loads:
// loaded, it appends the loading program's path to D:\planted-marker.txt.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        char line[MAX_PATH + 2] = "";
        DWORD length = GetModuleFileNameA(nullptr, line, MAX_PATH);
        lstrcpyA(line + length, "\r\n");
        HANDLE marker = CreateFileA("D:\\planted-marker.txt", FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_ALWAYS, 0, nullptr);
        WriteFile(marker, line, length + 2, &length, nullptr);
        CloseHandle(marker);
    }
    return TRUE;
}
