// The installer's end-to-end cases: install.exe runs under Wine from
// D:\SETUP (the distribution, put there by prepare_installer_world.sh) and
// this driver works its wizard as a person would, then looks at what reached
// the disk, the registry and the shell.
//
// Usage: install_e2e.exe CASE
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "win_driver.h"

using namespace e2e;

namespace {

const char SETUP[] = "D:\\SETUP";
const std::string TARGET = "D:\\Program Files\\Velari\\";
const char PROGRAM_KEY[] = "SOFTWARE\\Quorvane\\Velari\\2.0";
const char UNINSTALL_KEY[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velari";
enum { IDC_BACK = 102, IDC_NEXT = 103, IDC_PROGRESS_BAR = 104, IDC_FIRST_TEXT = 105,
       IDC_BROWSE = 112, IDC_FOLDER_FIELD = 113, IDC_TARGET_FIELD = 118, IDC_GAME_FIELD = 119 };

// Pages by the start of their first text.
const struct { const char* name; const char* text; } PAGES[] = {
    {"welcome", "Welcome to the Velari Installation Program!"},
    {"target", "The first step in installing Velari"},
    {"game", "Velari Installer has found what appears"},
    {"summary", "Velari Installer has gathered"},
    {"finish", "Velari Installer has successfully installed Velari!"},
    {"incomplete", "The installation of Velari is incomplete"},
};

std::string Text(HWND dialog, int id)
{
    return TextOf(GetDlgItem(dialog, id));
}

bool StartsWith(const std::string& text, const char* start)
{
    return text.compare(0, strlen(start), start) == 0;
}

const char* PageName(HWND dialog)
{
    for (const auto& page : PAGES)
        if (StartsWith(Text(dialog, IDC_FIRST_TEXT), page.text))
            return page.name;
    return "unknown";
}

// The page now shown, which must be the named one.
HWND Page(const Program& installer, const char* name)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < 60000; Sleep(20))
        for (HWND dialog : TopWindows(installer.pid, "#32770", "Velari Installer"))
            if (GetDlgItem(dialog, IDC_FIRST_TEXT)) {
                EXPECT(strcmp(PageName(dialog), name) == 0, "page %s shown, expected %s",
                       PageName(dialog), name);
                return dialog;
            }
    EXPECT(false, "no page shown, expected %s", name);
    return nullptr;
}

bool Press(const Program& installer, const char* page, int button)
{
    HWND dialog = Page(installer, page);
    return dialog && EXPECT(PressDialogButton(dialog, button), "%s: cannot press %d", page, button);
}

// Answers the message box of this caption, whose text must contain part.
void Answer(const Program& installer, const char* caption, const std::string& part, int button)
{
    HWND box = WaitMessageBox(installer.pid, caption, 60000);
    if (!EXPECT(box, "no message box \"%s\"", caption))
        return;
    std::string text = MessageBoxText(box);
    EXPECT(text.find(part) != std::string::npos, "\"%s\" says \"%s\", expected \"%s\"", caption,
           text.c_str(), part.c_str());
    EXPECT(PressDialogButton(box, button), "cannot answer \"%s\"", caption);
}

void ExpectExit(Program* installer)
{
    DWORD code = 1;
    EXPECT(WaitProgramExit(*installer, EXIT_TIMEOUT_MS, &code) && code == 0,
           "the installer did not end with 0 (%lu)", code);
    EndProgram(installer);
}

bool StartInstaller(Program* installer, const char* folder = SETUP)
{
    std::string exe = std::string(folder) + "\\install.exe";
    return EXPECT(StartProgram(exe.c_str(), "", folder, installer), "cannot start %s", exe.c_str());
}

// Welcome, target page (asking to create the folder when it is missing) and
// the search; the game page's folder.
std::string ToGamePage(const Program& installer, bool createFolder)
{
    Press(installer, "welcome", IDC_NEXT);
    Press(installer, "target", IDC_NEXT);
    if (createFolder)
        Answer(installer, "Create Folder?",
               "The Specified Target Folder Does Not Exist! Create It Now?", IDYES);
    HWND game = Page(installer, "game");
    return game ? Text(game, IDC_FOLDER_FIELD) : "";
}

void Abort(Program* installer, const char* page)
{
    Press(*installer, page, IDCANCEL);
    Answer(*installer, "Abort!", "Abort Installation of Velari?", IDYES);
    ExpectExit(installer);
}

