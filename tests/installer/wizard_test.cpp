// The installer's wizard under Wine in one process with its own code, in the
// manner of Wine's user32 tests: the hidden installer window is made from the
// objects install.exe is linked from, started in D:\SETUP (the distribution,
// prepare_installer_world.sh) and run to its end, and a timer inside each
// modal loop answers every page, message box and folder chooser from the
// walk's script. Each walk is a row: what is prepared, every dialog in order,
// and what must then be on the disk, in the registry and in the Start menu.
// The path rules the pages and the chooser apply are the native tables'.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "install_options.h"
#include "folder_chooser.h"
#include "installed_product.h"
#include "installer_state.h"
#include "progress_window.h"
#include "resource.h"
#include "same_folder.h"
#include "target_folder.h"
#include "velari_version.h"
#include "win_driver.h"
#include "wizard.h"

using namespace e2e;

namespace {

const std::string SETUP = "D:\\SETUP\\", TARGET = "D:\\Program Files\\Velari\\", GAME = "D:\\GAMES\\GRAVION\\",
                  // The system's Program Files folder as a program of this width sees it.
                  SYSTEM_TARGET = sizeof(void*) == 4 ? "C:\\Program Files (x86)\\Velari\\" : "C:\\Program Files\\Velari\\";

// A page by the start of its first text, with the folder fields it shows.
Reply Page(const char* page, std::vector<std::string> fields, int button, std::function<void(HWND)> act = nullptr)
{
    const struct { const char* name; std::string text; } PAGES[] = {
        {"welcome", "|Welcome to the Velari Installation Program!"}, {"target", "|The first step in installing"},
        {"game", "|Velari Installer has found what appears"}, {"summary", "|Velari Installer has gathered"},
        {"finish", "|Velari Installer has successfully installed Velari!"},
        {"incomplete", "|The installation of Velari is incomplete: 1 of its " + std::to_string(INSTALL_ACTION_COUNT) + " steps failed."},
    };
    Reply reply = {"Velari Installer", {}, button, act};
    for (const auto& known : PAGES)
        if (strcmp(known.name, page) == 0)
            reply.shows.push_back(known.text);
    for (const std::string& field : fields)
        reply.shows.push_back("|" + field + "|");
    return reply;
}
// Left with Enter, which must go to Next, the focus on it.
Reply Shot(const char* page, std::vector<std::string> fields)
{
    return Page(page, fields, 0, [page](HWND dialog) {
        EXPECT_EQ(BitmapWidth(GetDlgItem(dialog, IDC_BANNER)), AtScreenDpi(122));  // drawn for 96 dots per inch
        Screenshot((std::string("page_") + page).c_str(), dialog);
        EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_NEXT)) << page;
        PostMessageA(GetFocus(), WM_KEYDOWN, VK_RETURN, 1);
    });
}

const Reply CREATE_YES = {"Create Folder?", {"|The Specified Target Folder Does Not Exist! Create It Now?|"}, IDYES},
            CREATE_NO = {"Create Folder?", {}, IDNO}, ABORT_YES = {"Abort!", {"|Abort Installation of Velari?|"}, IDYES},
            ABORT_NO = {"Abort!", {}, IDNO};

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

// No installation: no target folder (its parent there or not), no values,
// no shortcuts.
void Fresh(bool parent = true)
{
    SetCurrentDirectoryA("D:\\");
    RemoveTree("D:\\Program Files");
    RemoveTree(SYSTEM_TARGET.substr(0, SYSTEM_TARGET.size() - 1));
    if (parent)
        MakeFolders("D:\\Program Files");
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT, HKEY_CURRENT_USER})
        for (const char* key : {PROGRAM_KEY, UNINSTALL_KEY, TRACK_EXTENSION_KEY, TRACK_CLASS_KEY, "Software\\Classes\\.tra"})
            RegDeleteTreeA(root, key);
    for (const InstalledShortcut& shortcut : INSTALLED_SHORTCUTS)
        DeleteFileA((StartMenuFolder("Velari") + shortcut.linkName).c_str());
}

void Place(const std::vector<std::string>& paths)
{
    for (const std::string& path : paths)
        ASSERT_TRUE(MakeFolders(path.substr(0, path.rfind('\\'))) && WriteBytes(path, "game")) << path;
}

// The game's executable in these places only: a fresh installation, its
// target folder there.
void GameOnlyAt(const std::vector<std::string>& paths)
{
    Fresh();
    MakeFolders(TARGET);
    RemoveTree("D:\\GAMES");
    DeleteFileA("D:\\gravion.exe");
    DeleteFileA("C:\\GRAVTEST\\gravion.exe");
    Place(paths);
}

// In the system's own System32, which a 32-bit program sees only with the redirection off.
void InSystemFolder(std::function<void()> act)
{
    PVOID redirection = nullptr;
    const BOOL off = Wow64DisableWow64FsRedirection(&redirection);
    act();
    off && Wow64RevertWow64FsRedirection(redirection);
}

