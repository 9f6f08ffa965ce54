// Driving a program's windows the way a person would, from a second Win32
// program in the same Wine prefix (or from inside it): start it, find its
// windows, read what they show, answer its dialogs, look at its files, and
// ask the host for screenshots. Nothing here knows any one program.
#ifndef E2E_WIN_DRIVER_H
#define E2E_WIN_DRIVER_H

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// Records a failed expectation with where it was made and the current
// context; returns cond so a case can stop when going on is pointless.
bool Check(bool cond, const char* file, int line, const char* format, ...)
    __attribute__((format(printf, 4, 5)));
#define EXPECT(cond, ...) ::e2e::Check(!!(cond), __FILE__, __LINE__, __VA_ARGS__)
int FailureCount();
// A short text put in front of every failure, e.g. the row of a table.
void SetContext(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Generous: two cores, and Wine starting its own helpers on first use.
enum : DWORD { REPLY_TIMEOUT_MS = 5000, WINDOW_TIMEOUT_MS = 15000, EXIT_TIMEOUT_MS = 10000 };

// Past ms, every program started through StartProgram is ended and the
// driver exits with a failure, so a hang never outlives its case.
void ArmWatchdog(DWORD ms, const char* caseName);
void DisarmWatchdog();

struct Program {
    HANDLE process = nullptr;
    DWORD pid = 0;
};
// Runs "exePath" arguments in currentDir.
bool StartProgram(const char* exePath, const char* arguments, const char* currentDir, Program* program);
bool IsRunning(const Program& program);
bool WaitProgramExit(const Program& program, DWORD ms, DWORD* exitCode);
// Ends the program if it still runs, and forgets it.
void EndProgram(Program* program);
// The folder this driver runs from, with a trailing backslash.
std::string DriverFolder();

std::string ClassOf(HWND window);
// WM_GETTEXT, which also asks a window of another process.
std::string TextOf(HWND window);
// Visible top-level windows of a process, of a class and with a title
// (nullptr: any), in Z order.
std::vector<HWND> TopWindows(DWORD pid, const char* className, const char* title);
HWND WaitTopWindow(DWORD pid, const char* className, const char* title, DWORD ms);
bool WaitWindowGone(HWND window, DWORD ms);

// SendMessage with a time limit: false when the window did not answer.
bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result = nullptr,
          DWORD ms = REPLY_TIMEOUT_MS);
bool Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Posted like real keys, so that a dialog's own loop translates them.
bool PressKey(HWND target, UINT virtualKey);
// Everything sent before has been handled.
bool Sync(HWND window);

// A message box with this caption (not a file dialog of the same title).
HWND WaitMessageBox(DWORD pid, const char* caption, DWORD ms = WINDOW_TIMEOUT_MS);
std::string MessageBoxText(HWND box);
// Presses a button as a click would and waits until the dialog is gone.
bool PressDialogButton(HWND dialog, int buttonId, DWORD ms = WINDOW_TIMEOUT_MS);
// A common file dialog's file name field, or nullptr for another dialog.
HWND FileNameField(HWND dialog);

bool WriteBytes(const std::string& path, const std::string& bytes);
bool ReadBytes(const std::string& path, std::string* bytes);
bool FileExists(const std::string& path);
bool MakeFolders(const std::string& path);
// Only below D:\, the drive the tests own.
bool RemoveTree(const std::string& path);

// Asks the host-side runner for a PNG of the window, name.png in the test
// output, and waits until it is taken.
bool Screenshot(const char* name, HWND window);

}  // namespace e2e

#endif
