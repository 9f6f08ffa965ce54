// The track named on the editor's command line. The shell passes the file's
// path unquoted as the whole command line; a user may also type it in quotes.
#ifndef VELARI_COMMAND_LINE_H
#define VELARI_COMMAND_LINE_H

#include <cstddef>

// Copies the command line into path (pathSize bytes), without the one pair
// of double quotes that may wrap it; everything else, blanks included, is
// kept. False, with path empty, when it does not fit or has more than 259
// characters.
bool TrackPathFromCommandLine(const char* commandLine, char* path, size_t pathSize);

#endif
