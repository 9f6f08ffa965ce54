// Administrator rights: whether this process has them, and this program
// started again with them, as the installer and the uninstaller both do for
// an installation for all users. Header only: the programs share no objects.
#ifndef ELEVATION_H
#define ELEVATION_H

#include <windows.h>
#include <shellapi.h>

#include "elevated_end.h"
#include "path_size.h"

// Elevated, or an administrator where the system knows no elevation: this
// process, or another opened for querying.
inline bool ProcessIsElevated(HANDLE process = GetCurrentProcess())
{
    HANDLE token;
    if (!OpenProcessToken(process, TOKEN_QUERY, &token))
        return false;
    TOKEN_ELEVATION elevation = {};
    DWORD size = 0;
    const bool known = GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size);
    CloseHandle(token);
    return known && elevation.TokenIsElevated;
}

// This program file again with arguments, in folder (null: the current
// one), with the rights the system asks the person for; waits for it to
// end. How it ended, with its exit code in *exitCode when it ran.
inline ElevatedEnd RunElevated(const char* arguments, const char* folder, DWORD* exitCode)
{
    *exitCode = 0;
    char self[PATH_SIZE];
    const DWORD length = GetModuleFileNameA(nullptr, self, sizeof self);
    if (length == 0 || length >= sizeof self)
        return ELEVATED_NOT_STARTED;
    SHELLEXECUTEINFOA start = {};
    start.cbSize = sizeof start;
    start.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC;
    start.lpVerb = "runas";
    start.lpFile = self;
    start.lpParameters = arguments;
    start.lpDirectory = folder;
    start.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExA(&start) || !start.hProcess)
        return ClassifyElevatedEnd(false, GetLastError() == ERROR_CANCELLED, 0);
    WaitForSingleObject(start.hProcess, INFINITE);
    const bool known = GetExitCodeProcess(start.hProcess, exitCode);
    CloseHandle(start.hProcess);
    return known ? ClassifyElevatedEnd(true, false, *exitCode) : ELEVATED_CRASHED;
}

#endif
