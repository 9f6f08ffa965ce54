#include "win_driver.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace e2e {

namespace {

int failures;
char context[256];

// What the watchdog ends; it only reads the slots, as a last resort.
HANDLE programs[32];
HANDLE watchdogThread, watchdogCancel;
DWORD watchdogMs;
char watchdogCase[128];

DWORD WINAPI WatchdogMain(void*)
{
    if (WaitForSingleObject(watchdogCancel, watchdogMs) != WAIT_TIMEOUT)
        return 0;
    std::printf("  FAIL: %s did not finish within %lu ms; ending its programs\n", watchdogCase, watchdogMs);
    for (HANDLE process : programs) {
        if (process)
            TerminateProcess(process, 3);
    }
    std::fflush(stdout);
    ExitProcess(3);
}

std::string Format(const char* format, va_list args)
{
    char text[2048];
    std::vsnprintf(text, sizeof text, format, args);
    return text;
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
    if (owner == search.pid && IsWindowVisible(window) &&
        (!search.className || ClassOf(window) == search.className) &&
        (!search.title || TextOf(window) == search.title))
        search.found->push_back(window);
    return TRUE;
}

}  // namespace

bool Check(bool cond, const char* file, int line, const char* format, ...)
{
    if (cond)
        return true;
    ++failures;
    const char* base = std::strrchr(file, '/');
    va_list args;
    va_start(args, format);
    const std::string message = Format(format, args);
    va_end(args);
    std::printf("  FAIL %s:%d: %s%s%s\n", base ? base + 1 : file, line, context, context[0] ? ": " : "",
                message.c_str());
    std::fflush(stdout);
    return false;
}

int FailureCount()
{
    return failures;
}

void SetContext(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::snprintf(context, sizeof context, "%s", Format(format, args).c_str());
    va_end(args);
}

void Note(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::printf("  %s\n", Format(format, args).c_str());
    va_end(args);
    std::fflush(stdout);
}

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
    watchdogThread = watchdogCancel = nullptr;
}

bool StartProgram(const char* exePath, const char* arguments, const char* currentDir, Program* program)
{
    char commandLine[2048];
    const int length = std::snprintf(commandLine, sizeof commandLine, "\"%s\"%s%s", exePath,
                                     arguments[0] ? " " : "", arguments);
    if (length < 0 || length >= static_cast<int>(sizeof commandLine))
        return false;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(exePath, commandLine, nullptr, nullptr, FALSE, 0, nullptr, currentDir, &startup,
                        &info))
        return false;
    CloseHandle(info.hThread);
    program->process = info.hProcess;
    program->pid = info.dwProcessId;
    for (HANDLE& slot : programs) {
        if (!slot) {
            slot = info.hProcess;
            break;
        }
    }
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
    for (HANDLE& slot : programs) {
        if (slot == program->process)
            slot = nullptr;
    }
    CloseHandle(program->process);
    *program = Program();
}

std::string DriverFolder()
{
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    char* slash = length && length < sizeof path ? std::strrchr(path, '\\') : nullptr;
    if (!slash)
        return ".\\";
    slash[1] = '\0';
    return path;
}

std::string ClassOf(HWND window)
{
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window)
{
    char text[4096] = "";
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof text - 1, reinterpret_cast<LPARAM>(text), SMTO_NORMAL,
                             REPLY_TIMEOUT_MS, &result))
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
    for (const DWORD start = GetTickCount();; Sleep(10)) {
        std::vector<HWND> found = TopWindows(pid, className, title);
        if (!found.empty())
            return found.front();
        if (GetTickCount() - start > ms)
            return nullptr;
    }
}

bool WaitWindowGone(HWND window, DWORD ms)
{
    for (const DWORD start = GetTickCount(); IsWindow(window) && IsWindowVisible(window); Sleep(10)) {
        if (GetTickCount() - start > ms)
            return false;
    }
    return true;
}

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
    const LPARAM down = 1 | (static_cast<LPARAM>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC)) << 16);
    return Post(target, WM_KEYDOWN, virtualKey, down) &&
           Post(target, WM_KEYUP, virtualKey, down | (1u << 30) | (1u << 31));
}

bool Sync(HWND window)
{
    return Send(window, WM_NULL, 0, 0);
}

