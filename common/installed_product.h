// What an installation of Velari is, said once: the uninstaller removes
// exactly what the installer writes, the editor reads the installer's
// settings, and the tests check against the same lists. Header only: the
// programs share no objects. The Start menu's folder needs Windows; the rest
// builds anywhere.
#ifndef INSTALLED_PRODUCT_H
#define INSTALLED_PRODUCT_H

#include "path_size.h"

// The program's settings, and the key's parents, innermost first, which an
// installation makes and its removal takes away once they are empty.
const char PROGRAM_KEY[] = "SOFTWARE\\Quorvane\\Velari\\2.0";
const char* const PROGRAM_KEY_PARENTS[] = {"SOFTWARE\\Quorvane\\Velari", "SOFTWARE\\Quorvane"};
const char TARGET_FOLDER_VALUE[] = "HDDir";
const char GAME_FOLDER_VALUE[] = "TraDir";
// The entry in the system's list of programs.
const char UNINSTALL_KEY[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velari";
// The track files' association, under HKEY_CLASSES_ROOT.
const char TRACK_EXTENSION_KEY[] = ".tra";
const char TRACK_CLASS_KEY[] = "velari";

// The files the installer expands into the target folder, in order, each
// from its compressed copy beside install.exe.
struct InstalledFile {
    const char* compressedName;
    const char* expandedName;
};
const InstalledFile INSTALLED_FILES[] = {
    {"Removal.ex_", "Removal.exe"},
    {"Velari.ex_", "Velari.exe"},
    {"Velari.hl_", "Velari.hlp"},
    {"Velari.cn_", "Velari.cnt"},
    {"Velari.ch_", "Velari.chm"},
};
// The one the removal takes last, once no process runs from it.
const char UNINSTALLER_FILE[] = "Removal.exe";
// What the help viewer writes beside the help file; the removal takes them too.
const char* const HELP_VIEWER_FILES[] = {"Velari.gid", "Velari.fts"};

// The shortcuts in the Start menu's folder, each to a file of the target folder.
struct InstalledShortcut {
    const char* linkName;
    const char* targetName;
    const char* description;
};
const InstalledShortcut INSTALLED_SHORTCUTS[] = {
    {"Velari v2.0.lnk", "Velari.exe", "Velari v2.0"},
    // The help as every Windows since 98 shows it, WinHelp not.
    {"Velari Help.lnk", "Velari.chm", "Velari Help"},
    {"Uninstall Velari.lnk", "removal.exe", "Uninstall Velari"},
};

// What the installer's exit code tells, in every mode; scripts test for
// these numbers.
enum InstallExitCode {
    EXIT_INSTALLED = 0,         // every action succeeded
    EXIT_BAD_COMMAND_LINE = 1,  // nothing was done
    EXIT_CANCELLED = 2,         // the wizard's Abort
    EXIT_FOLDER_REFUSED = 3,    // the target can't be made; nothing was written
    EXIT_INCOMPLETE = 4,        // some actions failed, or none could run
};
// The quiet removal's, as the installer's: everything removed, or something left.
enum RemovalExitCode { EXIT_REMOVED = EXIT_INSTALLED, EXIT_LEFT = EXIT_INCOMPLETE };

#ifdef _WIN32
#include <windows.h>
#include <shlobj.h>

// The Start menu's folder of the shortcuts, with its backslash: in the
// shell's Programs folder for all users; where the shell has none, in the
// Start menu under the Windows directory, as on the oldest systems.
inline bool FindStartMenuFolder(char* folder, size_t size)
{
    char base[PATH_SIZE];
    if (SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, base)))
        return JoinPath(folder, size, base, "\\Velari\\");
    const UINT length = GetWindowsDirectoryA(base, sizeof base);
    return length > 0 && length < sizeof base && JoinPath(folder, size, base, "\\Start Menu\\Programs\\Velari\\");
}
#endif

#endif
