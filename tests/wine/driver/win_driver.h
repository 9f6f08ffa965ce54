// What every Wine test needs, in the manner of Wine's own tests: checks with
// their context, named cases, files on the test's drive D:, screenshots, and
// two ways of working a window: in one process, with its dialogs answered
// from a timer inside their modal loops; or from a second process, for what
// only a real start shows. Nothing here knows any one program.
#ifndef E2E_WIN_DRIVER_H
#define E2E_WIN_DRIVER_H

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace e2e {

// Records a failed expectation with where it was made and the current
// context; returns cond so a case can stop when going on is pointless.
bool Check(bool cond, const char* file, int line, const char* format, ...)
    __attribute__((format(printf, 4, 5)));
#define EXPECT(cond, ...) ::e2e::Check(!!(cond), __FILE__, __LINE__, __VA_ARGS__)
// A short text put in front of every failure, e.g. the row of a table.
void SetContext(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Generous: two cores, and Wine starting its own helpers on first use.
enum : DWORD { REPLY_TIMEOUT_MS = 5000, WINDOW_TIMEOUT_MS = 15000, EXIT_TIMEOUT_MS = 10000 };

struct Case {
    const char* name;
    void (*run)();
};
// Runs the case named by the one argument, or every case without one, each
// under a watchdog that ends the test (and the programs it started) when a
// case hangs; prints PASS or FAIL per case and returns the exit status.
int RunCases(int argc, char** argv, const std::vector<Case>& cases);

std::string ClassOf(HWND window);
// WM_GETTEXT, which also asks a window of another process.
std::string TextOf(HWND window);
// The texts of a dialog's controls as "|text|text|", a disabled control's
// marked with a leading "~".
std::string DialogTexts(HWND dialog);
// A common file dialog's file name field, or nullptr for another dialog.
HWND FileNameField(HWND dialog);

// In one process: one dialog that the code under test is expected to open,
// in order. It must have the caption and show each text (parts of
// DialogTexts); act, when given, runs on it first; then button is pressed.
// Dialogs that the act itself causes are answered by the next replies.
struct Reply {
    std::string caption;
    std::vector<std::string> shows;
    int button;
    std::function<void(HWND)> act = nullptr;
};
// Arms the script; a dialog it does not expect is a failure and is closed.
void ExpectReplies(std::vector<Reply> replies);
// Every reply was used.
void ExpectAllReplied();
// Handles what is posted to this thread's windows now (not WM_QUIT).
void Pump();

// A second process.
struct Program {
    HANDLE process = nullptr;
    DWORD pid = 0;
};
// Runs "exePath" arguments in currentDir.
bool StartProgram(const char* exePath, const char* arguments, const char* currentDir, Program* program);
// The exit code, or -1 when it did not end in time.
long WaitProgramExit(const Program& program, DWORD ms = EXIT_TIMEOUT_MS);
// Ends the program if it still runs, and forgets it.
void EndProgram(Program* program);
// The first visible top-level window of a process (0: any) of a class and
// with a title (nullptr: any).
HWND WaitTopWindow(DWORD pid, const char* className, const char* title, DWORD ms = WINDOW_TIMEOUT_MS);
bool WaitWindowGone(HWND window, DWORD ms = WINDOW_TIMEOUT_MS);
// A message box with this caption, its text, and a button pressed on it.
HWND WaitMessageBox(DWORD pid, const char* caption, DWORD ms = WINDOW_TIMEOUT_MS);
std::string MessageBoxText(HWND box);
bool PressDialogButton(HWND dialog, int buttonId);

// The folder this test program runs from, with a trailing backslash.
std::string DriverFolder();
bool WriteBytes(const std::string& path, const std::string& bytes);
bool ReadBytes(const std::string& path, std::string* bytes);
std::string FileText(const std::string& path);  // "<missing>" when unreadable
bool FileExists(const std::string& path);
bool MakeFolders(const std::string& path);
// Only below D:\, the drive the tests own.
bool RemoveTree(const std::string& path);
// A REG_SZ value's text, "<none>" when missing, "<not text>" when of another
// type or not ended by its one zero.
std::string RegistryText(HKEY root, const char* key, const char* name);

// Asks the host-side runner for a PNG of the window, name.png in the test
// output, and waits until it is taken.
bool Screenshot(const char* name, HWND window);

}  // namespace e2e

#endif
