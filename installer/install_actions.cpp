// Page 6: the fourteen installation actions, in order, one progress step
// each. No failure stops the list, and every failure is reported and counted
// so that the finish page can tell.
#include <windows.h>
#include <lzexpand.h>
#include <objbase.h>
#include <shlguid.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>

#include "installer_state.h"
#include "path_text.h"
#include "short_path.h"

namespace {

struct Expansion {
    const char* compressedName;
    const char* expandedName;
};

const Expansion EXPANSIONS[] = {
    {"Removal.ex_", "Removal.exe"},
    {"Velari.ex_", "Velari.exe"},
    {"Velari.hl_", "Velari.hlp"},
    {"Velari.cn_", "Velari.cnt"},
};

// A value's text is before + folder + after; any of them may be null. A
// value with a number is a REG_DWORD instead.
struct RegistryValue {
    HKEY root;
    const char* key;
    const char* name;  // null: the key's default value
    const char* before;
    const char* folder;
    const char* after;
    const DWORD* number = nullptr;
};

const char PROGRAM_KEY[] = "SOFTWARE\\Quorvane\\Velari\\2.0";
const char UNINSTALL_KEY[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velari";

const DWORD YES = 1;
DWORD installedKilobytes;  // of the expanded files, once they are in place

// The program paths are quoted so that a folder with blanks can't start
// another program; the shell passes %1 unquoted, and the editor takes its
// whole command line as the path.
const RegistryValue REGISTRY_VALUES[] = {
    {HKEY_LOCAL_MACHINE, PROGRAM_KEY, "HDDir", nullptr, installer.targetFolder, nullptr},
    {HKEY_LOCAL_MACHINE, PROGRAM_KEY, "TraDir", nullptr, installer.gameFolder, nullptr},
    {HKEY_CLASSES_ROOT, ".tra", nullptr, "velari", nullptr, nullptr},
    {HKEY_CLASSES_ROOT, "velari\\DefaultIcon", nullptr, nullptr, installer.targetFolder,
     "Velari.exe,1"},
    {HKEY_CLASSES_ROOT, "velari\\shell\\open\\command", nullptr, "\"", installer.targetFolder,
     "Velari.exe\" %1"},
    {HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "DisplayName", "Velari v2.0", nullptr, nullptr},
    {HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "UninstallString", "\"", installer.targetFolder,
     "removal.exe\""},
    // What the system's list of programs shows beside the name.
    {HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "DisplayIcon", nullptr, installer.targetFolder, "Velari.exe,0"},
    {HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "DisplayVersion", "2.0", nullptr, nullptr},
    {HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "Publisher", "Quorvane", nullptr, nullptr},
    {HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "InstallLocation", nullptr, installer.targetFolder, nullptr},
    {HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "EstimatedSize", nullptr, nullptr, nullptr, &installedKilobytes},
    {HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "NoModify", nullptr, nullptr, nullptr, &YES},
    {HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "NoRepair", nullptr, nullptr, nullptr, &YES},
};

struct Shortcut {
    const char* linkName;
    const char* targetName;
    const char* description;
};

const Shortcut SHORTCUTS[] = {
    {"Velari v2.0.lnk", "Velari.exe", "Velari v2.0"},
    {"Velari Help.lnk", "Velari.hlp", "Velari Help"},
    {"Uninstall Velari.lnk", "removal.exe", "Uninstall Velari"},
};

static_assert(sizeof EXPANSIONS / sizeof *EXPANSIONS + sizeof REGISTRY_VALUES / sizeof *REGISTRY_VALUES +
                      sizeof SHORTCUTS / sizeof *SHORTCUTS ==
                  INSTALL_ACTION_COUNT,
              "the bar has one step per action");

void ReportFailure(const char* format, const char* first, const char* second = "")
{
    char text[2 * PATH_SIZE + 100];
    snprintf(text, sizeof text, format, first, second);
    MessageBoxA(installer.window, text, "Error!", MB_OK);
    ++installer.failedActions;
}

// The length the compressed file's header promises is the only way to see
// that it was cut short; and an empty original comes back as one zero byte
// unless the output is cut to that length.
// The files are opened by name here, not by the LZ routines, whose record of
// the name holds only 128 bytes: a path of UTF-8 letters soon passes that.
bool ExpandInto(const char* sourcePath, const char* partPath)
{
    // Read only, so that a file another program holds open for reading, or
    // one on read-only media, expands all the same.
    HANDLE source = CreateFileA(sourcePath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (source == INVALID_HANDLE_VALUE)
        return false;
    INT compressed = LZInit(static_cast<HFILE>(reinterpret_cast<INT_PTR>(source)));
    if (compressed < 0) {
        CloseHandle(source);
        return false;
    }
    LONG promised = LZSeek(compressed, 0, 2);
    HANDLE part = CreateFileA(partPath, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    LONG copied = -1;
    if (promised >= 0 && LZSeek(compressed, 0, 0) == 0 && part != INVALID_HANDLE_VALUE)
        copied = LZCopy(compressed, static_cast<HFILE>(reinterpret_cast<INT_PTR>(part)));
    LZClose(compressed);
    if (part != INVALID_HANDLE_VALUE)
        CloseHandle(part);
    if (copied < promised)
        return false;
    if (copied == promised)
        return true;
    HANDLE file = CreateFileA(partPath, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool cut = SetFilePointer(file, promised, nullptr, FILE_BEGIN) ==
                   static_cast<DWORD>(promised) &&
               SetEndOfFile(file);
    CloseHandle(file);
    return cut;
}

// Expanded beside the target and put in its place only when whole, so a
// failure never leaves a partial file nor destroys an earlier one.
bool ExpandFile(const char* sourcePath, const char* targetPath)
{
    // Named after the target rather than by GetTempFileNameA, which cuts a
    // name of more than MAX_PATH bytes, as UTF-8 letters soon make.
    char partPath[PATH_SIZE];
    if (!JoinPath(partPath, sizeof partPath, targetPath, ".tmp"))
        return false;
    bool done = ExpandInto(sourcePath, partPath) &&
                MoveFileExA(partPath, targetPath, MOVEFILE_REPLACE_EXISTING);
    if (!done)
        DeleteFileA(partPath);
    return done;
}

void RunExpansion(const Expansion& expansion)
{
    char sourcePath[PATH_SIZE], targetPath[PATH_SIZE];
    bool joined =
        JoinPath(sourcePath, sizeof sourcePath, installer.sourceFolder, expansion.compressedName) &&
        JoinPath(targetPath, sizeof targetPath, installer.targetFolder, expansion.expandedName);
    if (!joined || !ExpandFile(sourcePath, targetPath))
        ReportFailure("Velari Installer could not expand %s%s.", installer.sourceFolder,
                      expansion.compressedName);
}

void RunRegistryAction(const RegistryValue& value)
{
    char text[PATH_SIZE];
    bool ok = JoinPath(text, sizeof text, value.before ? value.before : "",
                       value.folder ? value.folder : "", value.after);
    HKEY key = nullptr;
    if (RegCreateKeyExA(value.root, value.key, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        MessageBoxA(installer.window, "Error creating key", "Error!", MB_OK);
        key = nullptr;
    }
    const bool isNumber = value.number != nullptr;
    const BYTE* data = isNumber ? reinterpret_cast<const BYTE*>(value.number) : reinterpret_cast<const BYTE*>(text);
    const DWORD size = isNumber ? sizeof(DWORD) : static_cast<DWORD>(strlen(text) + 1);
    if (!ok || !key ||
        RegSetValueExA(key, value.name, 0, isNumber ? REG_DWORD : REG_SZ, data, size) != ERROR_SUCCESS) {
        MessageBoxA(installer.window, "Error setting value", "Error!", MB_OK);
        ++installer.failedActions;
    }
    if (key)
        RegCloseKey(key);
}

// Rounded up, as the system's list of programs shows sizes in whole units.
DWORD KilobytesOfExpandedFiles()
{
    unsigned long long bytes = 0;
    for (const Expansion& expansion : EXPANSIONS) {
        char path[PATH_SIZE];
        WIN32_FILE_ATTRIBUTE_DATA file;
        if (JoinPath(path, sizeof path, installer.targetFolder, expansion.expandedName) &&
            GetFileAttributesExA(path, GetFileExInfoStandard, &file))
            bytes += (static_cast<unsigned long long>(file.nFileSizeHigh) << 32) | file.nFileSizeLow;
    }
    return static_cast<DWORD>((bytes + 1023) / 1024);
}

// The shell's Programs folder for all users; where the shell has none, the
// Start menu under the Windows directory, as on the oldest systems.
bool FindStartMenuFolder(char* folder, size_t size)
{
    char base[PATH_SIZE];
    if (SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT,
                                   base)))
        return JoinPath(folder, size, base, "\\Velari\\");
    UINT length = GetWindowsDirectoryA(base, sizeof base);
    return length > 0 && length < sizeof base &&
           JoinPath(folder, size, base, "\\Start Menu\\Programs\\Velari\\");
}

// Every missing level, from the drive down; existing ones fail harmlessly.
void CreateFolderLevels(const char* folder)
{
    char level[PATH_SIZE];
    if (!JoinPath(level, sizeof level, folder, nullptr))
        return;
    for (char* at = level + 3; *at; ++at) {
        if (*at != '\\')
            continue;
        *at = '\0';
        CreateDirectoryA(level, nullptr);
        *at = '\\';
    }
}

bool SaveShortcut(const char* linkPath, const char* targetPath, const char* description)
{
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link))))
        return false;
    link->SetPath(targetPath);
    link->SetDescription(description);
    bool saved = false;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        WCHAR widePath[MAX_PATH];
        saved = MultiByteToWideChar(CP_ACP, 0, linkPath, -1, widePath, MAX_PATH) > 0 &&
                SUCCEEDED(file->Save(widePath, FALSE));
        file->Release();
    }
    link->Release();
    return saved;
}

