// What only a real start of Velari.exe shows: the track named on its command
// line, in the forms the shell and a person use, loaded before the window
// takes input, and the program ending with 0. Everything else of the window
// is driven in one process with it (tests/win32).
#include <windows.h>

#include <cstdio>
#include <string>

#include "win_driver.h"

using namespace e2e;

int main()
{
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    ArmWatchdog(120000, "velari_e2e");
    const std::string folder = "D:\\My Tracks", track = folder + "\\x.tra";
    MakeFolders(folder);
    std::string bytes(82, '\0');
    bytes.replace(0, 2, "RC");
    bytes[49] = 3;
    bytes += std::string("\x44\x00\x0A\x20\x7D\x55\x28\x00\x00", 9);
    WriteBytes(track, bytes);
    const struct {
        const char* what;
        std::string arguments, title, count;
    } rows[] = {
        {"quoted, with a blank", "\"" + track + "\"", "Velari - " + track, "2"},
        {"unquoted, with a blank", track, "Velari - " + track, "2"},
        {"no track", "", "Velari", ""},
        {"a missing track", "\"" + folder + "\\missing.tra\"", "Velari", ""},
        {"longer than a path", std::string(300, 'x'), "Velari", ""},
    };
    int passed = 0, failed = 0;
    for (const auto& row : rows) {
        const int before = FailureCount();
        SetContext("%s", row.what);
        Program program;
        const std::string exe = DriverFolder() + "Velari.exe";
        HWND window = nullptr;
        if (EXPECT(StartProgram(exe.c_str(), row.arguments.c_str(), "D:\\", &program), "cannot start") &&
            EXPECT(window = WaitTopWindow(program.pid, "Velari", nullptr, WINDOW_TIMEOUT_MS), "no window") &&
            EXPECT(Sync(window), "no answer")) {
            EXPECT(VisibleDialogs(program.pid).empty(), "a message is shown");
            EXPECT(TextOf(window) == row.title, "title \"%s\"", TextOf(window).c_str());
            EXPECT(TextOf(GetDlgItem(window, 1102)) == row.count, "count \"%s\"", TextOf(GetDlgItem(window, 1102)).c_str());
            if (row.count == "2" && row.arguments[0] == '"')
                Screenshot("velari-command-line", window);
            Post(window, WM_CLOSE, 0, 0);
            DWORD code = 1;
            EXPECT(WaitProgramExit(program, EXIT_TIMEOUT_MS, &code) && code == 0, "no exit with 0");
        }
        EndProgram(&program);
        std::string after;
        EXPECT(ReadBytes(track, &after) && after == bytes, "the track changed");
        std::printf("%s %s\n", FailureCount() == before ? "PASS" : "FAIL", row.what);
        (FailureCount() == before ? passed : failed)++;
    }
    DisarmWatchdog();
    RemoveTree(folder);
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed ? 1 : 0;
}
