// The release's compressed files, checked before anything is written and
// held open against writers from then until each is expanded: what was
// checked is what gets installed, whoever may write to the source folder.
#ifndef PAYLOAD_FILES_H
#define PAYLOAD_FILES_H

#include <windows.h>

#include <cstddef>

// Opens and checks every file of INSTALLED_FILES in the source folder. On
// the first that is missing, unreadable or not the release's: logged, told
// (not with /VERYSILENT), every file let go, false.
bool HoldCheckedPayload();
// The checked file at index, at its start, for the expansion, which closes
// it; INVALID_HANDLE_VALUE when it is not held.
HANDLE TakeCheckedPayloadFile(size_t index);
// Lets go of the files not expanded.
void ReleasePayload();

#endif
