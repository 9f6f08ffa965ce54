// The hidden installer window: start-up with the folders given on the
// command line, the page dispatch, the abort prompt and shut-down.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>

#include "common_controls.h"
#include "default_target.h"
#include "drive_table.h"
#include "folder_chooser.h"
#include "game_search.h"
#include "install_actions.h"
#include "install_log.h"
#include "log_handover.h"
#include "installed_product.h"
#include "installer_state.h"
#include "path_text.h"
#include "payload_files.h"
#include "resource.h"
#include "scope_choice.h"
#include "target_folder.h"
#include "target_test.h"
#include "wizard.h"

InstallerState installer;

namespace {

const char INSTALLER_CLASS[] = "Velari Installer";
const char* const MODES[] = {"the wizard", "a silent installation", "a very silent installation"};

// Whether the drive's "Program Files" exists and takes a new file: a CD's,
// or one the user may not write to, could never hold the target.
bool DriveProgramFilesUsable(const char* current)
{
    char folder[] = "A:\\Program Files", probe[PATH_SIZE];
    folder[0] = current[0];
    if (!HasDriveRoot(current) || !GetTempFileNameA(folder, "vel", 0, probe))
        return false;
    DeleteFileA(probe);
    return true;
}

// Folders given on the command line replace the defaults, each with its
// backslash as the target page gives it one, the target in its one form; the folder chooser then opens
// on the given target's drive. One that does not fit leaves the wizard its
// default and makes a silent installation refuse.
void TakeGivenFolders()
{
    const InstallOptions& options = installer.options;
    char folder[PATH_SIZE];
    installer.givenFoldersFit = 1;
    installer.givenGameFolder[0] = '\0';
    if (options.targetFolder && TakeFolder(folder, sizeof folder, options.targetFolder)) {
        JoinPath(installer.targetFolder, sizeof installer.targetFolder, folder, nullptr);
        if (HasDriveRoot(folder))
            installer.currentDrive = DriveNumberOfDirectory(folder);
    } else if (options.targetFolder) {
        installer.givenFoldersFit = 0;
        LogStep("Target folder %s: %s", options.targetFolder, StepResult("the name is too long", 0));
    }
    if (options.gameFolder &&
        !FolderFromTyped(installer.givenGameFolder, sizeof installer.givenGameFolder, options.gameFolder)) {
        installer.givenFoldersFit = 0;
        LogStep("Game folder %s: %s", options.gameFolder, StepResult("the name is too long", 0));
    }
}

LRESULT OnCreate(HWND window)
{
    installer.window = window;
    installer.exitCode = EXIT_INCOMPLETE;  // until the installation has run
    LogStep("Velari Installer started in %s: %s", installer.sourceFolder, MODES[installer.options.mode]);
    DecideInstallScope();
    ProposeTargetFolder();
    TakeGivenFolders();
    installer.finished = 0;
    CoInitialize(nullptr);
    LoadCommonControls();
    installer.pageIndex = 0;
    InitDriveTable();
    PostMessageA(window, WM_WIZARD_START, 0, 0);
    return 0;
}

void OnDestroy()
{
    ReleasePayload();
    FreeDriveTable();
    if (installer.folderIcons) {
        DestroyIconList(installer.folderIcons);
        installer.folderIcons = nullptr;
    }
    CoUninitialize();
    if (installer.banner) {
        DeleteObject(installer.banner);
        installer.banner = nullptr;
    }
    PostQuitMessage(0);
}

// Nothing is written or made before every file of the release is checked.
void OnStart()
{
    if (!HoldCheckedPayload()) {
        installer.finished = 1;
        DestroyWindow(installer.window);
        return;
    }
    if (installer.options.mode != INSTALL_WIZARD) {
        InstallSilently();
        return;
    }
    LoadWizardImages();
    ShowPage();
}

void OnClose()
{
    if (!installer.finished && !ConfirmAbort()) {
        ShowPage();
        return;
    }
    if (!installer.finished) {
        installer.exitCode = EXIT_CANCELLED;
        LogStep("Cancelled by the user");
        RemoveMadeFolders();
    }
    DestroyWindow(installer.window);
}

void OnBrowse(DLGPROC chooserProc)
{
    if (DialogBoxParamA(installer.instance, MAKEINTRESOURCEA(IDD_FOLDER_CHOOSER), installer.window,
                        chooserProc, 0) == -1)
        MessageBoxA(installer.window, "Error creating Dialog Box", "ERROR", MB_OK);
    ShowPage();
}

void OnFinished()
{
    installer.finished = 1;
    PostMessageA(installer.window, WM_CLOSE, 0, 0);
}

void MovePage(int by)
{
    installer.pageIndex += by;
    ShowPage();
}

void OnNext()
{
    if (installer.pageIndex == 0 && !ApplyScopeChoice())
        return;
    MovePage(1);
}

void RunPageDialog(int templateId, DLGPROC pageProc)
{
    if (DialogBoxParamA(installer.instance, MAKEINTRESOURCEA(templateId), installer.window,
                        pageProc, 0) == -1)
        ReportWindowFailure();
}

}  // namespace

