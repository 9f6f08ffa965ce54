// The installer's end-to-end cases: install.exe runs under Wine from the
// distribution in D:\SETUP (prepare_installer_world.sh) and is worked as a
// person would; then what reached the disk, the registry and the shell is read.
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

const std::string TARGET = "D:\\Program Files\\Velari\\", GAME = "D:\\GAMES\\GRAVION\\";
const char PROGRAM_KEY[] = "SOFTWARE\\Quorvane\\Velari\\2.0";
const char UNINSTALL_KEY[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velari";
enum { BACK = 102, NEXT = 103, BAR = 104, FIRST_TEXT = 105, BROWSE = 112, FOLDER = 113, TRACK_NAME = 1100 };

// Pages by the start of their first text.
const struct { const char* name; const char* text; } PAGES[] = {
    {"welcome", "Welcome to the Velari Installation Program!"}, {"target", "The first step in installing Velari"},
    {"game", "Velari Installer has found what appears"}, {"summary", "Velari Installer has gathered"},
    {"finish", "Velari Installer has successfully installed Velari!"},
    {"incomplete", "The installation of Velari is incomplete"},
};

std::string Text(HWND window, int id)
{
    return TextOf(GetDlgItem(window, id));
}

// The page now shown, which must be the named one.
HWND Page(const Program& installer, const char* name)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < 60000; Sleep(20))
        for (HWND dialog : TopWindows(installer.pid, "#32770", "Velari Installer")) {
            if (!GetDlgItem(dialog, FIRST_TEXT))
                continue;
            const char* shown = "unknown";
            for (const auto& page : PAGES)
                if (Text(dialog, FIRST_TEXT).compare(0, strlen(page.text), page.text) == 0)
                    shown = page.name;
            EXPECT(strcmp(shown, name) == 0, "page %s shown, expected %s", shown, name);
            return dialog;
        }
    EXPECT(false, "no page shown, expected %s", name);
    return nullptr;
}

void Press(const Program& installer, const char* page, int button)
{
    HWND dialog = Page(installer, page);
    EXPECT(dialog && PressDialogButton(dialog, button), "%s: cannot press %d", page, button);
}

void ExpectText(HWND window, int id, const std::string& expected)
{
    EXPECT(Text(window, id) == expected, "control %d shows \"%s\", expected \"%s\"", id, Text(window, id).c_str(),
           expected.c_str());
}

// Answers the message box of this caption, whose text must contain part.
void Answer(const Program& installer, const char* caption, const std::string& part, int button)
{
    HWND box = WaitMessageBox(installer.pid, caption, 60000);
    std::string text = box ? MessageBoxText(box) : "<no message box>";
    EXPECT(text.find(part) != std::string::npos, "\"%s\" says \"%s\", expected \"%s\"", caption, text.c_str(),
           part.c_str());
    EXPECT(box && PressDialogButton(box, button), "cannot answer \"%s\"", caption);
}

void ExpectExit(Program* program)
{
    DWORD code = 1;
    EXPECT(WaitProgramExit(*program, EXIT_TIMEOUT_MS, &code) && code == 0, "did not end with 0 (%lu)", code);
    EndProgram(program);
}

bool Start(Program* installer, const std::string& folder = "D:\\SETUP")
{
    return EXPECT(StartProgram((folder + "\\install.exe").c_str(), "", folder.c_str(), installer),
                  "cannot start the installer in %s", folder.c_str());
}

// Welcome, target page (creating the folder when asked) and search; the
// game page's folder.
std::string ToGamePage(const Program& installer, bool createFolder)
{
    Press(installer, "welcome", NEXT);
    Press(installer, "target", NEXT);
    if (createFolder)
        Answer(installer, "Create Folder?", "The Specified Target Folder Does Not Exist! Create It Now?", IDYES);
    return Text(Page(installer, "game"), FOLDER);
}

void Abort(Program* installer, const char* page)
{
    Press(*installer, page, IDCANCEL);
    Answer(*installer, "Abort!", "Abort Installation of Velari?", IDYES);
    ExpectExit(installer);
}

void FreshTarget(bool makeIt)
{
    RemoveTree("D:\\Program Files");
    MakeFolders(makeIt ? TARGET : "D:\\Program Files");
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT})
        for (const char* key : {PROGRAM_KEY, UNINSTALL_KEY, ".tra", "velari"})
            RegDeleteTreeA(root, key);
    char programs[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, programs);
    for (const char* link : {"Velari v2.0.lnk", "Velari Help.lnk", "Uninstall Velari.lnk"})
        DeleteFileA((std::string(programs) + "\\Velari\\" + link).c_str());
}

