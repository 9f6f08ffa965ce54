#include "self_removal.h"

#include <windows.h>
#include <ntsecapi.h>

#include <cstdio>
#include <cstring>

#include "path_size.h"
#include "removal_text.h"

namespace {

// A new folder in the temporary folder under a name nobody could have
// prepared: any program may write to the temporary folder, and a DLL lying
// beside the elevated copy could be loaded into it. Creation fails for a
// name that exists; another is tried.
bool MakePrivateFolder(const char* temporary, char* folder, size_t size)
{
    for (int attempt = 0; attempt < 16; ++attempt) {
        uint32_t random[2];
        if (!RtlGenRandom(random, sizeof random))
            return false;
        char name[32];
        wsprintfA(name, "vlr%08lx%08lx\\", static_cast<unsigned long>(random[0]),
                  static_cast<unsigned long>(random[1]));
        if (!JoinPath(folder, size, temporary, name))
            return false;
        if (CreateDirectoryA(folder, nullptr))
            return true;
    }
    return false;
}

// "copy" arguments: a command line, longer than any path, bounded all the same.
bool ComposeCommandLine(char* out, size_t size, const char* copy, const char* arguments)
{
    const int length = snprintf(out, size, "\"%s\" %s", copy, arguments);
    return length >= 0 && static_cast<size_t>(length) < size;
}

}  // namespace

bool StartFinishingCopy(const char* switchText, const char* folder, HANDLE firstProcess)
{
    char self[PATH_SIZE], temporary[PATH_SIZE], privateFolder[PATH_SIZE], copy[PATH_SIZE];
    const DWORD selfLength = GetModuleFileNameA(nullptr, self, sizeof self);
    const DWORD temporaryLength = GetTempPathA(sizeof temporary, temporary);
    if (selfLength == 0 || selfLength >= sizeof self || temporaryLength == 0 ||
        temporaryLength >= sizeof temporary ||
        !MakePrivateFolder(temporary, privateFolder, sizeof privateFolder))
        return false;
    if (!JoinPath(copy, sizeof copy, privateFolder, "Removal.exe")) {
        RemoveDirectoryA(privateFolder);
        return false;
    }
    // The copy waits on this handle, which it inherits: unlike a process
    // number it can't come to name another process meanwhile.
    HANDLE waitHandle = nullptr;
    char commandLine[2 * PATH_SIZE + 40], arguments[PATH_SIZE + 30];
    bool started = false;
    if (CopyFileA(self, copy, FALSE) &&
        DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &waitHandle,
                        SYNCHRONIZE, TRUE, 0) &&
        FormatFinishArguments(arguments, sizeof arguments, switchText,
                              {static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(waitHandle)),
                               static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(firstProcess))},
                              folder) &&
        ComposeCommandLine(commandLine, sizeof commandLine, copy, arguments)) {
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
    if (!started) {
        DeleteFileA(copy);
        RemoveDirectoryA(privateFolder);
    }
    return started;
}

HANDLE OpenFirstProcess(uint32_t processId)
{
    return processId ? OpenProcess(SYNCHRONIZE, TRUE, processId) : nullptr;
}

void WaitForStartingProcesses(const uint32_t (&waitHandles)[2])
{
    for (uint32_t number : waitHandles) {
        HANDLE process = reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(number));
        if (!process)
            continue;
        WaitForSingleObject(process, INFINITE);
        CloseHandle(process);
    }
}

// The file first: the folder can only go once it is empty.
void RemoveOwnFileAtRestart()
{
    char self[PATH_SIZE], folder[PATH_SIZE];
    const DWORD length = GetModuleFileNameA(nullptr, self, sizeof self);
    if (length == 0 || length >= sizeof self)
        return;
    MoveFileExA(self, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    if (!FolderOfPath(folder, sizeof folder, self))
        return;
    folder[strlen(folder) - 1] = '\0';  // the folder's own name, without its backslash
    MoveFileExA(folder, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}
