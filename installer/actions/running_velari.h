// Velari running from the target folder: closed before its files are
// replaced, and opened again afterwards with its track.
#ifndef RUNNING_VELARI_H
#define RUNNING_VELARI_H

// The wizard's question before the installation, when Velari is open there;
// false when the person chose Cancel.
bool AgreeToCloseVelari();
// Before the first file is replaced: closes what runs from the target
// folder (not with /NOCLOSEAPPLICATIONS); returns how many are left running.
int CloseRunningVelari();
// After the installation: each closed editor opened again, here or by the
// first process, or left to its next start; each logged.
void ReopenClosedVelari();
// In the first process, once the elevated installer has ended: the editors
// it listed in file are opened with this process's rights; file is removed.
void ReopenListedVelari(const char* handoverName);

#endif
