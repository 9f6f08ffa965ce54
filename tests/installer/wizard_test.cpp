// The installer's wizard under Wine in one process with its own code, in the
// manner of Wine's user32 tests: the hidden installer window is made from the
// objects install.exe is linked from, started in D:\SETUP (the distribution,
// prepare_installer_world.sh) and run to its end, and a timer inside each
// modal loop answers every page, message box and folder chooser from the
// walk's script. Each walk is a row: what is prepared, every dialog in order,
// and what must then be on the disk, in the registry and in the Start menu.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "installer_state.h"
#include "resource.h"
#include "win_driver.h"

using namespace e2e;

namespace {

const std::string SETUP = "D:\\SETUP\\", TARGET = "D:\\Program Files\\Velari\\", GAME = "D:\\GAMES\\GRAVION\\";
const char PROGRAM_KEY[] = "SOFTWARE\\Quorvane\\Velari\\2.0";
const char UNINSTALL_KEY[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velari";

// A page by the start of its first text, with the folder fields it shows.
Reply Page(const char* page, std::vector<std::string> fields, int button, std::function<void(HWND)> act = nullptr)
{
    const struct { const char* name; const char* text; } PAGES[] = {
        {"welcome", "|Welcome to the Velari Installation Program!"}, {"target", "|The first step in installing"},
        {"game", "|Velari Installer has found what appears"}, {"summary", "|Velari Installer has gathered"},
        {"finish", "|Velari Installer has successfully installed Velari!"},
        {"incomplete", "|The installation of Velari is incomplete: 3 of its 21 steps failed."},
    };
    Reply reply = {"Velari Installer", {}, button, act};
    for (const auto& known : PAGES)
        if (strcmp(known.name, page) == 0)
            reply.shows.push_back(known.text);
    for (const std::string& field : fields)
        reply.shows.push_back("|" + field + "|");
    return reply;
}
Reply Shot(const char* page, std::vector<std::string> fields)
{
    return Page(page, fields, IDC_NEXT, [page](HWND dialog) { Screenshot((std::string("page_") + page).c_str(), dialog); });
}

const Reply CREATE_YES = {"Create Folder?", {"|The Specified Target Folder Does Not Exist! Create It Now?|"}, IDYES},
            CREATE_NO = {"Create Folder?", {}, IDNO}, ABORT_YES = {"Abort!", {"|Abort Installation of Velari?|"}, IDYES},
            ABORT_NO = {"Abort!", {}, IDNO};
const Reply CANNOT_CREATE = {"Error", {"|Velari Installer could not create the folder. Click OK to choose a different Folder.|"}, IDOK};

std::vector<Reply> Join(std::vector<std::vector<Reply>> parts)
{
    std::vector<Reply> all;
    for (auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// Welcome and target page to the game page, which shows game and is left with button.
std::vector<Reply> ToGamePage(const std::string& game, int button = IDC_NEXT)
{
    return {Page("welcome", {}, IDC_NEXT), Page("target", {TARGET}, IDC_NEXT), Page("game", {game}, button)};
}
std::vector<Reply> Abort(const char* page)
{
    return {Page(page, {}, IDCANCEL), ABORT_YES};
}

// No installation: no target folder (its parent there or not), no values,
// no shortcuts.
void Fresh(bool parent = true)
{
    SetCurrentDirectoryA("D:\\");
    RemoveTree("D:\\Program Files");
    if (parent)
        MakeFolders("D:\\Program Files");
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT})
        for (const char* key : {PROGRAM_KEY, UNINSTALL_KEY, ".tra", "velari"})
            RegDeleteTreeA(root, key);
    for (const char* link : {"Velari v2.0.lnk", "Velari Help.lnk", "Uninstall Velari.lnk"})
        DeleteFileA((StartMenuFolder("Velari") + link).c_str());
}

void Place(const std::vector<std::string>& paths)
{
    for (const std::string& path : paths)
        EXPECT(MakeFolders(path.substr(0, path.rfind('\\'))) && WriteBytes(path, "game"), "cannot make %s", path.c_str());
}

// A walk that comes to a stop with no dialog open would wait for ever.
void CALLBACK WalkStopped(HWND, UINT, UINT_PTR, DWORD)
{
    EXPECT(false, "the installer went on without a window for half a minute");
    DestroyWindow(installer.window);
}

// The installer as its entry point runs it, from the folder, to its end.
void RunInstaller(const std::string& folder, std::vector<Reply> replies)
{
    SetCurrentDirectoryA(folder.c_str());
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    installer = InstallerState();
    installer.instance = instance;
    ExpectReplies(std::move(replies));
    if (!EXPECT(CreateInstallerWindow(), "no installer window"))
        return;
    const UINT_PTR deadline = SetTimer(nullptr, 0, 30000, WalkStopped);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    KillTimer(nullptr, deadline);
    ExpectAllReplied();
    EXPECT(!IsWindow(installer.window), "the installer window is still there");
    installer.instance = instance;
    SetCurrentDirectoryA("D:\\");
}

void ExpectRegistry(const std::string& target, const std::string& game)
{
    const struct { HKEY root; const char* key; const char* name; std::string value; } rows[] = {
        {HKEY_LOCAL_MACHINE, PROGRAM_KEY, "HDDir", target},
        {HKEY_LOCAL_MACHINE, PROGRAM_KEY, "TraDir", game},
        {HKEY_CLASSES_ROOT, ".tra", nullptr, "velari"},
        {HKEY_CLASSES_ROOT, "velari\\DefaultIcon", nullptr, target + "Velari.exe,1"},
        {HKEY_CLASSES_ROOT, "velari\\shell\\open\\command", nullptr, "\"" + target + "Velari.exe\" %1"},
        {HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "DisplayName", "Velari v2.0"},
        {HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "UninstallString", "\"" + target + "removal.exe\""},
    };
    for (const auto& row : rows) {
        const std::string value = RegistryText(row.root, row.key, row.name);
        EXPECT(value == row.value, "%s %s: \"%s\"", row.key, row.name ? row.name : "", value.c_str());
    }
    // What the system's list of programs shows; the size of the four files in KB, rounded up.
    long long bytes = 0;
    for (const char* name : {"Removal.exe", "Velari.exe", "Velari.hlp", "Velari.cnt"})
        bytes += FileExists(target + name) ? FileText(target + name).size() : 0;
    const struct { const char* name; std::string text; DWORD number; } entry[] = {
        {"DisplayIcon", target + "Velari.exe,0", 0}, {"DisplayVersion", "2.0", 0}, {"Publisher", "Quorvane", 0},
        {"InstallLocation", target, 0}, {"EstimatedSize", "", DWORD((bytes + 1023) / 1024)}, {"NoModify", "", 1},
        {"NoRepair", "", 1},
    };
    for (const auto& value : entry) {
        DWORD number = 0, size = sizeof number;
        if (!value.text.empty())
            EXPECT(RegistryText(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, value.name) == value.text, "%s", value.name);
        else
            EXPECT(RegGetValueA(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, value.name, RRF_RT_REG_DWORD, nullptr, &number, &size) ==
                       ERROR_SUCCESS && number == value.number, "%s: %lu, expected %lu", value.name, number, value.number);
    }
}

void ExpectShortcuts(const std::string& target)
{
    const struct { const char* link; const char* target; const char* description; } rows[] = {
        {"Velari v2.0.lnk", "Velari.exe", "Velari v2.0"},
        {"Velari Help.lnk", "Velari.hlp", "Velari Help"},
        {"Uninstall Velari.lnk", "removal.exe", "Uninstall Velari"},
    };
    for (const auto& row : rows) {
        WCHAR path[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, (StartMenuFolder("Velari") + row.link).c_str(), -1, path, MAX_PATH);
        IShellLinkA* link = nullptr;
        IPersistFile* file = nullptr;
        char linked[MAX_PATH] = "", description[MAX_PATH] = "";
        if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                       reinterpret_cast<void**>(&link))) &&
            SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
            SUCCEEDED(file->Load(path, STGM_READ))) {
            link->GetPath(linked, MAX_PATH, nullptr, SLGP_RAWPATH);
            link->GetDescription(description, MAX_PATH);
        }
        if (file)
            file->Release();
        if (link)
            link->Release();
        EXPECT(_stricmp(linked, (target + row.target).c_str()) == 0 && strcmp(description, row.description) == 0,
               "%s: \"%s\" \"%s\"", row.link, linked, description);
    }
}

