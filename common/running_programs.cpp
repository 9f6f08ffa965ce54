#include "running_programs.h"

#include <restartmanager.h>

#include <cstdio>
#include <cstring>

#include "dll_search.h"
#include "elevation.h"

namespace {

struct Search {
    char folder[PATH_SIZE];  // long form
    bool helpInUse;
    bool helpPass;  // editors first: the editor's own help window is part of it
    RunningPrograms* found;
};

// Texts of another process's windows are asked for in UTF-16 and turned
// into this program's code page, as its A functions take paths.
bool WindowText(HWND window, char* text, size_t size)
{
    WCHAR wide[PATH_SIZE + 32];
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, sizeof wide / sizeof *wide, reinterpret_cast<LPARAM>(wide),
                             SMTO_ABORTIFHUNG, 2000, &length) ||
        length >= sizeof wide / sizeof *wide)
        return false;
    wide[length] = L'\0';
    return WideCharToMultiByte(CP_ACP, 0, wide, -1, text, static_cast<int>(size), nullptr, nullptr) > 0;
}

// The process's program file in its long form, as the folder is compared.
bool ProgramOfProcess(DWORD processId, char (&program)[PATH_SIZE], bool* elevated)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process)
        return false;
    char path[PATH_SIZE];
    DWORD size = sizeof path;
    const bool known = QueryFullProcessImageNameA(process, 0, path, &size);
    *elevated = ProcessIsElevated(process);
    CloseHandle(process);
    const DWORD length = known ? GetLongPathNameA(path, program, sizeof program) : 0;
    return length > 0 && length < sizeof program;
}

bool IsFound(const RunningPrograms& found, DWORD processId)
{
    for (int i = 0; i < found.count; ++i)
        if (found.programs[i].processId == processId)
            return true;
    return false;
}

// One entry a process; beyond the table's room, a program is not closed
// and keeps its files in use, which the installation then reports.
void Add(Search* search, HWND window, DWORD processId, bool isEditor, const char* track)
{
    RunningPrograms& found = *search->found;
    if (found.count == MAX_RUNNING_PROGRAMS || IsFound(found, processId))
        return;
    RunningProgram& entry = found.programs[found.count];
    entry = RunningProgram();
    if (!ProgramOfProcess(processId, entry.program, &entry.elevated))
        return;
    entry.processId = processId;
    entry.window = window;
    entry.isEditor = isEditor;
    JoinPath(entry.track, sizeof entry.track, track, nullptr);
    ++found.count;
}

bool IsHelpViewerClass(const char* name)
{
    for (const char* viewer : HELP_VIEWER_CLASSES)
        if (lstrcmpiA(name, viewer) == 0)
            return true;
    return false;
}

BOOL CALLBACK TakeWindow(HWND window, LPARAM context)
{
    Search* search = reinterpret_cast<Search*>(context);
    char name[64], title[2 * PATH_SIZE], track[PATH_SIZE], program[PATH_SIZE];
    DWORD processId = 0;
    bool elevated;
    if (!GetClassNameA(window, name, sizeof name) || !GetWindowThreadProcessId(window, &processId) ||
        processId == GetCurrentProcessId() || !WindowText(window, title, sizeof title))
        return TRUE;
    if (!search->helpPass && lstrcmpA(name, EDITOR_CLASS) == 0 && TrackOfEditorTitle(title, track, sizeof track) &&
        ProgramOfProcess(processId, program, &elevated) && IsFileOfFolder(program, search->folder, EDITOR_FILE))
        Add(search, window, processId, true, track);
    else if (search->helpPass && search->helpInUse && IsHelpViewerClass(name) && lstrcmpA(title, HELP_TITLE) == 0)
        Add(search, window, processId, false, "");
    return TRUE;
}

// A viewer's window is taken for the folder's help only while the folder's
// help files are in use: the viewers' windows don't say which file they show.
bool HelpFileInUse(const char* folder)
{
    for (const char* name : HELP_FILES) {
        char path[PATH_SIZE];
        if (!JoinPath(path, sizeof path, folder, name))
            continue;
        HANDLE file = CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
        else if (GetLastError() == ERROR_SHARING_VIOLATION)
            return true;
    }
    return false;
}

struct ProcessWindow {
    DWORD processId;
    HWND window;
};

BOOL CALLBACK TakeProcessWindow(HWND window, LPARAM context)
{
    ProcessWindow* wanted = reinterpret_cast<ProcessWindow*>(context);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != wanted->processId || !IsWindowVisible(window) || GetWindow(window, GW_OWNER))
        return TRUE;
    wanted->window = window;
    return FALSE;
}

