#include "win_driver.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace e2e {

namespace {

int failures;
char context[256];
HANDLE programs[32];  // what the watchdog ends
HANDLE watchdog;

DWORD WINAPI Watchdog(void* ms)
{
    Sleep(static_cast<DWORD>(reinterpret_cast<INT_PTR>(ms)));
    std::printf("  FAIL: the case did not finish in time; ending its programs\n");
    for (HANDLE process : programs)
        TerminateProcess(process, 3);
    std::fflush(stdout);
    ExitProcess(3);
}

std::string Format(const char* format, va_list args)
{
    char text[2048];
    std::vsnprintf(text, sizeof text, format, args);
    return text;
}

struct Search {
    DWORD pid;
    const char *className, *title;
    std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND window, LPARAM param)
{
    Search& search = *reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search.pid && IsWindowVisible(window) && (!search.className || ClassOf(window) == search.className) &&
        (!search.title || TextOf(window) == search.title))
        search.found.push_back(window);
    return TRUE;
}

}  // namespace

bool Check(bool cond, const char* file, int line, const char* format, ...)
{
    if (cond)
        return true;
    ++failures;
    va_list args;
    va_start(args, format);
    const char* base = std::strrchr(file, '/');
    std::printf("  FAIL %s:%d: %s%s%s\n", base ? base + 1 : file, line, context, context[0] ? ": " : "",
                Format(format, args).c_str());
    va_end(args);
    std::fflush(stdout);
    return false;
}

int FailureCount() { return failures; }

void SetContext(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::snprintf(context, sizeof context, "%s", Format(format, args).c_str());
    va_end(args);
}

void ArmWatchdog(DWORD ms, const char*)
{
    DisarmWatchdog();
    watchdog = CreateThread(nullptr, 0, Watchdog, reinterpret_cast<void*>(static_cast<INT_PTR>(ms)), 0, nullptr);
}

void DisarmWatchdog()
{
    if (watchdog && TerminateThread(watchdog, 0))
        CloseHandle(watchdog);
    watchdog = nullptr;
}

bool StartProgram(const char* exePath, const char* arguments, const char* currentDir, Program* program)
{
    char line[2048];
    const int length = std::snprintf(line, sizeof line, "\"%s\"%s%s", exePath, arguments[0] ? " " : "", arguments);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (length < 0 || length >= static_cast<int>(sizeof line) ||
        !CreateProcessA(exePath, line, nullptr, nullptr, FALSE, 0, nullptr, currentDir, &startup, &info))
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
    DWORD code = 0;
    if (!program.process || WaitForSingleObject(program.process, ms) != WAIT_OBJECT_0)
        return false;
    GetExitCodeProcess(program.process, &code);
    if (exitCode)
        *exitCode = code;
    return true;
}

void EndProgram(Program* program)
{
    if (!program->process)
        return;
    if (IsRunning(*program) && TerminateProcess(program->process, 3))
        WaitForSingleObject(program->process, EXIT_TIMEOUT_MS);
    for (HANDLE& slot : programs) {
        if (slot == program->process)
            slot = nullptr;
    }
    CloseHandle(program->process);
    *program = Program();
}

std::string DriverFolder()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path - 1);
    char* slash = std::strrchr(path, '\\');
    return slash ? std::string(path, slash + 1) : std::string(".\\");
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
    return text;
}

std::vector<HWND> TopWindows(DWORD pid, const char* className, const char* title)
{
    Search search = {pid, className, title, {}};
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitTopWindow(DWORD pid, const char* className, const char* title, DWORD ms)
{
    for (const DWORD start = GetTickCount();; Sleep(10)) {
        std::vector<HWND> found = TopWindows(pid, className, title);
        if (!found.empty() || GetTickCount() - start > ms)
            return found.empty() ? nullptr : found.front();
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
    return Post(target, WM_KEYDOWN, virtualKey, down) && Post(target, WM_KEYUP, virtualKey, down | (3u << 30));
}

bool Sync(HWND window)
{
    return Send(window, WM_NULL, 0, 0);
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
    return button && Post(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(button)) &&
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
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    const bool ok = file != INVALID_HANDLE_VALUE &&
                    (bytes.empty() || WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr)) &&
                    written == bytes.size();
    CloseHandle(file);
    return ok;
}

bool ReadBytes(const std::string& path, std::string* bytes)
{
    bytes->clear();
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    char buffer[65536];
    DWORD got = 0;
    bool ok = file != INVALID_HANDLE_VALUE;
    while (ok && (ok = ReadFile(file, buffer, sizeof buffer, &got, nullptr)) && got > 0)
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
        if (!CreateDirectoryA(path.substr(0, end).c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
        if (end == std::string::npos)
            return true;
    }
}

bool RemoveTree(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (path.size() <= 3 || _strnicmp(path.c_str(), "D:\\", 3) != 0)
        return false;
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return true;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    // A link to a folder goes, not what it leads to.
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) || (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return DeleteFileA(path.c_str()) || RemoveDirectoryA(path.c_str());
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((path + "\\*").c_str(), &entry);
    bool ok = true;
    for (BOOL more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileA(find, &entry)) {
        if (std::strcmp(entry.cFileName, ".") && std::strcmp(entry.cFileName, ".."))
            ok = RemoveTree(path + "\\" + entry.cFileName) && ok;
    }
    FindClose(find);
    return RemoveDirectoryA(path.c_str()) && ok;
}

bool Screenshot(const char* name, HWND window)
{
    const std::string ack = std::string("D:\\.e2e-ack\\") + name;
    RECT rect = {};
    DeleteFileA(ack.c_str());
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