// A walk that comes to a stop with no dialog open would wait for ever.
void CALLBACK WalkStopped(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    ADD_FAILURE() << "the installer went on without a window for half a minute";
    DestroyWindow(installer.window);
}

// The installer as its entry point runs it, from the folder, as if its
// program file lay there, with the command line, to its end; its exit code.
int RunInstaller(const std::string& folder, std::vector<Reply> replies, std::string commandLine = "")
{
    SetCurrentDirectoryA(folder.c_str());
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    installer = InstallerState();
    installer.instance = instance;
    JoinPath(installer.sourceFolder, sizeof installer.sourceFolder, folder.c_str(), folder.back() == '\\' ? "" : "\\");
    InstallOptions options;
    const bool understood = ParseInstallOptions(&commandLine[0], &options);
    ExpectReplies(std::move(replies));
    const UINT_PTR deadline = SetTimer(nullptr, 0, 30000, WalkStopped);
    const int code = understood ? InstallerMain(options) : RefuseCommandLine(options);
    KillTimer(nullptr, deadline);
    ExpectAllReplied();
    EXPECT_FALSE(IsWindow(installer.window));
    installer.instance = instance;
    SetCurrentDirectoryA("D:\\");
    return code;
}

std::string LinkTarget(const std::string& link)
{
    WCHAR path[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, path, MAX_PATH);
    IShellLinkA* shellLink = nullptr;
    IPersistFile* file = nullptr;
    char linked[MAX_PATH] = "", description[MAX_PATH] = "";
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&shellLink))) &&
        SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load(path, STGM_READ))) {
        shellLink->GetPath(linked, MAX_PATH, nullptr, SLGP_RAWPATH);
        shellLink->GetDescription(description, MAX_PATH);
    }
    if (file)
        file->Release();
    if (shellLink)
        shellLink->Release();
    return std::string(linked) + "|" + description;
}

// Where an installation for the current user keeps its keys and shortcuts.
struct Places {
    HKEY settings, classes;
    std::string classesKey, menu;
};
const Places ALL_USERS = {HKEY_LOCAL_MACHINE, HKEY_LOCAL_MACHINE, "Software\\Classes\\", ""};
Places UserPlaces()
{
    char programs[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, programs);
    return {HKEY_CURRENT_USER, HKEY_CURRENT_USER, "Software\\Classes\\", std::string(programs) + "\\Velari\\"};
}

// The values, the entry in the system's list of programs and the shortcuts.
void ExpectRegistered(const std::string& target, const std::string& game, const Places& places = ALL_USERS)
{
    const struct { HKEY root; std::string key; const char* name; std::string value; } rows[] = {
        {HKEY_LOCAL_MACHINE, PROGRAM_KEY, "HDDir", target},
        {HKEY_LOCAL_MACHINE, PROGRAM_KEY, "TraDir", game},
        {HKEY_CLASSES_ROOT, ".tra", nullptr, "velari"},
        {HKEY_CLASSES_ROOT, "velari\\DefaultIcon", nullptr, target + "Velari.exe,1"},
        {HKEY_CLASSES_ROOT, "velari\\shell\\open\\command", nullptr, "\"" + target + "Velari.exe\" %1"},
        {HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "DisplayName", "Velari v2.0"},
        {HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "UninstallString", "\"" + target + "Removal.exe\""},
        {HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "QuietUninstallString", "\"" + target + "Removal.exe\" /SILENT"},
        {HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "DisplayIcon", target + "Velari.exe,0"},
        {HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "DisplayVersion", VELARI_VERSION_TEXT},
        {HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "Publisher", "Quorvane"},
        {HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "InstallLocation", target},
    };
    for (const auto& row : rows) {
        const bool classes = row.root == HKEY_CLASSES_ROOT;
        const std::string key = classes ? places.classesKey + row.key : row.key;
        EXPECT_EQ(RegistryText(classes ? places.classes : places.settings, key.c_str(), row.name), row.value) << key << " " << (row.name ? row.name : "");
    }
    // The size of the four files in KB, rounded up; no modify or repair.
    long long bytes = 0;
    for (const InstalledFile& file : INSTALLED_FILES)
        bytes += FileExists(target + file.expandedName) ? FileText(target + file.expandedName).size() : 0;
    const struct { const char* name; DWORD number; } numbers[] = {
        {"EstimatedSize", DWORD((bytes + 1023) / 1024)}, {"NoModify", 1}, {"NoRepair", 1}};
    for (const auto& value : numbers) {
        DWORD number = 0, size = sizeof number;
        RegGetValueA(places.settings, UNINSTALL_KEY, value.name, RRF_RT_REG_DWORD, nullptr, &number, &size);
        EXPECT_EQ(number, value.number) << value.name;
    }
    const std::string menu = places.menu.empty() ? StartMenuFolder("Velari") : places.menu;
    EXPECT_EQ(LinkTarget(menu + "Velari v2.0.lnk"), target + "Velari.exe|Velari v2.0");
    EXPECT_EQ(LinkTarget(menu + "Velari Help.lnk"), target + "Velari.chm|Velari Help");
    EXPECT_EQ(LinkTarget(menu + "Uninstall Velari.lnk"), target + "Removal.exe|Uninstall Velari");
}

