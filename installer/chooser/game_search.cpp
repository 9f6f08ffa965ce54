// Page 3: the search of every fixed drive for the game's executable, depth
// first, in drive letter order; the first hit ends it. A game folder given
// on the command line takes its place.
#include <windows.h>

#include <cstring>

#include "game_search.h"
#include "install_log.h"
#include "installer_state.h"
#include "path_text.h"
#include "progress_window.h"
#include "wizard.h"

namespace {

const char GAME_EXECUTABLE[] = "gravion.exe";
const char DEFAULT_GAME_FOLDER[] = "C:\\Gravion\\";
const char ALL_ENTRIES[] = "*.*";
const char SUBFOLDER_ENTRIES[] = "\\*.*";
// Often enough that the system never takes the window for hung.
const int FOLDERS_PER_LIVENESS_CHECK = 256;

int foldersVisited;

void ShowAlive()
{
    if (++foldersVisited % FOLDERS_PER_LIVENESS_CHECK != 0)
        return;
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
}

// Folders are looked into whatever their attributes.
bool IsGame(const WIN32_FIND_DATAA& entry)
{
    return IsGameExecutable(entry.cFileName, entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY,
                            entry.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
}

// A 32-bit program on 64-bit Windows is shown SysWOW64 under the name
// System32, and the walk reaches SysWOW64 by its own name too: with the
// redirection off while a folder is opened, each folder is listed once, as
// it is. Only the opening is redirected; nothing else runs meanwhile.
HANDLE FindFirstUnredirected(const char* pattern, WIN32_FIND_DATAA* entry)
{
    static const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    static auto* const disable = reinterpret_cast<decltype(&Wow64DisableWow64FsRedirection)>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "Wow64DisableWow64FsRedirection")));
    static auto* const revert = reinterpret_cast<decltype(&Wow64RevertWow64FsRedirection)>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "Wow64RevertWow64FsRedirection")));
    PVOID redirection = nullptr;
    const bool off = disable && revert && disable(&redirection);
    HANDLE search = FindFirstFileA(pattern, entry);
    if (off)
        revert(redirection);
    return search;
}

// Links and junctions are not followed: one pointing back up would make the
// walk go round until the path no longer fits.
bool IsSubfolder(const WIN32_FIND_DATAA& entry)
{
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
           strcmp(entry.cFileName, ".") != 0 && strcmp(entry.cFileName, "..") != 0;
}

}  // namespace

void RunGameFolderSearch()
{
    HWND progress = nullptr;
    if (!installer.givenGameFolder[0] && !(progress = OpenProgressWindow(SearchProgressDlgProc))) {
        ReportWindowFailure();
        return;
    }
    FindGameFolder(progress);
    if (progress)
        DestroyWindow(progress);
    PostMessageA(installer.window, WM_WIZARD_NEXT, 0, 0);
}

void FindGameFolder(HWND progress)
{
    if (installer.givenGameFolder[0]) {
        JoinPath(installer.gameFolder, sizeof installer.gameFolder, installer.givenGameFolder, nullptr);
        LogStep("Game folder %s: given, no search", installer.gameFolder);
        return;
    }
    foldersVisited = 0;
    const int found = SearchFixedDrives(progress);
    if (!found)
        JoinPath(installer.gameFolder, sizeof installer.gameFolder, DEFAULT_GAME_FOLDER, nullptr);
    LogStep("Search for %s on the fixed drives: %s %s", GAME_EXECUTABLE,
            found ? "found in" : "not found, game folder", installer.gameFolder);
}

int SearchFixedDrives(HWND progress)
{
    char pattern[] = "A:\\*.*";
    for (int drive = 0, ordinal = 0; drive < DRIVE_COUNT; ++drive, ++pattern[0]) {
        if (!installer.drives[drive].fixed)
            continue;
        StartDriveSearch(ordinal++);
        const int found = SearchFolder(progress, pattern);
        EndDriveSearch(progress);
        if (found)
            return 1;
    }
    return 0;
}

int SearchFolder(HWND progress, const char* pattern)
{
    StepSearchProgress(progress);
    ShowAlive();
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstUnredirected(pattern, &entry);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    // The folder is the pattern without its "*.*"; it keeps its backslash.
    const size_t folderLength = strlen(pattern) - (sizeof ALL_ENTRIES - 1);
    int found = 0;
    do {
        if (IsGame(entry)) {
            memcpy(installer.gameFolder, pattern, folderLength);
            installer.gameFolder[folderLength] = '\0';
            found = 1;
            break;
        }
        if (!IsSubfolder(entry))
            continue;
        char subfolder[PATH_SIZE];
        memcpy(subfolder, pattern, folderLength);
        subfolder[folderLength] = '\0';
        // A name whose pattern would not fit is passed over.
        if (!JoinPath(subfolder, sizeof subfolder, subfolder, entry.cFileName, SUBFOLDER_ENTRIES))
            continue;
        if (SearchFolder(progress, subfolder)) {
            found = 1;
            break;
        }
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return found;
}

bool GameFolderHoldsGame(const char* folder)
{
    char path[PATH_SIZE];
    WIN32_FIND_DATAA entry;
    HANDLE found = JoinPath(path, sizeof path, folder, GAME_EXECUTABLE) ? FindFirstUnredirected(path, &entry)
                                                                       : INVALID_HANDLE_VALUE;
    if (found == INVALID_HANDLE_VALUE)
        return false;
    FindClose(found);
    return IsGame(entry);
}
