// A running program file can't delete itself: the removal is finished by a
// copy of the uninstaller in a folder of its own in the temporary folder.
#ifndef SELF_REMOVAL_H
#define SELF_REMOVAL_H

#include <cstdint>

// Starts the copy with switchText (FINISH_SWITCH or TIDY_SWITCH), which
// waits for this process to end before it removes the installation in
// folder, or what is left of it. False when no copy could be started.
bool StartFinishingCopy(const char* switchText, const char* folder);

// In the copy: waits for the first process (its handle as passed on the
// command line) and has the copy's own file and folder removed at the next
// restart.
void WaitForFirstProcess(uint32_t waitHandle);
void RemoveOwnFileAtRestart();

#endif