// The four files as the distribution's originals, beside this test.
void ExpectInstalled()
{
    for (const InstalledFile& file : INSTALLED_FILES)
        EXPECT_TRUE(FileText(TARGET + file.expandedName) == FileText(DriverFolder() + file.expandedName)) << file.expandedName;
    ExpectRegistered(TARGET, GAME);
}

// A compressed file held open for reading by another program, as a virus
// scanner does with a fresh download: it expands all the same.
HANDLE heldOpen = INVALID_HANDLE_VALUE;
void HoldSourceForReading()
{
    heldOpen = CreateFileA((SETUP + "Velari.hl_").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
}

// The release's compressed files in folder, as the only ones there.
void CopyRelease(const std::string& folder)
{
    Fresh();
    RemoveTree(folder.substr(0, folder.size() - 1));
    MakeFolders(folder);
    for (const InstalledFile& file : INSTALLED_FILES)
        CopyFileA((SETUP + file.compressedName).c_str(), (folder + file.compressedName).c_str(), FALSE);
}

// The release with one byte of Velari.ex_ changed, in D:\SETUP_BAD.
void PrepareDamagedRelease()
{
    CopyRelease("D:\\SETUP_BAD\\");
    std::string program = FileText(SETUP + "Velari.ex_");
    program[program.size() / 2] ^= 1;
    WriteBytes("D:\\SETUP_BAD\\Velari.ex_", program);
}

// A file of an earlier installation that another program holds open
// without sharing: it stays, no partial file is left, the rest installs.
void HoldEarlierProgram()
{
    Fresh();
    MakeFolders(TARGET);
    WriteBytes(TARGET + "Velari.exe", "of an earlier installation");
    heldOpen = CreateFileA((TARGET + "Velari.exe").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}
void ExpectEarlierProgramKept()
{
    EXPECT_EQ(FileText(TARGET + "Velari.exe"), "of an earlier installation");
    EXPECT_EQ(FileText(TARGET + "Removal.exe"), FileText(DriverFolder() + "Removal.exe"));
    WIN32_FIND_DATAA entry;
    EXPECT_EQ(FindFirstFileA((TARGET + "*.tmp").c_str(), &entry), INVALID_HANDLE_VALUE) << "a partial file was left";
    ExpectRegistered(TARGET, GAME);
}

// A second installation replaces what the first left, changed since.
void Tamper()
{
    WriteBytes(TARGET + "Velari.hlp", "tampered");
    WriteBytes(TARGET + "Velari.exe", "");
    for (const char* name : {"HDDir", "TraDir"})
        RegSetKeyValueA(HKEY_LOCAL_MACHINE, PROGRAM_KEY, name, REG_SZ, "x", 2);
}

// The editor running from the target, without a track: the installation
// asks before it closes it, and opens it again afterwards.
Program runningEditor;
const Reply CLOSE_CANCEL = {"Velari Installer", {"|Velari is open. Velari Installer closes it to install"}, IDCANCEL},
            CLOSE_OK = {"Velari Installer", {}, IDOK};
void StartEditorInTarget()
{
    Fresh();
    MakeFolders(TARGET);
    CopyFileA((DriverFolder() + "Velari.exe").c_str(), (TARGET + "Velari.exe").c_str(), FALSE);
    StartProgram((TARGET + "Velari.exe").c_str(), "", "D:\\", &runningEditor);
    WaitTopWindow(runningEditor.pid, "Velari", "Velari");
}
void ExpectEditorOpenedAgain()
{
    EXPECT_GE(WaitProgramExit(runningEditor), 0) << "not closed";
    EndProgram(&runningEditor);
    HWND reopened = WaitTopWindow(0, "Velari", "Velari");
    ASSERT_TRUE(reopened) << "not opened again";
    GetWindowThreadProcessId(reopened, &runningEditor.pid);
    runningEditor.process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, runningEditor.pid);
    EndProgram(&runningEditor);
    ExpectInstalled();
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

// A 32-bit installation for all users in folder (which need not exist), by
// its keys in the 32-bit view; another program's value under the maker's
// key when asked. Then which of those keys are left, "|" after each.
void Registered32(const std::string& folder, bool makersValue)
{
    Fresh();
    for (const char* name : {PROGRAM_KEY, UNINSTALL_KEY, PROGRAM_KEY_PARENTS[1]}) {
        HKEY key;
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, name, 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr, &key, nullptr);
        if (name == PROGRAM_KEY || (makersValue && name == PROGRAM_KEY_PARENTS[1]))
            RegSetKeyValueA(key, nullptr, name == PROGRAM_KEY ? "HDDir" : "Other", REG_SZ, folder.c_str(), DWORD(folder.size() + 1));
        RegCloseKey(key);
    }
}
std::string Left32()
{
    std::string left;
    HKEY key;
    for (const char* name : {PROGRAM_KEY, PROGRAM_KEY_PARENTS[0], PROGRAM_KEY_PARENTS[1], UNINSTALL_KEY})
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, name, 0, KEY_READ | KEY_WOW64_32KEY, &key) == ERROR_SUCCESS && !RegCloseKey(key))
            left += std::string(name) + "|";
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, PROGRAM_KEY_PARENTS[1], KEY_WOW64_32KEY, 0);
    return left;
}
std::string ShortForm(const std::string& path)
{
    char shortPath[MAX_PATH] = "";
    GetShortPathNameA(path.c_str(), shortPath, MAX_PATH);
    return shortPath;
}

