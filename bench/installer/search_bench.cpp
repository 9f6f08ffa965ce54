// The game folder search of the real install.exe, started from D:\SETUP in a
// second process, timed from Next on the target page until the game page
// shows, against a bare FindFirstFileA walk of the same drives. Its progress
// bar is read while it scans: the positions seen are printed, and a
// screenshot of it part-filled goes into the output.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "resource.h"
#include "win_driver.h"

using namespace e2e;

namespace {

int Walk(const std::string& folder)
{
    int folders = 1;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "*.*").c_str(), &entry);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &entry))
        if ((entry.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) ==
                FILE_ATTRIBUTE_DIRECTORY && strcmp(entry.cFileName, ".") && strcmp(entry.cFileName, ".."))
            folders += Walk(folder + entry.cFileName + "\\");
    FindClose(search);
    return folders;
}

// The installer's dialog now shown: a page, the progress window or a question.
HWND Shown(DWORD pid)
{
    return WaitTopWindow(pid, "#32770", nullptr, 0);
}

}  // namespace

int main()
{
    MakeFolders("D:\\Program Files\\Velari");
    DWORD start = GetTickCount();
    const int folders = Walk("C:\\") + Walk("D:\\");
    const double bare = (GetTickCount() - start) / 1000.0;

    Program installer;
    if (!StartProgram("D:\\SETUP\\install.exe", "", "D:\\SETUP", &installer))
        return 1;
    HWND page = WaitTopWindow(installer.pid, "#32770", "Velari Installer");  // the welcome page
    PressDialogButton(page, IDC_NEXT);
    page = WaitTopWindow(installer.pid, "#32770", "Velari Installer");  // the target page
    start = GetTickCount();
    PostMessageA(page, WM_COMMAND, IDC_NEXT, 0);
    std::vector<long> seen;
    for (HWND shown; GetTickCount() - start < 300000; Sleep(2)) {
        if (!(shown = Shown(installer.pid)) || shown == page)
            continue;
        HWND bar = GetDlgItem(shown, IDC_PROGRESS_BAR);
        if (!bar && GetDlgItem(shown, IDC_NEXT))
            break;  // the game page
        DWORD_PTR position = 0;
        if (!bar || !SendMessageTimeoutA(bar, PBM_GETPOS, 0, 0, SMTO_NORMAL, 1000, &position))
            continue;
        if (seen.empty() || long(position) != seen.back())
            seen.push_back(long(position));
        if (seen.size() == 8)
            Screenshot("progress_search", shown);
    }
    const double search = (GetTickCount() - start) / 1000.0;
    EndProgram(&installer);

    std::printf("bench: %d folders on C: and D:; bare FindFirstFileA walk %.2f s (%.0f folders/s)\n", folders, bare,
                folders / bare);
    std::printf("bench: installer search %.2f s (%.0f folders/s), %.2f times the bare walk (goal: at most 1.05)\n",
                search, folders / search, search / bare);
    std::printf("bench: the search bar at %u positions during the scan, the last %ld of 1000 (goal: rising, below full)\n",
                unsigned(seen.size()), seen.empty() ? -1 : seen.back());
    std::printf("bench-search-rate %.0f\n", folders / search);
    return 0;
}
