// What only a real start of the distribution shows, driven from a second
// process under Wine: install.exe started from D:\SETUP as a deployment tool
// starts it, the shell opening a track in the installed editor, the help
// viewer, the removal through the system's own uninstall entry and through
// its quiet command (both need the uninstaller's real copy of itself),
// that the programs running with administrator rights load no DLL planted
// beside them, and an installation over a running editor. The wizard is
// the in-process test's.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include "installed_product.h"
#include "velari_version.h"
#include "win_driver.h"

using namespace e2e;

namespace {

const std::string TARGET = "D:\\Velari Test\\";
// The setup program of this test's width.
const char* const SETUP_PROGRAM = sizeof(void*) == 8 ? "Velari-" VELARI_VERSION_TEXT "-x64-setup.exe" : "Velari-" VELARI_VERSION_TEXT "-setup.exe";
enum { CONTENTS_COMMAND = 1010, PITCH_FIELD = 1103 };

// DLLs of names that the programs load, planted in folder, with Wine told to
// prefer them for the programs as Windows would (its own builtin DLLs win
// otherwise). Loaded, one leaves a marker. Not so for version.dll:
// Wine's own user32 imports it, so preferring a planted copy would load it
// into every program before any of its code runs; on Windows user32 does not.
const char MARKER[] = "D:\\planted-marker.txt";
void Plant(const std::string& folder, bool planted)
{
    for (const char* name : {"comctl32", "version", "uxtheme", "hhctrl.ocx"}) {
        const std::string module = name, dll = folder + module + (strchr(name, '.') ? "" : ".dll");
        planted ? CopyFileA((DriverFolder() + "planted.dll").c_str(), dll.c_str(), FALSE) : DeleteFileA(dll.c_str());
        for (const char* program : {"install.exe", "Removal.exe", "Velari.exe", SETUP_PROGRAM})
            if (module != "version")
                RegSetKeyValueA(HKEY_CURRENT_USER, (std::string("Software\\Wine\\AppDefaults\\") + program + "\\DllOverrides").c_str(),
                                module.c_str(), REG_SZ, "native,builtin", 15);
    }
    if (!planted) {
        EXPECT_FALSE(FileExists(MARKER)) << "a planted DLL was loaded by " << FileText(MARKER);
    }
}

// Runs a command line as the shell and tools do, in UTF-16, whatever its
// names, in folder; its exit code, -1 when it did not end in time.
long RunCommand(std::wstring command, const wchar_t* folder)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder, &startup, &info))
        return -2;
    CloseHandle(info.hThread);
    Program program = {info.hProcess, info.dwProcessId};
    const long code = WaitProgramExit(program, 60000);
    EndProgram(&program);
    return code;
}

// install.exe run from the distribution with nothing shown, into target; a
// question or a message would keep it from ending.
long Install(const std::wstring& target)
{
    RemoveTree("D:\\Program Files");
    MakeFolders("D:\\Program Files");
    return RunCommand(L"D:\\SETUP\\install.exe /VERYSILENT /DIR=\"" + target + L"\" /LOG=\"D:\\install.log\"", L"D:\\SETUP");
}

// The README's deployment lines as a script runs them, into TARGET: start
// passes the quoted switch on as "/DIR=D:\Velari Test", quotes round it all.
long Deploy()
{
    RemoveTree(TARGET.substr(0, TARGET.size() - 1));
    WriteBytes("D:\\deploy.bat", "@echo off\r\npushd D:\\SETUP\r\n"
               "start \"\" /wait install.exe /VERYSILENT /DIR=\"D:\\Velari Test\" /LOG=\"%TEMP%\\velari.log\"\r\n"
               "set result=%errorlevel%\r\npopd\r\nexit /b %result%\r\n");
    return RunCommand(L"C:\\windows\\system32\\cmd.exe /c D:\\deploy.bat", L"D:\\");
}

