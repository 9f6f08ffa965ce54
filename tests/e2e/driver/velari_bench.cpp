// How fast the editor feels, measured under Wine beside it, printed with
// the goals and never failing on them:
//  - start-up with the 2000-record sample on the command line until its
//    list holds 1999 lines, against Wine's Notepad (64- and 32-bit) until
//    its window answers;
//  - one "Piece Type" change (the list's WM_COMMAND, answered
//    synchronously) on the 2000-record and on the 10-record sample.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "win_driver.h"

using namespace e2e;

namespace {

double Now()
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

// Starts the program, waits until its window answers (and, for the editor,
// lists lines), times the changes asked for, and closes it without saving.
std::vector<double> Run(const std::string& exe, const std::string& track, const char* className, int lines,
                        int typeChanges)
{
    std::vector<double> times;
    Program program;
    const double start = Now();
    if (!StartProgram(exe.c_str(), track.c_str(), "D:\\", &program))
        return times;
    HWND window = nullptr;
    for (LRESULT count = -1; Now() - start < WINDOW_TIMEOUT_MS; Sleep(1)) {
        window = WaitTopWindow(program.pid, className, nullptr, 0);
        if (window && Sync(window) &&
            (lines < 0 || (Send(GetDlgItem(window, 1105), LB_GETCOUNT, 0, 0, &count) && count == lines))) {
            times.push_back(Now() - start);
            break;
        }
    }
    HWND combo = window ? GetDlgItem(window, 1106) : nullptr;
    for (int i = 0; combo && i < typeChanges; ++i) {
        Send(combo, CB_SETCURSEL, (i * 3 + 1) % 8, 0);
        const double before = Now();
        Send(window, WM_COMMAND, MAKEWPARAM(1106, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
        times.push_back(Now() - before);
    }
    EndProgram(&program);
    return times;
}

}  // namespace

int main()
{
    ArmWatchdog(400000, "benchmark");
    const std::string velari = DriverFolder() + "Velari.exe";
    const std::string longTrack = "D:\\data\\sample-2000.tra", smallTrack = "D:\\data\\sample-small.tra";
    const char* notepads[] = {"C:\\windows\\notepad.exe", "C:\\windows\\syswow64\\notepad.exe"};
    Run(velari, longTrack, "Velari", 1999, 0);  // Wine's files into the cache first
    std::vector<double> editor, notepad[2];
    for (int run = 0; run < 5; ++run) {
        for (double t : Run(velari, longTrack, "Velari", 1999, 0))
            editor.push_back(t);
        for (int n = 0; n < 2; ++n) {
            for (double t : Run(notepads[n], "", "Notepad", -1, 0))
                notepad[n].push_back(t);
        }
    }
    std::printf("start-up, Velari.exe with 1999 lines: median %.1f ms over %u runs\n", Median(editor),
                unsigned(editor.size()));
    for (int n = 0; n < 2; ++n)
        std::printf("start-up, %s: median %.1f ms; ratio Velari/Notepad %.2f (goal <= 1.00)\n", notepads[n],
                    Median(notepad[n]), Median(editor) / Median(notepad[n]));
    const struct {
        const std::string& track;
        int lines;
    } tracks[] = {{longTrack, 1999}, {smallTrack, 9}};
    for (const auto& track : tracks) {
        std::vector<double> times = Run(velari, track.track, "Velari", track.lines, 24);
        if (!times.empty())
            times.erase(times.begin());
        std::printf("Piece Type change, %d lines: median %.2f ms, max %.2f ms over %u (goal <= 16 ms)\n",
                    track.lines, Median(times), times.empty() ? -1 : *std::max_element(times.begin(), times.end()),
                    unsigned(times.size()));
    }
    DisarmWatchdog();
    const bool measured = editor.size() == 5 && notepad[0].size() == 5 && notepad[1].size() == 5;
    std::printf("%s\n", measured ? "benchmark: measured" : "benchmark: some figures could not be measured");
    return measured ? 0 : 1;
}
