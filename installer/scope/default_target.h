// The target folder the installer proposes, chosen from what the platform
// answers. Free of Windows so that the choice can be tried with any answers.
#ifndef DEFAULT_TARGET_H
#define DEFAULT_TARGET_H

#include <cstddef>

// What the platform says, each asked by the caller.
struct TargetDefaultFacts {
    const char* currentDirectory;    // where the installer was started
    bool driveProgramFilesUsable;    // that drive's "Program Files" exists and takes new files
    const char* systemProgramFiles;  // the system's Program Files folder for a program of this width; "" when unknown
    const char* installedFolder;     // an installation's folder that still holds Velari.exe; "" for none
};

enum TargetDefaultKind {
    DEFAULT_INSTALLED,  // over the installation there is, so that it is upgraded
    DEFAULT_DRIVE,      // "Program Files\Velari\" on the drive started from
    DEFAULT_SYSTEM,     // the system's Program Files folder + "Velari\": on its drive, or a drive without one
};

// The folder, ending in a backslash, and where it came from.
TargetDefaultKind ChooseDefaultTarget(const TargetDefaultFacts& facts, char* folder, size_t size);
// Why that folder, for the log.
const char* TargetDefaultReason(TargetDefaultKind kind);

#endif
