// Administrator rights: whether this process has them, and this program
// started again with them, as the installer and the uninstaller both do for
// an installation for all users. Header only: the programs share no objects.
#ifndef ELEVATION_H
#define ELEVATION_H

#include <windows.h>
#include <shellapi.h>

#include "path_size.h"

// Elevated, or an administrator where the system knows no elevation.
inline bool ProcessIsElevated()
{
    HANDLE token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return false;
    TOKEN_ELEVATION elevation = {};
    DWORD size = 0;
    const bool known = GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size);
    CloseHandle(token);
    return known && elevation.TokenIsElevated;
}

enum { ELEVATION_DECLINED = -1, ELEVATION_FAILED = -2 };

// This program file again with arguments, in folder (null: the current
// one), with the rights the system asks the person for; waits for it to
// end. Its exit code, or
// ELEVATION_DECLINED when the person said no to the system's prompt,
// ELEVATION_FAILED when it could not start.
inline long RunElevated(const char* arguments, const char* folder)
{
    char self[PATH_SIZE];
    const DWORD length = GetModuleFileNameA(nullptr, self, sizeof self);
    if (length == 0 || length >= sizeof self)
        return ELEVATION_FAILED;
    SHELLEXECUTEINFOA start = {};
    start.cbSize = sizeof start;
    start.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC;
    start.lpVerb = "runas";
    start.lpFile = self;
    start.lpParameters = arguments;
    start.lpDirectory = folder;
    start.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExA(&start) || !start.hProcess)
        return GetLastError() == ERROR_CANCELLED ? ELEVATION_DECLINED : ELEVATION_FAILED;
    WaitForSingleObject(start.hProcess, INFINITE);
    DWORD code = static_cast<DWORD>(ELEVATION_FAILED);
    GetExitCodeProcess(start.hProcess, &code);
    CloseHandle(start.hProcess);
    return static_cast<long>(code);
}

#endif
