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
const char CRASHED_TEXT[] = "The removal of Velari with administrator rights ended abnormally. Some of it may be left.";

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

// After a restart with administrator rights, the first process: its
// finishing copy waits for it too.
HANDLE firstProcess;

// For all users without the rights, the same run again with them, told this
// process's id; false when it needs none. A declined prompt removes
// nothing, and neither does a crash.
bool RunElevatedIfNeeded(InstallScope scope, bool quiet, ElevatedEnd* end, DWORD* code)
{
    if (!NeedsElevatedRestart(scope, ProcessIsElevated()))
        return false;
    char arguments[40];
    wsprintfA(arguments, "%s%s%lu", quiet ? "/SILENT " : "", FIRST_SWITCH, GetCurrentProcessId());
    *end = RunElevated(arguments, nullptr, code);
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
    ElevatedEnd end;
    DWORD code;
    if (RunElevatedIfNeeded(scope, false, &end, &code)) {
        if (end == ELEVATED_DECLINED || end == ELEVATED_NOT_STARTED)
            MessageBoxA(nullptr, NO_RIGHTS_TEXT, CAPTION, MB_OK | MB_ICONWARNING);
        else if (end == ELEVATED_CRASHED)
            MessageBoxA(nullptr, CRASHED_TEXT, CAPTION, MB_OK | MB_ICONERROR);
        return;
    }
    if (MessageBoxA(nullptr, scope == SCOPE_NONE ? COPY_QUESTION : QUESTION, CAPTION, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    // Without a copy the work is done here, and this file is named among
    // what stays.
    if (!StartFinishingCopy(FINISH_SWITCH, folder, firstProcess))
        FinishRemoval(folder);
}

// The process that a tool waits for ends only when everything but this
// program file and its folder is done with. Nothing registered here is
// something left, too: the tool's entry would otherwise pass for removed.
int RemoveQuietly()
{
    char folder[PATH_SIZE];
    RemovalReport report;
    StartReport(&report);
    const bool installed = FindOwnFolder(folder, sizeof folder) && IsInstallation(folder);
    const InstallScope scope = installed ? RegisteredScope(folder) : SCOPE_NONE;
    ElevatedEnd end;
    DWORD code;
    if (RunElevatedIfNeeded(scope, true, &end, &code))
        return end == ELEVATED_EXITED ? static_cast<int>(code) : EXIT_LEFT;
    if (installed) {
        RemoveInstalledParts(folder, scope, &report);
        if (!StartFinishingCopy(TIDY_SWITCH, folder, firstProcess))
            RemoveUninstallerAndFolder(folder, &report);
    }
    return QuietRemovalExitCode(scope != SCOPE_NONE, report);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int)
{
    RestrictDllSearch();
    uint32_t waitHandles[2], firstProcessId;
    char folder[PATH_SIZE];
    bool quiet = false;
    if (ParseFinishArguments(arguments, FINISH_SWITCH, waitHandles, folder, sizeof folder)) {
        WaitForStartingProcesses(waitHandles);
        RemoveOwnFileAtRestart();
        FinishRemoval(folder);
        return 0;
    }
    if (ParseFinishArguments(arguments, TIDY_SWITCH, waitHandles, folder, sizeof folder)) {
        WaitForStartingProcesses(waitHandles);
        RemoveOwnFileAtRestart();
        RemovalReport report;
        StartReport(&report);
        RemoveUninstallerAndFolder(folder, &report);
        return 0;
    }
    // Anything else not understood: the removal that asks.
    ParseRemovalSwitches(arguments, &quiet, &firstProcessId);
    firstProcess = OpenFirstProcess(firstProcessId);
    if (quiet)
        return RemoveQuietly();
    StartRemoval();
    return 0;
}