class Wizard : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        CoInitialize(nullptr);  // for reading the shortcuts
        installer.instance = GetModuleHandleA(nullptr);
        RegisterInstallerClass();
    }
};

}  // namespace

// Each walk, by the wizard or by a command line (then any dialog fails the
// row), with its exit code, the log's last line and the failure it names, if
// any, and what it leaves.
// Cancel, Esc and the close box, each answered No, show the page afresh;
// Back goes one page back, from the game page through a new search; the
// target test asks before it makes the folder, which Abort takes back while
// it is empty. The target page proposes an installation there is, else
// Program Files on D:, else the system's. The game page shows what the search
// found; behind links (a loop among them) and on the CD-ROM nothing is found.
TEST_F(Wizard, Walks)
{
    // The progress window's texts show whole (the pages, the chooser and the messages are measured as answered).
    installer.instance = GetModuleHandleA(nullptr);
    for (DLGPROC form : {SearchProgressDlgProc, InstallProgressDlgProc}) {
        HWND progress = OpenProgressWindow(form);
        EXPECT_EQ(CutTexts(progress), "");
        DestroyWindow(progress);
    }
    const std::string first = "D:\\GAMES\\FIRST\\", second = "D:\\GAMES\\SECOND\\";
    auto moveGame = [=](HWND) { GameOnlyAt({second + "gravion.exe"}); };
    auto search = [](std::vector<std::string> files) { return [=] { GameOnlyAt(files); }; };
    auto found = [](const std::string& game) { return Join({ToGamePage(game, IDCANCEL), {ABORT_YES}}); };
    const std::string greek = "D:\\Program Files\\\u03a4\u03c1\u03b1\u03ba \u03a9\\Velari\\", greekGame = "D:\\\u03a0\u03b1\u03b9\u03c7\u03bd\u03af\u03b4\u03b9\u03b1\\";
    auto nothingWritten = [] {
        EXPECT_EQ(GetFileAttributesA(TARGET.c_str()), INVALID_FILE_ATTRIBUTES);
        EXPECT_EQ(GetFileAttributesA(SYSTEM_TARGET.c_str()), INVALID_FILE_ATTRIBUTES);
        EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, PROGRAM_KEY, "HDDir"), "<none>");
    };
    // Named in Greek: the values and the expanded file reach the folders named.
    auto greekRegistered = [=] {
        EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, PROGRAM_KEY, "HDDir") + RegistryText(HKEY_LOCAL_MACHINE, PROGRAM_KEY, "TraDir"),
                  greek + greekGame);
        EXPECT_EQ(FileText(greek + "Velari.exe"), FileText(DriverFolder() + "Velari.exe"));
        RemoveTree(greekGame.substr(0, greekGame.size() - 1));
    };
    auto noTemplates = [](HWND) { installer.instance = GetModuleHandleA("kernel32.dll"); };
    const std::string TOO_LONG = "D:\\" + std::string(MAX_PATH, 'v'), systemGame = "C:\\windows\\system32\\";
    MakeFolders(TARGET);
    const std::string shortTarget = ShortForm(TARGET);
    std::string slashedTarget = shortTarget;
    std::replace(slashedTarget.begin(), slashedTarget.end(), '\\', '/');
    char local[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, local);
    const std::string userTarget = std::string(local) + "\\Programs\\Velari\\";
    const struct {
        const char* what;
        std::function<void()> prepare;
        std::string from, line;
        std::vector<Reply> replies;
        std::function<void()> expect;
        int code;
        const char* failed = nullptr;  // in the log after "FAILED: "
    } rows[] = {
        {"walk through", HoldSourceForReading, SETUP, "",
         {Shot("welcome", {"~< Back"}), Shot("target", {TARGET, "< Back"}), CREATE_YES, Shot("game", {GAME}),
          Shot("summary", {TARGET, GAME}), Shot("finish", {"~< Back", "Finish"})},
         ExpectInstalled, 0},
        {"again over a changed installation, closed by the close box", Tamper, SETUP, "",
         Join({ToGamePage(GAME), {Page("summary", {}, IDC_NEXT), Page("finish", {}, 0, CloseBox)}}), ExpectInstalled, 0},
        {"over a running Velari: Cancel on the question goes back to the summary", StartEditorInTarget, SETUP, "",
         Join({ToGamePage(GAME), {Page("summary", {}, IDC_NEXT), CLOSE_CANCEL, Page("summary", {}, IDC_NEXT), CLOSE_OK,
                                  Page("finish", {}, IDC_NEXT)}}),
         ExpectEditorOpenedAgain, 0},
        {"a file that can't be replaced", HoldEarlierProgram, SETUP, "",
         Join({ToGamePage(GAME),
               {Page("summary", {}, IDC_NEXT), {"Error!", {"|Velari Installer could not expand D:\\SETUP\\Velari.ex_.|"}, IDOK},
                Page("incomplete", {}, IDC_NEXT, [](HWND page) { Screenshot("page_incomplete", page); })}}),
         ExpectEarlierProgramKept, 4, "the expanded file can't replace"},
        {"a damaged release: told before any page, nothing made", PrepareDamagedRelease, "D:\\SETUP_BAD", "",
         {{"Velari Installer", {"|The file Velari.ex_ in D:\\SETUP_BAD\\ is damaged or not from this release"}, IDOK}},
         nothingWritten, 4, "the file is damaged"},
        {"a page can't be made", [] { Fresh(); }, SETUP, "",
         {Page("welcome", {}, IDC_NEXT, noTemplates), {"ERROR", {"|Error creating Dialog Box|"}, IDOK}}, [] {}, 4},
        {"the progress window can't be made: no search", [] { Fresh(); MakeFolders(TARGET); }, SETUP, "",
         {Page("welcome", {}, IDC_NEXT), Page("target", {}, IDC_NEXT, noTemplates), {"ERROR", {"|Error creating Dialog Box|"}, IDOK}},
         [] { EXPECT_STREQ(installer.gameFolder, ""); }, 4},
        {"the installation's window can't be made: nothing installed", [] { Fresh(); MakeFolders(TARGET); }, SETUP, "",
         Join({ToGamePage(GAME), {Page("summary", {}, IDC_NEXT, noTemplates), {"ERROR", {"|Error creating Dialog Box|"}, IDOK}}}),
         [] { EXPECT_EQ(FileText(TARGET + "Velari.exe") + RegistryText(HKEY_LOCAL_MACHINE, PROGRAM_KEY, "HDDir"), "<missing><none>"); }, 4},
        {"the game folder given", [] { Fresh(); MakeFolders(TARGET); }, SETUP, "/verysilent /GameDir=D:\\OTHER", {},
         [] { ExpectRegistered(TARGET, "D:\\OTHER\\"); }, 0},
        // The target given; a 32-bit installation taken over: its folder
        // gone by hand is no failure; spelled short with slashes, the target
        // is the same folder however either is spelled, and keeps this
        // one's files; the maker's key
        // stays for another program's value.
        {"the other width's folder gone", [] { Registered32("D:\\Gone 32\\", false); }, SETUP, "/VERYSILENT",
         {}, [] { ExpectInstalled(); EXPECT_EQ(Left32(), ""); }, 0},
        {"the other width's in the target through a link, given short with slashes", [=] {
             Registered32("D:\\LINKS\\loop\\Program Files\\Velari\\", true); MakeFolders(TARGET); }, SETUP, "/SILENT \"/DIR=" + slashedTarget + "\"", {},
         [] { ExpectInstalled(); EXPECT_EQ(Left32(), std::string(PROGRAM_KEY_PARENTS[1]) + "|"); }, 0},
        {"the other width's program in use: its keys go, the run is incomplete", [] {
             Registered32("D:\\Old 32\\", false);
             Place({"D:\\Old 32\\Velari.exe", "D:\\Old 32\\Velari.gid", "D:\\Old 32\\mine.tra"});
             heldOpen = CreateFileA("D:\\Old 32\\Velari.exe", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr); }, SETUP, "/VERYSILENT", {},
         [] {
             EXPECT_EQ(Left32(), "");
             EXPECT_EQ(std::string(FileExists("D:\\Old 32\\Velari.exe") ? "Velari.exe " : "") + (FileExists("D:\\Old 32\\Velari.gid") ? "Velari.gid " : "") +
                           (FileExists("D:\\Old 32\\mine.tra") ? "mine.tra" : ""), "Velari.exe mine.tra");
             EXPECT_NE(FileText("D:\\install.log").find("Taking over the 32-bit installation for all users in D:\\Old 32\\"), std::string::npos);
             RemoveTree("D:\\Old 32");
         }, 4,
         "it can't be removed"},
        {"a command line not understood", [] { Fresh(); }, SETUP, "/VERYSILENT /FOO", {}, nothingWritten, 1},
        {"a target whose third level can't be made: the two made taken back", [] { Fresh(false); }, SETUP,
         "/VERYSILENT /DIR=\"" + TARGET + "a|b\"", {}, nothingWritten, 3, "it can't be made"},
        {"a target without a drive", [] { Fresh(false); }, SETUP, "/SILENT /DIR=Velari", {}, nothingWritten, 3, "it names no drive"},
        {"a target too long for any path", [] { Fresh(); }, SETUP, "/VERYSILENT /DIR=" + TOO_LONG, {}, nothingWritten, 3, "the name is too long"},
        {"a game folder too long for any path", [] { Fresh(); }, SETUP, "/VERYSILENT /GAMEDIR=" + TOO_LONG, {}, nothingWritten, 3,
         "the name is too long"},
        {"every kind of move", search({first + "gravion.exe"}), SETUP, "",
         {Page("welcome", {}, IDCANCEL), ABORT_NO, Page("welcome", {}, IDC_NEXT), Page("target", {TARGET}, 0, EscKey), ABORT_NO,
          Page("target", {TARGET}, IDC_NEXT), Page("game", {first}, 0, CloseBox), ABORT_NO,
          Page("game", {first}, IDC_BROWSE), {"Find Gravion!", {}, IDCANCEL}, Page("game", {first}, IDC_NEXT),
          Page("summary", {TARGET, first}, IDC_BACK, moveGame), Page("game", {first}, IDC_BACK),
          Page("game", {second}, IDCANCEL), ABORT_YES},
         [] {}, 2},
        {"the target not made, then made with its parent and taken back by Abort", [] { Fresh(false); }, SETUP, "/DIR=\"" + TARGET + "\"",
         {Page("welcome", {}, IDC_NEXT), Page("target", {TARGET}, IDC_NEXT), CREATE_NO, Page("target", {TARGET}, IDC_BACK),
          Page("welcome", {}, IDC_NEXT), Page("target", {TARGET}, IDC_NEXT), CREATE_YES, Page("game", {}, IDCANCEL), ABORT_YES},
         nothingWritten, 2},
        {"no Program Files on D: the system's, made, then taken back by Abort", [] { Fresh(false); }, SETUP, "",
         {Page("welcome", {}, IDC_NEXT), Page("target", {SYSTEM_TARGET}, IDC_NEXT), CREATE_YES, Page("game", {}, IDCANCEL), ABORT_YES},
         nothingWritten, 2},
        {"a second installation: the first one's folder", [] { Fresh(); Place({"D:\\FIRST\\Velari.exe"});
             RegSetKeyValueA(HKEY_LOCAL_MACHINE, PROGRAM_KEY, "HDDir", REG_SZ, "D:\\FIRST\\", 10); }, SETUP, "",
         {Page("welcome", {}, IDC_NEXT), Page("target", {"D:\\FIRST\\"}, IDCANCEL), ABORT_YES}, [] { RemoveTree("D:\\FIRST"); }, 2},
        {"just for me: the user's own places, nothing for all users", [] { GameOnlyAt({GAME + "gravion.exe"}); RemoveTree(TARGET); }, SETUP, "",
         {Page("welcome", {"~< Back"}, IDC_NEXT, [](HWND page) { CheckRadioButton(page, IDC_ALL_USERS, IDC_CURRENT_USER, IDC_CURRENT_USER); }),
          Page("target", {userTarget}, IDC_NEXT), CREATE_YES, Page("game", {GAME}, IDC_NEXT), Page("summary", {}, IDC_NEXT),
          Page("finish", {}, IDC_NEXT)},
         [=] {
             ExpectRegistered(userTarget, GAME, UserPlaces());
             EXPECT_EQ(FileText(userTarget + "Velari.exe"), FileText(DriverFolder() + "Velari.exe"));
             nothingWritten();
             for (const char* key : {TRACK_EXTENSION_KEY, TRACK_CLASS_KEY})
                 EXPECT_EQ(RegistryText(HKEY_CLASSES_ROOT, key, nullptr), "<none>") << key;
             EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "DisplayName") + FileText(StartMenuFolder("Velari") + "Velari v2.0.lnk"),
                       "<none><missing>");
         },
         0},
        {"search: nothing but behind links and on the CD-ROM", search({}), SETUP, "", found("C:\\Gravion\\"), [] {}, 2},
        {"search: at the root of D:", search({"D:\\gravion.exe"}), SETUP, "", found("D:\\"), [] {}, 2},
        {"search: in the system's own System32", [=] { GameOnlyAt({}); InSystemFolder([=] { Place({systemGame + "gravion.exe"}); }); },
         SETUP, "", found(systemGame), [=] { InSystemFolder([=] { DeleteFileA((systemGame + "gravion.exe").c_str()); }); }, 2},
        {"a file of the release another program writes: nothing made", [] {
             CopyRelease("D:\\SETUP_BAD\\");
             heldOpen = CreateFileA("D:\\SETUP_BAD\\Velari.ch_", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
         }, "D:\\SETUP_BAD", "/VERYSILENT", {}, nothingWritten, 4, "the file can't be read"},
        {"for all users by the switch: the choice fixed", [] { Fresh(); }, SETUP, "/ALLUSERS",
         {Page("welcome", {"~Just for me"}, IDCANCEL), ABORT_YES}, nothingWritten, 2},
        {"started from C:, the system's Program Files of this width", [] { CopyRelease("C:\\SETUP\\"); }, "C:\\SETUP", "",
         {Page("welcome", {}, IDC_NEXT), Page("target", {SYSTEM_TARGET}, IDCANCEL), ABORT_YES}, [] {}, 2},
        {"a target and a game folder named in Greek", [=] { GameOnlyAt({greekGame + "gravion.exe"}); RemoveTree(TARGET); }, SETUP, "",
         {Page("welcome", {}, IDC_NEXT), Page("target", {}, IDC_BROWSE),
          {"Choose Folder", {}, IDOK, [=](HWND chooser) { SetDlgItemTextA(chooser, IDC_FOLDER_FIELD, greek.substr(0, greek.size() - 7).c_str()); }},
          Page("target", {greek}, IDC_NEXT), CREATE_YES, Page("game", {greekGame}, IDC_NEXT),
          Page("summary", {greek, greekGame}, IDC_NEXT), Page("finish", {}, IDC_NEXT)},
         greekRegistered, 0},
    };
    Fresh();
    RemoveTree("D:\\GAMES");
    Place({GAME + "gravion.exe"});
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        row.prepare();
        DeleteFileA("D:\\install.log");
        EXPECT_EQ(RunInstaller(row.from, row.replies, row.line + " /LOG=\"D:\\install.log\""), row.code);
        CloseHandle(heldOpen);
        heldOpen = INVALID_HANDLE_VALUE;
        const std::string log = FileText("D:\\install.log"), last = "Exit code " + std::to_string(row.code) + ": ";
        EXPECT_EQ(log.substr(log.rfind("\r\n", log.size() - 3) + 2, last.size()), last);
        EXPECT_EQ(log.find(std::string("FAILED: ") + (row.failed ? row.failed : "")) != std::string::npos, row.failed != nullptr);
        row.expect();
    }
}