// The four files as the distribution's originals, beside this test.
void ExpectInstalled()
{
    for (const char* name : {"Removal.exe", "Velari.exe", "Velari.hlp", "Velari.cnt"})
        EXPECT(FileText(TARGET + name) == FileText(DriverFolder() + name), "%s differs from its original", name);
    ExpectRegistry(TARGET, GAME);
    ExpectShortcuts(TARGET);
}

// A compressed file held open for reading by another program, as a virus
// scanner does with a fresh download: it expands all the same.
HANDLE heldOpen = INVALID_HANDLE_VALUE;
void HoldSourceForReading()
{
    heldOpen = CreateFileA((SETUP + "Velari.hl_").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
}

// A compressed file that is missing, held open without sharing, cut short,
// or of an empty original, in D:\SETUP_BAD; and a file of an earlier
// installation.
void PrepareBadSources()
{
    const std::string bad = "D:\\SETUP_BAD\\";
    Fresh();
    RemoveTree("D:\\SETUP_BAD");
    MakeFolders(bad);
    const std::string program = FileText(SETUP + "Velari.ex_");
    WriteBytes(bad + "Removal.ex_", FileText(SETUP + "Removal.ex_"));
    WriteBytes(bad + "Velari.ex_", program.substr(0, program.size() / 2));
    WriteBytes(bad + "Velari.cn_", FileText("D:\\variants\\empty.cn_"));
    MakeFolders(TARGET);
    WriteBytes(TARGET + "Velari.exe", "of an earlier installation");
    heldOpen = CreateFileA((bad + "Removal.ex_").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}
void ExpectExpansionFailures()
{
    const struct { const char* name; std::string content; } rows[] = {
        {"Removal.exe", "<missing>"}, {"Velari.exe", "of an earlier installation"},
        {"Velari.hlp", "<missing>"}, {"Velari.cnt", ""},
    };
    for (const auto& row : rows)
        EXPECT(FileText(TARGET + row.name) == row.content, "%s: \"%.40s\"", row.name, FileText(TARGET + row.name).c_str());
    WIN32_FIND_DATAA entry;
    EXPECT(FindFirstFileA((TARGET + "*.tmp").c_str(), &entry) == INVALID_HANDLE_VALUE, "a partial file was left");
    ExpectRegistry(TARGET, GAME);
    ExpectShortcuts(TARGET);
}
Reply CannotExpand(const char* name)
{
    return {"Error!", {"|Velari Installer could not expand D:\\SETUP_BAD\\" + std::string(name) + ".|"}, IDOK};
}

// A second installation replaces what the first left, changed since.
void Tamper()
{
    WriteBytes(TARGET + "Velari.hlp", "tampered");
    WriteBytes(TARGET + "Velari.exe", "");
    for (const char* name : {"HDDir", "TraDir"})
        RegSetKeyValueA(HKEY_LOCAL_MACHINE, PROGRAM_KEY, name, REG_SZ, "x", 2);
}

void CloseBox(HWND dialog)
{
    PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
}
void EscKey(HWND dialog)
{
    HWND cancel = GetDlgItem(dialog, IDCANCEL);
    SetFocus(cancel);
    PostMessageA(cancel, WM_KEYDOWN, VK_ESCAPE, 1);
}

void Installations()
{
    const struct { const char* what; void (*prepare)(); std::string from; std::vector<Reply> replies; void (*expect)(); } rows[] = {
        {"walk through", HoldSourceForReading, SETUP,
         {Shot("welcome", {"~< Back"}), Shot("target", {TARGET, "< Back"}), CREATE_YES, Shot("game", {GAME}),
          Shot("summary", {TARGET, GAME}), Shot("finish", {"~< Back", "Finish"})},
         ExpectInstalled},
        {"again over a changed installation, closed by the close box", Tamper, SETUP,
         Join({ToGamePage(GAME), {Page("summary", {}, IDC_NEXT), Page("finish", {}, 0, CloseBox)}}), ExpectInstalled},
        {"files that can't be expanded", PrepareBadSources, "D:\\SETUP_BAD",
         Join({ToGamePage(GAME),
               {Page("summary", {}, IDC_NEXT), CannotExpand("Removal.ex_"), CannotExpand("Velari.ex_"),
                CannotExpand("Velari.hl_"), Page("incomplete", {}, IDC_NEXT, [](HWND page) { Screenshot("page_incomplete", page); })}}),
         ExpectExpansionFailures},
    };
    Fresh();
    RemoveTree("D:\\GAMES");
    Place({GAME + "gravion.exe"});
    for (const auto& row : rows) {
        SetContext("installations: %s", row.what);
        if (row.prepare)
            row.prepare();
        RunInstaller(row.from, row.replies);
        CloseHandle(heldOpen);
        heldOpen = INVALID_HANDLE_VALUE;
        row.expect();
    }
}

// Each way of cancelling, answered No, shows the same page afresh; Back goes
// one page back, from the game page through a new search; the target test
// asks before it makes the folder, and its failure leads back.
void PageMoves()
{
    const std::string first = "D:\\GAMES\\FIRST\\", second = "D:\\GAMES\\SECOND\\";
    auto moveGame = [=](HWND) {
        RemoveTree("D:\\GAMES");
        Place({second + "gravion.exe"});
    };
    std::vector<Reply> replies;
    for (const char* page : {"welcome", "target", "game", "summary"}) {
        const std::string field = strcmp(page, "target") == 0 ? TARGET : strcmp(page, "game") == 0 ? first : "";
        const std::vector<std::string> fields = field.empty() ? std::vector<std::string>() : std::vector<std::string>{field};
        for (std::function<void(HWND)> act : {std::function<void(HWND)>(), std::function<void(HWND)>(EscKey),
                                              std::function<void(HWND)>(CloseBox)})
            replies = Join({replies, {Page(page, fields, act ? 0 : IDCANCEL, act), ABORT_NO}});
        if (field.size())
            replies = Join({replies, {Page(page, fields, IDC_BROWSE),
                                      {page[0] == 't' ? "Choose Folder" : "Find Gravion!", {}, IDCANCEL}}});
        replies.push_back(Page(page, fields, page[0] == 's' ? IDC_BACK : IDC_NEXT, page[0] == 's' ? std::function<void(HWND)>(moveGame) : nullptr));
        if (page[0] == 't')
            replies = Join({replies, {CREATE_NO, Page("target", {TARGET}, IDC_BACK), Page("welcome", {}, IDC_NEXT),
                                      Page("target", {TARGET}, IDC_NEXT), CREATE_YES}});
    }
    replies = Join({replies, {Page("game", {first}, IDC_BACK), Page("game", {second}, IDCANCEL), ABORT_YES}});
    Fresh();
    RemoveTree("D:\\GAMES");
    Place({first + "gravion.exe"});
    RunInstaller(SETUP, replies);

    SetContext("page_moves: the target folder's parent missing");
    Fresh(false);
    RunInstaller(SETUP, Join({{Page("welcome", {}, IDC_NEXT), Page("target", {}, IDC_NEXT), CREATE_YES, CANNOT_CREATE},
                              Abort("target")}));
    EXPECT(GetFileAttributesA(TARGET.c_str()) == INVALID_FILE_ATTRIBUTES, "the folder was made");
}

void Search()
{
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
        Fresh();
        MakeFolders(TARGET);
        RemoveTree("D:\\GAMES");
        Place(row.files);
        if (row.hidden)
            SetFileAttributesA(row.hidden, FILE_ATTRIBUTE_HIDDEN);
        RunInstaller(SETUP, Join({ToGamePage(row.found, IDCANCEL), {ABORT_YES}}));
        DeleteFileA("D:\\gravion.exe");
        DeleteFileA("C:\\GRAVTEST\\gravion.exe");
    }
}

// The progress window can't be made: said, and the installer ends.
void WindowFailure()
{
    Fresh();
    MakeFolders(TARGET);
    // The templates then come from a module that has none of them.
    auto noTemplates = [](HWND) { installer.instance = GetModuleHandleA("kernel32.dll"); };
    RunInstaller(SETUP, {Page("welcome", {}, IDC_NEXT), Page("target", {}, IDC_NEXT, noTemplates),
                         {"ERROR", {"|Error creating Dialog Box|"}, IDOK}});
}

// The chooser's tree as "text level", * when selected, + when expanded,
// the children in brackets.
std::string TreeItems(HWND tree, HTREEITEM item)
{
    std::string items;
    for (; item; item = TreeView_GetNextSibling(tree, item)) {
        char text[MAX_PATH] = "";
        TVITEMA query = {};
        query.mask = TVIF_TEXT | TVIF_PARAM | TVIF_STATE;
        query.hItem = item;
        query.stateMask = TVIS_SELECTED | TVIS_EXPANDED;
        query.pszText = text;
        query.cchTextMax = sizeof text;
        TreeView_GetItem(tree, &query);
        items += std::string(items.empty() ? "" : ", ") + text + " " + std::to_string(query.lParam) +
                 (query.state & TVIS_SELECTED ? "*" : "") + (query.state & TVIS_EXPANDED ? "+" : "");
        if (HTREEITEM child = TreeView_GetChild(tree, item))
            items += " [" + TreeItems(tree, child) + "]";
    }
    return items;
}

// The drive box's items in order, the selected one marked *.
std::string DriveItems(HWND chooser)
{
    HWND box = GetDlgItem(chooser, IDC_DRIVE_BOX);
    std::string items;
    for (LRESULT i = 0; i < SendMessageA(box, CB_GETCOUNT, 0, 0); ++i) {
        char text[MAX_PATH * 2] = "";
        SendMessageA(box, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        items += std::string(i ? "|" : "") + text + (i == SendMessageA(box, CB_GETCURSEL, 0, 0) ? "*" : "");
    }
    return items;
}

// What the chooser shows: its drives, path box and tree; a tree ending in
// "[" is the start of what must be shown.
void ExpectChooser(HWND chooser, const std::string& drives, const std::string& path, const std::string& tree)
{
    HWND treeView = GetDlgItem(chooser, IDC_FOLDER_TREE);
    const std::string shownTree = TreeItems(treeView, TreeView_GetRoot(treeView)), shownPath = TextOf(GetDlgItem(chooser, IDC_FOLDER_FIELD));
    EXPECT(DriveItems(chooser) == drives, "drives %s", DriveItems(chooser).c_str());
    EXPECT(shownPath == path, "path box \"%s\", expected \"%s\"", shownPath.c_str(), path.c_str());
    EXPECT(tree.back() == '[' ? shownTree.compare(0, tree.size(), tree) == 0 : shownTree == tree,
           "tree\n  %s\nexpected\n  %s", shownTree.c_str(), tree.c_str());
}

void Type(HWND chooser, const std::string& text)
{
    SetDlgItemTextA(chooser, IDC_FOLDER_FIELD, text.c_str());
}

// The chooser in both roles through the wizard's Browse buttons: the tree
// worked with + and - as a person would, the drive box by its
// notification, typed folders, and what is chosen reaching the pages, the
// summary and the registry.
void FolderChooser()
{
    Fresh();
    const std::string longest(234, 'L'), alpha = TARGET + "Alpha\\", drives = "C: [SYSTEM]|D: [DATA]*";
    for (const std::string& folder : {alpha + "Deep", TARGET + "Hidden", TARGET + longest, TARGET + longest + "M"})
        EXPECT(MakeFolders(folder), "cannot make %s", folder.c_str());
    SetFileAttributesA((TARGET + "Hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
    WriteBytes(TARGET + "notes.txt", "a file");
    Place({"C:\\GRAVTEST\\gravion.exe"});
    const std::string velari = "D:\\ 1+ [Program Files 2+ [Velari 3*+ [Alpha 5 [test 6], Hidden 5 [test 6], " +
                               longest + " 5 [test 6]]]]";
    const std::string alphaTree = "D:\\ 1+ [Program Files 2+ [Velari 3+ [Alpha 4*+ [Deep 6 [test 7]]]]]";
    auto navigate = [=](HWND chooser) {
        // Keys on the tree (so many up-arrows first, -1 for one down-arrow), and what the chooser shows then.
        const struct { const char* what; int ups; UINT key; std::string path, tree; } steps[] = {
            {"opened", 0, 0, TARGET, velari},
            {"subfolder expanded", -1, VK_ADD, alpha, alphaTree},
            {"deepest collapsed", 0, VK_SUBTRACT, alpha, alphaTree},
            {"chain item collapsed", 1, VK_SUBTRACT, TARGET, velari},
            {"root collapsed", 2, VK_SUBTRACT, "D:\\", "D:\\ 1*+ ["},
        };
        HWND tree = GetDlgItem(chooser, IDC_FOLDER_TREE);
        Screenshot("chooser_target", chooser);
        for (const auto& step : steps) {
            SetContext("folder_chooser: %s", step.what);
            for (int up = 0; up < step.ups; ++up)
                SendMessageA(tree, WM_KEYDOWN, VK_UP, 0);
            if (step.ups < 0)
                SendMessageA(tree, WM_KEYDOWN, VK_DOWN, 0);
            if (step.key)
                SendMessageA(tree, WM_KEYDOWN, step.key, 0);
            Pump();
            ExpectChooser(chooser, drives, step.path, step.tree);
        }
    };
    auto chooseC = [=](HWND chooser) {
        ExpectChooser(chooser, drives, TARGET, "D:\\ 1*+ [");
        SendDlgItemMessageA(chooser, IDC_DRIVE_BOX, CB_SETCURSEL, 0, 0);
        SendMessageA(chooser, WM_COMMAND, MAKEWPARAM(IDC_DRIVE_BOX, CBN_SELENDOK),
                     reinterpret_cast<LPARAM>(GetDlgItem(chooser, IDC_DRIVE_BOX)));
        Pump();
        ExpectChooser(chooser, "C: [SYSTEM]*|D: [DATA]", "C:\\", "C:\\ 1*+ [");
    };
    auto typeAlpha = [=](HWND chooser) {
        ExpectChooser(chooser, "C: [SYSTEM]*|D: [DATA]", "C:\\", "C:\\ 1*+ [");
        Type(chooser, TARGET + "Alpha");  // gets its backslash
    };
    // Too long with its backslash: refused, and the chooser stays; a bare
    // drive is its root.
    auto gameRole = [=](HWND chooser) {
        ExpectChooser(chooser, "C: [SYSTEM]*|D: [DATA]", "C:\\GRAVTEST\\", "C:\\ 1+ [GRAVTEST 2*]");
        Screenshot("chooser_game", chooser);
        Type(chooser, "D:\\" + std::string(MAX_PATH - 4, 'x'));
        SendMessageA(chooser, WM_COMMAND, IDOK, 0);
        EXPECT(IsWindow(chooser) && IsWindowVisible(chooser), "the chooser closed");
        Type(chooser, "D:");
    };
    const std::string CHOOSE = "Choose Folder", FIND = "Find Gravion!";
    RunInstaller(SETUP, {Page("welcome", {}, IDC_NEXT), Page("target", {TARGET}, IDC_BROWSE),
                         {CHOOSE, {"|Please choose the folder for installation.|"}, IDCANCEL, navigate},
                         Page("target", {TARGET}, IDC_BROWSE), {CHOOSE, {}, IDOK, chooseC},
                         Page("target", {"C:\\"}, IDC_BROWSE), {CHOOSE, {}, IDOK, typeAlpha},
                         Page("target", {alpha}, IDC_NEXT), Page("game", {"C:\\GRAVTEST\\"}, IDC_BROWSE),
                         {FIND, {"|Please select the Gravion! Folder.|"}, IDOK, gameRole},
                         {"Error", {"|This path is too long. Please choose a shorter one.|"}, IDOK},
                         Page("game", {"D:\\"}, IDC_NEXT), Page("summary", {alpha, "D:\\"}, IDC_NEXT),
                         Page("finish", {}, IDC_NEXT)});
    SetContext("folder_chooser: stored");
    EXPECT(RegistryText(HKEY_LOCAL_MACHINE, PROGRAM_KEY, "HDDir") == alpha, "HDDir");
    EXPECT(RegistryText(HKEY_LOCAL_MACHINE, PROGRAM_KEY, "TraDir") == "D:\\", "TraDir");
    DeleteFileA("C:\\GRAVTEST\\gravion.exe");

    // Started on the CD-ROM drive, the chooser opens on the first fixed one.
    SetContext("folder_chooser: started on E:");
    auto onE = [](HWND chooser) { ExpectChooser(chooser, "C: [SYSTEM]*|D: [DATA]", "E:\\Program Files\\Velari\\", "C:\\ 1*+ ["); };
    RunInstaller("E:\\", Join({{Page("welcome", {}, IDC_NEXT), Page("target", {}, IDC_BROWSE), {CHOOSE, {}, IDCANCEL, onE}},
                               Abort("target")}));
}

// For the benchmark, on its large tree: the search bar read while it scans
// keeps rising and stays below full until the scan is over (a screenshot
// shows it part-filled); and the search timed against a bare walk.
DWORD searchStart;
DWORD WINAPI WatchBar(void*)
{
    std::vector<long> seen;
    HWND progress = nullptr;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 120000; Sleep(2)) {
        HWND shown = FindWindowA("#32770", "Velari Installer");
        HWND bar = shown ? GetDlgItem(shown, IDC_PROGRESS_BAR) : nullptr;
        if (!bar && progress)
            break;  // the search is over
        DWORD_PTR position = 0;
        if (!bar || !SendMessageTimeoutA(bar, PBM_GETPOS, 0, 0, SMTO_NORMAL, 1000, &position))
            continue;
        progress = shown;
        if (seen.empty() || long(position) != seen.back())
            seen.push_back(long(position));
        if (seen.size() == 8)
            Screenshot("progress_search", progress);
    }
    EXPECT(seen.size() >= 8 && std::is_sorted(seen.begin(), seen.end()) && seen.back() > 500 && seen.back() < 1000,
           "the bar was seen at %u positions, rising: %d, the last %ld of 1000", unsigned(seen.size()),
           std::is_sorted(seen.begin(), seen.end()), seen.empty() ? -1 : seen.back());
    return 0;
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

void Bench()
{
    Fresh();
    MakeFolders(TARGET);
    DWORD start = GetTickCount();
    const int folders = Walk("C:\\") + Walk("D:\\");
    const double bare = (GetTickCount() - start) / 1000.0;
    HANDLE watcher = CreateThread(nullptr, 0, WatchBar, nullptr, 0, nullptr);
    double search = 0;
    RunInstaller(SETUP, {Page("welcome", {}, IDC_NEXT), Page("target", {}, IDC_NEXT, [](HWND) { searchStart = GetTickCount(); }),
                         Page("game", {}, IDCANCEL, [&](HWND) { search = (GetTickCount() - searchStart) / 1000.0; }), ABORT_YES});
    WaitForSingleObject(watcher, 60000);
    std::printf("bench: %d folders on C: and D:; bare FindFirstFileA walk %.2f s (%.0f folders/s)\n", folders, bare,
                folders / bare);
    std::printf("bench: installer search %.2f s (%.0f folders/s), %.2f times the bare walk (goal: at most 1.05)\n",
                search, folders / search, search / bare);
    std::printf("bench-search-rate %.0f\n", folders / search);
}

}  // namespace

int main(int argc, char** argv)
{
    CoInitialize(nullptr);  // for reading the shortcuts between walks
    installer.instance = GetModuleHandleA(nullptr);
    if (!RegisterInstallerClass())
        return 1;
    std::vector<Case> cases = {{"installations", Installations}, {"page_moves", PageMoves}, {"search", Search},
                               {"window_failure", WindowFailure}, {"folder_chooser", FolderChooser}};
    if (argc > 1)
        cases.push_back({"bench", Bench});  // only on the benchmark's tree, by name
    return RunCases(argc, argv, cases);
}