// Runs the installation from the summary page; the finish page's first text.
std::string Install(const Program& installer)
{
    Press(installer, "game", IDC_NEXT);
    Press(installer, "summary", IDC_NEXT);
    for (DWORD start = GetTickCount(); GetTickCount() - start < 60000; Sleep(20))
        for (HWND dialog : TopWindows(installer.pid, "#32770", "Velari Installer"))
            if (TextOf(GetDlgItem(dialog, IDC_NEXT)) == "Finish")
                return Text(dialog, IDC_FIRST_TEXT);
    EXPECT(false, "no finish page");
    return "";
}

void FreshTarget()
{
    RemoveTree("D:\\Program Files");
    MakeFolders("D:\\Program Files");
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, PROGRAM_KEY);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, UNINSTALL_KEY);
    RegDeleteTreeA(HKEY_CLASSES_ROOT, ".tra");
    RegDeleteTreeA(HKEY_CLASSES_ROOT, "velari");
}

// The game executable placed at each path for the duration of one row.
struct Placement {
    std::vector<std::string> paths;
    explicit Placement(std::vector<std::string> where) : paths(std::move(where))
    {
        for (const std::string& path : paths) {
            MakeFolders(path.substr(0, path.rfind('\\')));
            EXPECT(WriteBytes(path, "game"), "cannot write %s", path.c_str());
        }
    }
    ~Placement()
    {
        for (const std::string& path : paths) {
            DeleteFileA(path.c_str());
            RemoveDirectoryA(path.substr(0, path.rfind('\\')).c_str());
        }
    }
};

std::string ValueOf(HKEY root, const char* key, const char* name)
{
    char value[MAX_PATH] = "";
    DWORD type = 0, size = sizeof value;
    LONG result = RegGetValueA(root, key, name, RRF_RT_ANY, &type, value, &size);
    if (result != ERROR_SUCCESS)
        return "<none>";
    if (type != REG_SZ || size != strlen(value) + 1)
        return "<not a REG_SZ of its length>";
    return value;
}

void ExpectRegistry(const std::string& gameFolder)
{
    const struct { HKEY root; const char* key; const char* name; std::string value; } rows[] = {
        {HKEY_LOCAL_MACHINE, PROGRAM_KEY, "HDDir", TARGET},
        {HKEY_LOCAL_MACHINE, PROGRAM_KEY, "TraDir", gameFolder},
        {HKEY_CLASSES_ROOT, ".tra", nullptr, "velari"},
        {HKEY_CLASSES_ROOT, "velari\\DefaultIcon", nullptr, TARGET + "Velari.exe,1"},
        {HKEY_CLASSES_ROOT, "velari\\shell\\open\\command", nullptr, "\"" + TARGET + "Velari.exe\" %1"},
        {HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "DisplayName", "Velari v2.0"},
        {HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "UninstallString", "\"" + TARGET + "removal.exe\""},
    };
    for (const auto& row : rows) {
        std::string value = ValueOf(row.root, row.key, row.name);
        EXPECT(value == row.value, "%s %s: \"%s\", expected \"%s\"", row.key, row.name ? row.name : "",
               value.c_str(), row.value.c_str());
    }
}

// The installed files against the originals the distribution was made of.
void ExpectFiles()
{
    for (const char* name : {"Removal.exe", "Velari.exe", "Velari.hlp", "Velari.cnt"}) {
        std::string original, installed;
        ReadBytes(DriverFolder() + name, &original);
        EXPECT(ReadBytes(TARGET + name, &installed) && installed == original && !original.empty(),
               "%s differs from its original (%u bytes, expected %u)", name,
               static_cast<unsigned>(installed.size()), static_cast<unsigned>(original.size()));
    }
}

void ExpectShortcuts()
{
    char programs[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, programs);
    const struct { const char* link; std::string target; const char* description; } rows[] = {
        {"Velari v2.0.lnk", TARGET + "Velari.exe", "Velari v2.0"},
        {"Velari Help.lnk", TARGET + "Velari.hlp", "Velari Help"},
        {"Uninstall Velari.lnk", TARGET + "removal.exe", "Uninstall Velari"},
    };
    for (const auto& row : rows) {
        std::string path = std::string(programs) + "\\Velari\\" + row.link;
        IShellLinkA* link = nullptr;
        IPersistFile* file = nullptr;
        WCHAR wide[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
        char target[MAX_PATH] = "", description[MAX_PATH] = "";
        if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                       reinterpret_cast<void**>(&link))) &&
            SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
            SUCCEEDED(file->Load(wide, STGM_READ))) {
            link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
            link->GetDescription(description, MAX_PATH);
        }
        if (file)
            file->Release();
        if (link)
            link->Release();
        EXPECT(_stricmp(target, row.target.c_str()) == 0 && row.description == std::string(description),
               "%s: \"%s\" \"%s\"", path.c_str(), target, description);
    }
}

