// The track's two names as the window shows them. A file holds them as bytes
// of the system's ANSI code page, whatever code page the program itself runs
// in (its manifest makes that UTF-8); they are decoded for showing only, and
// the header keeps its bytes.
#ifndef VELARI_TRACK_NAME_TEXT_H
#define VELARI_TRACK_NAME_TEXT_H

#include <cstddef>

#include "track_format.h"

enum { TRACK_NAME_TEXT_SIZE = 3 * TRACK_NAME_SIZE + 1 };  // UTF-8 of a whole name and its zero

// The system's ANSI code page, set by the program at start.
extern unsigned trackNameCodePage;

// A name field's bytes, up to its first zero, as UTF-8.
void TrackNameText(const char (&name)[TRACK_NAME_SIZE], char (&text)[TRACK_NAME_TEXT_SIZE]);

// The platform's decoding of a code page the track logic has no table of:
// length bytes into UTF-8 text of size bytes. False when it has none either.
bool DecodeCodePageText(unsigned codePage, const char* bytes, size_t length, char* text, size_t size);

#endif
