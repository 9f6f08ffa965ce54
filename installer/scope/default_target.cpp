#include "default_target.h"

#include "path_text.h"

namespace {

const char DRIVE_DEFAULT[] = "A:\\Program Files\\Velari\\";

bool Take(const char* first, const char* second, char* folder, size_t size)
{
    return first[0] != '\0' && FolderFromTyped(folder, size, first) &&
           JoinPath(folder, size, folder, second) && TargetFolderFits(folder);
}

}  // namespace

// The drive's own folder wherever it can be made, as the installer always
// proposed; a drive without one (a CD, a stick, a network path) gives way
// to the system's. On the system's own drive (the one its Program Files
// folder is on) that folder, the one for programs of this width, wins: a
// 32-bit program on 64-bit Windows belongs in "Program Files (x86)", though
// "Program Files" would take its files too.
TargetDefaultKind ChooseDefaultTarget(const TargetDefaultFacts& facts, char* folder, size_t size)
{
    if (Take(facts.installedFolder, nullptr, folder, size))
        return DEFAULT_INSTALLED;
    const bool onDrive = HasDriveRoot(facts.currentDirectory);
    const bool onSystemDrive = onDrive && HasDriveRoot(facts.systemProgramFiles) &&
                               DriveNumberOfDirectory(facts.currentDirectory) == DriveNumberOfDirectory(facts.systemProgramFiles);
    if ((onSystemDrive || !(onDrive && facts.driveProgramFilesUsable)) &&
        Take(facts.systemProgramFiles, "Velari\\", folder, size))
        return DEFAULT_SYSTEM;
    if (JoinPath(folder, size, DRIVE_DEFAULT, nullptr))
        folder[0] = static_cast<char>('A' + DriveNumberOfDirectory(facts.currentDirectory));
    return DEFAULT_DRIVE;
}

const char* TargetDefaultReason(TargetDefaultKind kind)
{
    switch (kind) {
    case DEFAULT_INSTALLED: return "the folder of the installation there is";
    case DEFAULT_DRIVE: return "Program Files on the drive started from";
    default: return "the system's Program Files folder: started from its drive, or from one with none to install into";
    }
}
