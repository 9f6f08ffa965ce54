#include "win_driver.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace e2e {

namespace {

int failures;
char context[256];

// Programs started by StartProgram, for the watchdog to end.
enum { MAX_PROGRAMS = 32 };
CRITICAL_SECTION programLock;
bool programLockReady;
HANDLE programs[MAX_PROGRAMS];

HANDLE watchdogThread;
HANDLE watchdogCancel;
DWORD watchdogMs;
char watchdogCase[128];

void EnsureProgramLock()
{
    if (!programLockReady) {
        InitializeCriticalSection(&programLock);
        programLockReady = true;
    }
}

void RememberProgram(HANDLE process)
{
    EnsureProgramLock();
    EnterCriticalSection(&programLock);
    for (HANDLE& slot : programs) {
        if (!slot) {
            slot = process;
            break;
        }
    }
    LeaveCriticalSection(&programLock);
}

void ForgetProgram(HANDLE process)
{
    EnsureProgramLock();
    EnterCriticalSection(&programLock);
    for (HANDLE& slot : programs) {
        if (slot == process)
            slot = nullptr;
    }
    LeaveCriticalSection(&programLock);
}

DWORD WINAPI WatchdogMain(void*)
{
    if (WaitForSingleObject(watchdogCancel, watchdogMs) != WAIT_TIMEOUT)
        return 0;
    std::printf("  FAIL: case %s did not finish within %lu ms; ending its programs\n",
                watchdogCase, static_cast<unsigned long>(watchdogMs));
    EnsureProgramLock();
    EnterCriticalSection(&programLock);
    for (HANDLE slot : programs) {
        if (slot)
            TerminateProcess(slot, 3);
    }
    LeaveCriticalSection(&programLock);
    std::fflush(stdout);
    ExitProcess(3);
}

struct TopWindowSearch {
    DWORD pid;
    const char* className;
    const char* title;
    std::vector<HWND>* found;
};

BOOL CALLBACK CollectTopWindow(HWND window, LPARAM param)
{
    const TopWindowSearch& search = *reinterpret_cast<TopWindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search.pid || !IsWindowVisible(window))
        return TRUE;
    if (search.className && ClassOf(window) != search.className)
        return TRUE;
    if (search.title && TextOf(window) != search.title)
        return TRUE;
    search.found->push_back(window);
    return TRUE;
}

struct ChildSearch {
    const char* className;
    const char* text;
    HWND found;
};

BOOL CALLBACK FindChildByText(HWND window, LPARAM param)
{
    ChildSearch& search = *reinterpret_cast<ChildSearch*>(param);
    if (ClassOf(window) == search.className && TextOf(window) == search.text) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

// The wide item text of a list (LB_) or combo (CB_) box.
std::string WideItem(HWND control, UINT lengthMessage, UINT textMessage, int index)
{
    LRESULT length = -1;
    if (!Send(control, lengthMessage, index, 0, &length) || length < 0)
        return "<no item>";
    if (length > 1000)
        return "<item too long>";
    // Far larger than any item: Wine copies the whole text back.
    static wchar_t wide[8192];
    std::memset(wide, 0, sizeof wide);
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(control, textMessage, index, reinterpret_cast<LPARAM>(wide),
                             SMTO_NORMAL, REPLY_TIMEOUT_MS, &result))
        return "<no reply>";
    wide[sizeof wide / sizeof *wide - 1] = L'\0';
    char narrow[4096];
    int written = WideCharToMultiByte(CP_ACP, 0, wide, -1, narrow, sizeof narrow, nullptr, nullptr);
    if (written <= 0)
        return "<unconvertible>";
    narrow[sizeof narrow - 1] = '\0';
    return narrow;
}

bool IsFileDialog(HWND dialog)
{
    return FileNameField(dialog) != nullptr;
}

}  // namespace

// ---- Checks -------------------------------------------------------------

bool Check(bool cond, const char* file, int line, const char* format, ...)
{
    if (cond)
        return true;
    ++failures;
    const char* base = std::strrchr(file, '/');
    base = base ? base + 1 : file;
    char message[2048];
    va_list args;
    va_start(args, format);
    std::vsnprintf(message, sizeof message, format, args);
    va_end(args);
    std::printf("  FAIL %s:%d: %s%s%s\n", base, line, context, context[0] ? ": " : "", message);
    std::fflush(stdout);
    return false;
}

int FailureCount()
{
    return failures;
}

