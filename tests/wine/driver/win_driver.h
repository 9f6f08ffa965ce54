// What the Wine tests share, beside GoogleTest: two ways of working a
// window (in one process, its dialogs answered from a timer inside their
// modal loops; or from a second process, for what only a real start shows),
// files on the test's drive D:, the registry and screenshots. Nothing here
// knows any one program.
#ifndef E2E_WIN_DRIVER_H
#define E2E_WIN_DRIVER_H

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace e2e {

// Generous: two cores, and Wine starting its own helpers on first use.
enum : DWORD { REPLY_TIMEOUT_MS = 5000, WINDOW_TIMEOUT_MS = 15000, EXIT_TIMEOUT_MS = 10000 };

std::string ClassOf(HWND window);
// WM_GETTEXT, which also asks a window of another process.
std::string TextOf(HWND window);
// A common file dialog's file name field, or nullptr for another dialog.
HWND FileNameField(HWND dialog);

// In one process: the next dialog expected, with its caption, texts that
// its controls must show ("|text|", "~" before a disabled one's), what to do
// on it (the dialogs that causes get the next replies), and the button then
// pressed (0: none). A dialog the script does not expect fails the test and
// is closed.
struct Reply {
    std::string caption;
    std::vector<std::string> shows;
    int button;
    std::function<void(HWND)> act = nullptr;
};
// Called once by the test program's entry, on the thread the windows run on.
void StartAnsweringDialogs();
void ExpectReplies(std::vector<Reply> replies);
void ExpectAllReplied();
// Handles what is posted to this thread's windows now (not WM_QUIT), each
// message first offered to translate as the program's loop does.
void Pump(bool (*translate)(MSG&) = nullptr);

// A second process, its windows and message boxes.
struct Program {
    HANDLE process = nullptr;
    DWORD pid = 0;
};
// Runs "exePath" arguments in currentDir.
bool StartProgram(const char* exePath, const char* arguments, const char* currentDir, Program* program);
// The exit code, or -1 when it did not end in time.
long WaitProgramExit(const Program& program, DWORD ms = EXIT_TIMEOUT_MS);
// Ends it by force if it still runs, and then removes the changes the
// editor kept (below), which its next start would bring back otherwise.
void EndProgram(Program* program);
// A visible top-level window of the process (0: any), class and title (nullptr: any).
HWND WaitTopWindow(DWORD pid, const char* className, const char* title, DWORD ms = WINDOW_TIMEOUT_MS);
bool WaitWindowGone(HWND window, DWORD ms = WINDOW_TIMEOUT_MS);
HWND WaitMessageBox(DWORD pid, const char* caption, DWORD ms = WINDOW_TIMEOUT_MS);
std::string MessageBoxText(HWND box);
bool PressDialogButton(HWND dialog, int buttonId);

// The folder the editor keeps unsaved changes in, with a trailing backslash,
// and the one way a test removes them.
std::string KeptChangesFolder();
void RemoveKeptChanges();

// The folder this test program runs from, with a trailing backslash.
std::string DriverFolder();
bool WriteBytes(const std::string& path, const std::string& bytes);
std::string FileText(const std::string& path);  // "<missing>" when unreadable
bool FileExists(const std::string& path);
bool MakeFolders(const std::string& path);
// Only below D:\, the test's own drive.
bool RemoveTree(const std::string& path);
// A folder of the Start menu for all users, with a trailing backslash.
std::string StartMenuFolder(const char* name);
// A REG_SZ value's text, "<none>" when missing, "<not text>" when of another
// type or not ended by its one zero.
std::string RegistryText(HKEY root, const char* key, const char* name);

// The width of the bitmap a picture control shows, and what a width drawn
// for 96 dots per inch comes to on this screen.
int BitmapWidth(HWND picture);
int AtScreenDpi(int pixels);

// The controls of window (of this process) whose text, in their own font,
// does not fit the room they draw it in, each with its text, what it needs and
// has; "" when all fit. A list of choices: each item against its item area.
std::string CutTexts(HWND window);

// What the screen shows where the window is, for name.png in the test
// output (run_in_wine.sh turns D:\.e2e-shots\name.bmp into it).
bool Screenshot(const char* name, HWND window);

}  // namespace e2e

#endif