// The default target is chosen from what the system says about the source
// folder and the scope; per user it is the user's own programs folder.
void ProposeTargetFolder()
{
    const InstallScope scope = installer.scope;
    const char* source = installer.sourceFolder;
    char programs[PATH_SIZE], installed[PATH_SIZE];
    FindScopeProgramsFolder(scope, programs, sizeof programs);
    ReadInstalledFolder(scope, installed);
    const TargetDefaultFacts facts = {source, scope == SCOPE_ALL_USERS && DriveProgramFilesUsable(source), programs, installed};
    char proposed[PATH_SIZE];
    const TargetDefaultKind kind = ChooseDefaultTarget(facts, proposed, sizeof proposed);
    if (!TakeFolder(installer.targetFolder, sizeof installer.targetFolder, proposed))
        JoinPath(installer.targetFolder, sizeof installer.targetFolder, proposed, nullptr);
    installer.currentDrive = DriveNumberOfDirectory(HasDriveRoot(installer.targetFolder) ? installer.targetFolder : source);
    installer.targetScope = scope;
    if (!installer.options.targetFolder)
        LogStep("Default target folder %s: %s", installer.targetFolder,
                scope == SCOPE_CURRENT_USER && kind == DEFAULT_SYSTEM ? "the user's own programs folder"
                                                                      : TargetDefaultReason(kind));
}

// The compressed files lie beside this program file, whatever the current
// folder: the setup program starts it from the folder it unpacked them into,
// in the folder that /LOG and the other switches' relative paths refer to.
void TakeSourceFolder()
{
    char program[PATH_SIZE];
    const DWORD length = GetModuleFileNameA(nullptr, program, sizeof program);
    char* name = length > 0 && length < sizeof program ? strrchr(program, '\\') : nullptr;
    // Too long a path leaves the source folder empty: every expansion
    // then fails and says which file it could not expand.
    installer.sourceFolder[0] = '\0';
    if (name) {
        name[1] = '\0';
        JoinPath(installer.sourceFolder, sizeof installer.sourceFolder, program, nullptr);
    }
}

bool RegisterInstallerClass()
{
    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = InstallerWndProc;
    windowClass.hInstance = installer.instance;
    windowClass.hIcon = LoadIconA(installer.instance, MAKEINTRESOURCEA(IDI_INSTALLER));
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    windowClass.lpszClassName = INSTALLER_CLASS;
    return RegisterClassA(&windowClass) != 0;
}

// Never shown: the pages are its dialogs.
HWND CreateInstallerWindow()
{
    HWND window = CreateWindowExA(WS_EX_ACCEPTFILES | WS_EX_CLIENTEDGE | WS_EX_CONTEXTHELP,
                                  INSTALLER_CLASS, INSTALLER_CLASS, WS_OVERLAPPEDWINDOW, 100, 100,
                                  10, 10, nullptr, nullptr, installer.instance, nullptr);
    if (window) {
        ShowWindow(window, SW_HIDE);
        UpdateWindow(window);
    }
    return window;
}

int InstallerMain(const InstallOptions& options)
{
    installer.options = options;
    // Without its log the run goes on: the log only tells about it.
    OpenChosenLog(options);
    if (!CreateInstallerWindow()) {
        LogStep("The installer's window can't be made");
        CloseInstallLog(EXIT_INCOMPLETE);
        return EXIT_INCOMPLETE;
    }
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    CloseInstallLog(installer.exitCode);
    return installer.exitCode;
}

// The usage, after the switch that was not understood; the log, when one
// was asked for, names that switch too.
int RefuseCommandLine(const InstallOptions& options)
{
    if (OpenChosenLog(options)) {
        LogStep("%s", options.problem);
        CloseInstallLog(EXIT_BAD_COMMAND_LINE);
    }
    if (options.mode != INSTALL_VERYSILENT) {
        char text[1024];  // the usage and a problem that fills its buffer
        snprintf(text, sizeof text, "%s\n\n%s", options.problem, USAGE_TEXT);
        MessageBoxA(nullptr, text, "Velari Installer", MB_OK | MB_ICONERROR);
    }
    return EXIT_BAD_COMMAND_LINE;
}

// Without its page the wizard could only wait for ever: say so and end.
void ReportWindowFailure()
{
    MessageBoxA(installer.window, "Error creating Dialog Box", "ERROR", MB_OK);
    installer.finished = 1;
    DestroyWindow(installer.window);
}

int ConfirmAbort()
{
    return MessageBoxA(installer.window, "Abort Installation of Velari?", "Abort!",
                       MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
}

void ShowPage()
{
    switch (installer.pageIndex) {
    case 0: RunPageDialog(IDD_WELCOME_PAGE, WelcomePageDlgProc); break;
    case 1: RunPageDialog(IDD_TARGET_PAGE, TargetPageDlgProc); break;
    case 2: TestTargetFolder(); break;
    case 3: RunGameFolderSearch(); break;
    case 4: RunPageDialog(IDD_GAME_PAGE, GamePageDlgProc); break;
    case 5: RunPageDialog(IDD_SUMMARY_PAGE, SummaryPageDlgProc); break;
    case 6: RunInstallation(); break;
    case 7: RunPageDialog(IDD_FINISH_PAGE, FinishPageDlgProc); break;
    default: break;
    }
}

LRESULT CALLBACK InstallerWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: return OnCreate(window);
    case WM_DESTROY: OnDestroy(); return 0;
    case WM_CLOSE: OnClose(); return 0;
    case WM_WIZARD_CANCEL: OnClose(); return 0;
    case WM_WIZARD_START: OnStart(); return 0;
    case WM_WIZARD_NEXT: OnNext(); return 0;
    case WM_WIZARD_BACK: MovePage(-1); return 0;
    case WM_WIZARD_BROWSE_TARGET: OnBrowse(TargetFolderDlgProc); return 0;
    case WM_WIZARD_BROWSE_GAME: OnBrowse(GameFolderDlgProc); return 0;
    case WM_WIZARD_FINISHED: OnFinished(); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}