// The game executable at each path while one row runs.
struct Placement {
    std::vector<std::string> paths;
    explicit Placement(std::vector<std::string> where) : paths(std::move(where))
    {
        for (const std::string& path : paths)
            EXPECT(MakeFolders(path.substr(0, path.rfind('\\'))) && WriteBytes(path, "game"), "cannot make %s",
                   path.c_str());
    }
    ~Placement()
    {
        for (const std::string& path : paths) {
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(path.c_str());
            RemoveDirectoryA(path.substr(0, path.rfind('\\')).c_str());
        }
    }
};

void ExpectRegistry()
{
    const struct { HKEY root; const char* key; const char* name; std::string value; } rows[] = {
        {HKEY_LOCAL_MACHINE, PROGRAM_KEY, "HDDir", TARGET},
        {HKEY_LOCAL_MACHINE, PROGRAM_KEY, "TraDir", GAME},
        {HKEY_CLASSES_ROOT, ".tra", nullptr, "velari"},
        {HKEY_CLASSES_ROOT, "velari\\DefaultIcon", nullptr, TARGET + "Velari.exe,1"},
        {HKEY_CLASSES_ROOT, "velari\\shell\\open\\command", nullptr, "\"" + TARGET + "Velari.exe\" %1"},
        {HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "DisplayName", "Velari v2.0"},
        {HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "UninstallString", "\"" + TARGET + "removal.exe\""},
    };
    for (const auto& row : rows) {
        char value[MAX_PATH] = "<none>";
        DWORD type = 0, size = sizeof value;
        RegGetValueA(row.root, row.key, row.name, RRF_RT_ANY, &type, value, &size);
        EXPECT(type == REG_SZ && size == strlen(value) + 1 && value == row.value, "%s %s: type %lu, \"%s\"",
               row.key, row.name ? row.name : "", type, value);
    }
}

// The installed files against the originals the distribution was made of.
void ExpectFiles()
{
    for (const char* name : {"Removal.exe", "Velari.exe", "Velari.hlp", "Velari.cnt"}) {
        std::string original, installed;
        EXPECT(ReadBytes(DriverFolder() + name, &original) && ReadBytes(TARGET + name, &installed) &&
                   installed == original,
               "%s differs from its original", name);
    }
}

void ExpectShortcuts()
{
    char programs[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, programs);
    const struct { const char* link; const char* target; const char* description; } rows[] = {
        {"Velari v2.0.lnk", "Velari.exe", "Velari v2.0"},
        {"Velari Help.lnk", "Velari.hlp", "Velari Help"},
        {"Uninstall Velari.lnk", "removal.exe", "Uninstall Velari"},
    };
    for (const auto& row : rows) {
        WCHAR path[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, (std::string(programs) + "\\Velari\\" + row.link).c_str(), -1, path, MAX_PATH);
        IShellLinkA* link = nullptr;
        IPersistFile* file = nullptr;
        char target[MAX_PATH] = "", description[MAX_PATH] = "";
        if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                       reinterpret_cast<void**>(&link))) &&
            SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
            SUCCEEDED(file->Load(path, STGM_READ))) {
            link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
            link->GetDescription(description, MAX_PATH);
        }
        if (file)
            file->Release();
        if (link)
            link->Release();
        EXPECT(_stricmp(target, (TARGET + row.target).c_str()) == 0 && strcmp(description, row.description) == 0,
               "%s: \"%s\" \"%s\"", row.link, target, description);
    }
}

// The editor's window once it shows the named track.
HWND EditorShowing(const Program& editor, const char* trackName)
{
    HWND window = WaitTopWindow(editor.pid, "Velari", nullptr, WINDOW_TIMEOUT_MS);
    for (DWORD start = GetTickCount(); window && Text(window, TRACK_NAME) != trackName; Sleep(50))
        if (GetTickCount() - start > 5000)
            break;
    EXPECT(window && Text(window, TRACK_NAME) == trackName, "the editor does not show %s", trackName);
    return window;
}

