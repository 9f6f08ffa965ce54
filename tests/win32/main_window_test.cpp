// In-process checks of the editor's window: what another process cannot
// read under Wine (menu item states, the window class) is read here, from
// the same objects Velari.exe is linked from.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "main_window.h"
#include "resource.h"
#include "track_document.h"

namespace {

int failures;

void Check(bool condition, const char* what)
{
    std::printf("%s: %s\n", condition ? "ok  " : "FAIL", what);
    if (!condition)
        ++failures;
}

bool IsGrayed(HMENU menu, UINT id)
{
    return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) != 0;
}

// Opening the menu bar is what sends WM_INITMENU.
void OpenMenuBar()
{
    SendMessageA(mainWindow, WM_INITMENU, reinterpret_cast<WPARAM>(GetMenu(mainWindow)), 0);
}

bool WriteTrack(const char* path)
{
    unsigned char bytes[82 + 2 * 3] = {'R', 'C'};
    bytes[49] = 2;
    bytes[82] = 0x44;
    bytes[85] = 0x28;
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    WriteFile(file, bytes, sizeof bytes, &written, nullptr);
    CloseHandle(file);
    return written == sizeof bytes;
}

void CheckWindowClass(HINSTANCE instance)
{
    WNDCLASSA windowClass;
    Check(GetClassInfoA(instance, "Velari", &windowClass) != 0, "class \"Velari\" is registered");
    Check(windowClass.style == (CS_HREDRAW | CS_VREDRAW), "class styles");
    Check(windowClass.hbrBackground == GetStockObject(LTGRAY_BRUSH), "light-gray background");
    Check(windowClass.hIcon != nullptr, "class icon 2000");
    Check(windowClass.cbClsExtra == 0 && windowClass.cbWndExtra == 0, "no extra bytes");
    Check(LoadIconA(instance, MAKEINTRESOURCEA(IDI_TRACK_FILE)) != nullptr, "track file icon 2001");
    Check(LoadBitmapA(instance, MAKEINTRESOURCEA(IDB_ABOUT)) != nullptr, "About bitmap 2500");
}

void CheckMenuStates()
{
    HMENU menu = GetMenu(mainWindow);
    Check(menu != nullptr, "the class menu is the window's menu");
    OpenMenuBar();
    Check(IsGrayed(menu, IDM_FILE_SAVE) && IsGrayed(menu, IDM_FILE_SAVE_AS),
          "Save and Save As grayed before the first load");
    Check(!IsGrayed(menu, IDM_FILE_OPEN) && !IsGrayed(menu, IDM_FILE_REFRESH) &&
              !IsGrayed(menu, IDM_FILE_EXIT) && !IsGrayed(menu, IDM_HELP_ABOUT) &&
              !IsGrayed(menu, IDM_HELP_CONTENTS),
          "the other items enabled");

    char path[MAX_PATH];
    GetTempPathA(sizeof path - 16, path);
    std::strcat(path, "menu-test.tra");
    Check(WriteTrack(path) && SetTrackPath(path) && LoadTrack(), "a track loads");
    OpenMenuBar();
    Check(!IsGrayed(menu, IDM_FILE_SAVE) && !IsGrayed(menu, IDM_FILE_SAVE_AS),
          "Save and Save As enabled after a load");

    // A refused load does not take the track away again.
    SetTrackPath("no such file.tra");
    LoadTrack();
    OpenMenuBar();
    Check(!IsGrayed(menu, IDM_FILE_SAVE) && !IsGrayed(menu, IDM_FILE_SAVE_AS),
          "Save and Save As stay enabled");
    DeleteFileA(path);
}

}  // namespace

int main()
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!RegisterMainWindowClass(instance) || !CreateMainWindow()) {
        std::printf("FAIL: the main window could not be made\n");
        return 1;
    }
    CheckWindowClass(instance);
    CheckMenuStates();
    DestroyWindow(mainWindow);
    std::printf("%d failure(s)\n", failures);
    return failures == 0 ? 0 : 1;
}
