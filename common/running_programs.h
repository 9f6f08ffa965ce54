// The programs that keep an installation's files in use, found, asked to
// close as Windows asks at the end of a session, and the editor opened
// again afterwards. The installer does this before it replaces the files,
// the uninstaller before it removes them; both build this one file.
#ifndef RUNNING_PROGRAMS_H
#define RUNNING_PROGRAMS_H

#include <windows.h>

#include "path_size.h"
#include "running_program_rules.h"

// Each program closes within CLOSE_WAIT_MS or is left running.
enum { MAX_RUNNING_PROGRAMS = 32, CLOSE_WAIT_MS = 10000 };

struct RunningProgram {
    DWORD processId;
    HWND window;              // the one its closing is sent to
    bool isEditor;            // else a help viewer
    bool elevated;            // the process ran with administrator rights
    bool ended;               // closed, its process gone
    char program[PATH_SIZE];  // the process's program file
    char track[PATH_SIZE];    // an editor's track; "" for none
};
struct RunningPrograms {
    RunningProgram programs[MAX_RUNNING_PROGRAMS];
    int count;
};

// The editors whose program is folder's Velari.exe, and the help viewers
// that show folder's help while its files are in use; with what the
// Restart Manager finds holding the files, where it answers (not under
// Wine). folder ends in a backslash; none run from a folder not there.
void FindRunningPrograms(const char* folder, RunningPrograms* found);
// Sends each what Windows sends a program that the system closes, and
// waits for its end; returns how many are left running.
int CloseRunningPrograms(RunningPrograms* found);
// The editor at program with track ("" for none), started with this
// process's rights; false with the system's error when it can't start.
bool StartEditor(const char* program, const char* track, DWORD* error);

#endif
