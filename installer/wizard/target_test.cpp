// Page 2: the target folder must exist, or be made now, and be short enough
// for every path the installation composes from it. The silent modes make
// the same test without asking.
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>

#include "folder_rights.h"
#include "install_log.h"
#include "installer_state.h"
#include "path_text.h"
#include "target_test.h"
#include "wizard.h"

namespace {

void BackToTargetPage(const char* text)
{
    MessageBoxA(installer.window, text, "Error", MB_OK | MB_ICONERROR);
    PostMessageA(installer.window, WM_WIZARD_BACK, 0, 0);
}

// The silent modes' refusal, in the log's words: a folder without a drive
// would be made below the current one, and held by the registry as such.
const char* FolderRefusal()
{
    const char* refusal = SilentTargetRefusal(installer.targetFolder);
    if (refusal)
        LogStep("Target folder %s: %s", installer.targetFolder, StepResult(refusal, 0));
    return refusal;
}

// The system's Program Files folders, with their backslash ("" for unknown):
// a folder made below them inherits their rights.
void FindProgramFilesFolders(char (&folders)[3][PATH_SIZE])
{
    const int csidl[] = {CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILESX86};
    char base[PATH_SIZE];
    for (int i = 0; i < 3; ++i) {
        const bool found = i < 2 ? SHGetFolderPathA(nullptr, csidl[i], nullptr, SHGFP_TYPE_CURRENT, base) == S_OK
                                 : GetEnvironmentVariableA("ProgramW6432", base, MAX_PATH) - 1u < MAX_PATH - 1u;
        if (!found || !JoinPath(folders[i], sizeof folders[i], base, "\\"))
            folders[i][0] = '\0';
    }
}

const char* RightsForTarget()
{
    char programFiles[3][PATH_SIZE];
    FindProgramFilesFolders(programFiles);
    const char* const folders[] = {programFiles[0], programFiles[1], programFiles[2]};
    return RightsForNewFolder(installer.scope, installer.targetFolder, folders, 3);
}

// A folder the installer didn't make keeps its rights; for all users it
// must not be one that others than administrators may change, whose
// programs any of them could replace. A descriptor that can't be read
// counts as such.
bool OthersMayChangeTarget()
{
    if (installer.scope != SCOPE_ALL_USERS)
        return false;
    char sddl[2048], sid[200];
    ReadOwnSid(sid, sizeof sid);
    return !ReadFolderRights(installer.targetFolder, sddl, sizeof sddl) || OthersMayChange(sddl, sid);
}

const char OPEN_FOLDER_TEXT[] = "users other than administrators may change the files in it; any of them could "
                                "replace Velari's programs, which then run with an administrator's rights";

// Entering the folder is the test that it exists; it stays the current one.
bool FolderExists()
{
    if (!SetCurrentDirectoryA(installer.targetFolder))
        return false;
    LogStep("Target folder %s: exists", installer.targetFolder);
    return true;
}

// Every missing level is made, as a person who names a new folder expects;
// the highest one is kept, so that an abort can take them back. For all
// users outside Program Files each gets Program Files' rights.
bool MakeFolder()
{
    char level[PATH_SIZE];
    const char* target = installer.targetFolder;
    const char* rights = RightsForTarget();
    installer.madeFolder[0] = '\0';
    if (!target[0])
        return false;
    // Below a drive's root every level is tried; elsewhere only the last.
    const size_t last = strlen(target) - 1;
    for (size_t end = HasDriveRoot(target) ? 3 : last; end <= last; ++end) {
        if (target[end] != '\\' && end != last)
            continue;
        memcpy(level, target, end + 1);
        level[end + 1] = '\0';
        const DWORD attributes = GetFileAttributesA(level);
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            continue;
        if (!CreateFolderWithRights(level, rights)) {
            const DWORD error = GetLastError();
            LogStep("Target folder %s: %s", target, StepResult("it can't be made", error));
            RemoveMadeFolders();
            SetLastError(error);
            return false;
        }
        if (!installer.madeFolder[0])
            memcpy(installer.madeFolder, level, end + 2);
    }
    LogStep("Target folder %s: made%s", target, rights ? ", changed by administrators only" : "");
    return true;
}

// The fixed sentence, then the system's reason on a line of its own.
void ReportFolderNotMade(DWORD error)
{
    char reason[256] = "", text[512];
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, reason,
                   sizeof reason, nullptr);
    snprintf(text, sizeof text, "Velari Installer could not create the folder. "
             "Click OK to choose a different Folder.\n\n%s", reason);
    BackToTargetPage(text);
}

}  // namespace

void TestTargetFolder()
{
    if (const char* refusal = FolderRefusal()) {
        char text[PATH_SIZE + 100] = "The folder name is too long: Velari Installer needs a folder name "
                                     "of at most 244 characters. Click OK to choose a different Folder.";
        if (!HasDriveRoot(installer.targetFolder))
            snprintf(text, sizeof text, "Velari Installer can't use the folder %s: %s. Click OK to choose a different Folder.",
                     installer.targetFolder, refusal);
        BackToTargetPage(text);
        return;
    }
    if (FolderExists()) {
        char text[PATH_SIZE + 300];
        snprintf(text, sizeof text, "Velari Installer found that %s.\n\nThe folder is %s\n\nInstall there anyway?",
                 OPEN_FOLDER_TEXT, installer.targetFolder);
        const bool open = !installer.madeFolder[0] && OthersMayChangeTarget();
        if (open && MessageBoxA(installer.window, text, "Folder Open to All?", MB_YESNO | MB_ICONWARNING) != IDYES) {
            LogStep("Target folder %s: not used at the user's No, as %s", installer.targetFolder, OPEN_FOLDER_TEXT);
            PostMessageA(installer.window, WM_WIZARD_BACK, 0, 0);
            return;
        }
        if (open)
            LogStep("Target folder %s: used at the user's Yes, though %s", installer.targetFolder, OPEN_FOLDER_TEXT);
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
    ReportFolderNotMade(GetLastError());
}

bool PrepareTargetFolderSilently()
{
    if (FolderRefusal())
        return false;
    if (!FolderExists())
        return MakeFolder();
    if (OthersMayChangeTarget())
        LogStep("Warning: target folder %s: %s", installer.targetFolder, OPEN_FOLDER_TEXT);
    return true;
}

// From the deepest level of the target that exists up to the highest level
// made: a deeper one that could not be made is passed over, and a level
// that holds anything stops the walk. Only levels within the highest one
// made go, whatever the target says meanwhile. The current directory may be
// the target: it moves away.
void RemoveMadeFolders()
{
    const size_t highest = strlen(installer.madeFolder);
    char level[PATH_SIZE];
    memcpy(level, installer.targetFolder, sizeof level);
    if (!highest || strncmp(level, installer.madeFolder, highest) != 0) {
        installer.madeFolder[0] = '\0';
        return;
    }
    SetCurrentDirectoryA(installer.sourceFolder);
    for (size_t end = strlen(level); end >= highest;) {
        const bool exists = GetFileAttributesA(level) != INVALID_FILE_ATTRIBUTES;
        if (exists && !RemoveDirectoryA(level))
            break;
        if (exists)
            LogStep("Folder %s: removed, as it was made by this run and left empty", level);
        // Up to the parent: cut after the backslash before the last name.
        for (--end; end > 0 && level[end - 1] != '\\'; --end) {
        }
        level[end] = '\0';
    }
    installer.madeFolder[0] = '\0';
}