namespace {

// What the chooser's path box shows.
std::string Chosen(HWND chooser)
{
    return TextOf(GetDlgItem(chooser, IDC_FOLDER_FIELD));
}

void Type(HWND chooser, const std::string& text)
{
    SetDlgItemTextA(chooser, IDC_FOLDER_FIELD, text.c_str());
}

}  // namespace

// The chooser in both roles through the wizard's Browse buttons: its tree
// worked with the keys a person uses, its drive box, typed folders (one too
// long, one a bare drive, one without a drive), Cancel, and what is chosen
// reaching the pages, the summary and the registry: the installation's with
// Velari's folder below it, the game's without the game only when confirmed.
TEST_F(Wizard, FolderChooser)
{
    GameOnlyAt({"C:\\GRAVTEST\\gravion.exe"});
    const std::string alpha = TARGET + "Alpha\\";
    ASSERT_TRUE(MakeFolders(alpha + "Deep"));
    WriteBytes(TARGET + "notes.txt", "a file");
    auto navigate = [=](HWND chooser) {
        Screenshot("chooser_target", chooser);
        EXPECT_EQ(Chosen(chooser), TARGET);
        HWND tree = GetDlgItem(chooser, IDC_FOLDER_TREE);
        SendMessageA(tree, WM_KEYDOWN, VK_DOWN, 0);
        SendMessageA(tree, WM_KEYDOWN, VK_ADD, 0);
        Pump();
        EXPECT_EQ(Chosen(chooser), alpha);
        Type(chooser, "D:\\Elsewhere");  // then Cancel: the target page keeps its folder
    };
    auto chooseC = [](HWND chooser) {
        SendDlgItemMessageA(chooser, IDC_DRIVE_BOX, CB_SETCURSEL, 0, 0);
        SendMessageA(chooser, WM_COMMAND, MAKEWPARAM(IDC_DRIVE_BOX, CBN_SELENDOK),
                     reinterpret_cast<LPARAM>(GetDlgItem(chooser, IDC_DRIVE_BOX)));
        Pump();
        EXPECT_EQ(Chosen(chooser), "C:\\");
    };
    auto typeTracks = [](HWND chooser) { Type(chooser, "D:\\Tracks"); };  // gets its backslash and Velari's folder
    auto typeRelative = [](HWND chooser) { Type(chooser, "Velari"); };
    // Too long with its backslash: refused, and the chooser stays; a bare
    // drive is its root.
    auto gameRole = [=](HWND chooser) {
        EXPECT_EQ(Chosen(chooser), "C:\\GRAVTEST\\");
        Screenshot("chooser_game", chooser);
        Type(chooser, "D:\\" + std::string(MAX_PATH - 4, 'x'));
        SendMessageA(chooser, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(IsWindow(chooser) && IsWindowVisible(chooser));
        Type(chooser, "D:");
    };
    const std::string CHOOSE = "Choose Folder", FIND = "Find Gravion!";
    RunInstaller(SETUP, {Page("welcome", {}, IDC_NEXT), Page("target", {TARGET}, IDC_BROWSE),
                         {CHOOSE, {"|Please choose the folder for installation.|"}, IDCANCEL, navigate},
                         Page("target", {TARGET}, IDC_BROWSE), {CHOOSE, {}, IDOK, chooseC},
                         Page("target", {"C:\\Velari\\"}, IDC_BROWSE), {CHOOSE, {}, IDOK, typeRelative},
                         Page("target", {"Velari\\"}, IDC_NEXT), {"Error", {"can't use the folder Velari\\: it names no drive."}, IDOK},
                         Page("target", {"Velari\\"}, IDC_BROWSE), {CHOOSE, {}, IDOK, typeTracks},
                         Page("target", {"D:\\Tracks\\Velari\\"}, IDC_NEXT), CREATE_YES, Page("game", {"C:\\GRAVTEST\\"}, IDC_BROWSE),
                         {FIND, {"|Please select the Gravion! Folder.|"}, IDOK, gameRole},
                         {"Error", {"|This path is too long. Please choose a shorter one.|"}, IDOK},
                         Page("game", {"D:\\"}, IDC_NEXT), {"Use Folder?", {"|The folder D:\\ holds no gravion.exe. Use it anyway?|"}, IDNO},
                         Page("game", {"D:\\"}, IDC_NEXT), {"Use Folder?", {}, IDYES},
                         Page("summary", {"D:\\Tracks\\Velari\\", "D:\\"}, IDC_NEXT), Page("finish", {}, IDC_NEXT)});
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, PROGRAM_KEY, "HDDir"), "D:\\Tracks\\Velari\\");
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, PROGRAM_KEY, "TraDir"), "D:\\");
    DeleteFileA("C:\\GRAVTEST\\gravion.exe");
}