// The help viewer's window, whichever process shows it, and what it shows:
// WinHelp's first topic's text, or the count of HTML Help's topics.
BOOL CALLBACK KeepViewerText(HWND child, LPARAM text)
{
    std::string name = ClassOf(child);
    CharUpperBuffA(&name[0], static_cast<DWORD>(name.size()));
    if (name.find("RICHEDIT") != std::string::npos)
        *reinterpret_cast<std::string*>(text) = TextOf(child).substr(0, 11);
    if (name == "SYSTREEVIEW32")
        *reinterpret_cast<std::string*>(text) = std::to_string(SendMessageA(child, TVM_GETCOUNT, 0, 0)) + " topics";
    return TRUE;
}

void ExpectViewer(const char* how, const char* viewerClass, const std::string& shows, const char* screenshot)
{
    HWND viewer = WaitTopWindow(0, viewerClass, nullptr);
    std::string text;
    for (DWORD start = GetTickCount(); viewer && text != shows && GetTickCount() - start < 5000; Sleep(100))
        EnumChildWindows(viewer, KeepViewerText, reinterpret_cast<LPARAM>(&text));
    EXPECT_EQ(text, shows) << how;
    HWND box = WaitMessageBox(0, nullptr, 1000);
    EXPECT_FALSE(box) << how << ": " << MessageBoxText(box);
    if (screenshot)
        Screenshot(screenshot, viewer);
    PostMessageA(viewer, WM_CLOSE, 0, 0);
    WaitWindowGone(viewer);
}