void ResetFailures()
{
    failures = 0;
    context[0] = '\0';
}

void SetContext(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::vsnprintf(context, sizeof context, format, args);
    va_end(args);
}

void Note(const char* format, ...)
{
    char message[2048];
    va_list args;
    va_start(args, format);
    std::vsnprintf(message, sizeof message, format, args);
    va_end(args);
    std::printf("  %s\n", message);
    std::fflush(stdout);
}

// ---- Time limits ----------------------------------------------------------

void ArmWatchdog(DWORD ms, const char* caseName)
{
    DisarmWatchdog();
    watchdogMs = ms;
    std::snprintf(watchdogCase, sizeof watchdogCase, "%s", caseName);
    watchdogCancel = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    watchdogThread = CreateThread(nullptr, 0, WatchdogMain, nullptr, 0, nullptr);
}

void DisarmWatchdog()
{
    if (!watchdogThread)
        return;
    SetEvent(watchdogCancel);
    WaitForSingleObject(watchdogThread, INFINITE);
    CloseHandle(watchdogThread);
    CloseHandle(watchdogCancel);
    watchdogThread = nullptr;
    watchdogCancel = nullptr;
}

// ---- Processes ------------------------------------------------------------

bool StartProgram(const char* exePath, const char* arguments, const char* currentDir,
                  Program* program)
{
    char commandLine[2048];
    int length = std::snprintf(commandLine, sizeof commandLine, "\"%s\"%s%s", exePath,
                               arguments[0] ? " " : "", arguments);
    if (length < 0 || length >= static_cast<int>(sizeof commandLine))
        return false;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(exePath, commandLine, nullptr, nullptr, FALSE, 0, nullptr, currentDir,
                        &startup, &info))
        return false;
    CloseHandle(info.hThread);
    program->process = info.hProcess;
    program->pid = info.dwProcessId;
    RememberProgram(info.hProcess);
    return true;
}

bool IsRunning(const Program& program)
{
    return program.process && WaitForSingleObject(program.process, 0) == WAIT_TIMEOUT;
}

bool WaitProgramExit(const Program& program, DWORD ms, DWORD* exitCode)
{
    if (!program.process || WaitForSingleObject(program.process, ms) != WAIT_OBJECT_0)
        return false;
    DWORD code = 0;
    GetExitCodeProcess(program.process, &code);
    if (exitCode)
        *exitCode = code;
    return true;
}

void EndProgram(Program* program)
{
    if (!program->process)
        return;
    if (IsRunning(*program)) {
        TerminateProcess(program->process, 3);
        WaitForSingleObject(program->process, EXIT_TIMEOUT_MS);
    }
    ForgetProgram(program->process);
    CloseHandle(program->process);
    program->process = nullptr;
    program->pid = 0;
}

std::string DriverFolder()
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path)
        return ".\\";
    char* slash = std::strrchr(path, '\\');
    if (slash)
        slash[1] = '\0';
    return path;
}

// ---- Windows --------------------------------------------------------------

std::string ClassOf(HWND window)
{
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window)
{
    static char text[4096];
    std::memset(text, 0, sizeof text);
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof text - 1, reinterpret_cast<LPARAM>(text),
                             SMTO_NORMAL, REPLY_TIMEOUT_MS, &result))
        return "<no reply>";
    text[sizeof text - 1] = '\0';
    return text;
}

std::vector<HWND> TopWindows(DWORD pid, const char* className, const char* title)
{
    std::vector<HWND> found;
    TopWindowSearch search = {pid, className, title, &found};
    EnumWindows(CollectTopWindow, reinterpret_cast<LPARAM>(&search));
    return found;
}

HWND WaitTopWindow(DWORD pid, const char* className, const char* title, DWORD ms)
{
    DWORD start = GetTickCount();
    for (;;) {
        std::vector<HWND> found = TopWindows(pid, className, title);
        if (!found.empty())
            return found.front();
        if (GetTickCount() - start > ms)
            return nullptr;
        Sleep(10);
    }
}

bool WaitWindowGone(HWND window, DWORD ms)
{
    DWORD start = GetTickCount();
    while (IsWindow(window) && IsWindowVisible(window)) {
        if (GetTickCount() - start > ms)
            return false;
        Sleep(10);
    }
    return true;
}

