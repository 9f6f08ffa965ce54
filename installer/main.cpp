// install: the Velari installer. One hidden window drives a wizard of eight
// pages, every move between pages a message posted to it; with /SILENT or
// /VERYSILENT it installs without them. The exit code tells the outcome.
#include <windows.h>

#include "dll_search.h"
#include "installer_state.h"
#include "wizard.h"

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
    TakeSourceFolder();
    return InstallerMain(options);
}
