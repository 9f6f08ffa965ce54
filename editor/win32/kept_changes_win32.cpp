// Where and how the kept changes live on Windows: the user's own local
// application data, a timer on the main window, and the other editors'
// windows.
#include "kept_changes_platform.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>

#include "kept_changes.h"
#include "main_window.h"
#include "running_program_rules.h"

namespace {

const char KEPT_FOLDER_BELOW[] = "\\Velari\\Recovery\\";
const UINT_PTR KEEP_TIMER = 0x4B50;
const UINT KEEP_DELAY_MS = 500;

void CALLBACK KeepTimerElapsed(HWND window, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(window, timer);
    KeepDueTrack();
}

struct EditorSearch {
    const char* trackPath;
    bool found;
};

BOOL CALLBACK FindEditorWithTrack(HWND window, LPARAM param)
{
    EditorSearch& search = *reinterpret_cast<EditorSearch*>(param);
    char name[sizeof EDITOR_CLASS + 1], title[sizeof EDITOR_TITLE_PREFIX + 1 + TRACK_PATH_SIZE], track[TRACK_PATH_SIZE];
    if (window == mainWindow || !GetClassNameA(window, name, sizeof name) || std::strcmp(name, EDITOR_CLASS) != 0 ||
        !GetWindowTextA(window, title, sizeof title))
        return TRUE;
    search.found = TrackOfEditorTitle(title, track, sizeof track) && track[0] && SameTrackPath(track, search.trackPath);
    return !search.found;
}

}  // namespace

// The local application data of the user, never a roaming one: the kept
// files belong to this machine's tracks.
bool KeptChangesFolder(char (&folder)[TRACK_PATH_SIZE], bool make)
{
    char local[TRACK_PATH_SIZE];
    const DWORD length = GetEnvironmentVariableA("LOCALAPPDATA", local, sizeof local);
    if ((length == 0 || length >= sizeof local) &&
        SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, local) != S_OK)
        return false;
    const int joined = std::snprintf(folder, sizeof folder, "%s%s", local, KEPT_FOLDER_BELOW);
    if (joined <= 0 || static_cast<size_t>(joined) >= sizeof folder || !PathFits(folder))
        return false;
    if (make) {
        char* recovery = folder + joined - (sizeof "Recovery\\" - 1);
        recovery[-1] = '\0';
        CreateDirectoryA(folder, nullptr);
        recovery[-1] = '\\';
        CreateDirectoryA(folder, nullptr);
    }
    return true;
}

void ListFolder(const char* folder, const char* ending, void (*found)(const char* name, void* context), void* context)
{
    char pattern[TRACK_PATH_SIZE];
    const int length = std::snprintf(pattern, sizeof pattern, "%s*%s", folder, ending);
    if (length <= 0 || static_cast<size_t>(length) >= sizeof pattern)
        return;
    WIN32_FIND_DATAA file;
    HANDLE search = FindFirstFileA(pattern, &file);
    if (search == INVALID_HANDLE_VALUE)
        return;
    const size_t endingLength = std::strlen(ending);
    do {
        // The pattern also matches longer endings, and short names.
        const size_t nameLength = std::strlen(file.cFileName);
        if (!(file.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && nameLength > endingLength &&
            std::strcmp(file.cFileName + nameLength - endingLength, ending) == 0)
            found(file.cFileName, context);
    } while (FindNextFileA(search, &file));
    FindClose(search);
}

bool ReadFileStamp(const char* path, FileStamp& stamp)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data) || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    stamp.size = static_cast<uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
    stamp.time = static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32 | data.ftLastWriteTime.dwLowDateTime;
    return true;
}

bool MoveFileOver(const char* from, const char* to)
{
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool TrackOpenInOtherEditor(const char* trackPath)
{
    EditorSearch search = {trackPath, false};
    EnumWindows(FindEditorWithTrack, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void ScheduleTrackKeeping()
{
    SetTimer(mainWindow, KEEP_TIMER, KEEP_DELAY_MS, KeepTimerElapsed);
}
