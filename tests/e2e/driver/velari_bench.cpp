// How fast the editor feels, measured under Wine beside it:
//  - start-up: from starting Velari.exe with a 2000-record track on its
//    command line until its window is shown and its list holds 1999 lines,
//    against Wine's own Notepad until its window is shown and answers;
//  - one "Piece Type" change (the WM_COMMAND the list sends, answered
//    synchronously) on the 2000-record track and on a 10-record one.
// The figures are printed with their goals; only a failure to measure makes
// the exit status nonzero.
//
// Usage: velari_bench.exe   (tracks from D:\data\sample-2000.tra and
//                            D:\data\sample-small.tra, or made here)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "track_files.h"
#include "velari_app.h"
#include "win_driver.h"

using namespace e2e;

namespace {

const int STARTUP_RUNS = 5;
const int TYPE_CHANGES = 24;
const char BENCH_FOLDER[] = "D:\\bench";

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    static LARGE_INTEGER frequency = {};
    if (!frequency.QuadPart)
        QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

LARGE_INTEGER Now()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

std::string List(const std::vector<double>& values)
{
    std::string text;
    char one[32];
    for (double value : values) {
        std::snprintf(one, sizeof one, "%s%.1f", text.empty() ? "" : " ", value);
        text += one;
    }
    return text;
}

// The sample from the tree when the runner brought it, else one made here;
// copied into the bench folder either way, since the editor may write it.
std::string PrepareTrack(const char* sampleName, const std::string& fallback)
{
    std::string bytes;
    const std::string sample = std::string("D:\\data\\") + sampleName;
    if (!ReadBytes(sample, &bytes) || bytes.size() < HEADER_SIZE) {
        std::printf("  %s not found: using a track made here\n", sample.c_str());
        bytes = fallback;
    }
    const std::string path = std::string(BENCH_FOLDER) + "\\" + sampleName;
    WriteBytes(path, bytes);
    return path;
}

int ListedCount(const std::string& path)
{
    std::string bytes;
    if (!ReadBytes(path, &bytes) || bytes.size() < HEADER_SIZE)
        return -1;
    int16_t stored = static_cast<int16_t>(static_cast<uint8_t>(bytes[COUNT_OFFSET]) |
                                          (static_cast<uint8_t>(bytes[COUNT_OFFSET + 1]) << 8));
    return stored - 1;
}

void CloseProgram(Program* program, HWND window)
{
    if (window)
        Post(window, WM_CLOSE, 0, 0);
    if (!WaitProgramExit(*program, EXIT_TIMEOUT_MS, nullptr))
        std::printf("  (program %lu did not end on WM_CLOSE; ended)\n", program->pid);
    EndProgram(program);
}

// From CreateProcess until a visible window of the class answers and, for
// the editor, its list holds the expected number of lines. -1 on failure.
double TimeStartup(const std::string& exe, const std::string& arguments, const char* className,
                   int expectedLines)
{
    Program program;
    const LARGE_INTEGER start = Now();
    if (!StartProgram(exe.c_str(), arguments.c_str(), BENCH_FOLDER, &program))
        return -1;
    double elapsed = -1;
    HWND window = nullptr;
    for (;;) {
        std::vector<HWND> found = TopWindows(program.pid, className, nullptr);
        if (!found.empty()) {
            window = found.front();
            if (expectedLines < 0) {
                if (Sync(window)) {
                    elapsed = Milliseconds(start, Now());
                    break;
                }
            } else {
                LRESULT count = -1;
                HWND list = GetDlgItem(window, ID_PIECE_LIST);
                if (list && Send(list, LB_GETCOUNT, 0, 0, &count) && count == expectedLines) {
                    elapsed = Milliseconds(start, Now());
                    break;
                }
            }
        }
        if (Milliseconds(start, Now()) > WINDOW_TIMEOUT_MS || !IsRunning(program))
            break;
        Sleep(1);
    }
    CloseProgram(&program, window);
    return elapsed;
}

// Times of one "Piece Type" change each, on the track at path.
std::vector<double> TimeTypeChanges(const std::string& path, int expectedLines)
{
    std::vector<double> times;
    Velari app;
    if (!app.Start(path, BENCH_FOLDER))
        return times;
    if (expectedLines > 1)
        app.SelectPiece(expectedLines / 2);
    HWND combo = app.Item(ID_PIECE_TYPE);
    for (int i = 0; i < TYPE_CHANGES; ++i) {
        const int type = (i * 3 + 1) % 8;
        if (!Send(combo, CB_SETCURSEL, type, 0))
            break;
        const LARGE_INTEGER start = Now();
        if (!Send(app.Main(), WM_COMMAND, MAKEWPARAM(ID_PIECE_TYPE, CBN_SELCHANGE),
                  reinterpret_cast<LPARAM>(combo), nullptr, 60000))
            break;
        times.push_back(Milliseconds(start, Now()));
    }
    if (ListCount(app.Item(ID_PIECE_LIST)) != expectedLines)
        std::printf("  the list holds %d lines after the changes, expected %d\n",
                    ListCount(app.Item(ID_PIECE_LIST)), expectedLines);
    app.RequestClose(CLOSE_EXIT_BUTTON);
    if (AnswerSavePrompt(app, IDNO))
        app.WaitExitWithoutDialog();
    return times;
}

// The cost of a bare round trip to the editor, which every timed change
// carries as well.
double TimeRoundTrip(const std::string& path)
{
    Velari app;
    if (!app.Start(path, BENCH_FOLDER))
        return -1;
    std::vector<double> times;
    for (int i = 0; i < TYPE_CHANGES; ++i) {
        const LARGE_INTEGER start = Now();
        Sync(app.Main());
        times.push_back(Milliseconds(start, Now()));
    }
    app.RequestClose(CLOSE_EXIT_BUTTON);
    app.WaitExitWithoutDialog();
    return Median(times);
}

}  // namespace

