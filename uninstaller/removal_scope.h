// A folder that no registration's "HDDir" names (RegisteredScope) is a
// copy: only its own files are removed, and the registered installation is
// left alone. Its texts, free of Windows so that they build anywhere.
#ifndef REMOVAL_SCOPE_H
#define REMOVAL_SCOPE_H

#include <cstddef>

#include "installed_product.h"
#include "removal_text.h"

// The copy's question and closing message.
extern const char COPY_QUESTION[];
void ComposeCopyClosingMessage(const RemovalReport& report, char* out, size_t size);

#endif
