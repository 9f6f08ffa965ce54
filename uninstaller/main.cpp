// Removal.exe: removes an installation of Velari. Started plainly (by the
// system's list of programs or the Start menu) from the installation's
// folder, it asks, then hands the work to a copy of itself in a new folder
// of its own in the temporary folder, which can remove this program file
// once it has ended.
#include <windows.h>

#include "dll_search.h"
#include "removal_steps.h"
#include "removal_text.h"
#include "self_removal.h"

namespace {

const char CAPTION[] = "Velari Uninstaller";
const char QUESTION[] = "Remove Velari and all of its components?";
const char NOT_INSTALLED_TEXT[] = "Velari is not installed here. Nothing was removed.";

void FinishRemoval(const char* folder)
{
    RemovalReport report;
    StartReport(&report);
    RemoveInstallation(folder, &report);
    char message[sizeof report.names + 200];
    ComposeClosingMessage(report, message, sizeof message);
    MessageBoxA(nullptr, message, CAPTION,
                MB_OK | (report.failures ? MB_ICONWARNING : MB_ICONINFORMATION));
}

void StartRemoval()
{
    char self[PATH_SIZE], folder[PATH_SIZE];
    const DWORD length = GetModuleFileNameA(nullptr, self, sizeof self);
    if (length == 0 || length >= sizeof self || !FolderOfPath(folder, sizeof folder, self) ||
        !IsInstallation(folder)) {
        MessageBoxA(nullptr, NOT_INSTALLED_TEXT, CAPTION, MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (MessageBoxA(nullptr, QUESTION, CAPTION, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    // Without a copy the work is done here, and this file is named among
    // what stays.
    if (!StartFinishingCopy(folder))
        FinishRemoval(folder);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int)
{
    RestrictDllSearch();
    uint32_t waitHandle;
    char folder[PATH_SIZE];
    if (ParseFinishArguments(arguments, &waitHandle, folder, sizeof folder)) {
        WaitForFirstProcess(waitHandle);
        RemoveOwnFileAtRestart();
        FinishRemoval(folder);
    } else {
        StartRemoval();
    }
    return 0;
}
