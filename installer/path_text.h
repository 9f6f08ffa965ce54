// Bounded joins and copies of path texts. Free of Windows so that it builds
// and can be tried anywhere.
#ifndef PATH_TEXT_H
#define PATH_TEXT_H

#include <cstddef>

// out = first + second + third (either of the last two may be null), when the
// whole text with its terminator fits size bytes; otherwise out is left
// empty and the result is false.
bool JoinPath(char* out, size_t size, const char* first, const char* second,
              const char* third = nullptr);

// Case-insensitive comparison folding ASCII letters only.
bool SameNameIgnoringCase(const char* a, const char* b);

#endif