// What the shell's file properties show of a program: its fixed version, then its texts, "|" between them.
std::string VersionTexts(const std::wstring& file)
{
    std::string data(GetFileVersionInfoSizeW(file.c_str(), nullptr) + 1, '\0');
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    if (!GetFileVersionInfoW(file.c_str(), 0, DWORD(data.size()), &data[0]) ||
        !VerQueryValueA(&data[0], "\\", reinterpret_cast<void**>(&fixed), &size))
        return "<none>";
    std::string texts = std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." + std::to_string(LOWORD(fixed->dwFileVersionMS)) +
                        "." + std::to_string(HIWORD(fixed->dwFileVersionLS));
    // As Explorer finds the texts: through the first language and code page
    // that the Translation block names.
    WORD* translation = nullptr;
    char block[40] = "<no Translation>";
    if (VerQueryValueA(&data[0], "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &size) && size >= 4)
        snprintf(block, sizeof block, "\\StringFileInfo\\%04X%04X\\", translation[0], translation[1]);
    for (std::string field : {"FileVersion", "ProductVersion", "CompanyName", "ProductName", "LegalCopyright",
                              "FileDescription", "InternalName", "OriginalFilename"}) {
        char* value = nullptr;
        const bool found = VerQueryValueA(&data[0], (block + field).c_str(), reinterpret_cast<void**>(&value), &size);
        texts += "|" + std::string(found ? value : "<none>");
    }
    return texts;
}

// The uninstall entry's quiet command, as a deployment tool reads it.
std::wstring QuietCommand(HKEY root = HKEY_LOCAL_MACHINE)
{
    WCHAR command[800] = L"";
    DWORD size = sizeof command;
    RegGetValueW(root, std::wstring(UNINSTALL_KEY, UNINSTALL_KEY + sizeof UNINSTALL_KEY - 1).c_str(),
                 L"QuietUninstallString", RRF_RT_REG_SZ, nullptr, command, &size);
    return command;
}

// The names in a folder in sorted order, each followed by a blank.
std::string Listing(const std::string& folder)
{
    WIN32_FIND_DATAA file;
    HANDLE found = FindFirstFileA((folder + "*.*").c_str(), &file);
    std::vector<std::string> names;
    for (BOOL more = found != INVALID_HANDLE_VALUE; more; more = FindNextFileA(found, &file))
        if (file.cFileName[0] != '.')
            names.push_back(std::string(file.cFileName) + " ");
    FindClose(found);
    std::sort(names.begin(), names.end());
    std::string listing;
    for (const std::string& name : names)
        listing += name;
    return listing;
}

bool KeyExists(HKEY root, const char* key)
{
    HKEY handle;
    if (RegOpenKeyExA(root, key, 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
}

}  // namespace

// Into a folder named in Greek, beside planted DLLs: installed; a track in
// another such folder opened from the shell; the help from the editor
// started elsewhere and from its shortcut; then the entry's quiet command,
// waited for, ends with 0 once all but its own file and folder is gone, and
// those go a moment later. This program has no code page of its own: it
// names the folders in UTF-16.
TEST(Distribution, InstallationUseAndQuietRemoval)
{
    const std::wstring target = L"D:\\\u03a4\u03c1\u03b1\u03ba \u03a9\\", tracks = L"D:\\\u03a0\u03af\u03c3\u03c4\u03b5\u03c2",
                       track = tracks + L"\\\u03c0\u03af\u03c3\u03c4\u03b1.tra";
    Plant("D:\\SETUP\\", true);
    ASSERT_EQ(Install(target), 0);
    Plant("D:\\SETUP\\", false);
    const std::string driver = DriverFolder();  // ASCII
    CopyFileW((std::wstring(driver.begin(), driver.end()) + L"planted.dll").c_str(), (target + L"hhctrl.ocx").c_str(), FALSE);
    const std::string log = FileText("D:\\install.log"), last = "Exit code 0: installed.\r\n";
    EXPECT_EQ(log.substr(log.size() - std::min(log.size(), last.size())), last);
    // Who each program is, as the shell's file properties show it.
    const std::string version = VELARI_VERSION_TEXT, common = version + "|" + version + "|" + version +
                                                             "|Quorvane|Velari|Copyright (C) 2026 Quorvane|";
    EXPECT_EQ(VersionTexts(L"D:\\SETUP\\install.exe"), common + "Velari Installer|install|install.exe");
    EXPECT_EQ(VersionTexts(target + L"Velari.exe"), common + "Velari track editor|Velari|Velari.exe");
    EXPECT_EQ(VersionTexts(target + L"Removal.exe"), common + "Velari Removal|Removal|Removal.exe");

    CreateDirectoryW(tracks.c_str(), nullptr);
    CopyFileW(L"D:\\data\\sample-small.tra", track.c_str(), FALSE);
    SHELLEXECUTEINFOW run = {};
    run.cbSize = sizeof run;
    run.fMask = SEE_MASK_NOCLOSEPROCESS;
    run.lpFile = track.c_str();
    run.nShow = SW_SHOWNORMAL;
    ASSERT_TRUE(ShellExecuteExW(&run) && run.hProcess);
    Program editor = {run.hProcess, GetProcessId(run.hProcess)};
    HWND window = WaitTopWindow(editor.pid, "Velari", nullptr);
    WCHAR title[300] = L"";
    for (DWORD start = GetTickCount(); window && wcscmp(title, (L"Velari - " + track).c_str()) && GetTickCount() - start < 5000; Sleep(50))
        SendMessageW(window, WM_GETTEXT, 300, reinterpret_cast<LPARAM>(title));
    EXPECT_EQ(std::wstring(title), L"Velari - " + track);
    Screenshot("installed_editor", window);
    // Without the HTML Help file, the WinHelp file as before.
    MoveFileW((target + L"Velari.chm").c_str(), L"D:\\Velari.chm");
    PostMessageA(window, WM_COMMAND, CONTENTS_COMMAND, 0);
    ExpectViewer("Help > Contents without Velari.chm", "MS_WINHELP", "Velari Help", "help_viewer_winhelp");
    MoveFileW(L"D:\\Velari.chm", (target + L"Velari.chm").c_str());
    PostMessageA(window, WM_COMMAND, CONTENTS_COMMAND, 0);
    ExpectViewer("Help > Contents", "HH Parent", HELP_TOPICS, "help_viewer");
    EndProgram(&editor);
    DeleteFileW((target + L"hhctrl.ocx").c_str());
    Plant("D:\\SETUP\\", false);  // the editor loaded none either
    Program start;
    StartProgram("C:\\windows\\system32\\start.exe", ("\"" + StartMenuFolder("Velari") + "Velari Help.lnk\"").c_str(), "D:\\", &start);
    ExpectViewer("the Velari Help shortcut", "HH Parent", HELP_TOPICS, nullptr);
    EndProgram(&start);

    EXPECT_EQ(RunCommand(QuietCommand(), L"D:\\"), 0);
    EXPECT_EQ(GetFileAttributesW((target + L"Velari.exe").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, UNINSTALL_KEY));
    for (DWORD start = GetTickCount(); GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES;)
        ASSERT_LT(GetTickCount() - start, EXIT_TIMEOUT_MS) << "the folder stays";
}

namespace {

// The uninstaller's message box, in whichever process shows it: it must
// say text; the button is pressed and its process must end.
void Answer(const char* text, int button)
{
    HWND box = WaitMessageBox(0, "Velari Uninstaller");
    ASSERT_TRUE(box) << "expected " << text;
    EXPECT_NE(MessageBoxText(box).find(text), std::string::npos) << MessageBoxText(box);
    DWORD pid = 0;
    GetWindowThreadProcessId(box, &pid);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    PressDialogButton(box, button);
    EXPECT_TRUE(process && WaitForSingleObject(process, EXIT_TIMEOUT_MS) == WAIT_OBJECT_0) << "it did not end";
    CloseHandle(process);
}

HANDLE heldOpen = INVALID_HANDLE_VALUE;

}  // namespace

// Installed by the README's deployment script (exit code 0); removed
// through the system's list of programs: the question answered Yes, then
// the copy's closing message; or by the quiet command, whose exit code says
// whether anything was left. What is left afterwards: the program's files,
// the folder, the user's track, the ".tra" association.
TEST(Distribution, Removal)
{
    const std::string held = TARGET + "Velari.cnt";
    auto holdHelpContents = [=] {
        heldOpen = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    };
    const struct { const char* what; std::function<void()> prepare; std::string closing; bool files, folder, track, association; } rows[] = {
        {"a file in use, the association taken over by another program and another installation",
         [=] {
             WriteBytes(TARGET + "mine.tra", "the user's own");
             RegSetValueA(HKEY_CLASSES_ROOT, ".tra", REG_SZ, "othertool", 9);
             RegSetValueA(HKEY_CLASSES_ROOT, "velari\\shell\\open\\command", REG_SZ, "\"D:\\Other\\Velari.exe\" %1", 24);
             holdHelpContents();
         },
         held + "\n\nIts folder " + TARGET + " was kept", false, true, true, true},
        {"quietly, a file in use", [=] { Deploy(); holdHelpContents(); }, "", false, true, false, false},
        {"everything", [] { Deploy(); }, "Velari was removed.", false, false, false, false},
    };
    ASSERT_EQ(Deploy(), 0);
    char temporary[MAX_PATH] = "";
    GetTempPathA(sizeof temporary, temporary);
    Plant(temporary, true);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        row.prepare();
        if (row.closing.empty()) {
            EXPECT_EQ(RunCommand(QuietCommand(), L"D:\\"), 4);
        } else {
            Program list;
            StartProgram("C:\\windows\\system32\\uninstaller.exe", "--remove Velari", "D:\\", &list);
            Screenshot("removal_question", WaitMessageBox(0, "Velari Uninstaller"));
            Answer("Remove Velari and all of its components?", IDYES);
            EXPECT_GE(WaitProgramExit(list), 0) << "uninstaller.exe did not end";
            EndProgram(&list);
            Answer(row.closing.c_str(), IDOK);
        }
        // The quiet command leaves its own file to a copy that removes it once the command has ended.
        for (DWORD start = GetTickCount(); FileExists(TARGET + "Removal.exe") && GetTickCount() - start < EXIT_TIMEOUT_MS;)
            Sleep(100);
        CloseHandle(heldOpen);
        heldOpen = INVALID_HANDLE_VALUE;
        const std::string menu = StartMenuFolder("Velari");
        // Everything the installer writes, the file held open apart.
        std::vector<std::pair<std::string, bool>> paths = {
            {TARGET + "mine.tra", row.track}, {TARGET, row.folder}, {menu, row.files}};
        for (const InstalledFile& file : INSTALLED_FILES)
            paths.push_back({TARGET + file.expandedName, row.files || (row.folder && TARGET + file.expandedName == held)});
        for (const InstalledShortcut& shortcut : INSTALLED_SHORTCUTS)
            paths.push_back({menu + shortcut.linkName, row.files});
        for (const auto& path : paths)
            EXPECT_EQ(GetFileAttributesA(path.first.c_str()) != INVALID_FILE_ATTRIBUTES, path.second) << path.first;
        const struct { HKEY root; const char* key; bool present; } keys[] = {
            {HKEY_LOCAL_MACHINE, PROGRAM_KEY, row.files}, {HKEY_LOCAL_MACHINE, PROGRAM_KEY_PARENTS[1], row.files},
            {HKEY_CLASSES_ROOT, TRACK_CLASS_KEY, row.association}, {HKEY_CLASSES_ROOT, TRACK_EXTENSION_KEY, row.association},
            {HKEY_LOCAL_MACHINE, UNINSTALL_KEY, row.files},
        };
        for (const auto& key : keys)
            EXPECT_EQ(KeyExists(key.root, key.key), key.present) << key.key;
    }
    Plant(temporary, false);

    // A copy of an installation elsewhere removes its own files only, and
    // says that Velari is left (exit code 4).
    ASSERT_EQ(Deploy(), 0);
    MakeFolders("D:\\elsewhere");
    for (const char* name : {"Removal.exe", "Velari.exe"})
        CopyFileA((TARGET + name).c_str(), (std::string("D:\\elsewhere\\") + name).c_str(), FALSE);
    EXPECT_EQ(RunCommand(L"D:\\elsewhere\\Removal.exe /SILENT", L"D:\\"), 4);
    EXPECT_FALSE(FileExists("D:\\elsewhere\\Velari.exe"));
    EXPECT_TRUE(FileExists(TARGET + "Velari.exe") && FileExists(StartMenuFolder("Velari") + "Velari v2.0.lnk"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, UNINSTALL_KEY) && KeyExists(HKEY_CLASSES_ROOT, TRACK_CLASS_KEY));
    // Registered by the folder's short name, as an older installer may have
    // left it, it is still the registered one.
    char shortTarget[MAX_PATH] = "";
    GetShortPathNameA(TARGET.c_str(), shortTarget, MAX_PATH);
    RegSetKeyValueA(HKEY_LOCAL_MACHINE, PROGRAM_KEY, "HDDir", REG_SZ, shortTarget, DWORD(strlen(shortTarget) + 1));
    EXPECT_EQ(RunCommand(QuietCommand(), L"D:\\"), 0) << shortTarget;
    for (DWORD start = GetTickCount(); FileExists("D:\\elsewhere\\Removal.exe") && GetTickCount() - start < EXIT_TIMEOUT_MS;)
        Sleep(100);
    // Beside DLLs of the names it loads, too.
    SCOPED_TRACE("nothing installed where it is started");
    MakeFolders("D:\\elsewhere");
    WriteBytes("D:\\elsewhere\\Removal.exe", FileText(DriverFolder() + "Removal.exe"));
    Plant("D:\\elsewhere\\", true);
    Program removal;
    StartProgram("D:\\elsewhere\\Removal.exe", "", "D:\\", &removal);
    Answer("Velari is not installed here. Nothing was removed.", IDOK);
    EndProgram(&removal);
    Plant("D:\\elsewhere\\", false);
    EXPECT_TRUE(FileExists("D:\\elsewhere\\Removal.exe")) << "it removed itself";
}

// Installed over an editor with an unsaved change, run from the
// installation: with /NOCLOSEAPPLICATIONS it is left running and the exit
// code says so; otherwise it is closed and opened again with its track, the
// change brought back, and the file on disk untouched. The quiet removal
// then closes it and the help viewer that shows the installation's help.
TEST(Distribution, InstallOverRunningEditor)
{
    ASSERT_EQ(Deploy(), 0);
    const std::string track = "D:\\tracks\\open.tra", changed = "*Velari - " + track;
    MakeFolders("D:\\tracks");
    CopyFileA("D:\\data\\sample-small.tra", track.c_str(), FALSE);
    const std::string saved = FileText(track);
    Program editor;
    ASSERT_TRUE(StartProgram((TARGET + "Velari.exe").c_str(), track.c_str(), "D:\\", &editor));
    HWND window = WaitTopWindow(editor.pid, "Velari", nullptr);
    SendMessageA(GetDlgItem(window, PITCH_FIELD), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("7"));
    ASSERT_TRUE(WaitTopWindow(editor.pid, "Velari", changed.c_str())) << TextOf(window);
    const std::wstring install = L"D:\\SETUP\\install.exe /VERYSILENT /DIR=\"D:\\Velari Test\" /LOG=\"D:\\install.log\"";
    EXPECT_EQ(RunCommand(install + L" /NOCLOSEAPPLICATIONS", L"D:\\SETUP"), 4);
    EXPECT_EQ(WaitProgramExit(editor, 0), -1) << "it was closed";
    EXPECT_NE(FileText("D:\\install.log").find("Left running Velari " + TARGET + "Velari.exe"), std::string::npos);

    EXPECT_EQ(RunCommand(install, L"D:\\SETUP"), 0);
    EXPECT_GE(WaitProgramExit(editor), 0) << "it was not closed";
    EndProgram(&editor);
    HWND reopened = WaitTopWindow(0, "Velari", changed.c_str());
    ASSERT_TRUE(reopened) << FileText("D:\\install.log");
    EXPECT_EQ(TextOf(GetDlgItem(reopened, PITCH_FIELD)), "7");
    EXPECT_EQ(FileText(track), saved);
    const std::string log = FileText("D:\\install.log");
    for (const char* step : {"Close Velari ", "Open Velari again: "})
        EXPECT_NE(log.find(step + TARGET + "Velari.exe"), std::string::npos) << step << log;
    // The removal closes it too, and the help shown from its shortcut, and takes every file.
    Program start;
    StartProgram("C:\\windows\\system32\\start.exe", ("\"" + StartMenuFolder("Velari") + "Velari Help.lnk\"").c_str(), "D:\\", &start);
    HWND help = WaitTopWindow(0, "HH Parent", nullptr);
    EndProgram(&start);
    DWORD pid = 0;
    GetWindowThreadProcessId(reopened, &pid);
    editor = {OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid), pid};
    EXPECT_EQ(RunCommand(QuietCommand(), L"D:\\"), 0);
    EXPECT_GE(WaitProgramExit(editor), 0) << "the removal did not close it";
    EndProgram(&editor);
    EXPECT_TRUE(help && !IsWindow(help)) << "the help stays";
    RemoveKeptChanges();
}

// Just for the current user, by the switch where every process has the
// rights: the user's own folder, keys, classes, entry and Start menu, and
// nothing for all users; the entry's quiet command takes it all back.
TEST(Distribution, JustForMeAndItsQuietRemoval)
{
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT})
        for (const char* key : {PROGRAM_KEY, UNINSTALL_KEY, TRACK_EXTENSION_KEY, TRACK_CLASS_KEY})
            RegDeleteTreeA(root, key);
    char local[MAX_PATH] = "", programs[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, local);
    SHGetFolderPathA(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, programs);
    const std::string folder = std::string(local) + "\\Programs\\Velari\\", link = std::string(programs) + "\\Velari\\Velari v2.0.lnk";
    ASSERT_EQ(RunCommand(L"D:\\SETUP\\install.exe /VERYSILENT /CURRENTUSER", L"D:\\SETUP"), 0);
    for (bool installed : {true, false}) {
        SCOPED_TRACE(installed ? "installed" : "removed");
        EXPECT_EQ(FileExists(folder + "Velari.exe") && FileExists(link), installed);
        EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, PROGRAM_KEY, "HDDir"), installed ? folder : "<none>");
        EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, "Software\\Classes\\.tra", nullptr), installed ? "velari" : "<none>");
        EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, "Software\\Classes\\velari\\shell\\open\\command", nullptr),
                  installed ? "\"" + folder + "Velari.exe\" %1" : "<none>");
        EXPECT_EQ(KeyExists(HKEY_CURRENT_USER, UNINSTALL_KEY), installed);
        for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT})
            for (const char* key : {PROGRAM_KEY, UNINSTALL_KEY, TRACK_EXTENSION_KEY, TRACK_CLASS_KEY})
                EXPECT_FALSE(KeyExists(root, key)) << key;
        EXPECT_FALSE(FileExists(StartMenuFolder("Velari") + "Velari v2.0.lnk"));
        EXPECT_EQ(installed ? RunCommand(QuietCommand(HKEY_CURRENT_USER), L"D:\\") : 0, 0);
        for (DWORD start = GetTickCount(); installed && FileExists(folder) && GetTickCount() - start < EXIT_TIMEOUT_MS;)
            Sleep(100);
    }
    EXPECT_FALSE(FileExists(folder));
}

