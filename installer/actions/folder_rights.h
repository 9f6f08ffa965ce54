// Who may change a folder that holds programs run for all users: the rights
// the installer gives a folder it makes, and the judgement of a folder it
// finds. Descriptors are in the system's text form (SDDL), so that both can
// be tried anywhere; the calls that read and apply them are Windows's.
#ifndef FOLDER_RIGHTS_H
#define FOLDER_RIGHTS_H

#include <cstddef>

#include "installed_product.h"

// Administrators and SYSTEM may change it, users may read and run; nothing
// is inherited from above, where a drive's root lets every user change what
// is made below it.
extern const char PROGRAM_FOLDER_RIGHTS[];
// The elevated installer's log for its first process: the same, and users
// may delete it once read.
extern const char HANDOVER_FOLDER_RIGHTS[];

// The rights a folder made now for scope gets: null where it inherits them,
// as in the system's Program Files folders (each a full path with its
// backslash; "" for none), or for one user.
const char* RightsForNewFolder(InstallScope scope, const char* folder, const char* const programFiles[], size_t count);

// Whether a folder's DACL, as SDDL ("D:..."), lets anyone but SYSTEM,
// administrators, TrustedInstaller, a file's creator or ownSid (the
// installing user, an administrator; may be null) change what is in it. No
// DACL, or a right or trustee not understood, counts as yes.
bool OthersMayChange(const char* sddl, const char* ownSid);

#ifdef _WIN32
#include <windows.h>

// CreateDirectoryA with the rights in sddl (null: inherited).
bool CreateFolderWithRights(const char* folder, const char* sddl);
// The folder's DACL as SDDL; false when it can't be read.
bool ReadFolderRights(const char* folder, char* sddl, size_t size);
// This process's user as a SID's text ("S-1-5-21-..."); "" when unknown.
void ReadOwnSid(char* sid, size_t size);
#endif

#endif
