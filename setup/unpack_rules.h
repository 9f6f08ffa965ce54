// Where the setup program unpacks its payload, and how it starts the
// installer from there: a new folder of its own below the user's temporary
// folder, named so that no earlier run can have left it, that only the user
// may write; the installer started from it with the setup program's own
// arguments. Free of Windows, so that the rules can be tried anywhere.
#ifndef UNPACK_RULES_H
#define UNPACK_RULES_H

#include <cstddef>
#include <cstdint>

// out = temporary + "Velari-setup-<process>-<time>-<random>\", each number
// in hexadecimal, with a backslash between when temporary lacks one. False
// when temporary names no folder or the result does not fit.
bool ComposeUnpackFolder(char* out, size_t size, const char* temporary, uint32_t process, uint64_t time,
                         uint32_t random);

// The system's errors for a name that is taken and one that is too long
// (ERROR_ALREADY_EXISTS, ERROR_FILENAME_EXCED_RANGE).
enum { FOLDER_NAME_TAKEN = 183, FOLDER_NAME_TOO_LONG = 206 };
enum { UNPACK_FOLDER_ATTEMPTS = 10 };

// Makes the folder with make (0, or the system's error) under the names
// above, each with a new random number: a name that is taken, as by an
// earlier run, is never used but passed over. 0 with the folder in out, or
// the last error.
unsigned long MakeFreshUnpackFolder(char* out, size_t size, const char* temporary, uint32_t process, uint64_t time,
                                    uint32_t (*random)(), unsigned long (*make)(const char* folder));

// The security descriptor, in the system's SDDL, of the folder and of all
// it holds: owned by the user, whose SID is given as text ("S-1-5-21-..."),
// who alone may write; the system and administrators may read and run, so
// that an installation for all users, approved by another account, can
// start from it. Nothing inherited from the temporary folder. False when the
// SID is not of that form or the text does not fit.
bool ComposeUserOnlyDescriptor(char* out, size_t size, const char* userSid);

// The arguments of a command line, as Windows programs find them: after
// the program's name, quoted or up to the first blank, and the blanks
// after it.
const char* ArgumentsAfterProgram(const char* commandLine);

// out = the quoted path of the installer in folder, then the arguments
// unchanged. False when it does not fit.
bool ComposeInstallerCommand(char* out, size_t size, const char* folder, const char* installer,
                             const char* arguments);

#endif
