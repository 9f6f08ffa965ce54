// Removal.exe: removes an installation of Velari. Started plainly (by the
// system's list of programs or the Start menu) from the installation's
// folder, it asks, then hands the work to a copy of itself in a new folder
// of its own in the temporary folder, which can remove this program file
// once it has ended. Started with /SILENT (by a deployment tool, which waits
// for it and reads its exit code), it asks and shows nothing, removes all
// but its own file and folder itself, and leaves only those to the copy.
#include <windows.h>

#include "dll_search.h"
#include "elevation.h"
#include "installed_product.h"
#include "removal_scope.h"
#include "removal_steps.h"
#include "removal_text.h"
#include "self_removal.h"

namespace {

const char CAPTION[] = "Velari Uninstaller";
const char QUESTION[] = "Remove Velari and all of its components?";
const char NOT_INSTALLED_TEXT[] = "Velari is not installed here. Nothing was removed.";

const char NO_RIGHTS_TEXT[] = "Velari was not removed: removing it for all users needs administrator rights.";

// Decided again here, by the folder: the finishing copy is told only that.
void FinishRemoval(const char* folder)
{
    RemovalReport report;
    StartReport(&report);
    const InstallScope scope = RegisteredScope(folder);
    RemoveInstallation(folder, scope, &report);
    char message[sizeof report.names + sizeof report.keptFolder + 200];
    if (scope == SCOPE_NONE)
        ComposeCopyClosingMessage(report, message, sizeof message);
    else
        ComposeClosingMessage(report, message, sizeof message);
    MessageBoxA(nullptr, message, CAPTION,
                MB_OK | (report.failures ? MB_ICONWARNING : MB_ICONINFORMATION));
}

// The installation's folder: this program file's own.
bool FindOwnFolder(char* folder, size_t size)
{
    char self[PATH_SIZE];
    const DWORD length = GetModuleFileNameA(nullptr, self, sizeof self);
    return length > 0 && length < sizeof self && FolderOfPath(folder, size, self);
}

// For all users without the rights, the same run again with them, its exit
// code in code; false when it needs none. A declined prompt removes nothing.
bool RunElevatedIfNeeded(InstallScope scope, const char* arguments, long* code)
{
    if (!NeedsElevatedRestart(scope, ProcessIsElevated()))
        return false;
    *code = RunElevated(arguments, nullptr);
    return true;
}

void StartRemoval()
{
    char folder[PATH_SIZE];
    if (!FindOwnFolder(folder, sizeof folder) || !IsInstallation(folder)) {
        MessageBoxA(nullptr, NOT_INSTALLED_TEXT, CAPTION, MB_OK | MB_ICONINFORMATION);
        return;
    }
    const InstallScope scope = RegisteredScope(folder);
    long code;
    if (RunElevatedIfNeeded(scope, "", &code)) {
        if (code < 0)
            MessageBoxA(nullptr, NO_RIGHTS_TEXT, CAPTION, MB_OK | MB_ICONWARNING);
        return;
    }
    if (MessageBoxA(nullptr, scope == SCOPE_NONE ? COPY_QUESTION : QUESTION, CAPTION, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    // Without a copy the work is done here, and this file is named among
    // what stays.
    if (!StartFinishingCopy(FINISH_SWITCH, folder))
        FinishRemoval(folder);
}

// The process that a tool waits for ends only when everything but this
// program file and its folder is done with. Nothing registered here is
// something left, too: the tool's entry would otherwise pass for removed.
int RemoveQuietly(const char* arguments)
{
    char folder[PATH_SIZE];
    RemovalReport report;
    StartReport(&report);
    const bool installed = FindOwnFolder(folder, sizeof folder) && IsInstallation(folder);
    const InstallScope scope = installed ? RegisteredScope(folder) : SCOPE_NONE;
    long code;
    if (RunElevatedIfNeeded(scope, arguments, &code))
        return code < 0 ? EXIT_LEFT : static_cast<int>(code);
    if (installed) {
        RemoveInstalledParts(folder, scope, &report);
        if (!StartFinishingCopy(TIDY_SWITCH, folder))
            RemoveUninstallerAndFolder(folder, &report);
    }
    return QuietRemovalExitCode(scope != SCOPE_NONE, report);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int)
{
    RestrictDllSearch();
    uint32_t waitHandle;
    char folder[PATH_SIZE];
    if (ParseFinishArguments(arguments, FINISH_SWITCH, &waitHandle, folder, sizeof folder)) {
        WaitForFirstProcess(waitHandle);
        RemoveOwnFileAtRestart();
        FinishRemoval(folder);
    } else if (ParseFinishArguments(arguments, TIDY_SWITCH, &waitHandle, folder, sizeof folder)) {
        WaitForFirstProcess(waitHandle);
        RemoveOwnFileAtRestart();
        RemovalReport report;
        StartReport(&report);
        RemoveUninstallerAndFolder(folder, &report);
    } else if (IsQuietRemoval(arguments)) {
        return RemoveQuietly(arguments);
    } else {
        StartRemoval();
    }
    return 0;
}