int main()
{
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    RemoveTree(BENCH_FOLDER);
    MakeFolders(BENCH_FOLDER);
    const std::string longTrack = PrepareTrack("sample-2000.tra", LongTrack(2000).Bytes());
    const std::string smallTrack = PrepareTrack("sample-small.tra", SmallTrack().Bytes());
    const int longLines = ListedCount(longTrack);
    const int smallLines = ListedCount(smallTrack);
    const std::string velari = DriverFolder() + "Velari.exe";
    const std::string notepad = "C:\\windows\\notepad.exe";
    // The editor is a 32-bit program; this Notepad is one too, for reference.
    const std::string notepad32 = "C:\\windows\\syswow64\\notepad.exe";
    std::printf("benchmark: %s (%d lines), %s (%d lines)\n", longTrack.c_str(), longLines,
                smallTrack.c_str(), smallLines);
    ArmWatchdog(400000, "benchmark");

    // One start of each first, so that all find Wine's files in the cache.
    TimeStartup(velari, longTrack, "Velari", longLines);
    TimeStartup(notepad, "", "Notepad", -1);
    TimeStartup(notepad32, "", "Notepad", -1);
    std::vector<double> velariTimes, notepadTimes, velariSmallTimes, notepad32Times;
    for (int run = 0; run < STARTUP_RUNS; ++run) {
        velariTimes.push_back(TimeStartup(velari, longTrack, "Velari", longLines));
        notepadTimes.push_back(TimeStartup(notepad, "", "Notepad", -1));
        velariSmallTimes.push_back(TimeStartup(velari, smallTrack, "Velari", smallLines));
        notepad32Times.push_back(TimeStartup(notepad32, "", "Notepad", -1));
    }
    const bool startupMeasured =
        std::none_of(velariTimes.begin(), velariTimes.end(), [](double t) { return t < 0; }) &&
        std::none_of(notepadTimes.begin(), notepadTimes.end(), [](double t) { return t < 0; });
    const double velariStartup = Median(velariTimes);
    const double notepadStartup = Median(notepadTimes);
    std::printf("start-up, Velari.exe with %d lines: median %.1f ms (runs: %s)\n", longLines,
                velariStartup, List(velariTimes).c_str());
    std::printf("start-up, notepad.exe:                median %.1f ms (runs: %s)\n", notepadStartup,
                List(notepadTimes).c_str());
    std::printf("  for reference: Velari.exe with %d lines: median %.1f ms; 32-bit notepad.exe (%s): "
                "median %.1f ms\n",
                smallLines, Median(velariSmallTimes), notepad32.c_str(), Median(notepad32Times));
    if (startupMeasured && notepadStartup > 0)
        std::printf("start-up ratio Velari/Notepad: %.2f (goal <= 1.00: %s)\n",
                    velariStartup / notepadStartup, velariStartup <= notepadStartup ? "met" : "NOT met");
    else
        std::printf("start-up: could not be measured (a program did not come up)\n");

    const std::vector<double> longChanges = TimeTypeChanges(longTrack, longLines);
    const std::vector<double> smallChanges = TimeTypeChanges(smallTrack, smallLines);
    const double roundTrip = TimeRoundTrip(smallTrack);
    const double longMedian = Median(longChanges);
    const double smallMedian = Median(smallChanges);
    const double longMax = longChanges.empty() ? -1 : *std::max_element(longChanges.begin(), longChanges.end());
    std::printf("Piece Type change, %d lines: median %.2f ms, max %.2f ms over %u changes\n", longLines,
                longMedian, longMax, static_cast<unsigned>(longChanges.size()));
    std::printf("Piece Type change, %d lines:   median %.2f ms over %u changes\n", smallLines, smallMedian,
                static_cast<unsigned>(smallChanges.size()));
    std::printf("bare round trip to the editor: median %.2f ms\n", roundTrip);
    if (!longChanges.empty() && !smallChanges.empty())
        std::printf("type change ratio %d/%d lines: %.1f; goal <= 16 ms on %d lines: %s\n", longLines,
                    smallLines, smallMedian > 0 ? longMedian / smallMedian : 0.0, longLines,
                    longMedian <= 16.0 ? "met" : "NOT met");
    DisarmWatchdog();

    const bool measured = startupMeasured && static_cast<int>(longChanges.size()) == TYPE_CHANGES &&
                          static_cast<int>(smallChanges.size()) == TYPE_CHANGES;
    if (!measured || FailureCount())
        std::printf("benchmark: some figures could not be measured\n");
    return measured ? 0 : 1;
}
