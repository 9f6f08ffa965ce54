// The installer's command line, for scripts and deployment tools: switches
// in any order and any case, a value after its switch's "=". Arguments are
// split as Windows programs split them: blanks outside quotes separate, and
// a quote anywhere opens or closes a quoted part, so "/DIR=D:\a b",
// /DIR="D:\a b" and /DIR=D:\"a b" are one and the same. Free of Windows so
// that it builds and can be tried anywhere.
#ifndef INSTALL_OPTIONS_H
#define INSTALL_OPTIONS_H

#include <cstddef>

#include "installed_product.h"  // the exit codes

enum InstallMode { INSTALL_WIZARD, INSTALL_SILENT, INSTALL_VERYSILENT };

struct InstallOptions {
    InstallMode mode;
    bool showUsage;            // /?
    // /NOCLOSEAPPLICATIONS: Velari left running, its files left in use;
    // /NORESTARTAPPLICATIONS: closed, not opened again.
    bool noCloseApplications;
    bool noRestartApplications;
    // /ALLUSERS or /CURRENTUSER; SCOPE_COUNT when neither was given.
    InstallScope scope;
    // /DIR, /GAMEDIR and /LOG as given, or null. They point into the parsed
    // command line, so they are taken whatever their length.
    const char* targetFolder;
    const char* gameFolder;
    const char* logFile;
    // /REOPENLIST, the installer's own: the file in which the elevated
    // installer lists the editors it closed, for the first process to open
    // again with the person's own rights.
    const char* reopenList;
    // The first switch not understood, as the box and the log name it.
    char problem[300];
};

// Parses commandLine in place: each argument loses its quotes and is ended
// by a zero. False when a switch is unknown or written wrongly (no value, a
// quote left open), with problem saying which; options then still tell
// whether /VERYSILENT and /LOG were given.
bool ParseInstallOptions(char* commandLine, InstallOptions* options);

// Whether a folder starts with a drive's root, such as "D:\".
bool HasDriveRoot(const char* folder);
// Why a folder can't be the silent modes' target, in the log's words, or
// null when it can: without a drive it would be taken relative to the
// current one, and it must fit every path the installation makes from it.
const char* SilentTargetRefusal(const char* folder);

// The switches and the exit codes, for the message box of /?.
extern const char USAGE_TEXT[];
// What an exit code means, for the log's last line.
const char* ExitCodeMeaning(int code);

#endif
