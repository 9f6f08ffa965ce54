// install: the Velari installer. One hidden window drives a wizard of eight
// pages, every move between pages a message posted to it; with /SILENT or
// /VERYSILENT it installs without them. The exit code tells the outcome.
#include <windows.h>

#include <cstdio>

#include "dll_search.h"
#include "install_log.h"
#include "installer_state.h"
#include "wizard.h"

namespace {

// The usage, after the switch that was not understood; the log, when one
// was asked for, names that switch too.
int RefuseCommandLine(const InstallOptions& options)
{
    if (options.logFile && OpenInstallLog(options.logFile)) {
        LogStep("%s", options.problem);
        CloseInstallLog(EXIT_BAD_COMMAND_LINE);
    }
    if (options.mode != INSTALL_VERYSILENT) {
        char text[1024];  // the usage and a problem that fills its buffer
        snprintf(text, sizeof text, "%s\n\n%s", options.problem, USAGE_TEXT);
        MessageBoxA(nullptr, text, "Velari Installer", MB_OK | MB_ICONERROR);
    }
    return EXIT_BAD_COMMAND_LINE;
}

}  // namespace

// The show state is of no use: the window is never shown.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    RestrictDllSearch();
    installer.instance = instance;
    InstallOptions options;
    if (!ParseInstallOptions(commandLine, &options))
        return RefuseCommandLine(options);
    if (options.showUsage) {
        if (options.mode != INSTALL_VERYSILENT)
            MessageBoxA(nullptr, USAGE_TEXT, "Velari Installer", MB_OK | MB_ICONINFORMATION);
        return EXIT_INSTALLED;  // after /? alone nothing went wrong
    }
    if (!RegisterInstallerClass())
        return EXIT_INCOMPLETE;
    return InstallerMain(options);
}
