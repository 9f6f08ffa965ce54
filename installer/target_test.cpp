// Page 2: the target folder must exist, or be made now, and be short enough
// for every path the installation composes from it.
#include <windows.h>

#include "installer_state.h"
#include "path_text.h"

namespace {

void BackToTargetPage(const char* text)
{
    MessageBoxA(installer.window, text, "Error", MB_OK | MB_ICONERROR);
    PostMessageA(installer.window, WM_WIZARD_BACK, 0, 0);
}

}  // namespace

void TestTargetFolder()
{
    if (!TargetFolderFits(installer.targetFolder)) {
        BackToTargetPage("The folder name is too long: Velari Installer needs a folder name "
                         "of at most 244 characters. Click OK to choose a different Folder.");
        return;
    }
    // Entering the folder is the test that it exists; it stays the current one.
    if (SetCurrentDirectoryA(installer.targetFolder)) {
        PostMessageA(installer.window, WM_WIZARD_NEXT, 0, 0);
        return;
    }
    if (MessageBoxA(installer.window, "The Specified Target Folder Does Not Exist! Create It Now?",
                    "Create Folder?", MB_YESNO | MB_ICONINFORMATION) != IDYES) {
        PostMessageA(installer.window, WM_WIZARD_BACK, 0, 0);
        return;
    }
    if (CreateDirectoryA(installer.targetFolder, nullptr)) {
        PostMessageA(installer.window, WM_WIZARD_NEXT, 0, 0);
        return;
    }
    BackToTargetPage("Velari Installer could not create the folder. "
                     "Click OK to choose a different Folder.");
}