HWND ChildByText(HWND parent, const char* className, const char* text)
{
    ChildSearch search = {className, text, nullptr};
    EnumChildWindows(parent, FindChildByText, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

RECT RectInClient(HWND child, HWND parent)
{
    RECT rect = {};
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// ---- Messages ---------------------------------------------------------------

bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result, DWORD ms)
{
    DWORD_PTR reply = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, ms, &reply))
        return false;
    if (result)
        *result = static_cast<LRESULT>(reply);
    return true;
}

bool Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return PostMessageA(window, message, wParam, lParam) != 0;
}

bool PressKey(HWND target, UINT virtualKey)
{
    const UINT scanCode = MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC);
    const LPARAM down = 1 | (static_cast<LPARAM>(scanCode) << 16);
    const LPARAM up = down | (1u << 30) | (1u << 31);
    return Post(target, WM_KEYDOWN, virtualKey, down) && Post(target, WM_KEYUP, virtualKey, up);
}

bool Sync(HWND window)
{
    return Send(window, WM_NULL, 0, 0);
}

// ---- List boxes and combo boxes ------------------------------------------------

namespace {

// A list box and a combo box's list answer the same questions under
// different message numbers.
struct ListMessages {
    UINT count, selection, textLength, text;
};
const ListMessages LIST_BOX = {LB_GETCOUNT, LB_GETCURSEL, LB_GETTEXTLEN, LB_GETTEXT};
const ListMessages COMBO_BOX = {CB_GETCOUNT, CB_GETCURSEL, CB_GETLBTEXTLEN, CB_GETLBTEXT};

// noAnswer comes back when the control does not answer: -2 for a
// selection, where -1 already means that nothing is selected.
int Reply(HWND control, UINT message, LRESULT noAnswer)
{
    LRESULT reply = noAnswer;
    Send(control, message, 0, 0, &reply);
    return static_cast<int>(reply);
}

std::vector<std::string> AllItems(HWND control, const ListMessages& messages)
{
    std::vector<std::string> items;
    int count = Reply(control, messages.count, -1);
    for (int i = 0; i < count; ++i)
        items.push_back(WideItem(control, messages.textLength, messages.text, i));
    return items;
}

}  // namespace

int ListCount(HWND list) { return Reply(list, LIST_BOX.count, -1); }
int ListSelection(HWND list) { return Reply(list, LIST_BOX.selection, -2); }
std::string ListItem(HWND list, int index)
{
    return WideItem(list, LIST_BOX.textLength, LIST_BOX.text, index);
}
std::vector<std::string> ListItems(HWND list) { return AllItems(list, LIST_BOX); }

int ComboCount(HWND combo) { return Reply(combo, COMBO_BOX.count, -1); }
int ComboSelection(HWND combo) { return Reply(combo, COMBO_BOX.selection, -2); }
std::string ComboItem(HWND combo, int index)
{
    return WideItem(combo, COMBO_BOX.textLength, COMBO_BOX.text, index);
}
std::vector<std::string> ComboItems(HWND combo) { return AllItems(combo, COMBO_BOX); }

std::string ComboSelectedText(HWND combo)
{
    int selection = ComboSelection(combo);
    return selection < 0 ? std::string() : ComboItem(combo, selection);
}

// ---- Dialogs and message boxes ---------------------------------------------------

std::vector<HWND> VisibleDialogs(DWORD pid)
{
    return TopWindows(pid, "#32770", nullptr);
}

HWND WaitMessageBox(DWORD pid, const char* caption, DWORD ms)
{
    DWORD start = GetTickCount();
    for (;;) {
        for (HWND dialog : TopWindows(pid, "#32770", caption)) {
            // A file dialog may carry the same caption as its prompts.
            if (GetDlgItem(dialog, 0xFFFF) && !IsFileDialog(dialog))
                return dialog;
        }
        if (GetTickCount() - start > ms)
            return nullptr;
        Sleep(10);
    }
}

std::string MessageBoxText(HWND box)
{
    HWND text = GetDlgItem(box, 0xFFFF);
    return text ? TextOf(text) : std::string("<no text>");
}

bool PressDialogButton(HWND dialog, int buttonId, DWORD ms)
{
    HWND button = GetDlgItem(dialog, buttonId);
    if (!button)
        return false;
    if (!Post(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(button)))
        return false;
    return WaitWindowGone(dialog, ms);
}