// Nothing is made from a release that isn't whole: one byte of Velari.ex_
// changed, or install.exe alone, as a zip shown as a folder runs it. Exit
// code 4; no folder, key, association or shortcut; the log names the file.
TEST(Distribution, DamagedOrAloneInstallsNothing)
{
    std::string program = FileText("D:\\SETUP\\Velari.ex_");
    program[program.size() / 2] ^= 1;
    const struct { const char* folder; std::string names; } rows[] = {
        {"D:\\DAMAGED\\", "D:\\DAMAGED\\Velari.ex_: FAILED: the file is damaged or not from this release"},
        {"D:\\ALONE\\", "D:\\ALONE\\Removal.ex_: FAILED: the file is missing"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.folder);
        MakeFolders(row.folder);
        CopyFileA("D:\\SETUP\\install.exe", (std::string(row.folder) + "install.exe").c_str(), FALSE);
        const std::string menu = StartMenuFolder("Velari");
        RemoveTree(TARGET.substr(0, TARGET.size() - 1));
        RemoveTree(menu.substr(0, menu.size() - 1));
        for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT})
            for (const char* key : {PROGRAM_KEY, UNINSTALL_KEY, TRACK_EXTENSION_KEY, TRACK_CLASS_KEY})
                RegDeleteTreeA(root, key);
        DeleteFileA("D:\\install.log");
        if (row.names.find("DAMAGED") != std::string::npos) {
            for (const InstalledFile& file : INSTALLED_FILES)
                CopyFileA((std::string("D:\\SETUP\\") + file.compressedName).c_str(),
                          (std::string(row.folder) + file.compressedName).c_str(), FALSE);
            WriteBytes(std::string(row.folder) + "Velari.ex_", program);
        }
        const std::string folder = row.folder;
        EXPECT_EQ(RunCommand(std::wstring(folder.begin(), folder.end()) + L"install.exe /VERYSILENT /DIR=\"D:\\Velari Test\" "
                             L"/LOG=\"D:\\install.log\"", std::wstring(folder.begin(), folder.end()).c_str()), 4);
        EXPECT_NE(FileText("D:\\install.log").find(row.names), std::string::npos) << FileText("D:\\install.log");
        EXPECT_FALSE(FileExists(TARGET) || FileExists(menu));
        for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT})
            for (const char* key : {PROGRAM_KEY, UNINSTALL_KEY, TRACK_EXTENSION_KEY, TRACK_CLASS_KEY})
                EXPECT_FALSE(KeyExists(root, key)) << key;
        RemoveTree(folder.substr(0, folder.size() - 1));
    }
}

