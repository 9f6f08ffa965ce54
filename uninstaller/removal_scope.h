// Whose installation the uninstaller's own folder is: the one whose "HDDir"
// names that folder, for the current user or for all users. A folder no
// registration names is a copy: only its own files are removed, and the
// registered installation is left alone. Free of Windows so that it builds
// and can be tried anywhere.
#ifndef REMOVAL_SCOPE_H
#define REMOVAL_SCOPE_H

#include <cstddef>

#include "installed_product.h"
#include "removal_text.h"

// folder and each scope's "HDDir" (null: none) as full paths with their
// backslash; SCOPE_COUNT when none names folder. The user's own first.
InstallScope FindRegisteredScope(const char* folder, const char* const registered[SCOPE_COUNT]);

// The copy's question and closing message.
extern const char COPY_QUESTION[];
void ComposeCopyClosingMessage(const RemovalReport& report, char* out, size_t size);

#endif
