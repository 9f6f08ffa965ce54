// The editor as its user sees it: its window, its controls by id, and what a
// person does with them (choose a piece, pick from a list, click an arrow, a
// button or a menu item, close the window), each sent as the real control
// or menu would send it.
#ifndef E2E_VELARI_APP_H
#define E2E_VELARI_APP_H

#include <windows.h>

#include <string>
#include <vector>

#include "win_driver.h"

namespace e2e {

enum VelariId {
    ID_EXIT = 1000,
    ID_SAVE = 1002,
    ID_SAVE_AS = 1003,
    ID_OPEN = 1004,
    ID_REFRESH = 1006,
    ID_ABOUT = 1007,
    ID_CONTENTS = 1010,
    ID_TRACK_NAME = 1100,
    ID_DESIGNER_NAME = 1101,
    ID_PIECE_COUNT = 1102,
    ID_PIECE_PITCH = 1103,
    ID_PIECE_BANK = 1104,
    ID_PIECE_LIST = 1105,
    ID_PIECE_TYPE = 1106,
    ID_ATTRIBUTES = 1107,
    ID_MATTERHORN = 1108,
    ID_CURRENT_PIECE = 1109,
    ID_PIECE_LENGTH = 1110,
    ID_PITCH_UPDOWN = 1112,
    ID_BANK_UPDOWN = 1113
};

// What the value fields show for the current piece; "" for a list with no
// entry selected.
struct ShownPiece {
    std::string current;
    std::string type;
    std::string length;
    std::string attribute;
    std::string pitch;
    std::string bank;
};
std::string Describe(const ShownPiece& shown);

// The ways a person can ask the editor to close.
enum Closer { CLOSE_EXIT_BUTTON, CLOSE_EXIT_MENU, CLOSE_WM_CLOSE, CLOSE_SYSTEM_MENU };
const char* CloserName(Closer closer);

class Velari {
public:
    Velari() = default;
    ~Velari() { End(); }
    Velari(const Velari&) = delete;
    Velari& operator=(const Velari&) = delete;

    // Starts Velari.exe (beside this driver) with the command line
    // arguments, in folder, and waits until its main window is shown and the
    // start-up load has run. False (with a failure recorded) otherwise.
    bool Start(const std::string& arguments, const std::string& folder);
    void End();
    bool Running() const;

    HWND Main() const { return main_; }
    DWORD Pid() const { return program_.pid; }
    HWND Item(int id) const;

    std::string Title() const;
    std::string Field(int id) const;
    std::vector<std::string> Lines() const;
    ShownPiece Shown() const;
    int UpDownPosition(int id) const;
    bool MatterhornChecked() const;

    // Synchronous user actions: each returns false when the editor did not
    // answer in time, as it would not while a modal box it opened waits.
    bool SelectPiece(int line);
    bool Choose(int listId, int index);
    bool StepArrow(int upDownId, bool up);
    bool ClickMatterhorn();

    // Posted user actions, for what may open a dialog: a click on a push
    // button or a menu item, or closing the window. They return once the
    // editor has handled the action or is showing a dialog it opened.
    bool ClickButton(int id);
    bool MenuCommand(int id);
    bool RequestClose(Closer closer);

    // Every message posted to the editor before has been handled (inside a
    // modal loop, if one is running). False when the window is gone.
    bool Drain();
    // The editor shows no dialog and its window still stands.
    bool Idle();
    // Waits for the process to end; fails the case when it shows a dialog
    // instead or does not end in time.
    bool WaitExitWithoutDialog(DWORD ms = EXIT_TIMEOUT_MS);

private:
    // False once the editor has ended; the first time, records why the
    // actions that follow fail (a crash, say) as a failure of its own.
    bool Alive();
    // Selects line index of a list or combo box and sends its change notice.
    bool SelectAndNotify(int id, UINT selectMessage, WORD notification, int index);

    Program program_;
    HWND main_ = nullptr;
    bool endReported_ = false;
    LPARAM drainToken_ = 0x5EED0000;
};

// The message texts and captions the editor shows.
extern const char SAVE_PROMPT_TEXT[];
extern const char SAVE_PROMPT_CAPTION[];
extern const char INVALID_TRACK_TEXT[];
extern const char ERROR_CAPTION[];

// Waits for the unsaved-changes prompt, checks its text and buttons, and
// answers it with IDYES, IDNO or IDCANCEL.
bool AnswerSavePrompt(Velari& app, int answer);
// Waits for an "Error!" box, checks that its text is expectedText (or, when
// textPart is set, that the text contains it), and presses OK.
bool AcknowledgeError(Velari& app, const char* expectedText, bool textPart = false);
// Waits for a file dialog with this title and returns it.
HWND WaitFileDialog(Velari& app, const char* title);

}  // namespace e2e

#endif