// What Wine's list of installed programs shows.
std::string UninstallList()
{
    Program cmd;
    DWORD code = 1;
    DeleteFileA("D:\\uninstall-list.txt");
    if (StartProgram("C:\\windows\\system32\\cmd.exe", "/c uninstaller.exe --list > D:\\uninstall-list.txt",
                     "D:\\", &cmd))
        WaitProgramExit(cmd, 60000, &code);
    EndProgram(&cmd);
    std::string list;
    ReadBytes("D:\\uninstall-list.txt", &list);
    return list;
}

// Opens a track through the shell; then, in the editor, a bare name typed
// into its Open dialog must come from TraDir.
void ExpectTrackOpens(const std::string& gameFolder)
{
    std::string track, marker;
    ReadBytes("D:\\data\\sample-small.tra", &track);
    ReadBytes("D:\\data\\sample-2000.tra", &marker);
    MakeFolders("D:\\My Tracks");
    WriteBytes("D:\\My Tracks\\opened.tra", track);
    WriteBytes(gameFolder + "marker.tra", marker);
    SHELLEXECUTEINFOA run = {};
    run.cbSize = sizeof run;
    run.fMask = SEE_MASK_NOCLOSEPROCESS;
    run.lpVerb = "open";
    run.lpFile = "D:\\My Tracks\\opened.tra";
    run.nShow = SW_SHOWNORMAL;
    if (!EXPECT(ShellExecuteExA(&run) && run.hProcess, "the shell did not open the track"))
        return;
    Program editor;
    editor.process = run.hProcess;
    editor.pid = GetProcessId(run.hProcess);
    HWND window = WaitTopWindow(editor.pid, "Velari", nullptr, WINDOW_TIMEOUT_MS);
    if (EXPECT(window, "the installed editor did not start")) {
        Screenshot("installed_editor", window);
        EXPECT(TextOf(GetDlgItem(window, 1100)) == "PINE VALLEY", "track name shown: %s",
               TextOf(GetDlgItem(window, 1100)).c_str());
    }
    EndProgram(&editor);
    // Started without a track, a bare name typed into Open is taken from
    // TraDir, not from the current folder.
    WriteBytes("D:\\marker.tra", track);
    if (!EXPECT(StartProgram((TARGET + "Velari.exe").c_str(), "", "D:\\", &editor), "cannot start the editor"))
        return;
    window = WaitTopWindow(editor.pid, "Velari", nullptr, WINDOW_TIMEOUT_MS);
    if (window) {
        Post(window, WM_COMMAND, 1004, 0);
        HWND open = WaitTopWindow(editor.pid, "#32770", "Open Track", WINDOW_TIMEOUT_MS);
        if (EXPECT(open && FileNameField(open), "no Open dialog")) {
            Send(FileNameField(open), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("marker.tra"));
            EXPECT(PressDialogButton(open, IDOK), "the Open dialog stayed");
            for (DWORD start = GetTickCount(); GetTickCount() - start < 5000; Sleep(50))
                if (TextOf(GetDlgItem(window, 1100)) == "THE LONG HAUL")
                    break;
            EXPECT(TextOf(GetDlgItem(window, 1100)) == "THE LONG HAUL", "after Open: %s",
                   TextOf(GetDlgItem(window, 1100)).c_str());
        }
    }
    EndProgram(&editor);
}