// Every spelling of a folder is one folder: its short name, forward
// slashes, other letters in another case, "." and "..", a link leading to
// it; the target taken in its one form (a folder not made yet below its
// existing levels' long names); the chooser's Velari folder by the same rule.
TEST_F(Wizard, FolderSpellings)
{
    const std::string folder = "D:\\Long Folder Name\\Velari\\";
    ASSERT_TRUE(MakeFolders(folder));
    const std::string shortFolder = ShortForm(folder);
    ASSERT_NE(shortFolder, folder);
    const struct { std::string given, taken; bool same; } rows[] = {
        {shortFolder, folder, true}, {"D:/Long Folder Name/Velari", folder, true},
        {"D:\\Long Folder Name\\.\\Sub\\..\\Velari", folder, true}, {shortFolder + "New/Deeper", folder + "New\\Deeper\\", false},
        {"d:\\LONG FOLDER NAME\\velari\\", "", true}, {"D:\\LINKS\\loop\\Long Folder Name\\Velari\\", "", true},
        {"D:\\Long Folder Name\\", "D:\\Long Folder Name\\", false}, {"D:\\Long Folder Name\\Velar", "D:\\Long Folder Name\\Velar\\", false},
        {"Velari", "Velari\\", false},
    };
    for (const auto& row : rows) {
        char taken[PATH_SIZE];
        EXPECT_TRUE(TakeFolder(taken, sizeof taken, row.given.c_str())) << row.given;
        EXPECT_TRUE(row.taken.empty() || std::string(taken) == row.taken) << row.given << ": " << taken;
        EXPECT_EQ(SameFolder(row.given.c_str(), folder.c_str()), row.same) << row.given;
    }
    // Where neither exists, case as Windows ignores it, for every letter.
    EXPECT_TRUE(SameFolder("D:\\\u03a4\u03c1\u03b1\u03ba \u03a9\\", "d:/\u03c4\u03c1\u03b1\u03ba \u03c9"));
    const struct { const char *chosen, *taken; } velari[] = {
        {"D:\\LONG FOLDER NAME\\vELARI\\", "D:\\LONG FOLDER NAME\\vELARI\\"}, {"D:\\Long Folder Name\\", "D:\\Long Folder Name\\Velari\\"},
        {"D:\\MyVelari\\", "D:\\MyVelari\\Velari\\"}, {"D:\\", "D:\\Velari\\"}, {"Velari\\", "Velari\\"},
        {"D:\\Games\\Longer12345678901\\", ""},  // too long for 32 bytes
    };
    for (const auto& row : velari) {
        char chosen[32];
        JoinPath(chosen, sizeof chosen, row.chosen, nullptr);
        EXPECT_EQ(AddVelariFolder(chosen, sizeof chosen), row.taken[0] != '\0') << row.chosen;
        EXPECT_STREQ(chosen, row.taken);
    }
    RemoveTree("D:\\Long Folder Name");
}