// A track opened through the shell starts the installed editor with it;
// started without one, a bare name typed into its Open dialog is taken
// from TraDir, not from the current folder.
void ExpectTrackOpens()
{
    std::string track, marker;
    ReadBytes("D:\\data\\sample-small.tra", &track);
    ReadBytes("D:\\data\\sample-2000.tra", &marker);
    MakeFolders("D:\\My Tracks");
    WriteBytes("D:\\My Tracks\\opened.tra", track);
    WriteBytes("D:\\marker.tra", track);
    WriteBytes(GAME + "marker.tra", marker);
    SHELLEXECUTEINFOA run = {};
    run.cbSize = sizeof run;
    run.fMask = SEE_MASK_NOCLOSEPROCESS;
    run.lpFile = "D:\\My Tracks\\opened.tra";
    run.nShow = SW_SHOWNORMAL;
    Program editor;
    if (EXPECT(ShellExecuteExA(&run) && run.hProcess, "the shell did not open the track")) {
        editor = {run.hProcess, GetProcessId(run.hProcess)};
        Screenshot("installed_editor", EditorShowing(editor, "PINE VALLEY"));
        EndProgram(&editor);
    }
    if (!StartProgram((TARGET + "Velari.exe").c_str(), "", "D:\\", &editor))
        return;
    Post(WaitTopWindow(editor.pid, "Velari", nullptr, WINDOW_TIMEOUT_MS), WM_COMMAND, 1004, 0);
    HWND open = WaitTopWindow(editor.pid, "#32770", "Open Track", WINDOW_TIMEOUT_MS);
    if (EXPECT(open && FileNameField(open), "no Open dialog")) {
        Send(FileNameField(open), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("marker.tra"));
        PressDialogButton(open, IDOK);
        EditorShowing(editor, "THE LONG HAUL");
    }
    EndProgram(&editor);
}

void WalkThrough()
{
    FreshTarget(false);
    Placement game({GAME + "gravion.exe"});
    Program installer, list;
    if (!Start(&installer))
        return;
    // Page, a field and what it must show, the button pressed.
    const struct { const char* page; int field; std::string shows; int button; } steps[] = {
        {"welcome", 0, "", NEXT}, {"target", FOLDER, TARGET, NEXT}, {"game", FOLDER, GAME, NEXT},
        {"summary", 118, TARGET, 0}, {"summary", 119, GAME, NEXT}, {"finish", 0, "", NEXT},
    };
    for (const auto& step : steps) {
        SetContext("walk_through: %s", step.page);
        HWND page = Page(installer, step.page);
        if (step.field)
            ExpectText(page, step.field, step.shows);
        if (!step.button)
            continue;
        EXPECT(IsWindowEnabled(GetDlgItem(page, BACK)) == (strcmp(step.page, "welcome") && strcmp(step.page, "finish")),
               "Back enabled or not");
        Screenshot((std::string("page_") + step.page).c_str(), page);
        PressDialogButton(page, step.button);
        if (step.field == FOLDER && step.shows == TARGET)
            Answer(installer, "Create Folder?", "The Specified Target Folder Does Not Exist! Create It Now?", IDYES);
    }
    ExpectExit(&installer);
    SetContext("walk_through: results");
    ExpectFiles();
    ExpectRegistry();
    ExpectShortcuts();
    DeleteFileA("D:\\uninstall-list.txt");
    if (StartProgram("C:\\windows\\system32\\cmd.exe", "/c uninstaller --list > D:\\uninstall-list.txt", "D:\\", &list))
        ExpectExit(&list);
    std::string listed;
    ReadBytes("D:\\uninstall-list.txt", &listed);
    EXPECT(listed.find("Velari|||Velari v2.0") != std::string::npos, "uninstaller --list: %s", listed.c_str());
    ExpectTrackOpens();
}

// The folder chooser of the installer, by its caption.
HWND Chooser(const Program& installer, const char* caption)
{
    HWND chooser = WaitTopWindow(installer.pid, "#32770", caption, WINDOW_TIMEOUT_MS);
    EXPECT(chooser, "no chooser \"%s\"", caption);
    return chooser;
}

// The drive box's items in order, the selected one marked *.
std::string DriveItems(HWND box)
{
    LRESULT count = 0, selected = -1;
    Send(box, CB_GETCOUNT, 0, 0, &count);
    Send(box, CB_GETCURSEL, 0, 0, &selected);
    std::string items;
    for (LRESULT i = 0; i < count; ++i) {
        static WCHAR wide[8192];
        char text[MAX_PATH * 2] = "";
        DWORD_PTR length = 0;
        wide[0] = 0;
        SendMessageTimeoutW(box, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(wide), SMTO_NORMAL, REPLY_TIMEOUT_MS, &length);
        WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
        items += std::string(i ? "|" : "") + text + (i == selected ? "*" : "");
    }
    return items;
}

