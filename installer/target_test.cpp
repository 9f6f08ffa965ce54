// Page 2: the target folder must exist, or be made now, and be short enough
// for every path the installation composes from it.
#include <windows.h>

#include <cstring>

#include "installer_state.h"

namespace {

// The longest text built from the target folder is the open command,
// "<folder>Velari.exe" %1 with its two quotes; it must fit MAX_PATH bytes.
const size_t LONGEST_SUFFIX = (sizeof "\"" - 1) + (sizeof "Velari.exe\" %1" - 1);
const size_t MAX_TARGET_FOLDER_LENGTH = MAX_PATH - 1 - LONGEST_SUFFIX;
static_assert(MAX_TARGET_FOLDER_LENGTH == 244, "the refusal names this length");

void BackToTargetPage(const char* text)
{
    MessageBoxA(installer.window, text, "Error", MB_OK | MB_ICONERROR);
    PostMessageA(installer.window, WM_WIZARD_BACK, 0, 0);
}

}  // namespace

void TestTargetFolder()
{
    if (strlen(installer.targetFolder) > MAX_TARGET_FOLDER_LENGTH) {
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