std::vector<std::string> ComboItems(HWND combo)
{
    std::vector<std::string> items;
    LRESULT count = 0;
    Send(combo, CB_GETCOUNT, 0, 0, &count);
    for (int i = 0; i < count; ++i) {
        // Far larger than any item: Wine copies the whole text back.
        static wchar_t wide[8192];
        wide[0] = L'\0';
        DWORD_PTR result = 0;
        SendMessageTimeoutW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(wide), SMTO_NORMAL,
                            REPLY_TIMEOUT_MS, &result);
        wide[sizeof wide / sizeof *wide - 1] = L'\0';
        char narrow[4096] = "";
        WideCharToMultiByte(CP_ACP, 0, wide, -1, narrow, sizeof narrow - 1, nullptr, nullptr);
        items.push_back(narrow);
    }
    return items;
}

std::vector<HWND> VisibleDialogs(DWORD pid)
{
    return TopWindows(pid, "#32770", nullptr);
}

HWND WaitMessageBox(DWORD pid, const char* caption, DWORD ms)
{
    for (const DWORD start = GetTickCount(); GetTickCount() - start <= ms; Sleep(10)) {
        for (HWND dialog : TopWindows(pid, "#32770", caption)) {
            if (GetDlgItem(dialog, 0xFFFF) && !FileNameField(dialog))
                return dialog;
        }
    }
    return nullptr;
}

std::string MessageBoxText(HWND box)
{
    HWND text = GetDlgItem(box, 0xFFFF);
    return text ? TextOf(text) : std::string("<no text>");
}

bool PressDialogButton(HWND dialog, int buttonId, DWORD ms)
{
    HWND button = GetDlgItem(dialog, buttonId);
    return button &&
           Post(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(button)) &&
           WaitWindowGone(dialog, ms);
}

HWND FileNameField(HWND dialog)
{
    // The explorer-style dialog takes the name in the edit of combo box
    // cmb13; older templates have a plain edit, edt1.
    if (HWND combo = GetDlgItem(dialog, 0x47C)) {
        HWND edit = FindWindowExA(combo, nullptr, "Edit", nullptr);
        return edit ? edit : combo;
    }
    return GetDlgItem(dialog, 0x480);
}

bool WriteBytes(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const BOOL ok = bytes.empty() ||
                    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

bool ReadBytes(const std::string& path, std::string* bytes)
{
    bytes->clear();
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    char buffer[65536];
    DWORD got = 0;
    bool ok;
    while ((ok = ReadFile(file, buffer, sizeof buffer, &got, nullptr) != 0) && got > 0)
        bytes->append(buffer, got);
    CloseHandle(file);
    return ok;
}

bool FileExists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool MakeFolders(const std::string& path)
{
    for (size_t end = path.find('\\', 3);; end = path.find('\\', end + 1)) {
        const std::string part = path.substr(0, end);
        if (!CreateDirectoryA(part.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
        if (end == std::string::npos)
            return true;
    }
}

bool RemoveTree(const std::string& path)
{
    if (path.size() <= 3 || _strnicmp(path.c_str(), "D:\\", 3) != 0)
        return false;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return true;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) || (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return DeleteFileA(path.c_str()) || RemoveDirectoryA(path.c_str());
    bool ok = true;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((path + "\\*").c_str(), &entry);
    for (BOOL more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileA(find, &entry)) {
        if (std::strcmp(entry.cFileName, ".") != 0 && std::strcmp(entry.cFileName, "..") != 0)
            ok = RemoveTree(path + "\\" + entry.cFileName) && ok;
    }
    if (find != INVALID_HANDLE_VALUE)
        FindClose(find);
    return RemoveDirectoryA(path.c_str()) && ok;
}

bool Screenshot(const char* name, HWND window)
{
    const std::string ack = std::string("D:\\.e2e-ack\\") + name;
    MakeFolders("D:\\.e2e-ack");
    DeleteFileA(ack.c_str());
    RECT rect = {};
    if (!GetWindowRect(window, &rect))
        return false;
    std::printf("@@SCREENSHOT %s %ld %ld %ld %ld\n", name, rect.left, rect.top, rect.right - rect.left,
                rect.bottom - rect.top);
    std::fflush(stdout);
    std::string status;
    for (const DWORD start = GetTickCount(); !ReadBytes(ack, &status) || status.empty(); Sleep(20)) {
        if (GetTickCount() - start > 20000)
            return false;
    }
    return status.compare(0, 2, "ok") == 0;
}

}  // namespace e2e