// The tree's items as "text level", * when selected, + when expanded, the
// children in brackets; read through a buffer in the installer's memory.
std::string TreeItems(HANDLE process, char* remote, HWND tree, LPARAM first)
{
    std::string items;
    for (LRESULT item = first, next = 0; item; item = next) {
        TVITEMA query = {};
        query.mask = TVIF_TEXT | TVIF_PARAM | TVIF_STATE;
        query.hItem = reinterpret_cast<HTREEITEM>(item);
        query.stateMask = TVIS_SELECTED | TVIS_EXPANDED;
        query.pszText = remote + sizeof query;
        query.cchTextMax = MAX_PATH;
        char text[MAX_PATH] = "";
        WriteProcessMemory(process, remote, &query, sizeof query, nullptr);
        Send(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote));
        ReadProcessMemory(process, remote, &query, sizeof query, nullptr);
        ReadProcessMemory(process, remote + sizeof query, text, sizeof text - 1, nullptr);
        items += std::string(text) + " " + std::to_string(query.lParam) + (query.state & TVIS_SELECTED ? "*" : "") +
                 (query.state & TVIS_EXPANDED ? "+" : "");
        LRESULT child = 0;
        Send(tree, TVM_GETNEXTITEM, TVGN_CHILD, item, &child);
        if (child)
            items += " [" + TreeItems(process, remote, tree, child) + "]";
        Send(tree, TVM_GETNEXTITEM, TVGN_NEXT, item, &next);
        if (next)
            items += ", ";
    }
    return items;
}

