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

enum { HANDOVER_NAME_LENGTH = 16 };  // hexadecimal digits of /ELEVATEDLOG
enum InstallMode { INSTALL_WIZARD, INSTALL_SILENT, INSTALL_VERYSILENT };

struct InstallOptions {
    InstallMode mode;
    bool showUsage;            // /?
    // /NOCLOSEAPPLICATIONS: Velari left running, its files left in use;
    // /NORESTARTAPPLICATIONS: closed, not opened again.
    bool noCloseApplications;
    bool noRestartApplications;
    // /ALLUSERS or /CURRENTUSER; SCOPE_NONE when neither was given.
    InstallScope scope;
    // /DIR, /GAMEDIR and /LOG as given, or null. They point into the parsed
    // command line, so they are taken whatever their length.
    const char* targetFolder;
    const char* gameFolder;
    const char* logFile;
    // /ELEVATEDLOG: only on the command line of the installer's own restart
    // with administrator rights, which then writes its log where only it
    // can (log_handover.h), never at /LOG's path; its 16 hexadecimal digits.
    const char* handoverLog;
    // The first switch not understood, as the box and the log name it.
    char problem[300];
};

// Parses commandLine in place: each argument loses its quotes and is ended
// by a zero. False when a switch is unknown or written wrongly (no value, a
// quote left open), with problem saying which; options then still tell
// whether /VERYSILENT and /LOG were given.
bool ParseInstallOptions(char* commandLine, InstallOptions* options);

// Where this process writes its log: at the path /LOG names, in the
// elevated restart's own place, or nowhere.
enum LogPlace { LOG_NONE, LOG_GIVEN_FILE, LOG_HANDOVER };
LogPlace ChooseLogPlace(const InstallOptions& options);
// The handover log's name is made by the first process: never a path.
bool IsHandoverName(const char* name);

// The switches and the exit codes, for the message box of /?.
extern const char USAGE_TEXT[];
// What an exit code means, for the log's last line.
const char* ExitCodeMeaning(int code);

#endif
