#include "running_velari.h"

#include <windows.h>

#include <cstring>

#include "elevation.h"
#include "install_log.h"
#include "log_handover.h"
#include "installer_state.h"
#include "running_programs.h"

namespace {

const char CLOSE_QUESTION[] =
    "Velari is open. Velari Installer closes it to install; its unsaved changes are kept, and Velari opens "
    "again with them once the installation is done.";
const char CLOSE_QUESTION_NO_REOPEN[] =
    "Velari is open. Velari Installer closes it to install; its unsaved changes are kept, and come back when "
    "Velari is next started.";

RunningPrograms running;

void LogProgram(const RunningProgram& program, const char* what, const char* result)
{
    LogStep("%s %s %s (process %lu)%s%s: %s", what, program.isEditor ? "Velari" : "the help viewer", program.program,
            static_cast<unsigned long>(program.processId), program.track[0] ? " with " : "", program.track, result);
}

void Reopen(const char* program, const char* track)
{
    DWORD error;
    const bool started = StartEditor(program, track, &error);
    LogStep("Open Velari again: %s%s%s: %s", program, track[0] ? " with " : "", track,
            StepResult(started ? nullptr : "it can't be started", error));
}

// The line the first process reads; a list that can't be written leaves
// the editor to its next start, which the log says.
bool HandOver(const RunningProgram& program)
{
    char line[2 * PATH_SIZE + 2];
    if (!ComposeReopenLine(line, sizeof line, program.program, program.track))
        return false;
    char file[PATH_SIZE];
    if (!HandoverListPath(installer.options.handoverLog, file))
        return false;
    HANDLE list = CreateFileA(file, FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    const DWORD length = static_cast<DWORD>(std::strlen(line));
    const bool done = list != INVALID_HANDLE_VALUE && WriteFile(list, line, length, &written, nullptr) && written == length;
    if (list != INVALID_HANDLE_VALUE)
        CloseHandle(list);
    return done;
}

}  // namespace

bool AgreeToCloseVelari()
{
    if (installer.options.noCloseApplications)
        return true;
    FindRunningPrograms(installer.targetFolder, &running);
    if (running.count == 0)
        return true;
    const char* text = installer.options.noRestartApplications ? CLOSE_QUESTION_NO_REOPEN : CLOSE_QUESTION;
    if (MessageBoxA(installer.window, text, "Velari Installer", MB_OKCANCEL | MB_ICONINFORMATION) == IDOK)
        return true;
    LogStep("Velari is open in %s: not closed, the person chose Cancel", installer.targetFolder);
    return false;
}

int CloseRunningVelari()
{
    FindRunningPrograms(installer.targetFolder, &running);
    if (installer.options.noCloseApplications) {
        for (int i = 0; i < running.count; ++i)
            LogProgram(running.programs[i], "Left running", "not closed, as asked: its files stay in use");
        const int left = running.count;
        running.count = 0;
        return left;
    }
    const int left = CloseRunningPrograms(&running);
    for (int i = 0; i < running.count; ++i)
        LogProgram(running.programs[i], "Close", running.programs[i].ended ? "done" : "FAILED: it did not end, and is left running");
    return left;
}

void ReopenClosedVelari()
{
    for (int i = 0; i < running.count; ++i) {
        const RunningProgram& program = running.programs[i];
        if (!program.isEditor || !program.ended)
            continue;
        const ReopenFacts facts = {!installer.options.noRestartApplications, ProcessIsElevated(), program.elevated,
                                   installer.options.handoverLog != nullptr};
        ReopenWay way = ChooseReopenWay(facts);
        if (way == REOPEN_HERE) {
            Reopen(program.program, program.track);
            continue;
        }
        if (way == REOPEN_BY_FIRST_PROCESS && !HandOver(program))
            way = REOPEN_AT_NEXT_START;
        LogProgram(program, "Closed", ReopenWayText(way));
    }
    running.count = 0;
}

void ReopenListedVelari(const char* handoverName)
{
    char file[PATH_SIZE];
    if (!HandoverListPath(handoverName, file))
        return;
    HANDLE list = CreateFileA(file, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (list == INVALID_HANDLE_VALUE)
        return;
    // As many lines as editors can be closed, each of two paths.
    static char text[MAX_RUNNING_PROGRAMS * (2 * PATH_SIZE + 2) + 1];
    DWORD length = 0;
    if (!ReadFile(list, text, sizeof text - 1, &length, nullptr))
        length = 0;
    CloseHandle(list);
    DeleteFileA(file);
    text[length] = '\0';
    char program[PATH_SIZE], track[PATH_SIZE];
    for (const char* at = text; *at;) {
        // Only an editor, whatever the list says.
        const char* name = TakeReopenLine(&at, program, track) ? std::strrchr(program, '\\') : nullptr;
        if (name && lstrcmpiA(name + 1, EDITOR_FILE) == 0)
            Reopen(program, track);
    }
}