void WalkThrough()
{
    FreshTarget();
    Placement game({"D:\\GAMES\\GRAVION\\gravion.exe"});
    Program installer;
    if (!StartInstaller(&installer))
        return;
    HWND welcome = Page(installer, "welcome");
    EXPECT(welcome && !IsWindowEnabled(GetDlgItem(welcome, IDC_BACK)), "Back is enabled on the welcome page");
    Screenshot("page_welcome", welcome);
    Press(installer, "welcome", IDC_NEXT);
    HWND target = Page(installer, "target");
    EXPECT(Text(target, IDC_FOLDER_FIELD) == TARGET, "target page: %s", Text(target, IDC_FOLDER_FIELD).c_str());
    Screenshot("page_target", target);
    PressDialogButton(target, IDC_NEXT);
    Answer(installer, "Create Folder?", "The Specified Target Folder Does Not Exist! Create It Now?", IDYES);
    HWND gamePage = Page(installer, "game");
    EXPECT(Text(gamePage, IDC_FOLDER_FIELD) == "D:\\GAMES\\GRAVION\\", "game page: %s",
           Text(gamePage, IDC_FOLDER_FIELD).c_str());
    Screenshot("page_game", gamePage);
    PressDialogButton(gamePage, IDC_NEXT);
    HWND summary = Page(installer, "summary");
    EXPECT(Text(summary, IDC_TARGET_FIELD) == TARGET && Text(summary, IDC_GAME_FIELD) == "D:\\GAMES\\GRAVION\\",
           "summary: %s | %s", Text(summary, IDC_TARGET_FIELD).c_str(), Text(summary, IDC_GAME_FIELD).c_str());
    Screenshot("page_summary", summary);
    PressDialogButton(summary, IDC_NEXT);
    HWND finish = Page(installer, "finish");
    EXPECT(finish && !IsWindowEnabled(GetDlgItem(finish, IDC_BACK)), "Back is enabled on the finish page");
    Screenshot("page_finish", finish);
    Press(installer, "finish", IDC_NEXT);
    ExpectExit(&installer);

    ExpectFiles();
    ExpectRegistry("D:\\GAMES\\GRAVION\\");
    ExpectShortcuts();
    std::string list = UninstallList();
    EXPECT(list.find("Velari|||Velari v2.0") != std::string::npos, "uninstaller --list: %s", list.c_str());
    ExpectTrackOpens("D:\\GAMES\\GRAVION\\");
}


HWND ProgressWindow(const Program& installer)
{
    for (HWND dialog : TopWindows(installer.pid, "#32770", "Velari Installer"))
        if (GetDlgItem(dialog, IDC_PROGRESS_BAR))
            return dialog;
    return nullptr;
}

// Every way of cancelling, answered No, shows the same page afresh; Back
// goes to the page before, and from the game page through a new search.
void PageMoves()
{
    FreshTarget();
    MakeFolders(TARGET);
    Placement* game = new Placement({"D:\\GAMES\\FIRST\\gravion.exe"});
    const struct { const char* page; const char* action; const char* next; const char* field; } steps[] = {
        {"welcome", "cancel", "welcome", nullptr}, {"welcome", "esc", "welcome", nullptr},
        {"welcome", "close", "welcome", nullptr}, {"welcome", "next", "target", TARGET.c_str()},
        {"target", "cancel", "target", TARGET.c_str()}, {"target", "esc", "target", TARGET.c_str()},
        {"target", "close", "target", TARGET.c_str()}, {"target", "browse", "target", TARGET.c_str()},
        {"target", "back", "welcome", nullptr}, {"welcome", "next", "target", TARGET.c_str()},
        {"target", "next", "game", "D:\\GAMES\\FIRST\\"},
        {"game", "cancel", "game", "D:\\GAMES\\FIRST\\"}, {"game", "esc", "game", "D:\\GAMES\\FIRST\\"},
        {"game", "close", "game", "D:\\GAMES\\FIRST\\"}, {"game", "browse", "game", "D:\\GAMES\\FIRST\\"},
        {"game", "next", "summary", nullptr}, {"summary", "cancel", "summary", nullptr},
        {"summary", "esc", "summary", nullptr}, {"summary", "close", "summary", nullptr},
        {"summary", "move the game", "summary", nullptr},
        {"summary", "back", "game", "D:\\GAMES\\FIRST\\"},
        {"game", "back", "game", "D:\\GAMES\\SECOND\\"},
    };
    Program installer;
    if (!StartInstaller(&installer))
        return;
    for (const auto& step : steps) {
        SetContext("page_moves: %s on %s", step.action, step.page);
        HWND page = Page(installer, step.page);
        if (!page)
            break;
        const std::string action = step.action;
        if (action == "next" || action == "back")
            PressDialogButton(page, action == "next" ? IDC_NEXT : IDC_BACK);
        else if (action == "browse") {
            PressDialogButton(page, IDC_BROWSE);
            Answer(installer, "ERROR", "Error creating Dialog Box", IDOK);
        } else if (action == "move the game") {
            delete game;
            game = new Placement({"D:\\GAMES\\SECOND\\gravion.exe"});
        } else {
            if (action == "cancel")
                PressDialogButton(page, IDCANCEL);
            else if (action == "esc")
                PressKey(GetDlgItem(page, IDCANCEL), VK_ESCAPE);
            else
                Post(page, WM_SYSCOMMAND, SC_CLOSE, 0);
            EXPECT(WaitWindowGone(page, WINDOW_TIMEOUT_MS), "the page stayed");
            Answer(installer, "Abort!", "Abort Installation of Velari?", IDNO);
        }
        HWND next = Page(installer, step.next);
        if (step.field)
            EXPECT(next && Text(next, IDC_FOLDER_FIELD) == step.field, "field shows \"%s\", expected \"%s\"",
                   Text(next, IDC_FOLDER_FIELD).c_str(), step.field);
    }
    SetContext("page_moves: abort");
    Abort(&installer, "game");
    delete game;
}