// Waits until the chooser shows this path and tree; a tree ending in "["
// is the start of what must be shown.
void ExpectChooser(const Program& installer, HWND chooser, const std::string& path, const std::string& tree)
{
    char* remote = static_cast<char*>(
        VirtualAllocEx(installer.process, nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    std::string shownPath, shownTree;
    const bool prefix = !tree.empty() && tree.back() == '[';
    auto treeShown = [&] { return prefix ? shownTree.compare(0, tree.size(), tree) == 0 : shownTree == tree; };
    for (DWORD start = GetTickCount(); GetTickCount() - start < 5000; Sleep(50)) {
        shownPath = Text(chooser, FOLDER);
        LRESULT root = 0;
        Send(GetDlgItem(chooser, 114), TVM_GETNEXTITEM, TVGN_ROOT, 0, &root);
        shownTree = TreeItems(installer.process, remote, GetDlgItem(chooser, 114), root);
        if (shownPath == path && treeShown())
            break;
    }
    VirtualFreeEx(installer.process, remote, 0, MEM_RELEASE);
    EXPECT(shownPath == path, "path box \"%s\", expected \"%s\"", shownPath.c_str(), path.c_str());
    EXPECT(treeShown(), "tree\n  %s\nexpected\n  %s", shownTree.c_str(), tree.c_str());
}

HWND ProgressWindow(const Program& installer)
{
    for (HWND dialog : TopWindows(installer.pid, "#32770", "Velari Installer"))
        if (GetDlgItem(dialog, BAR))
            return dialog;
    return nullptr;
}

// Each way of cancelling, answered No, shows the same page afresh; Back goes
// one page back, from the game page through a new search.
void PageMoves()
{
    FreshTarget(true);
    auto* game = new Placement({"D:\\GAMES\\FIRST\\gravion.exe"});
    const std::string first = "D:\\GAMES\\FIRST\\", second = "D:\\GAMES\\SECOND\\", none;
    const struct { const char* page; const char* action; const char* next; const std::string& field; } steps[] = {
        {"welcome", "cancel", "welcome", none}, {"welcome", "esc", "welcome", none},
        {"welcome", "close", "welcome", none}, {"welcome", "next", "target", TARGET},
        {"target", "cancel", "target", TARGET}, {"target", "esc", "target", TARGET},
        {"target", "close", "target", TARGET}, {"target", "browse", "target", TARGET},
        {"target", "back", "welcome", none}, {"welcome", "next", "target", TARGET},
        {"target", "next", "game", first}, {"game", "cancel", "game", first}, {"game", "esc", "game", first},
        {"game", "close", "game", first}, {"game", "browse", "game", first}, {"game", "next", "summary", none},
        {"summary", "cancel", "summary", none}, {"summary", "esc", "summary", none},
        {"summary", "close", "summary", none}, {"summary", "move the game", "summary", none},
        {"summary", "back", "game", first}, {"game", "back", "game", second},
    };
    Program installer;
    if (!Start(&installer))
        return;
    for (const auto& step : steps) {
        SetContext("page_moves: %s on %s", step.action, step.page);
        HWND page = Page(installer, step.page);
        const std::string action = step.action;
        if (action == "next" || action == "back") {
            PressDialogButton(page, action == "next" ? NEXT : BACK);
        } else if (action == "browse") {
            PressDialogButton(page, BROWSE);
            PressDialogButton(Chooser(installer, strcmp(step.page, "game") ? "Choose Folder" : "Find Gravion!"), IDCANCEL);
        } else if (action == "move the game") {
            delete game;
            game = new Placement({"D:\\GAMES\\SECOND\\gravion.exe"});
        } else {
            if (action == "cancel")
                PressDialogButton(page, IDCANCEL);
            else
                action == "esc" ? PressKey(GetDlgItem(page, IDCANCEL), VK_ESCAPE) : Post(page, WM_SYSCOMMAND, SC_CLOSE, 0);
            EXPECT(WaitWindowGone(page, WINDOW_TIMEOUT_MS), "the page stayed");
            Answer(installer, "Abort!", "Abort Installation of Velari?", IDNO);
        }
        HWND next = Page(installer, step.next);
        if (!step.field.empty())
            ExpectText(next, FOLDER, step.field);
    }
    Abort(&installer, "game");
    delete game;
}

void Search()
{
    FreshTarget(true);
    const struct { const char* what; std::vector<std::string> files; const char* hidden; const char* found; } rows[] = {
        {"nothing but behind links and on the CD-ROM", {}, nullptr, "C:\\Gravion\\"},
        {"at the root of D:", {"D:\\gravion.exe"}, nullptr, "D:\\"},
        {"upper-case name", {"D:\\GAMES\\Caps\\GRAVION.EXE"}, nullptr, "D:\\GAMES\\Caps\\"},
        {"on C: and D:", {GAME + "gravion.exe", "C:\\GRAVTEST\\gravion.exe"}, nullptr, "C:\\GRAVTEST\\"},
        {"hidden file", {"D:\\GAMES\\HIDE\\gravion.exe"}, "D:\\GAMES\\HIDE\\gravion.exe", "C:\\Gravion\\"},
        {"in a hidden folder", {"D:\\GAMES\\HIDE\\gravion.exe"}, "D:\\GAMES\\HIDE", "D:\\GAMES\\HIDE\\"},
    };
    for (const auto& row : rows) {
        SetContext("search: %s", row.what);
        Placement game(row.files);
        if (row.hidden)
            SetFileAttributesA(row.hidden, FILE_ATTRIBUTE_HIDDEN);
        Program installer;
        if (!Start(&installer))
            return;
        std::string found = ToGamePage(installer, false);
        EXPECT(found == row.found, "found \"%s\", expected \"%s\"", found.c_str(), row.found);
        Abort(&installer, "game");
        if (row.hidden)
            SetFileAttributesA(row.hidden, FILE_ATTRIBUTE_NORMAL);
    }
}

// A compressed file that is missing, can't be read or is cut short is
// reported by name, and what it would replace stays; an empty original
// comes back empty; the rest of the installation still happens.
void ExpansionFailures()
{
    FreshTarget(true);
    const std::string bad = "D:\\SETUP_BAD\\";
    RemoveTree("D:\\SETUP_BAD");
    MakeFolders(bad);
    // Source, how it is changed on the way (the whole of it, half, none), what is installed.
    const struct { const char* from; const char* name; size_t keep; const char* installed; const char* content; } rows[] = {
        {"D:\\SETUP\\install.exe", "install.exe", ~0u, nullptr, nullptr},
        {"D:\\SETUP\\Removal.ex_", "Removal.ex_", ~0u, "Removal.exe", nullptr},  // held open below
        {"D:\\SETUP\\Velari.ex_", "Velari.ex_", 2, "Velari.exe", "of an earlier installation"},
        {"D:\\SETUP\\Velari.hl_", "Velari.hl_", 0, "Velari.hlp", nullptr},
        {"D:\\variants\\empty.cn_", "Velari.cn_", ~0u, "Velari.cnt", ""},
    };
    for (const auto& row : rows) {
        std::string bytes;
        ReadBytes(row.from, &bytes);
        if (row.keep)
            WriteBytes(bad + row.name, bytes.substr(0, row.keep == 2 ? bytes.size() / 2 : bytes.size()));
    }
    WriteBytes(TARGET + "Velari.exe", "of an earlier installation");
    HANDLE lock = CreateFileA((bad + "Removal.ex_").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    Placement game({GAME + "gravion.exe"});
    Program installer;
    if (!Start(&installer, "D:\\SETUP_BAD"))
        return;
    ToGamePage(installer, false);
    Press(installer, "game", NEXT);
    Press(installer, "summary", NEXT);
    WaitMessageBox(installer.pid, "Error!", 60000);
    Screenshot("progress_install", ProgressWindow(installer));
    for (const char* name : {"Removal.ex_", "Velari.ex_", "Velari.hl_"})
        Answer(installer, "Error!", "could not expand " + bad + name, IDOK);
    HWND finish = Page(installer, "incomplete");
    ExpectText(finish, FIRST_TEXT, "The installation of Velari is incomplete: 3 of its 14 steps failed.");
    Screenshot("page_finish_incomplete", finish);
    PressDialogButton(finish, NEXT);
    ExpectExit(&installer);
    CloseHandle(lock);
    for (const auto& row : rows) {
        std::string content = "<missing>";
        if (row.installed && !ReadBytes(TARGET + row.installed, &content))
            content = "<missing>";
        EXPECT(!row.installed || content == (row.content ? row.content : "<missing>"), "%s: \"%s\"",
               row.installed, content.substr(0, 40).c_str());
    }
    WIN32_FIND_DATAA entry;
    EXPECT(FindFirstFileA((TARGET + "*.tmp").c_str(), &entry) == INVALID_HANDLE_VALUE, "a partial file was left");
    ExpectRegistry();
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
        FreshTarget(false);
        if (!row.parentExists)
            RemoveTree("D:\\Program Files");
        Program installer;
        if (!Start(&installer))
            return;
        Press(installer, "welcome", NEXT);
        Press(installer, "target", NEXT);
        Answer(installer, "Create Folder?", "Does Not Exist", row.answer);
        if (row.error)
            Answer(installer, "Error", row.error, IDOK);
        ExpectText(Page(installer, "target"), FOLDER, TARGET);
        EXPECT(!FileExists(TARGET), "the folder was made");
        Abort(&installer, "target");
    }
}

// A second installation over the first replaces the files and overwrites
// the values; the close box on the finish page ends it without a question.
void Reinstall()
{
    FreshTarget(false);
    Placement game({GAME + "gravion.exe"});
    for (int run = 1; run <= 2; ++run) {
        SetContext("reinstall: run %d", run);
        Program installer;
        if (!Start(&installer))
            return;
        ToGamePage(installer, run == 1);
        Press(installer, "game", NEXT);
        Press(installer, "summary", NEXT);
        HWND finish = Page(installer, "finish");
        run == 1 ? PressDialogButton(finish, NEXT) : Post(finish, WM_SYSCOMMAND, SC_CLOSE, 0);
        ExpectExit(&installer);
        if (run == 2)
            break;
        WriteBytes(TARGET + "Velari.hlp", "tampered");
        WriteBytes(TARGET + "Velari.exe", "");
        HKEY key;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, PROGRAM_KEY, 0, KEY_WRITE, &key) == 0) {
            for (const char* name : {"HDDir", "TraDir"})
                RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>("x"), 2);
            RegCloseKey(key);
        }
    }
    ExpectFiles();
    ExpectRegistry();
    ExpectShortcuts();
}