// What the Restart Manager knows holds the folder's files: on Windows also
// a viewer started from the help's shortcut, whose window can't say which
// help it shows. Loaded by name from the system's folder, where it is.
void AddFromRestartManager(Search* search)
{
    typedef DWORD(WINAPI * StartProc)(DWORD*, DWORD, WCHAR*);
    typedef DWORD(WINAPI * RegisterProc)(DWORD, UINT, LPCWSTR*, UINT, RM_UNIQUE_PROCESS*, UINT, LPCWSTR*);
    typedef DWORD(WINAPI * ListProc)(DWORD, UINT*, UINT*, RM_PROCESS_INFO*, DWORD*);
    typedef DWORD(WINAPI * EndProc)(DWORD);
    HMODULE manager = LoadSystemLibrary("rstrtmgr.dll");
    if (!manager)
        return;
    const StartProc start = reinterpret_cast<StartProc>(reinterpret_cast<void*>(GetProcAddress(manager, "RmStartSession")));
    const RegisterProc add = reinterpret_cast<RegisterProc>(reinterpret_cast<void*>(GetProcAddress(manager, "RmRegisterResources")));
    const ListProc list = reinterpret_cast<ListProc>(reinterpret_cast<void*>(GetProcAddress(manager, "RmGetList")));
    const EndProc end = reinterpret_cast<EndProc>(reinterpret_cast<void*>(GetProcAddress(manager, "RmEndSession")));
    DWORD session;
    WCHAR key[CCH_RM_SESSION_KEY + 1] = L"";
    if (start && add && list && end && start(&session, 0, key) == ERROR_SUCCESS) {
        WCHAR paths[3][PATH_SIZE];
        LPCWSTR files[3];
        UINT fileCount = 0;
        for (const char* name : {EDITOR_FILE, HELP_FILES[0], HELP_FILES[1]}) {
            char path[PATH_SIZE];
            if (JoinPath(path, sizeof path, search->folder, name) &&
                MultiByteToWideChar(CP_ACP, 0, path, -1, paths[fileCount], PATH_SIZE) > 0) {
                files[fileCount] = paths[fileCount];
                ++fileCount;
            }
        }
        RM_PROCESS_INFO holders[MAX_RUNNING_PROGRAMS];
        UINT needed = 0, count = MAX_RUNNING_PROGRAMS;
        DWORD reasons = 0;
        const DWORD listed = add(session, fileCount, files, 0, nullptr, 0, nullptr) == ERROR_SUCCESS
                                 ? list(session, &needed, &count, holders, &reasons)
                                 : ERROR_INVALID_DATA;
        for (UINT i = 0; listed == ERROR_SUCCESS && i < count; ++i) {
            ProcessWindow holder = {holders[i].Process.dwProcessId, nullptr};
            EnumWindows(TakeProcessWindow, reinterpret_cast<LPARAM>(&holder));
            char program[PATH_SIZE];
            bool elevated;
            if (holder.window && holder.processId != GetCurrentProcessId() &&
                ProgramOfProcess(holder.processId, program, &elevated))
                Add(search, holder.window, holder.processId, IsFileOfFolder(program, search->folder, EDITOR_FILE), "");
        }
        end(session);
    }
    FreeLibrary(manager);
}

// Asked as Windows asks at the end of a session for an installer: the
// editor keeps its unsaved changes and ends by itself. A viewer keeps
// nothing, and is closed as its own close box would.
bool CloseProgram(const RunningProgram& entry)
{
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, entry.processId);
    if (!process)
        return false;
    DWORD_PTR agreed = FALSE;
    if (!SendMessageTimeoutW(entry.window, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG,
                             CLOSE_WAIT_MS, &agreed))
        agreed = FALSE;
    DWORD_PTR ignored;
    SendMessageTimeoutW(entry.window, WM_ENDSESSION, agreed ? TRUE : FALSE, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG,
                        CLOSE_WAIT_MS, &ignored);
    if (agreed && !entry.isEditor)
        PostMessageW(entry.window, WM_CLOSE, 0, 0);
    const bool ended = agreed && WaitForSingleObject(process, CLOSE_WAIT_MS) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
}

}  // namespace

void FindRunningPrograms(const char* folder, RunningPrograms* found)
{
    found->count = 0;
    Search search = {};
    search.found = found;
    const DWORD length = GetLongPathNameA(folder, search.folder, sizeof search.folder);
    if (length == 0 || length >= sizeof search.folder)
        return;  // not there: nothing runs from it
    // The long form keeps the backslash it was given.
    search.helpInUse = HelpFileInUse(search.folder);
    EnumWindows(TakeWindow, reinterpret_cast<LPARAM>(&search));
    search.helpPass = true;
    EnumWindows(TakeWindow, reinterpret_cast<LPARAM>(&search));
    AddFromRestartManager(&search);
}

int CloseRunningPrograms(RunningPrograms* found)
{
    int left = 0;
    for (int i = 0; i < found->count; ++i) {
        found->programs[i].ended = CloseProgram(found->programs[i]);
        left += found->programs[i].ended ? 0 : 1;
    }
    return left;
}

bool StartEditor(const char* program, const char* track, DWORD* error)
{
    // The editor takes its whole command line, blanks and all, as the track.
    char commandLine[2 * PATH_SIZE + 4], folder[PATH_SIZE];
    const int length = std::snprintf(commandLine, sizeof commandLine, "\"%s\"%s%s", program, track[0] ? " " : "", track);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    *error = ERROR_FILENAME_EXCED_RANGE;
    if (length < 0 || static_cast<size_t>(length) >= sizeof commandLine || !JoinPath(folder, sizeof folder, program, nullptr))
        return false;
    if (char* slash = std::strrchr(folder, '\\'))
        slash[1] = '\0';
    if (!CreateProcessA(program, commandLine, nullptr, nullptr, FALSE, 0, nullptr, folder, &startup, &started)) {
        *error = GetLastError();
        return false;
    }
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    *error = 0;
    return true;
}
