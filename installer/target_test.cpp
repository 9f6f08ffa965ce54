// Page 2: the target folder must exist, or be made now, and be short enough
// for every path the installation composes from it. The silent modes make
// the same test without asking.
#include <windows.h>

#include "install_log.h"
#include "installer_state.h"
#include "path_text.h"

namespace {

void BackToTargetPage(const char* text)
{
    MessageBoxA(installer.window, text, "Error", MB_OK | MB_ICONERROR);
    PostMessageA(installer.window, WM_WIZARD_BACK, 0, 0);
}

bool FolderFits()
{
    if (TargetFolderFits(installer.targetFolder))
        return true;
    LogStep("Target folder %s: %s", installer.targetFolder, StepResult("the name is too long", 0));
    return false;
}

// Entering the folder is the test that it exists; it stays the current one.
bool FolderExists()
{
    if (!SetCurrentDirectoryA(installer.targetFolder))
        return false;
    LogStep("Target folder %s: exists", installer.targetFolder);
    return true;
}

// Only the last level is made: the parent must exist.
bool MakeFolder()
{
    const bool made = CreateDirectoryA(installer.targetFolder, nullptr);
    LogStep("Target folder %s: %s", installer.targetFolder,
            made ? "made" : StepResult("it can't be made", GetLastError()));
    return made;
}

}  // namespace

void TestTargetFolder()
{
    if (!FolderFits()) {
        BackToTargetPage("The folder name is too long: Velari Installer needs a folder name "
                         "of at most 244 characters. Click OK to choose a different Folder.");
        return;
    }
    if (FolderExists()) {
        PostMessageA(installer.window, WM_WIZARD_NEXT, 0, 0);
        return;
    }
    if (MessageBoxA(installer.window, "The Specified Target Folder Does Not Exist! Create It Now?",
                    "Create Folder?", MB_YESNO | MB_ICONINFORMATION) != IDYES) {
        LogStep("Target folder %s: missing, not made at the user's No", installer.targetFolder);
        PostMessageA(installer.window, WM_WIZARD_BACK, 0, 0);
        return;
    }
    if (MakeFolder()) {
        PostMessageA(installer.window, WM_WIZARD_NEXT, 0, 0);
        return;
    }
    BackToTargetPage("Velari Installer could not create the folder. "
                     "Click OK to choose a different Folder.");
}

// A folder without a drive would be taken relative to the current one, or
// as a network share the target page never offers.
bool PrepareTargetFolderSilently()
{
    if (!HasDriveRoot(installer.targetFolder)) {
        LogStep("Target folder %s: %s", installer.targetFolder, StepResult("it names no drive", 0));
        return false;
    }
    return FolderFits() && (FolderExists() || MakeFolder());
}