// An installer lacking its progress window or its game page says so and ends.
void WindowFailure()
{
    for (const char* folder : {"D:\\SETUP_203", "D:\\SETUP_206"}) {
        SetContext("window_failure: %s", folder);
        FreshTarget(true);
        Program installer;
        if (!Start(&installer, folder))
            return;
        Press(installer, "welcome", NEXT);
        Press(installer, "target", NEXT);
        Answer(installer, "ERROR", "Error creating Dialog Box", IDOK);
        ExpectExit(&installer);
    }
}

// The chooser in both roles, through the wizard's Browse buttons: the tree
// worked with + and - as a person would, the drive box by its notification,
// and what is chosen reaching the pages, the summary and the registry.
void FolderChooser()
{
    FreshTarget(true);
    const std::string longest(234, 'L'), alpha = TARGET + "Alpha\\";
    for (const std::string& folder : {alpha + "Deep", TARGET + "Hidden", TARGET + longest, TARGET + longest + "M"})
        EXPECT(MakeFolders(folder), "cannot make %s", folder.c_str());
    SetFileAttributesA((TARGET + "Hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
    WriteBytes(TARGET + "notes.txt", "a file");
    Placement game({"C:\\GRAVTEST\\gravion.exe"});
    const std::string velari = "D:\\ 1+ [Program Files 2+ [Velari 3*+ [Alpha 5 [test 6], Hidden 5 [test 6], " +
                               longest + " 5 [test 6]]]]";
    // Keys on the tree (so many up-arrows first, -1 for one down-arrow), and
    // what the chooser shows then.
    const struct { const char* what; int ups; UINT key; std::string path, tree; } steps[] = {
        {"opened", 0, 0, TARGET, velari},
        {"subfolder expanded", -1, VK_ADD, alpha, "D:\\ 1+ [Program Files 2+ [Velari 3+ [Alpha 4*+ [Deep 6 [test 7]]]]]"},
        {"deepest collapsed", 0, VK_SUBTRACT, alpha, "D:\\ 1+ [Program Files 2+ [Velari 3+ [Alpha 4*+ [Deep 6 [test 7]]]]]"},
        {"chain item collapsed", 1, VK_SUBTRACT, TARGET, velari},
        {"root collapsed", 2, VK_SUBTRACT, "D:\\", "D:\\ 1*+ ["},
    };
    Program installer;
    if (!Start(&installer))
        return;
    Press(installer, "welcome", NEXT);
    Press(installer, "target", BROWSE);
    HWND chooser = Chooser(installer, "Choose Folder"), tree = GetDlgItem(chooser, 114);
    ExpectText(chooser, FIRST_TEXT, "Please choose the folder for installation.");
    EXPECT(DriveItems(GetDlgItem(chooser, 117)) == "C: [SYSTEM]|D: [DATA]*", "drives %s",
           DriveItems(GetDlgItem(chooser, 117)).c_str());
    for (const auto& step : steps) {
        SetContext("folder_chooser: %s", step.what);
        for (int up = 0; up < step.ups; ++up)
            PressKey(tree, VK_UP);
        if (step.ups < 0)
            PressKey(tree, VK_DOWN);
        if (step.key)
            PressKey(tree, step.key);
        Sleep(300);
        ExpectChooser(installer, chooser, step.path, step.tree);
        if (!step.key)
            Screenshot("chooser_target", chooser);
    }
    SetContext("folder_chooser: cancelled, reopened, other drive");
    PressDialogButton(chooser, IDCANCEL);
    ExpectText(Page(installer, "target"), FOLDER, TARGET);
    Press(installer, "target", BROWSE);
    chooser = Chooser(installer, "Choose Folder");
    ExpectChooser(installer, chooser, TARGET, "D:\\ 1*+ [");
    HWND drives = GetDlgItem(chooser, 117);
    Send(drives, CB_SETCURSEL, 0, 0);
    Send(chooser, WM_COMMAND, MAKEWPARAM(117, CBN_SELENDOK), reinterpret_cast<LPARAM>(drives));
    ExpectChooser(installer, chooser, "C:\\", "C:\\ 1*+ [");
    PressDialogButton(chooser, IDOK);
    ExpectText(Page(installer, "target"), FOLDER, "C:\\");
    Press(installer, "target", BROWSE);
    chooser = Chooser(installer, "Choose Folder");
    EXPECT(DriveItems(GetDlgItem(chooser, 117)) == "C: [SYSTEM]*|D: [DATA]", "drives after C: was chosen");
    // A folder typed without its backslash gets one.
    Send(GetDlgItem(chooser, FOLDER), WM_SETTEXT, 0, reinterpret_cast<LPARAM>((TARGET + "Alpha").c_str()));
    PressDialogButton(chooser, IDOK);
    Press(installer, "target", NEXT);

    SetContext("folder_chooser: game role");
    Press(installer, "game", BROWSE);
    chooser = Chooser(installer, "Find Gravion!");
    ExpectText(chooser, FIRST_TEXT, "Please select the Gravion! Folder.");
    ExpectChooser(installer, chooser, "C:\\GRAVTEST\\", "C:\\ 1+ [GRAVTEST 2*]");
    Screenshot("chooser_game", chooser);
    // Too long with its backslash: refused, and the chooser stays; a bare
    // drive is its root.
    const std::string tooLong = "D:\\" + std::string(MAX_PATH - 4, 'x');
    Send(GetDlgItem(chooser, FOLDER), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(tooLong.c_str()));
    PressDialogButton(chooser, IDOK, 0);
    Answer(installer, "Error", "too long", IDOK);
    EXPECT(IsWindow(chooser), "the chooser closed");
    Send(GetDlgItem(chooser, FOLDER), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("D:"));
    PressDialogButton(chooser, IDOK);
    ExpectText(Page(installer, "game"), FOLDER, "D:\\");
    Press(installer, "game", NEXT);
    ExpectText(Page(installer, "summary"), 118, alpha);
    ExpectText(Page(installer, "summary"), 119, "D:\\");
    Press(installer, "summary", NEXT);
    Press(installer, "finish", NEXT);
    ExpectExit(&installer);
    for (const auto& value : {std::make_pair("HDDir", alpha), std::make_pair("TraDir", std::string("D:\\"))}) {
        char stored[MAX_PATH] = "";
        DWORD size = sizeof stored;
        RegGetValueA(HKEY_LOCAL_MACHINE, PROGRAM_KEY, value.first, RRF_RT_REG_SZ, nullptr, stored, &size);
        EXPECT(value.second == stored, "%s: \"%s\"", value.first, stored);
    }

    // Started on the CD-ROM drive, the chooser opens on the first fixed one.
    SetContext("folder_chooser: started on E:");
    if (!EXPECT(StartProgram("D:\\SETUP\\install.exe", "", "E:\\", &installer), "cannot start on E:"))
        return;
    Press(installer, "welcome", NEXT);
    Press(installer, "target", BROWSE);
    chooser = Chooser(installer, "Choose Folder");
    EXPECT(DriveItems(GetDlgItem(chooser, 117)) == "C: [SYSTEM]*|D: [DATA]", "drives when started on E:");
    ExpectChooser(installer, chooser, "E:\\Program Files\\Velari\\", "C:\\ 1*+ [");
    PressDialogButton(chooser, IDCANCEL);
    Abort(&installer, "target");
}

// Holds every thread of a process still, so a screenshot shows one moment.
void Suspend(DWORD pid, bool suspend)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        HANDLE thread = entry.th32OwnerProcessID == pid ? OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID)
                                                        : nullptr;
        if (thread)
            suspend ? SuspendThread(thread) : ResumeThread(thread);
        CloseHandle(thread);
    }
    CloseHandle(snapshot);
}