void Search()
{
    FreshTarget();
    MakeFolders(TARGET);
    const struct { const char* what; std::vector<std::string> files; const char* hidden; const char* expected; } rows[] = {
        {"nothing but behind links and on the CD-ROM", {}, nullptr, "C:\\Gravion\\"},
        {"at the root of D:", {"D:\\gravion.exe"}, nullptr, "D:\\"},
        {"upper-case name", {"D:\\GAMES\\Caps\\GRAVION.EXE"}, nullptr, "D:\\GAMES\\Caps\\"},
        {"on C: and D:", {"D:\\GAMES\\GRAVION\\gravion.exe", "C:\\GRAVTEST\\gravion.exe"}, nullptr, "C:\\GRAVTEST\\"},
        {"hidden file", {"D:\\GAMES\\HIDE\\gravion.exe"}, "D:\\GAMES\\HIDE\\gravion.exe", "C:\\Gravion\\"},
        {"in a hidden folder", {"D:\\GAMES\\HIDE\\gravion.exe"}, "D:\\GAMES\\HIDE", "D:\\GAMES\\HIDE\\"},
    };
    for (const auto& row : rows) {
        SetContext("search: %s", row.what);
        Placement game(row.files);
        if (row.hidden)
            SetFileAttributesA(row.hidden, FILE_ATTRIBUTE_HIDDEN);
        Program installer;
        if (!StartInstaller(&installer))
            return;
        std::string found = ToGamePage(installer, false);
        EXPECT(found == row.expected, "found \"%s\", expected \"%s\"", found.c_str(), row.expected);
        Abort(&installer, "game");
        if (row.hidden)
            SetFileAttributesA(row.hidden, FILE_ATTRIBUTE_NORMAL);
    }
}

