// The log of the installer's restart with administrator rights. That one
// never writes where its caller said: it writes in a new folder of its own
// under the Windows folder's Temp, which users may read but not change; its
// first process, with the caller's own rights, copies it into the log /LOG
// names and deletes it. The folder's name comes from the first process,
// as 16 hexadecimal digits, never as a path.
#ifndef LOG_HANDOVER_H
#define LOG_HANDOVER_H

#include "install_options.h"

// Opens the log ChooseLogPlace names for this process, if any; false when
// it can't be made, and the run goes on without one.
bool OpenChosenLog(const InstallOptions& options);
// A new name for the restart's log; false when no random number is had.
bool MakeHandoverName(char (&name)[HANDOVER_NAME_LENGTH + 1]);
// The list of the editors the restart closed, for the first process to
// open again: in the same folder as the restart's log.
bool HandoverListPath(const char* name, char (&file)[PATH_SIZE]);
// In the first process, once the restart has ended: its log, line by line
// into this one's; then deleted.
void TakeOverHandoverLog(const char* name);

#endif