// The restart with administrator rights, as the first installer starts it
// (every process has them under Wine): its log goes into a new folder of
// its own, never to the path /LOG names; a folder there already gives none.
TEST(Distribution, RestartLogsWhereOnlyItWrites)
{
    const std::string folder = "C:\\windows\\Temp\\Velari-0123456789abcdef\\";
    RemoveTree(folder.substr(0, folder.size() - 1));
    for (bool taken : {false, true}) {
        SCOPED_TRACE(taken ? "the folder there already" : "a new folder");
        DeleteFileA("D:\\caller.log");
        EXPECT_EQ(RunCommand(L"D:\\SETUP\\install.exe /VERYSILENT /ALLUSERS /ELEVATEDLOG=0123456789abcdef "
                             L"/LOG=D:\\caller.log /DIR=\"D:\\Velari Test\"", L"D:\\SETUP"), 0);
        EXPECT_FALSE(FileExists("D:\\caller.log"));
        const std::string log = FileText(folder + "install.log");
        EXPECT_EQ(log.find("Exit code 0: installed.") != std::string::npos, !taken) << log;
        if (!taken)
            DeleteFileA((folder + "install.log").c_str());
    }
    RemoveTree(folder.substr(0, folder.size() - 1));
    EXPECT_EQ(RunCommand(QuietCommand(), L"D:\\"), 0);
}