// A compressed file that is missing, can't be read or is cut short is
// reported by name; what it would replace stays; an empty original comes
// back empty; the rest of the installation still happens.
void ExpansionFailures()
{
    FreshTarget();
    MakeFolders(TARGET);
    const std::string bad = "D:\\SETUP_BAD\\";
    RemoveTree("D:\\SETUP_BAD");
    MakeFolders(bad);
    std::string bytes;
    ReadBytes("D:\\SETUP\\install.exe", &bytes);
    WriteBytes(bad + "install.exe", bytes);
    ReadBytes("D:\\SETUP\\Removal.ex_", &bytes);
    WriteBytes(bad + "Removal.ex_", bytes);
    ReadBytes("D:\\SETUP\\Velari.ex_", &bytes);
    WriteBytes(bad + "Velari.ex_", bytes.substr(0, bytes.size() / 2));
    ReadBytes("D:\\variants\\empty.cn_", &bytes);
    WriteBytes(bad + "Velari.cn_", bytes);
    WriteBytes(TARGET + "Velari.exe", "of an earlier installation");
    HANDLE lock = CreateFileA((bad + "Removal.ex_").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT(lock != INVALID_HANDLE_VALUE, "cannot lock Removal.ex_");
    Placement game({"D:\\GAMES\\GRAVION\\gravion.exe"});
    Program installer;
    if (!StartInstaller(&installer, "D:\\SETUP_BAD"))
        return;
    ToGamePage(installer, false);
    Press(installer, "game", IDC_NEXT);
    Press(installer, "summary", IDC_NEXT);
    WaitMessageBox(installer.pid, "Error!", 60000);
    Screenshot("progress_install", ProgressWindow(installer));
    for (const char* name : {"Removal.ex_", "Velari.ex_", "Velari.hl_"})
        Answer(installer, "Error!", bad + name, IDOK);
    HWND finish = Page(installer, "incomplete");
    EXPECT(Text(finish, IDC_FIRST_TEXT) == "The installation of Velari is incomplete: 3 of its 14 steps failed.",
           "finish page: %s", Text(finish, IDC_FIRST_TEXT).c_str());
    Screenshot("page_finish_incomplete", finish);
    PressDialogButton(finish, IDC_NEXT);
    ExpectExit(&installer);
    CloseHandle(lock);

    const struct { const char* name; const char* content; } rows[] = {
        {"Removal.exe", nullptr}, {"Velari.exe", "of an earlier installation"}, {"Velari.hlp", nullptr},
        {"Velari.cnt", ""},
    };
    for (const auto& row : rows) {
        std::string content;
        bool exists = ReadBytes(TARGET + row.name, &content);
        EXPECT(row.content ? exists && content == row.content : !exists, "%s: %s \"%s\"", row.name,
               exists ? "holds" : "missing", content.substr(0, 40).c_str());
    }
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((TARGET + "*.tmp").c_str(), &entry);
    EXPECT(search == INVALID_HANDLE_VALUE, "a partial file was left: %s", entry.cFileName);
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    ExpectRegistry("D:\\GAMES\\GRAVION\\");
    ExpectShortcuts();
}

void TargetFolder()
{
    const struct { const char* what; bool parentExists; int answer; const char* error; } rows[] = {
        {"parent missing", false, IDYES, "Velari Installer could not create the folder. Click OK to choose a different Folder."},
        {"creation declined", true, IDNO, nullptr},
    };
    for (const auto& row : rows) {
        SetContext("target_folder: %s", row.what);
        FreshTarget();
        if (!row.parentExists)
            RemoveTree("D:\\Program Files");
        Program installer;
        if (!StartInstaller(&installer))
            return;
        Press(installer, "welcome", IDC_NEXT);
        Press(installer, "target", IDC_NEXT);
        Answer(installer, "Create Folder?", "Does Not Exist", row.answer);
        if (row.error)
            Answer(installer, "Error", row.error, IDOK);
        HWND target = Page(installer, "target");
        EXPECT(Text(target, IDC_FOLDER_FIELD) == TARGET, "target page shows %s", Text(target, IDC_FOLDER_FIELD).c_str());
        EXPECT(!FileExists(TARGET), "the folder was made");
        Abort(&installer, "target");
    }
}

// A second installation over the first replaces the files and overwrites
// the values; the close box on the finish page ends it without a question.
void Reinstall()
{
    FreshTarget();
    Placement game({"D:\\GAMES\\GRAVION\\gravion.exe"});
    for (int run = 1; run <= 2; ++run) {
        SetContext("reinstall: run %d", run);
        Program installer;
        if (!StartInstaller(&installer))
            return;
        ToGamePage(installer, run == 1);
        EXPECT(Install(installer) == PAGES[4].text, "the finish page does not say success");
        HWND finish = Page(installer, "finish");
        if (run == 1)
            PressDialogButton(finish, IDC_NEXT);
        else
            Post(finish, WM_SYSCOMMAND, SC_CLOSE, 0);
        ExpectExit(&installer);
        if (run == 2)
            break;
        WriteBytes(TARGET + "Velari.hlp", "tampered");
        WriteBytes(TARGET + "Velari.exe", "");
        HKEY key;
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, PROGRAM_KEY, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) == 0) {
            RegSetValueExA(key, "HDDir", 0, REG_SZ, reinterpret_cast<const BYTE*>("x"), 2);
            RegSetValueExA(key, "TraDir", 0, REG_SZ, reinterpret_cast<const BYTE*>("x"), 2);
            RegCloseKey(key);
        }
    }
    ExpectFiles();
    ExpectRegistry("D:\\GAMES\\GRAVION\\");
    ExpectShortcuts();
}