// On a large drive (the benchmark's tree) the bar is seen part-filled in the
// middle of the scan: painted although nothing is dispatched, and the
// installer answers while it scans.
void SearchProgress()
{
    FreshTarget(true);
    Program installer;
    if (!Start(&installer))
        return;
    Press(installer, "welcome", NEXT);
    Press(installer, "target", NEXT);
    LRESULT position = 0;
    HWND progress = nullptr;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 60000 && position < 100; Sleep(1)) {
        progress = ProgressWindow(installer);
        if (progress && Send(GetDlgItem(progress, BAR), PBM_GETPOS, 0, 0, &position) && position >= 100)
            Suspend(installer.pid, true);
    }
    EXPECT(position >= 100 && position < 1000, "the bar stood at %ld of 1000 during the scan", long(position));
    Screenshot("progress_search", progress);
    Suspend(installer.pid, false);
    ExpectText(progress, 111, "Velari Installer is currently searching for the Gravion! program.");
    Page(installer, "game");
    Abort(&installer, "game");
}

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

// Figures only: the installer's search of both drives against a bare walk.
void Bench()
{
    FreshTarget(true);
    DWORD start = GetTickCount();
    const int folders = Walk("C:\\") + Walk("D:\\");
    const double bare = (GetTickCount() - start) / 1000.0;
    Program installer;
    if (!Start(&installer))
        return;
    Press(installer, "welcome", NEXT);
    HWND target = Page(installer, "target");
    start = GetTickCount();
    PressDialogButton(target, NEXT, 0);
    Page(installer, "game");
    const double search = (GetTickCount() - start) / 1000.0;
    Abort(&installer, "game");
    std::printf("bench: %d folders on C: and D:; bare FindFirstFileA walk %.2f s (%.0f folders/s)\n", folders, bare,
                folders / bare);
    std::printf("bench: installer search %.2f s (%.0f folders/s), %.2f times the bare walk (goal: at most 1.5)\n",
                search, folders / search, search / bare);
    std::printf("bench-search-rate %.0f\n", folders / search);
}

}  // namespace

int main(int argc, char** argv)
{
    CoInitialize(nullptr);
    const struct { const char* name; void (*run)(); } cases[] = {
        {"walk_through", WalkThrough}, {"page_moves", PageMoves}, {"search", Search},
        {"expansion_failures", ExpansionFailures}, {"target_folder", TargetFolder}, {"reinstall", Reinstall},
        {"window_failure", WindowFailure}, {"folder_chooser", FolderChooser}, {"search_progress", SearchProgress}, {"bench", Bench},
    };
    for (const auto& c : cases) {
        if (argc != 2 || strcmp(c.name, argv[1]) != 0)
            continue;
        ArmWatchdog(300000, c.name);
        SetContext("%s", c.name);
        c.run();
        DisarmWatchdog();
        std::printf("%s: %d failure(s)\n", c.name, FailureCount());
        return FailureCount() == 0 ? 0 : 1;
    }
    std::fprintf(stderr, "usage: install_e2e.exe CASE\n");
    return 2;
}
