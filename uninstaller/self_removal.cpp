#include "self_removal.h"

#include <windows.h>

#include "removal_text.h"

bool StartFinishingCopy(const char* folder)
{
    char self[MAX_PATH], temporary[MAX_PATH], copy[MAX_PATH];
    const DWORD selfLength = GetModuleFileNameA(nullptr, self, sizeof self);
    const DWORD temporaryLength = GetTempPathA(sizeof temporary, temporary);
    if (selfLength == 0 || selfLength >= sizeof self || temporaryLength == 0 ||
        temporaryLength >= sizeof temporary || !GetTempFileNameA(temporary, "vlr", 0, copy))
        return false;
    // The copy waits on this handle, which it inherits: unlike a process
    // number it can't come to name another process meanwhile.
    HANDLE waitHandle = nullptr;
    char commandLine[2 * MAX_PATH + 40], arguments[MAX_PATH + 30];
    bool started = false;
    if (CopyFileA(self, copy, FALSE) &&
        DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &waitHandle,
                        SYNCHRONIZE, TRUE, 0) &&
        FormatFinishArguments(arguments, sizeof arguments,
                              static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(waitHandle)),
                              folder) &&
        JoinText(commandLine, sizeof commandLine, "\"", copy) &&
        JoinText(commandLine, sizeof commandLine, commandLine, "\" ") &&
        JoinText(commandLine, sizeof commandLine, commandLine, arguments)) {
        // Started in the temporary folder, so that it holds no handle on
        // the folder it is to remove.
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        started = CreateProcessA(copy, commandLine, nullptr, nullptr, TRUE, 0, nullptr, temporary,
                                 &startup, &process);
        if (started) {
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        }
    }
    if (waitHandle)
        CloseHandle(waitHandle);
    if (!started)
        DeleteFileA(copy);
    return started;
}

void WaitForFirstProcess(uint32_t waitHandle)
{
    HANDLE first = reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(waitHandle));
    WaitForSingleObject(first, INFINITE);
    CloseHandle(first);
}

void RemoveOwnFileAtRestart()
{
    char self[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, self, sizeof self);
    if (length > 0 && length < sizeof self)
        MoveFileExA(self, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}