// An installer whose page or progress window can't be made says so and ends.
void WindowFailure()
{
    for (int templateId : {203, 206}) {
        SetContext("window_failure: without template %d", templateId);
        FreshTarget();
        MakeFolders(TARGET);
        const std::string folder = "D:\\SETUP_" + std::to_string(templateId);
        Program installer;
        if (!StartInstaller(&installer, folder.c_str()))
            return;
        Press(installer, "welcome", IDC_NEXT);
        Press(installer, "target", IDC_NEXT);
        Answer(installer, "ERROR", "Error creating Dialog Box", IDOK);
        ExpectExit(&installer);
    }
}


// Holds every thread of a process still, so a screenshot shows one moment.
void SuspendProcess(DWORD pid, bool suspend)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != pid)
            continue;
        HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID);
        suspend ? SuspendThread(thread) : ResumeThread(thread);
        CloseHandle(thread);
    }
    CloseHandle(snapshot);
}

// With a large drive (the benchmark's tree) the bar is seen part-filled in
// the middle of the scan: the window is painted although nothing is
// dispatched, and the installer answers while it scans.
void SearchProgress()
{
    FreshTarget();
    MakeFolders(TARGET);
    Program installer;
    if (!StartInstaller(&installer))
        return;
    Press(installer, "welcome", IDC_NEXT);
    Press(installer, "target", IDC_NEXT);
    LRESULT position = 0;
    HWND progress = nullptr;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 60000 && position < 100; Sleep(1)) {
        progress = ProgressWindow(installer);
        HWND bar = GetDlgItem(progress, IDC_PROGRESS_BAR);
        if (bar && Send(bar, PBM_GETPOS, 0, 0, &position) && position >= 100)
            SuspendProcess(installer.pid, true);
    }
    EXPECT(position >= 100 && position < 1000, "the bar stood at %ld of 1000 during the scan", static_cast<long>(position));
    Screenshot("progress_search", progress);
    SuspendProcess(installer.pid, false);
    EXPECT(Text(progress, 111) == "Velari Installer is currently searching for the Gravion! program.",
           "status: %s", Text(progress, 111).c_str());
    Page(installer, "game");
    Abort(&installer, "game");
}

int Walk(const std::string& folder)
{
    int folders = 1;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "*.*").c_str(), &entry);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &entry))
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && strcmp(entry.cFileName, ".") &&
            strcmp(entry.cFileName, ".."))
            folders += Walk(folder + entry.cFileName + "\\");
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    return folders;
}

// Figures only: the installer's search of both drives against a bare walk.
void Bench()
{
    FreshTarget();
    MakeFolders(TARGET);
    DWORD start = GetTickCount();
    const int folders = Walk("C:\\") + Walk("D:\\");
    const double bare = (GetTickCount() - start) / 1000.0;
    Program installer;
    if (!StartInstaller(&installer))
        return;
    Press(installer, "welcome", IDC_NEXT);
    HWND target = Page(installer, "target");
    start = GetTickCount();
    PressDialogButton(target, IDC_NEXT, 0);
    Page(installer, "game");
    const double search = (GetTickCount() - start) / 1000.0;
    Abort(&installer, "game");
    std::printf("bench: %d folders on C: and D:\n", folders);
    std::printf("bench: bare FindFirstFileA walk %.2f s, %.0f folders/s\n", bare, folders / bare);
    std::printf("bench: installer search %.2f s, %.0f folders/s, %.2f times the bare walk (goal: at most 1.5)\n",
                search, folders / search, search / bare);
    std::printf("bench-search-rate %.0f\n", folders / search);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: install_e2e.exe CASE\n");
        return 2;
    }
    CoInitialize(nullptr);
    const struct { const char* name; void (*run)(); } cases[] = {
        {"walk_through", WalkThrough}, {"page_moves", PageMoves}, {"search", Search},
        {"expansion_failures", ExpansionFailures}, {"target_folder", TargetFolder},
        {"reinstall", Reinstall}, {"window_failure", WindowFailure},
        {"search_progress", SearchProgress}, {"bench", Bench},
    };
    for (const auto& c : cases) {
        if (strcmp(c.name, argv[1]) != 0)
            continue;
        ArmWatchdog(300000, c.name);
        SetContext("%s", c.name);
        c.run();
        DisarmWatchdog();
        std::printf("%s: %d failure(s)\n", c.name, FailureCount());
        return FailureCount() == 0 ? 0 : 1;
    }
    std::fprintf(stderr, "no case %s\n", argv[1]);
    return 2;
}
