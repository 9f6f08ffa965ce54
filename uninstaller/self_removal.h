// A running program file can't delete itself: the removal is finished by a
// copy of the uninstaller in a folder of its own in the temporary folder.
#ifndef SELF_REMOVAL_H
#define SELF_REMOVAL_H

#include <cstdint>

#include <windows.h>

// Starts the copy with switchText (FINISH_SWITCH or TIDY_SWITCH), which
// waits for this process, and for firstProcess (an inheritable handle, or
// null) too, to end before it removes the installation in folder, or what
// is left of it. False when no copy could be started.
bool StartFinishingCopy(const char* switchText, const char* folder, HANDLE firstProcess);
// After a restart with administrator rights: the first process, which still
// runs from the uninstaller's file while it waits for this one, as a handle
// the copy inherits; null when there is none or it has ended.
HANDLE OpenFirstProcess(uint32_t processId);

// In the copy: waits for both processes (their handles as passed on the
// command line, 0 for none) and has the copy's own file and folder removed
// at the next restart.
void WaitForStartingProcesses(const uint32_t (&waitHandles)[2]);
void RemoveOwnFileAtRestart();

#endif