// The setup program alone in a download folder, beside planted DLLs:
// damaged, it installs nothing and says so in the log; a switch it does
// not know is install.exe's to refuse; whole, it installs silently what the
// zip installs, its log where its relative path points from that folder.
// Neither the temporary folder nor the download folder keeps anything new.
TEST(Distribution, SetupProgram)
{
    const std::string downloads = "D:\\Downloads\\", target = "D:\\Velari Setup\\";
    char temporary[MAX_PATH] = "";
    GetTempPathA(sizeof temporary, temporary);
    RemoveTree("D:\\Downloads");
    RemoveTree("D:\\damaged");
    MakeFolders("D:\\damaged");
    std::string bytes = FileText(DriverFolder() + SETUP_PROGRAM);
    bytes[bytes.size() * 3 / 4] ^= 1;  // in the payload, which is most of the file
    WriteBytes("D:\\damaged\\" + std::string(SETUP_PROGRAM), bytes);
    MakeFolders(downloads);
    ASSERT_TRUE(CopyFileA((DriverFolder() + SETUP_PROGRAM).c_str(), (downloads + SETUP_PROGRAM).c_str(), FALSE));
    Plant(downloads, true);
    const std::string before = Listing(downloads), temporaryBefore = Listing(temporary);
    const std::wstring name(SETUP_PROGRAM, SETUP_PROGRAM + strlen(SETUP_PROGRAM)), into = L"\"/DIR=D:\\Velari Setup\" /LOG=..\\setup.log";
    auto runFrom = [&](const wchar_t* folder, const std::wstring& switches) {
        return RunCommand(L"\"" + std::wstring(folder) + name + L"\" /VERYSILENT " + switches, folder);
    };
    EXPECT_EQ(runFrom(L"D:\\damaged\\", into), 4);
    EXPECT_NE(FileText("D:\\setup.log").find("Please download it again."), std::string::npos) << FileText("D:\\setup.log");
    // With the pages, a message says so, which loads no DLL beside it either.
    Plant("D:\\damaged\\", true);
    Program damaged;
    StartProgram(("D:\\damaged\\" + std::string(SETUP_PROGRAM)).c_str(), "", "D:\\damaged", &damaged);
    HWND box = WaitMessageBox(damaged.pid, "Velari Setup");
    EXPECT_NE(MessageBoxText(box).find("Please download it again."), std::string::npos) << MessageBoxText(box);
    PressDialogButton(box, IDOK);
    EXPECT_EQ(WaitProgramExit(damaged), 4);
    EndProgram(&damaged);
    Plant("D:\\damaged\\", false);
    EXPECT_FALSE(FileExists(target));
    EXPECT_EQ(runFrom(L"D:\\Downloads\\", L"/DIRECTORY=D:\\V"), 1);
    ASSERT_EQ(runFrom(L"D:\\Downloads\\", into), 0);
    const std::string log = FileText("D:\\setup.log"), last = "Exit code 0: installed.\r\n";
    EXPECT_EQ(log.substr(log.size() - std::min(log.size(), last.size())), last);
    for (const InstalledFile& file : INSTALLED_FILES)
        EXPECT_TRUE(FileText(target + file.expandedName) == FileText(DriverFolder() + file.expandedName)) << file.expandedName;
    EXPECT_EQ(Listing(target), "Removal.exe Velari.chm Velari.cnt Velari.exe Velari.hlp ");
    EXPECT_EQ(Listing(temporary), temporaryBefore);
    EXPECT_EQ(Listing(downloads), before);
    Plant(downloads, false);
    EXPECT_EQ(RunCommand(QuietCommand(), L"D:\\"), 0);
    for (DWORD start = GetTickCount(); FileExists(target) && GetTickCount() - start < EXIT_TIMEOUT_MS;)
        Sleep(100);
}
