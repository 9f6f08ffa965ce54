// Page 6: the installation actions, in order, one progress step each. No
// failure stops the list, and every failure is reported (shown in the
// wizard, logged in every mode) and counted so that the finish page and the
// exit code can tell.
#include <windows.h>
#include <lzexpand.h>
#include <objbase.h>
#include <shlguid.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>

#include "install_actions.h"
#include "install_log.h"
#include "installed_product.h"
#include "installer_state.h"
#include "payload_files.h"
#include "path_text.h"
#include "progress_window.h"
#include "running_velari.h"
#include "short_path.h"
#include "target_folder.h"
#include "velari_version.h"
#include "width_takeover.h"
#include "wizard.h"

namespace {

// A value's text is before + folder + after; any of them may be null. A
// value with a number is a REG_DWORD instead. The keys lie in the scope's
// settings root, or in its classes.
enum KeyPlace { SETTINGS, CLASSES };
struct RegistryValue {
    KeyPlace place;
    const char* key;
    const char* name;  // null: the key's default value
    const char* before;
    const char* folder;
    const char* after;
    const DWORD* number = nullptr;
};

const DWORD YES = 1;
DWORD installedKilobytes;  // of the expanded files, once they are in place

// The program paths are quoted so that a folder with blanks can't start
// another program; the shell passes %1 unquoted, and the editor takes its
// whole command line as the path.
const RegistryValue REGISTRY_VALUES[] = {
    {SETTINGS, PROGRAM_KEY, TARGET_FOLDER_VALUE, nullptr, installer.targetFolder, nullptr},
    {SETTINGS, PROGRAM_KEY, GAME_FOLDER_VALUE, nullptr, installer.gameFolder, nullptr},
    {CLASSES, TRACK_EXTENSION_KEY, nullptr, TRACK_CLASS_KEY, nullptr, nullptr},
    {CLASSES, "velari\\DefaultIcon", nullptr, nullptr, installer.targetFolder,
     "Velari.exe,1"},
    {CLASSES, "velari\\shell\\open\\command", nullptr, "\"", installer.targetFolder,
     "Velari.exe\" %1"},
    {SETTINGS, UNINSTALL_KEY, "DisplayName", "Velari v2.0", nullptr, nullptr},
    {SETTINGS, UNINSTALL_KEY, "UninstallString", "\"", installer.targetFolder,
     "Removal.exe\""},
    // What a deployment tool runs to remove it without a question.
    {SETTINGS, UNINSTALL_KEY, "QuietUninstallString", "\"", installer.targetFolder,
     "Removal.exe\" /SILENT"},
    // What the system's list of programs shows beside the name.
    {SETTINGS, UNINSTALL_KEY, "DisplayIcon", nullptr, installer.targetFolder, "Velari.exe,0"},
    {SETTINGS, UNINSTALL_KEY, "DisplayVersion", VELARI_VERSION_TEXT, nullptr, nullptr},
    {SETTINGS, UNINSTALL_KEY, "Publisher", "Quorvane", nullptr, nullptr},
    {SETTINGS, UNINSTALL_KEY, "InstallLocation", nullptr, installer.targetFolder, nullptr},
    {SETTINGS, UNINSTALL_KEY, "EstimatedSize", nullptr, nullptr, nullptr, &installedKilobytes},
    {SETTINGS, UNINSTALL_KEY, "NoModify", nullptr, nullptr, nullptr, &YES},
    {SETTINGS, UNINSTALL_KEY, "NoRepair", nullptr, nullptr, nullptr, &YES},
};

static_assert(sizeof INSTALLED_FILES / sizeof *INSTALLED_FILES + sizeof REGISTRY_VALUES / sizeof *REGISTRY_VALUES +
                      sizeof INSTALLED_SHORTCUTS / sizeof *INSTALLED_SHORTCUTS ==
                  INSTALL_ACTION_COUNT,
              "the bar has one step per action");

// The wizard shows every failure; the silent modes show nothing.
void ShowFailure(const char* text)
{
    if (installer.options.mode == INSTALL_WIZARD)
        MessageBoxA(installer.window, text, "Error!", MB_OK);
}

void ReportFailure(const char* format, const char* first, const char* second)
{
    char text[2 * PATH_SIZE + 100];
    snprintf(text, sizeof text, format, first, second);
    ShowFailure(text);
    ++installer.failedActions;
}

// The reason, with the system's error of the call that just failed.
const char* Failed(const char* reason, DWORD* error)
{
    *error = GetLastError();
    return reason;
}

// The length the compressed file's header promises is the only way to see
// that it was cut short; and an empty original comes back as one zero byte
// unless the output is cut to that length. Returns the failure's reason,
// null when expanded. The source is the checked file, still held (and
// closed here); the target is opened by name here, not by the LZ routines,
// whose record of the name holds only 128 bytes: a path of UTF-8 letters
// soon passes that.
const char* ExpandInto(HANDLE source, const char* partPath, DWORD* error)
{
    if (source == INVALID_HANDLE_VALUE)
        return "the compressed file was not checked";
    INT compressed = LZInit(static_cast<HFILE>(reinterpret_cast<INT_PTR>(source)));
    if (compressed < 0) {
        const char* failure = Failed("the compressed file can't be read", error);
        CloseHandle(source);
        return failure;
    }
    LONG promised = LZSeek(compressed, 0, 2);
    HANDLE part = CreateFileA(partPath, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    const char* failure = part == INVALID_HANDLE_VALUE ? Failed("the expanded file can't be made", error) : nullptr;
    LONG copied = -1;
    if (promised >= 0 && LZSeek(compressed, 0, 0) == 0 && part != INVALID_HANDLE_VALUE)
        copied = LZCopy(compressed, static_cast<HFILE>(reinterpret_cast<INT_PTR>(part)));
    LZClose(compressed);
    if (part != INVALID_HANDLE_VALUE)
        CloseHandle(part);
    *error = failure ? *error : 0;
    // A length that can't be read is an error code, never a length.
    if (!failure && (promised < 0 || copied < promised))
        failure = "the compressed file is cut short or can't be read";
    if (failure || copied == promised)
        return failure;
    HANDLE file = CreateFileA(partPath, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return Failed("the expanded file can't be cut to its length", error);
    bool cut = SetFilePointer(file, promised, nullptr, FILE_BEGIN) ==
                   static_cast<DWORD>(promised) &&
               SetEndOfFile(file);
    if (!cut)
        failure = Failed("the expanded file can't be cut to its length", error);
    CloseHandle(file);
    return failure;
}

// Expanded beside the target and put in its place only when whole, so a
// failure never leaves a partial file nor destroys an earlier one. The part
// is named after the target rather than by GetTempFileNameA, which cuts a
// name of more than MAX_PATH bytes, as UTF-8 letters soon make.
const char* ExpandFile(HANDLE source, const char* targetPath, DWORD* error)
{
    char partPath[PATH_SIZE];
    if (!JoinPath(partPath, sizeof partPath, targetPath, ".tmp")) {
        if (source != INVALID_HANDLE_VALUE)
            CloseHandle(source);
        return "the path is too long";
    }
    const char* failure = ExpandInto(source, partPath, error);
    if (!failure && !MoveFileExA(partPath, targetPath, MOVEFILE_REPLACE_EXISTING))
        failure = Failed("the expanded file can't replace the one there", error);
    if (failure)
        DeleteFileA(partPath);
    return failure;
}

void RunExpansion(size_t index)
{
    const InstalledFile& expansion = INSTALLED_FILES[index];
    char targetPath[PATH_SIZE];
    const char* failure = "the path is too long";
    DWORD error = 0;
    HANDLE source = TakeCheckedPayloadFile(index);
    if (JoinPath(targetPath, sizeof targetPath, installer.targetFolder, expansion.expandedName))
        failure = ExpandFile(source, targetPath, &error);
    else if (source != INVALID_HANDLE_VALUE)
        CloseHandle(source);
    LogStep("Expand %s%s to %s%s: %s", installer.sourceFolder, expansion.compressedName,
            installer.targetFolder, expansion.expandedName, StepResult(failure, error));
    if (failure)
        ReportFailure("Velari Installer could not expand %s%s.", installer.sourceFolder,
                      expansion.compressedName);
}

void RunRegistryAction(const RegistryValue& value)
{
    // A command with its switch may be longer than any path: joined as text,
    // bounded all the same.
    char text[2 * PATH_SIZE];
    const int length = snprintf(text, sizeof text, "%s%s%s", value.before ? value.before : "",
                                value.folder ? value.folder : "", value.after ? value.after : "");
    const char* failure = length >= 0 && static_cast<size_t>(length) < sizeof text ? nullptr : "the value is too long";
    DWORD error = 0;
    const ScopePlaces& places = SCOPE_PLACES[installer.scope];
    const RegistryRoot root = value.place == CLASSES ? places.classesRoot : places.settingsRoot;
    char keyPath[PATH_SIZE];
    if (!JoinPath(keyPath, sizeof keyPath, value.place == CLASSES ? places.classesKey : "", value.key))
        keyPath[0] = '\0';  // never: the keys are short
    HKEY key = nullptr;
    LONG result = RegCreateKeyExA(RootKey(root), keyPath, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (result != ERROR_SUCCESS) {
        ShowFailure("Error creating key");
        key = nullptr;
        failure = "the key can't be created or opened";
        error = static_cast<DWORD>(result);
    }
    const bool isNumber = value.number != nullptr;
    const BYTE* data = isNumber ? reinterpret_cast<const BYTE*>(value.number) : reinterpret_cast<const BYTE*>(text);
    const DWORD size = isNumber ? sizeof(DWORD) : static_cast<DWORD>(strlen(text) + 1);
    if (!failure &&
        (result = RegSetValueExA(key, value.name, 0, isNumber ? REG_DWORD : REG_SZ, data, size)) != ERROR_SUCCESS) {
        failure = "the value can't be set";
        error = static_cast<DWORD>(result);
    }
    char shown[16];
    if (isNumber)
        snprintf(shown, sizeof shown, "%lu", static_cast<unsigned long>(*value.number));
    LogStep("Registry %s\\%s, %s = %s: %s", ROOT_NAMES[root], keyPath, value.name ? value.name : "(default)", isNumber ? shown : text,
            StepResult(failure, error));
    if (failure) {
        ShowFailure("Error setting value");
        ++installer.failedActions;
    }
    if (key)
        RegCloseKey(key);
}

// Rounded up, as the system's list of programs shows sizes in whole units.
DWORD KilobytesOfExpandedFiles()
{
    unsigned long long bytes = 0;
    for (const InstalledFile& expansion : INSTALLED_FILES) {
        char path[PATH_SIZE];
        WIN32_FILE_ATTRIBUTE_DATA file;
        if (JoinPath(path, sizeof path, installer.targetFolder, expansion.expandedName) &&
            GetFileAttributesExA(path, GetFileExInfoStandard, &file))
            bytes += (static_cast<unsigned long long>(file.nFileSizeHigh) << 32) | file.nFileSizeLow;
    }
    return static_cast<DWORD>((bytes + 1023) / 1024);
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

// The failure's reason, null when saved.
const char* SaveShortcut(const char* linkPath, const char* targetPath, const char* description,
                         DWORD* error)
{
    IShellLinkA* link = nullptr;
    HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                      reinterpret_cast<void**>(&link));
    *error = static_cast<DWORD>(result);
    if (FAILED(result))
        return "no shell link can be made";
    link->SetPath(targetPath);
    link->SetDescription(description);
    const char* failure = "the shell link can't be saved";
    IPersistFile* file = nullptr;
    result = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    if (SUCCEEDED(result)) {
        WCHAR widePath[MAX_PATH];
        if (MultiByteToWideChar(CP_ACP, 0, linkPath, -1, widePath, MAX_PATH) == 0)
            result = HRESULT_FROM_WIN32(GetLastError());
        else if (SUCCEEDED(result = file->Save(widePath, FALSE)))
            failure = nullptr;
        file->Release();
    }
    link->Release();
    *error = static_cast<DWORD>(result);
    return failure;
}

void RunShortcutAction(const char* startMenuFolder, const InstalledShortcut& shortcut)
{
    char linkPath[PATH_SIZE], targetPath[PATH_SIZE];
    const char* failure = startMenuFolder[0] ? "the path is too long" : "the Start menu's folder is not known";
    DWORD error = 0;
    if (startMenuFolder[0] != '\0' &&
        JoinPath(linkPath, sizeof linkPath, startMenuFolder, shortcut.linkName) &&
        JoinPath(targetPath, sizeof targetPath, installer.targetFolder, shortcut.targetName)) {
        UseShortFormBeyondAscii(targetPath, sizeof targetPath);
        failure = SaveShortcut(linkPath, targetPath, shortcut.description, &error);
    }
    LogStep("Shortcut %s%s to %s%s: %s", startMenuFolder, shortcut.linkName, installer.targetFolder,
            shortcut.targetName, StepResult(failure, error));
    if (failure)
        ReportFailure("Velari Installer could not create the shortcut %s%s.", startMenuFolder,
                      shortcut.linkName);
}

}  // namespace

void RunInstallation()
{
    if (!AgreeToCloseVelari()) {
        PostMessageA(installer.window, WM_WIZARD_BACK, 0, 0);
        return;
    }
    HWND progress = OpenProgressWindow(InstallProgressDlgProc);
    if (!progress) {
        ReportWindowFailure();
        return;
    }
    RunInstallationActions(progress);
    DestroyWindow(progress);
    PostMessageA(installer.window, WM_WIZARD_NEXT, 0, 0);
}

void RunInstallationActions(HWND progress)
{
    installer.failedActions = 0;
    if (InstalledInTarget(installer.scope))
        LogStep("Velari is installed in %s already: it is upgraded there", installer.targetFolder);
    const int leftRunning = CloseRunningVelari();
    for (size_t index = 0; index < sizeof INSTALLED_FILES / sizeof *INSTALLED_FILES; ++index) {
        RunExpansion(index);
        StepProgress(progress);
    }
    installedKilobytes = KilobytesOfExpandedFiles();
    for (const RegistryValue& value : REGISTRY_VALUES) {
        RunRegistryAction(value);
        StepProgress(progress);
    }
    char startMenuFolder[PATH_SIZE] = "";
    if (FindStartMenuFolder(installer.scope, startMenuFolder, sizeof startMenuFolder))
        CreateFolderLevels(startMenuFolder);
    for (const InstalledShortcut& shortcut : INSTALLED_SHORTCUTS) {
        RunShortcutAction(startMenuFolder, shortcut);
        StepProgress(progress);
    }
    // What the other width's installation leaves though it should go fails
    // the last step: the finish page and the exit code both read the count.
    if (TakeOverOtherWidth() > 0)
        ++installer.failedActions;
    LogStep("%d of the %d steps failed.", installer.failedActions, static_cast<int>(INSTALL_ACTION_COUNT));
    ReopenClosedVelari();
    installer.exitCode = installer.failedActions || leftRunning ? EXIT_INCOMPLETE : EXIT_INSTALLED;
}
