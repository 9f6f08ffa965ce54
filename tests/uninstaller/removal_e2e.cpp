// The uninstaller and the help under Wine, over a real installation made by
// the installer's own walk-through case (install_e2e.exe beside this
// driver). Usage: removal_e2e.exe removal|help
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "win_driver.h"

using namespace e2e;

namespace {

const std::string TARGET = "D:\\Program Files\\Velari\\";
const char CAPTION[] = "Velari Uninstaller";
const char PROGRAM_KEY[] = "SOFTWARE\\Quorvane\\Velari\\2.0";
const char UNINSTALL_KEY[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velari";

// Runs a program to its end with this driver's output, so that its own
// screenshots and failures reach the runner.
bool Run(const std::string& exe, const std::string& arguments)
{
    std::string line = "\"" + exe + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION info = {};
    std::fflush(stdout);
    if (!CreateProcessA(exe.c_str(), &line[0], nullptr, nullptr, TRUE, 0, nullptr, "D:\\", &startup, &info))
        return false;
    DWORD code = 1;
    WaitForSingleObject(info.hProcess, 360000);
    GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return code == 0;
}

bool Install()
{
    return EXPECT(Run(DriverFolder() + "install_e2e.exe", "walk_through"), "the installation failed");
}

std::string StartMenuFolder()
{
    char programs[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, programs);
    return std::string(programs) + "\\Velari\\";
}

bool KeyExists(HKEY root, const char* key)
{
    HKEY handle;
    if (RegOpenKeyExA(root, key, 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
}

// Every thing the installation makes, and whether it must be there.
void ExpectInstallation(bool files, bool folder, bool track, bool association, const char* cnt = nullptr)
{
    const std::string menu = StartMenuFolder();
    const struct { std::string path; bool present; } rows[] = {
        {TARGET + "Velari.exe", files}, {TARGET + "Velari.hlp", files}, {TARGET + "Removal.exe", files},
        {TARGET + "Velari.cnt", cnt ? true : files}, {TARGET + "mine.tra", track}, {TARGET.substr(0, TARGET.size() - 1), folder},
        {menu + "Velari v2.0.lnk", files}, {menu + "Velari Help.lnk", files},
        {menu + "Uninstall Velari.lnk", files}, {menu.substr(0, menu.size() - 1), files},
    };
    for (const auto& row : rows)
        EXPECT((GetFileAttributesA(row.path.c_str()) != INVALID_FILE_ATTRIBUTES) == row.present, "%s: %s", row.path.c_str(), row.present ? "missing" : "left");
    const struct { HKEY root; const char* key; bool present; } keys[] = {
        {HKEY_LOCAL_MACHINE, PROGRAM_KEY, files}, {HKEY_LOCAL_MACHINE, "SOFTWARE\\Quorvane", files},
        {HKEY_CLASSES_ROOT, "velari", files}, {HKEY_CLASSES_ROOT, ".tra", association},
        {HKEY_LOCAL_MACHINE, UNINSTALL_KEY, files},
    };
    for (const auto& row : keys)
        EXPECT(KeyExists(row.root, row.key) == row.present, "key %s: %s", row.key, row.present ? "missing" : "left");
}

// A message box of this caption in any process.
HWND FindBox(DWORD ms)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(50)) {
        HWND box = FindWindowA("#32770", CAPTION);
        if (box && IsWindowVisible(box))
            return box;
    }
    return nullptr;
}

// Answers the box, which must contain part, and waits for its process.
void Answer(HWND box, const char* part, int button)
{
    if (!EXPECT(box, "no \"%s\" box, expected \"%s\"", CAPTION, part))
        return;
    EXPECT(MessageBoxText(box).find(part) != std::string::npos, "it says \"%s\", expected \"%s\"",
           MessageBoxText(box).c_str(), part);
    DWORD pid = 0;
    GetWindowThreadProcessId(box, &pid);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    PressDialogButton(box, button);
    EXPECT(process && WaitForSingleObject(process, EXIT_TIMEOUT_MS) == WAIT_OBJECT_0, "it did not end");
    CloseHandle(process);
}

// Through the system's list of programs: the question, then the copy's
// closing message, which must contain closing.
void Uninstall(int answer, const char* closing)
{
    Program list;
    if (!EXPECT(StartProgram("C:\\windows\\system32\\uninstaller.exe", "--remove Velari", "D:\\", &list),
                "cannot start uninstaller.exe"))
        return;
    HWND question = FindBox(WINDOW_TIMEOUT_MS);
    if (question && answer == IDYES)
        Screenshot("removal_question", question);
    Answer(question, "Remove Velari and all of its components?", answer);
    EXPECT(WaitProgramExit(list, EXIT_TIMEOUT_MS, nullptr), "uninstaller.exe did not end");
    EndProgram(&list);
    if (closing)
        Answer(FindBox(WINDOW_TIMEOUT_MS), closing, IDOK);
}

std::string PendingRemovals()
{
    char value[4096] = "";
    DWORD size = sizeof value - 2;
    RegGetValueA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Session Manager",
                 "PendingFileRenameOperations", RRF_RT_REG_MULTI_SZ, nullptr, value, &size);
    for (DWORD at = 0; at + 1 < size; ++at)
        value[at] = value[at] ? value[at] : '|';
    return value;
}

void Removal()
{
    if (!Install())
        return;
    WriteBytes(TARGET + "mine.tra", "the user's own");
    SetContext("removal: No");
    Uninstall(IDNO, nullptr);
    ExpectInstallation(true, true, true, true);

    SetContext("removal: a file in use, the association taken over");
    RegSetValueA(HKEY_CLASSES_ROOT, ".tra", REG_SZ, "othertool", 9);
    HANDLE lock = CreateFileA((TARGET + "Velari.cnt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    Uninstall(IDYES, (TARGET + "Velari.cnt").c_str());
    CloseHandle(lock);
    ExpectInstallation(false, true, true, true, "in use");
    EXPECT(PendingRemovals().find("vlr") != std::string::npos, "no removal at restart: %s", PendingRemovals().c_str());

    SetContext("removal: everything");
    DeleteFileA((TARGET + "mine.tra").c_str());
    if (!Install())
        return;
    Uninstall(IDYES, "Velari was removed.");
    ExpectInstallation(false, false, false, false);

    SetContext("removal: nothing installed");
    MakeFolders("D:\\elsewhere");
    std::string program;
    ReadBytes(DriverFolder() + "Removal.exe", &program);
    WriteBytes("D:\\elsewhere\\Removal.exe", program);
    Program removal;
    StartProgram("D:\\elsewhere\\Removal.exe", "", "D:\\", &removal);
    Answer(FindBox(WINDOW_TIMEOUT_MS), "Velari is not installed here. Nothing was removed.", IDOK);
    EndProgram(&removal);
    EXPECT(FileExists("D:\\elsewhere\\Removal.exe"), "it removed itself");
}

// The help viewer's window, in whatever process shows it, and its text.
BOOL CALLBACK KeepViewer(HWND window, LPARAM found)
{
    if (IsWindowVisible(window) && ClassOf(window) == "MS_WINHELP")
        *reinterpret_cast<HWND*>(found) = window;
    return TRUE;
}

HWND Viewer(DWORD ms)
{
    HWND found = nullptr;
    for (DWORD start = GetTickCount(); GetTickCount() - start < ms && !found; Sleep(100))
        EnumWindows(KeepViewer, reinterpret_cast<LPARAM>(&found));
    return found;
}

BOOL CALLBACK KeepRichText(HWND child, LPARAM text)
{
    std::string name = ClassOf(child);
    CharUpperBuffA(&name[0], static_cast<DWORD>(name.size()));
    if (name.find("RICHEDIT") != std::string::npos)
        *reinterpret_cast<std::string*>(text) = TextOf(child);
    return TRUE;
}

std::string TopicText(HWND viewer)
{
    std::string text;
    EnumChildWindows(viewer, KeepRichText, reinterpret_cast<LPARAM>(&text));
    return text;
}

BOOL CALLBACK KeepNextButton(HWND child, LPARAM found)
{
    if (TextOf(child) == "&>>")
        *reinterpret_cast<HWND*>(found) = child;
    return TRUE;
}

bool ShowsTopic(HWND viewer, const std::string& title)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < WINDOW_TIMEOUT_MS; Sleep(100))
        if (TopicText(viewer).compare(0, title.size(), title) == 0)
            return true;
    return EXPECT(false, "the viewer shows \"%.60s\", expected \"%s\"", TopicText(viewer).c_str(), title.c_str());
}

void CloseViewer()
{
    if (HWND viewer = Viewer(1000)) {
        Post(viewer, WM_CLOSE, 0, 0);
        WaitWindowGone(viewer, WINDOW_TIMEOUT_MS);
    }
}

void Help()
{
    const std::string help = TARGET + "Velari.hlp";
    HWND owner = CreateWindowA("STATIC", "help owner", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    if (!Install())
        return;
    SetContext("help: the viewer");
    // A viewer that the call starts may not have its window in time.
    if (!WinHelpA(owner, help.c_str(), HELP_FINDER, 0)) {
        for (DWORD start = GetTickCount(); !FindWindowA("MS_WINHELP", nullptr) && GetTickCount() - start < 5000;)
            Sleep(100);
        WinHelpA(owner, help.c_str(), HELP_FINDER, 0);
    }
    HWND viewer = Viewer(WINDOW_TIMEOUT_MS);
    if (!EXPECT(viewer, "no viewer") || !ShowsTopic(viewer, "Velari Help"))
        return;
    Screenshot("help_viewer", viewer);
    // The viewer takes no jump commands from other programs: walk its
    // topics with its ">>" button instead; each title that Velari.cnt lists
    // must be among them.
    std::string titles;
    for (int page = 0; page < 12; ++page) {
        HWND next = nullptr;  // each topic makes its buttons anew
        EnumChildWindows(viewer, KeepNextButton, reinterpret_cast<LPARAM>(&next));
        if (!EXPECT(next, "no >> button"))
            break;
        titles += "|" + TopicText(viewer).substr(0, TopicText(viewer).find_first_of("\r\n")) + "|";
        Send(GetParent(next), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(next), BN_CLICKED), reinterpret_cast<LPARAM>(next));
        Sleep(300);
    }
    std::string contents;
    EXPECT(ReadBytes(TARGET + "Velari.cnt", &contents), "no Velari.cnt");
    int topics = 0;
    for (size_t at = 0, end; at < contents.size(); at = end + 1) {
        end = contents.find('\n', at);
        end = end == std::string::npos ? contents.size() : end;
        const std::string line = contents.substr(at, end - at);
        const size_t equals = line.find('=');
        if (equals == std::string::npos || line[0] < '1' || line[0] > '9')
            continue;
        const std::string title = line.substr(line.find(' ') + 1, equals - line.find(' ') - 1);
        EXPECT(titles.find("|" + title + "|") != std::string::npos, "no topic \"%s\" in %s", title.c_str(), titles.c_str());
        ++topics;
    }
    EXPECT(topics >= 7, "Velari.cnt lists %d topics", topics);
    CloseViewer();

    SetContext("help: Help > Contents of an editor started elsewhere");
    Program editor;
    StartProgram((TARGET + "Velari.exe").c_str(), "", "D:\\data", &editor);
    HWND window = WaitTopWindow(editor.pid, "Velari", nullptr, WINDOW_TIMEOUT_MS);
    Post(window, WM_COMMAND, 1010, 0);
    EXPECT(Viewer(WINDOW_TIMEOUT_MS), "no viewer");
    Sleep(1000);
    HWND box = FindWindowA("#32770", nullptr);
    EXPECT(!box || !IsWindowVisible(box) || MessageBoxText(box).find("Cannot find") == std::string::npos,
           "the viewer says: %s", MessageBoxText(box).c_str());
    Screenshot("editor_with_help", window);
    EndProgram(&editor);
    CloseViewer();

    SetContext("help: the Velari Help shortcut");
    Program start;
    StartProgram("C:\\windows\\system32\\start.exe", ("\"" + StartMenuFolder() + "Velari Help.lnk\"").c_str(), "D:\\", &start);
    EXPECT(Viewer(WINDOW_TIMEOUT_MS), "no viewer");
    EndProgram(&start);
    CloseViewer();
}

}  // namespace

int main(int argc, char** argv)
{
    const struct { const char* name; void (*run)(); } cases[] = {{"removal", Removal}, {"help", Help}};
    for (const auto& c : cases) {
        if (argc != 2 || strcmp(c.name, argv[1]) != 0)
            continue;
        CoInitialize(nullptr);
        ArmWatchdog(600000, c.name);
        SetContext("%s", c.name);
        c.run();
        DisarmWatchdog();
        std::printf("%s: %d failure(s)\n", c.name, FailureCount());
        return FailureCount() == 0 ? 0 : 1;
    }
    std::fprintf(stderr, "usage: removal_e2e.exe removal|help\n");
    return 2;
}