HWND FileNameField(HWND fileDialog)
{
    // The explorer-style dialog has a combo box (cmb13) whose edit takes the
    // name; older templates have a plain edit (edt1).
    HWND combo = GetDlgItem(fileDialog, 0x47C);
    if (combo) {
        HWND edit = FindWindowExA(combo, nullptr, "Edit", nullptr);
        return edit ? edit : combo;
    }
    return GetDlgItem(fileDialog, 0x480);
}

bool ChooseFileName(HWND fileDialog, const char* name)
{
    HWND field = FileNameField(fileDialog);
    if (!field)
        return false;
    LRESULT set = 0;
    if (!Send(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name), &set) || !set)
        return false;
    if (TextOf(field) != name)
        return false;
    HWND ok = GetDlgItem(fileDialog, IDOK);
    return Post(fileDialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(ok));
}

// ---- Files -------------------------------------------------------------------

bool WriteBytes(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = bytes.empty() ||
              WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

bool ReadBytes(const std::string& path, std::string* bytes)
{
    bytes->clear();
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    char buffer[65536];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(file, buffer, sizeof buffer, &got, nullptr) != 0) && got > 0) {
        bytes->append(buffer, got);
        if (bytes->size() > (64u << 20)) {
            ok = false;
            break;
        }
    }
    CloseHandle(file);
    return ok;
}

bool FileExists(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool MakeFolders(const std::string& path)
{
    std::string partial;
    for (size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '\\') {
            if (!partial.empty() && partial.back() != ':') {
                if (!CreateDirectoryA(partial.c_str(), nullptr) &&
                    GetLastError() != ERROR_ALREADY_EXISTS)
                    return false;
            }
        }
        if (i < path.size())
            partial += path[i];
    }
    return true;
}

bool RemoveTree(const std::string& path)
{
    // Only what the tests made on their own drive.
    if (path.size() <= 3 || _strnicmp(path.c_str(), "D:\\", 3) != 0)
        return false;
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return true;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        return DeleteFileA(path.c_str()) != 0;
    }
    bool ok = true;
    for (const std::string& entry : FolderEntries(path))
        ok = RemoveTree(path + "\\" + entry) && ok;
    return RemoveDirectoryA(path.c_str()) != 0 && ok;
}

std::vector<std::string> FolderEntries(const std::string& folder)
{
    std::vector<std::string> entries;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return entries;
    do {
        if (std::strcmp(data.cFileName, ".") != 0 && std::strcmp(data.cFileName, "..") != 0)
            entries.push_back(data.cFileName);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    std::sort(entries.begin(), entries.end());
    return entries;
}

std::string DescribeDifference(const std::string& expected, const std::string& actual)
{
    if (expected == actual)
        return "";
    size_t common = std::min(expected.size(), actual.size());
    size_t at = 0;
    while (at < common && expected[at] == actual[at])
        ++at;
    char text[256];
    if (at == common) {
        std::snprintf(text, sizeof text, "%u bytes expected, %u found (equal up to there)",
                      static_cast<unsigned>(expected.size()), static_cast<unsigned>(actual.size()));
    } else {
        std::snprintf(text, sizeof text,
                      "first difference at offset %u: expected 0x%02X, found 0x%02X (%u bytes "
                      "expected, %u found)",
                      static_cast<unsigned>(at), static_cast<unsigned char>(expected[at]),
                      static_cast<unsigned char>(actual[at]), static_cast<unsigned>(expected.size()),
                      static_cast<unsigned>(actual.size()));
    }
    return text;
}

FileLock::FileLock(const std::string& path)
    : handle_(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr))
{
}

FileLock::~FileLock()
{
    Release();
}

void FileLock::Release()
{
    if (handle_ != INVALID_HANDLE_VALUE)
        CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
}

// ---- Screenshots --------------------------------------------------------------

bool Screenshot(const char* name, HWND window)
{
    const std::string ackFolder = "D:\\.e2e-ack";
    const std::string ack = ackFolder + "\\" + name;
    MakeFolders(ackFolder);
    DeleteFileA(ack.c_str());
    RECT rect = {};
    if (!GetWindowRect(window, &rect))
        return false;
    std::printf("@@SCREENSHOT %s %ld %ld %ld %ld\n", name, rect.left, rect.top,
                rect.right - rect.left, rect.bottom - rect.top);
    std::fflush(stdout);
    DWORD start = GetTickCount();
    std::string status;
    while (!ReadBytes(ack, &status) || status.empty()) {
        if (GetTickCount() - start > 20000)
            return false;
        Sleep(20);
    }
    return status.compare(0, 2, "ok") == 0;
}

}  // namespace e2e
