// The setup program: one file that holds a whole release. Started, it
// checks its payload against the table of its files, unpacks it into a new
// folder of its own below the user's temporary folder, runs install.exe
// from there with its own arguments, in the folder it was started in, and
// returns install.exe's exit code; the folder goes in every case. It shows
// no window of its own.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "dll_search.h"
#include "install_log.h"
#include "install_options.h"
#include "installed_product.h"
#include "payload_table.h"
#include "resource.h"
#include "unpack_folder.h"
#include "unpack_rules.h"

namespace {

const char DAMAGED_ADVICE[] = "The setup program is damaged or incomplete, so nothing was installed. Please download it again.";

bool FindPayloadResource(int id, const void** bytes, DWORD* size)
{
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10));  // RT_RCDATA
    HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
    *bytes = loaded ? LockResource(loaded) : nullptr;
    *size = *bytes ? SizeofResource(nullptr, found) : 0;
    return *bytes != nullptr;
}

// Null when the payload is whole; otherwise what is wrong with it.
const char* CheckPayload(PayloadTable* table, const unsigned char** payload)
{
    const void *text, *bytes;
    DWORD textSize, size;
    if (!FindPayloadResource(IDR_PAYLOAD_TABLE, &text, &textSize) || !FindPayloadResource(IDR_PAYLOAD, &bytes, &size))
        return "its files or their table are missing";
    *payload = static_cast<const unsigned char*>(bytes);
    const char* fault = ReadPayloadTable(static_cast<const char*>(text), textSize, size, table);
    return fault ? fault : CheckPayloadDigests(*table, *payload);
}

// Nothing was installed: the person is told in a box in the wizard's mode,
// a script in the log that /LOG names (in the installer's form), and both
// by the exit code. The switches are read as install.exe reads them; a
// switch it does not know is its to refuse, and changes nothing here.
int ReportFailure(const char* arguments, const char* failure, DWORD error, const char* advice)
{
    static char line[32768];
    snprintf(line, sizeof line, "%s", arguments);
    InstallOptions options;
    ParseInstallOptions(line, &options);
    char self[PATH_SIZE] = "";
    GetModuleFileNameA(nullptr, self, sizeof self);
    if (options.logFile && OpenInstallLog(options.logFile)) {
        LogStep("Velari Setup %s: %s", self, StepResult(failure, error));
        LogStep("%s", advice);
        CloseInstallLog(EXIT_INCOMPLETE);
    }
    if (options.mode == INSTALL_WIZARD) {
        char text[1024];
        snprintf(text, sizeof text, "%s\n\n%s", advice, StepResult(failure, error));
        MessageBoxA(nullptr, text, "Velari Setup", MB_OK | MB_ICONERROR);
    }
    return EXIT_INCOMPLETE;
}

// install.exe from folder, in the current folder, which is where the setup
// program was started; its exit code once it ends.
int RunInstaller(const char* folder, const char* arguments)
{
    static char command[32768];
    char program[PATH_SIZE];
    if (!JoinPath(program, sizeof program, folder, PAYLOAD_INSTALLER) ||
        !ComposeInstallerCommand(command, sizeof command, folder, PAYLOAD_INSTALLER, arguments))
        return ReportFailure(arguments, "the command line is too long for install.exe", 0,
                             "Velari Setup could not start the installer, so nothing was installed.");
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(program, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
        return ReportFailure(arguments, "install.exe could not be started", GetLastError(),
                             "Velari Setup could not start the installer, so nothing was installed.");
    CloseHandle(started.hThread);
    WaitForSingleObject(started.hProcess, INFINITE);
    DWORD code = EXIT_INCOMPLETE;
    GetExitCodeProcess(started.hProcess, &code);
    CloseHandle(started.hProcess);
    return static_cast<int>(code);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    RestrictDllSearch();
    const char* arguments = ArgumentsAfterProgram(GetCommandLineA());
    PayloadTable table;
    const unsigned char* payload = nullptr;
    if (const char* damage = CheckPayload(&table, &payload))
        return ReportFailure(arguments, damage, 0, DAMAGED_ADVICE);
    char folder[PATH_SIZE];
    if (const DWORD error = MakeUnpackFolder(folder, sizeof folder))
        return ReportFailure(arguments, "its folder below the temporary folder can't be made", error,
                             "Velari Setup could not unpack its files, so nothing was installed.");
    const char* failed = nullptr;
    const DWORD error = UnpackPayload(folder, table, payload, &failed);
    char failure[PATH_SIZE + 40];
    snprintf(failure, sizeof failure, "%s can't be written into %s", failed ? failed : "", folder);
    const int code = error ? ReportFailure(arguments, failure, error,
                                           "Velari Setup could not unpack its files, so nothing was installed.")
                           : RunInstaller(folder, arguments);
    RemoveUnpackFolder(folder);
    return code;
}
