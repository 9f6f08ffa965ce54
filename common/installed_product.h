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
// The track files' association, in the classes of the installation's scope.
const char TRACK_EXTENSION_KEY[] = ".tra";
const char TRACK_CLASS_KEY[] = "velari";

// Who an installation is for, and where each scope keeps what it writes:
// for all users the machine's keys, its classes and the common Start menu;
// for one user only the user's own, so that no rights are needed.
// SCOPE_NONE: no switch asked for either, or no registration names a folder.
enum InstallScope { SCOPE_ALL_USERS, SCOPE_CURRENT_USER, SCOPE_NONE };
const int SCOPE_COUNT = SCOPE_NONE;  // the scopes there are, for their tables
// Never HKEY_CLASSES_ROOT: writing through it lands in the user's classes
// wherever the key is there already.
enum RegistryRoot { ROOT_LOCAL_MACHINE, ROOT_CURRENT_USER };
const char* const ROOT_NAMES[] = {"HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER"};
// The shell's folder numbers (CSIDL_...), checked against the system's below.
enum ShellFolder { FOLDER_PROGRAMS = 0x02, FOLDER_COMMON_PROGRAMS = 0x17, FOLDER_LOCAL_APPDATA = 0x1c,
                   FOLDER_PROGRAM_FILES = 0x26 };
struct ScopePlaces {
    const char* name;            // for the log and the messages
    const char* switchName;      // the installer's switch that asks for it
    RegistryRoot settingsRoot;   // PROGRAM_KEY and UNINSTALL_KEY
    RegistryRoot classesRoot;
    const char* classesKey;      // before the association's keys
    ShellFolder startMenu;       // holds the "Velari" folder of the shortcuts
    ShellFolder programsBase;    // the default folder is this + programsAfter + "Velari\"
    const char* programsAfter;
};
const ScopePlaces SCOPE_PLACES[SCOPE_COUNT] = {
    {"all users", "/ALLUSERS", ROOT_LOCAL_MACHINE, ROOT_LOCAL_MACHINE, "Software\\Classes\\", FOLDER_COMMON_PROGRAMS, FOLDER_PROGRAM_FILES, ""},
    {"the current user", "/CURRENTUSER", ROOT_CURRENT_USER, ROOT_CURRENT_USER, "Software\\Classes\\", FOLDER_PROGRAMS,
     FOLDER_LOCAL_APPDATA, "Programs\\"},
};

// Installing or removing for all users without the rights starts the
// program again with them; for one user nothing needs them.
inline bool NeedsElevatedRestart(InstallScope scope, bool elevated)
{
    return scope == SCOPE_ALL_USERS && !elevated;
}

// The uninstaller's file, one spelling everywhere; the removal takes it
// last, once no process runs from it.
const char UNINSTALLER_FILE[] = "Removal.exe";
// The files the installer expands into the target folder, in order, each
// from its compressed copy beside install.exe.
struct InstalledFile {
    const char* compressedName;
    const char* expandedName;
};
const InstalledFile INSTALLED_FILES[] = {
    {"Removal.ex_", UNINSTALLER_FILE},
    {"Velari.ex_", "Velari.exe"},
    {"Velari.hl_", "Velari.hlp"},
    {"Velari.cn_", "Velari.cnt"},
    {"Velari.ch_", "Velari.chm"},
};
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
    {"Uninstall Velari.lnk", UNINSTALLER_FILE, "Uninstall Velari"},
};

// What the installer's exit code tells, in every mode; scripts test for
// these numbers.
enum InstallExitCode {
    EXIT_INSTALLED = 0,         // every action succeeded
    EXIT_BAD_COMMAND_LINE = 1,  // nothing was done
    EXIT_CANCELLED = 2,         // the wizard's Abort
    EXIT_FOLDER_REFUSED = 3,    // the target can't be made; nothing was written
    EXIT_INCOMPLETE = 4,        // some actions failed, none could run, or Velari was left running
};
// The quiet removal's, as the installer's: everything removed, or something left.
enum RemovalExitCode { EXIT_REMOVED = EXIT_INSTALLED, EXIT_LEFT = EXIT_INCOMPLETE };

#ifdef _WIN32
#include <windows.h>
#include <shlobj.h>

static_assert(FOLDER_PROGRAMS == CSIDL_PROGRAMS && FOLDER_COMMON_PROGRAMS == CSIDL_COMMON_PROGRAMS &&
                  FOLDER_LOCAL_APPDATA == CSIDL_LOCAL_APPDATA && FOLDER_PROGRAM_FILES == CSIDL_PROGRAM_FILES,
              "the shell's folder numbers");

inline HKEY RootKey(RegistryRoot root)
{
    return root == ROOT_LOCAL_MACHINE ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

// The Start menu's folder of the shortcuts, with its backslash: in the
// shell's Programs folder of the scope; where the shell has none for all
// users, in the Start menu under the Windows directory, as on the oldest systems.
inline bool FindStartMenuFolder(InstallScope scope, char* folder, size_t size)
{
    char base[PATH_SIZE];
    if (SUCCEEDED(SHGetFolderPathA(nullptr, SCOPE_PLACES[scope].startMenu, nullptr, SHGFP_TYPE_CURRENT, base)))
        return JoinPath(folder, size, base, "\\Velari\\");
    const UINT length = scope == SCOPE_ALL_USERS ? GetWindowsDirectoryA(base, sizeof base) : 0;
    return length > 0 && length < sizeof base && JoinPath(folder, size, base, "\\Start Menu\\Programs\\Velari\\");
}
#endif

#endif
