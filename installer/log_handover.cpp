#include "log_handover.h"

#include <windows.h>
#include <ntsecapi.h>

#include <cstdint>
#include <cstdio>

#include "folder_rights.h"
#include "install_log.h"

namespace {

// The folder named so, and a file in it.
bool HandoverPaths(const char* name, char (&folder)[PATH_SIZE], char (&file)[PATH_SIZE], const char* leaf = "install.log")
{
    char windows[PATH_SIZE], folderLeaf[40];
    const UINT length = GetWindowsDirectoryA(windows, sizeof windows);
    snprintf(folderLeaf, sizeof folderLeaf, "\\Temp\\Velari-%s\\", name);
    return name && IsHandoverName(name) && length > 0 && length < sizeof windows &&
           JoinPath(folder, sizeof folder, windows, folderLeaf) && JoinPath(file, sizeof file, folder, leaf);
}

// A folder that exists already, whoever made it, is not used: only a new
// one has the rights this process gives it.
bool OpenHandoverLog(const char* name)
{
    char folder[PATH_SIZE], file[PATH_SIZE];
    if (!HandoverPaths(name, folder, file) || !CreateFolderWithRights(folder, HANDOVER_FOLDER_RIGHTS))
        return false;
    HANDLE log = CreateFileA(file, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) {
        RemoveDirectoryA(folder);
        return false;
    }
    UseInstallLog(log);
    return true;
}

}  // namespace

bool OpenChosenLog(const InstallOptions& options)
{
    switch (ChooseLogPlace(options)) {
    case LOG_GIVEN_FILE: return OpenInstallLog(options.logFile);
    case LOG_HANDOVER: return OpenHandoverLog(options.handoverLog);
    default: return false;
    }
}

bool HandoverListPath(const char* name, char (&file)[PATH_SIZE])
{
    char folder[PATH_SIZE];
    return HandoverPaths(name, folder, file, "reopen.txt");
}

bool MakeHandoverName(char (&name)[HANDOVER_NAME_LENGTH + 1])
{
    uint32_t random[2];
    if (!RtlGenRandom(random, sizeof random))
        return false;
    snprintf(name, sizeof name, "%08lx%08lx", static_cast<unsigned long>(random[0]),
             static_cast<unsigned long>(random[1]));
    return true;
}

void TakeOverHandoverLog(const char* name)
{
    char folder[PATH_SIZE], file[PATH_SIZE];
    if (!HandoverPaths(name, folder, file))
        return;
    HANDLE log = CreateFileA(file, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) {
        LogStep("The log of the installer with administrator rights: %s",
                StepResult("it can't be read", GetLastError()));
        return;
    }
    char buffer[4096];
    for (DWORD read; ReadFile(log, buffer, sizeof buffer, &read, nullptr) && read > 0;)
        WriteToInstallLog(buffer, read);
    CloseHandle(log);
    DeleteFileA(file);
    RemoveDirectoryA(folder);
}