void RunShortcutAction(const char* startMenuFolder, const Shortcut& shortcut)
{
    char linkPath[PATH_SIZE], targetPath[PATH_SIZE];
    bool joined =
        startMenuFolder[0] != '\0' &&
        JoinPath(linkPath, sizeof linkPath, startMenuFolder, shortcut.linkName) &&
        JoinPath(targetPath, sizeof targetPath, installer.targetFolder, shortcut.targetName);
    if (joined)
        UseShortFormBeyondAscii(targetPath, sizeof targetPath);
    if (!joined || !SaveShortcut(linkPath, targetPath, shortcut.description))
        ReportFailure("Velari Installer could not create the shortcut %s%s.", startMenuFolder,
                      shortcut.linkName);
}

}  // namespace

void RunInstallation()
{
    HWND progress = OpenProgressWindow(InstallProgressDlgProc);
    if (!progress) {
        ReportWindowFailure();
        return;
    }
    installer.failedActions = 0;
    for (const Expansion& expansion : EXPANSIONS) {
        RunExpansion(expansion);
        StepProgress(progress);
    }
    installedKilobytes = KilobytesOfExpandedFiles();
    for (const RegistryValue& value : REGISTRY_VALUES) {
        RunRegistryAction(value);
        StepProgress(progress);
    }
    char startMenuFolder[PATH_SIZE] = "";
    if (FindStartMenuFolder(startMenuFolder, sizeof startMenuFolder))
        CreateFolderLevels(startMenuFolder);
    for (const Shortcut& shortcut : SHORTCUTS) {
        RunShortcutAction(startMenuFolder, shortcut);
        StepProgress(progress);
    }
    DestroyWindow(progress);
    PostMessageA(installer.window, WM_WIZARD_NEXT, 0, 0);
}
