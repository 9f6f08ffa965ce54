// Driving another process's windows the way a person would, from a second
// Win32 program in the same Wine prefix: start it, find its windows, read
// what they show, click, choose, answer its message boxes and file dialogs,
// and look at the files it leaves on disk. Nothing here knows the editor.
#ifndef E2E_WIN_DRIVER_H
#define E2E_WIN_DRIVER_H

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace e2e {

// ---- Checks -------------------------------------------------------------

// Records a failed expectation with where it was made and the current
// context; returns cond so a case can stop when continuing is pointless.
bool Check(bool cond, const char* file, int line, const char* format, ...)
    __attribute__((format(printf, 4, 5)));
#define EXPECT(cond, ...) ::e2e::Check(!!(cond), __FILE__, __LINE__, __VA_ARGS__)

int FailureCount();
void ResetFailures();
// A short text put in front of every failure, e.g. the row of a table.
void SetContext(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Note(const char* format, ...) __attribute__((format(printf, 1, 2)));

// ---- Time limits ----------------------------------------------------------

// How long a program may take to answer one message or show one window.
// Generous: two cores, and Wine starting its own helpers on first use.
enum : DWORD { REPLY_TIMEOUT_MS = 5000, WINDOW_TIMEOUT_MS = 15000, EXIT_TIMEOUT_MS = 10000 };

// When a case runs longer than ms, every program started through
// StartProgram is ended and the driver exits with a failure, so a hang never
// outlives its case.
void ArmWatchdog(DWORD ms, const char* caseName);
void DisarmWatchdog();

// ---- Processes ------------------------------------------------------------

struct Program {
    HANDLE process = nullptr;
    DWORD pid = 0;
};

// Starts exePath with the command line "exePath" arguments (arguments
// exactly as given) in currentDir; false when it cannot be started.
bool StartProgram(const char* exePath, const char* arguments, const char* currentDir,
                  Program* program);
bool IsRunning(const Program& program);
bool WaitProgramExit(const Program& program, DWORD ms, DWORD* exitCode);
// Ends the program if it still runs, and forgets it.
void EndProgram(Program* program);
// The folder this driver was started from, with a trailing backslash.
std::string DriverFolder();

// ---- Windows --------------------------------------------------------------

std::string ClassOf(HWND window);
// Another process's window text through WM_GETTEXT; GetWindowTextA would
// not ask the window. "<no reply>" when the window does not answer.
std::string TextOf(HWND window);
// Visible top-level windows of a process, of a class (nullptr: any) and
// with a title (nullptr: any), in Z order.
std::vector<HWND> TopWindows(DWORD pid, const char* className, const char* title);
HWND WaitTopWindow(DWORD pid, const char* className, const char* title, DWORD ms);
bool WaitWindowGone(HWND window, DWORD ms);
// A child window (any depth) of a class whose text is text.
HWND ChildByText(HWND parent, const char* className, const char* text);
// A child's rectangle in the client coordinates of parent.
RECT RectInClient(HWND child, HWND parent);

// ---- Messages ---------------------------------------------------------------

// SendMessage with a time limit: false when the window did not answer in
// time (a modal loop that never returns, a hang). For messages that start no
// modal loop; the rest are posted.
bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result = nullptr,
          DWORD ms = REPLY_TIMEOUT_MS);
bool Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// A key pressed and released while target has the keyboard: posted, as the
// system queues real keys, so that a dialog's modal loop translates them.
bool PressKey(HWND target, UINT virtualKey);
// Round trip through the window's thread: everything sent before has been
// handled, and any window it made while doing so exists.
bool Sync(HWND window);

// ---- List boxes and combo boxes ------------------------------------------------

// Item texts are fetched with the wide message into a big buffer: across
// processes Wine hands them back as UTF-16 whatever the caller asked for.
int ListCount(HWND list);
int ListSelection(HWND list);
std::string ListItem(HWND list, int index);
std::vector<std::string> ListItems(HWND list);
int ComboCount(HWND combo);
int ComboSelection(HWND combo);
std::string ComboItem(HWND combo, int index);
std::vector<std::string> ComboItems(HWND combo);
// The text of the selected entry, or "" when none is selected.
std::string ComboSelectedText(HWND combo);

// ---- Dialogs and message boxes ---------------------------------------------------

// A message box of the process with this caption; nullptr after ms.
HWND WaitMessageBox(DWORD pid, const char* caption, DWORD ms = WINDOW_TIMEOUT_MS);
// The message text of a message box (its static with id 0xFFFF).
std::string MessageBoxText(HWND box);
// Every dialog window (class "#32770") the process shows now.
std::vector<HWND> VisibleDialogs(DWORD pid);
// Presses a dialog's button as a click would (WM_COMMAND from the button,
// posted) and waits until the dialog is gone.
bool PressDialogButton(HWND dialog, int buttonId, DWORD ms = WINDOW_TIMEOUT_MS);
// A common file dialog's "File name" field.
HWND FileNameField(HWND fileDialog);
// Types name into the file name field and presses the dialog's OK button;
// whether the dialog closes is for the caller to see.
bool ChooseFileName(HWND fileDialog, const char* name);

// ---- Files -------------------------------------------------------------------

bool WriteBytes(const std::string& path, const std::string& bytes);
bool ReadBytes(const std::string& path, std::string* bytes);
bool FileExists(const std::string& path);
// Makes a folder and its parents.
bool MakeFolders(const std::string& path);
// Removes a folder with everything in it; only below D:\ (the drive the
// tests own).
bool RemoveTree(const std::string& path);
// The names in a folder, "." and ".." left out, sorted.
std::vector<std::string> FolderEntries(const std::string& folder);
// "" when equal; otherwise where and how they first differ.
std::string DescribeDifference(const std::string& expected, const std::string& actual);

// A file held open for reading without sharing: nobody can write, replace
// or delete it until Release (or the destructor).
class FileLock {
public:
    explicit FileLock(const std::string& path);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool Held() const { return handle_ != INVALID_HANDLE_VALUE; }
    void Release();

private:
    HANDLE handle_;
};

// ---- Screenshots --------------------------------------------------------------

// Asks the host-side runner for a PNG of the window's screen area, named
// name.png in the test output folder, and waits until it is taken.
bool Screenshot(const char* name, HWND window);

}  // namespace e2e

#endif
