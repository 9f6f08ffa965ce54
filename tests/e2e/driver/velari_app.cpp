#include "velari_app.h"

#include <commctrl.h>

#include <cstdio>

namespace e2e {

const char SAVE_PROMPT_TEXT[] = "This Track Has Not Been Saved! Save Now?";
const char SAVE_PROMPT_CAPTION[] = "Save Track?";
const char INVALID_TRACK_TEXT[] = "This is an invalid track file!";
const char ERROR_CAPTION[] = "Error!";

std::string Describe(const ShownPiece& shown)
{
    char text[512];
    std::snprintf(text, sizeof text,
                  "current \"%s\" type \"%s\" length \"%s\" attribute \"%s\" pitch \"%s\" bank \"%s\"",
                  shown.current.c_str(), shown.type.c_str(), shown.length.c_str(),
                  shown.attribute.c_str(), shown.pitch.c_str(), shown.bank.c_str());
    return text;
}

const char* CloserName(Closer closer)
{
    switch (closer) {
    case CLOSE_EXIT_BUTTON: return "Exit button";
    case CLOSE_EXIT_MENU: return "File/Exit menu item";
    case CLOSE_WM_CLOSE: return "WM_CLOSE (close box)";
    case CLOSE_SYSTEM_MENU: return "SC_CLOSE (system menu, Alt+F4)";
    }
    return "?";
}

bool Velari::Start(const std::string& arguments, const std::string& folder)
{
    End();
    const std::string exe = DriverFolder() + "Velari.exe";
    if (!EXPECT(StartProgram(exe.c_str(), arguments.c_str(), folder.c_str(), &program_),
                "cannot start %s (error %lu)", exe.c_str(), GetLastError()))
        return false;
    main_ = WaitTopWindow(program_.pid, "Velari", nullptr, WINDOW_TIMEOUT_MS);
    if (!main_) {
        DWORD code = 0;
        bool ended = WaitProgramExit(program_, 0, &code);
        EXPECT(false, "no window of class \"Velari\" appeared (%s, exit code %lu)",
               ended ? "the program ended" : "the program still runs", code);
        End();
        return false;
    }
    // The command-line load runs before the message loop: once the window
    // answers, it is done, and any message box it shows exists.
    return EXPECT(Sync(main_), "the main window does not answer");
}

void Velari::End()
{
    EndProgram(&program_);
    main_ = nullptr;
    endReported_ = false;
}

bool Velari::Alive()
{
    if (Running())
        return true;
    DWORD code = 0;
    if (!endReported_ && WaitProgramExit(program_, 0, &code))
        EXPECT(false, "the editor has ended unasked (exit code 0x%lX)", code);
    endReported_ = true;
    return false;
}

bool Velari::Running() const
{
    return IsRunning(program_);
}

HWND Velari::Item(int id) const
{
    return GetDlgItem(main_, id);
}

std::string Velari::Title() const
{
    return TextOf(main_);
}

std::string Velari::Field(int id) const
{
    HWND field = Item(id);
    return field ? TextOf(field) : std::string("<no control>");
}

std::vector<std::string> Velari::Lines() const
{
    return ListItems(Item(ID_PIECE_LIST));
}

ShownPiece Velari::Shown() const
{
    ShownPiece shown;
    shown.current = Field(ID_CURRENT_PIECE);
    shown.type = ComboSelectedText(Item(ID_PIECE_TYPE));
    shown.length = ComboSelectedText(Item(ID_PIECE_LENGTH));
    shown.attribute = ComboSelectedText(Item(ID_ATTRIBUTES));
    shown.pitch = Field(ID_PIECE_PITCH);
    shown.bank = Field(ID_PIECE_BANK);
    return shown;
}

int Velari::UpDownPosition(int id) const
{
    LRESULT reply = 0;
    if (!Send(Item(id), UDM_GETPOS, 0, 0, &reply))
        return -99999;
    return static_cast<short>(LOWORD(reply));
}

bool Velari::MatterhornChecked() const
{
    LRESULT state = 0;
    Send(Item(ID_MATTERHORN), BM_GETCHECK, 0, 0, &state);
    return state == BST_CHECKED;
}

// A click on a line selects it and then tells the parent; setting the
// selection by message tells nobody, so the notice is sent as the control
// would send it.
bool Velari::SelectAndNotify(int id, UINT selectMessage, WORD notification, int index)
{
    if (!Alive())
        return false;
    HWND control = Item(id);
    LRESULT result = -1;
    if (!Send(control, selectMessage, index, 0, &result) || result != index)
        return false;
    return Send(main_, WM_COMMAND, MAKEWPARAM(id, notification), reinterpret_cast<LPARAM>(control));
}

bool Velari::SelectPiece(int line)
{
    return SelectAndNotify(ID_PIECE_LIST, LB_SETCURSEL, LBN_SELCHANGE, line);
}

bool Velari::Choose(int listId, int index)
{
    return SelectAndNotify(listId, CB_SETCURSEL, CBN_SELCHANGE, index);
}

// The mouse pressed and released on the upper or lower half of the control:
// the control steps, writes its buddy and the buddy reports the change, all
// inside the button-down message.
bool Velari::StepArrow(int upDownId, bool up)
{
    if (!Alive())
        return false;
    HWND upDown = Item(upDownId);
    RECT client = {};
    if (!GetClientRect(upDown, &client))
        return false;
    const int x = (client.right - client.left) / 2;
    const int y = up ? client.bottom / 4 : client.bottom - 1 - client.bottom / 4;
    const LPARAM at = MAKELPARAM(x, y);
    return Send(upDown, WM_LBUTTONDOWN, MK_LBUTTON, at) && Send(upDown, WM_LBUTTONUP, 0, at);
}

bool Velari::ClickMatterhorn()
{
    if (!Alive())
        return false;
    return Send(Item(ID_MATTERHORN), BM_CLICK, 0, 0);
}

bool Velari::ClickButton(int id)
{
    if (!Alive())
        return false;
    HWND button = Item(id);
    return button && Post(button, BM_CLICK, 0, 0) && Drain();
}

// A menu item sends WM_COMMAND with notification 0 and no control.
bool Velari::MenuCommand(int id)
{
    if (!Alive())
        return false;
    return Post(main_, WM_COMMAND, MAKEWPARAM(id, 0), 0) && Drain();
}

bool Velari::RequestClose(Closer closer)
{
    bool posted = false;
    switch (closer) {
    case CLOSE_EXIT_BUTTON:
        posted = Post(Item(ID_EXIT), BM_CLICK, 0, 0);
        break;
    case CLOSE_EXIT_MENU:
        posted = Post(main_, WM_COMMAND, MAKEWPARAM(ID_EXIT, 0), 0);
        break;
    case CLOSE_WM_CLOSE:
        posted = Post(main_, WM_CLOSE, 0, 0);
        break;
    case CLOSE_SYSTEM_MENU:
        posted = Post(main_, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    }
    // The window may be gone by now; the caller looks at what followed.
    Drain();
    return posted;
}

// Posted messages are handled in order: once the piece type list holds the
// item data posted last, everything posted before it has been dispatched.
// The editor never uses the item data of its lists.
bool Velari::Drain()
{
    HWND combo = Item(ID_PIECE_TYPE);
    if (!combo)
        return false;
    const LPARAM token = ++drainToken_;
    if (!Post(combo, CB_SETITEMDATA, 0, token))
        return false;
    DWORD start = GetTickCount();
    for (;;) {
        LRESULT data = 0;
        if (!IsWindow(combo))
            return false;
        if (Send(combo, CB_GETITEMDATA, 0, 0, &data) && data == token)
            return true;
        if (GetTickCount() - start > WINDOW_TIMEOUT_MS)
            return false;
        Sleep(5);
    }
}

bool Velari::Idle()
{
    if (!Running() || !IsWindow(main_) || !Drain())
        return false;
    return VisibleDialogs(program_.pid).empty();
}

bool Velari::WaitExitWithoutDialog(DWORD ms)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (WaitProgramExit(program_, 0, nullptr))
            return true;
        std::vector<HWND> dialogs = VisibleDialogs(program_.pid);
        if (!dialogs.empty()) {
            EXPECT(false, "expected the editor to end, but it shows \"%s\": \"%s\"",
                   TextOf(dialogs.front()).c_str(), MessageBoxText(dialogs.front()).c_str());
            return false;
        }
        if (GetTickCount() - start > ms) {
            EXPECT(false, "the editor did not end within %lu ms", static_cast<unsigned long>(ms));
            return false;
        }
        Sleep(10);
    }
}

bool AnswerSavePrompt(Velari& app, int answer)
{
    HWND box = WaitMessageBox(app.Pid(), SAVE_PROMPT_CAPTION);
    if (!EXPECT(box, "no \"%s\" prompt appeared", SAVE_PROMPT_CAPTION))
        return false;
    EXPECT(MessageBoxText(box) == SAVE_PROMPT_TEXT, "prompt text \"%s\"", MessageBoxText(box).c_str());
    EXPECT(GetDlgItem(box, IDYES) && GetDlgItem(box, IDNO) && GetDlgItem(box, IDCANCEL),
           "the prompt lacks Yes, No or Cancel");
    return EXPECT(PressDialogButton(box, answer), "the prompt did not close on button %d", answer);
}

bool AcknowledgeError(Velari& app, const char* expectedText, bool textPart)
{
    HWND box = WaitMessageBox(app.Pid(), ERROR_CAPTION);
    if (!EXPECT(box, "no \"%s\" message appeared (expected \"%s\")", ERROR_CAPTION, expectedText))
        return false;
    const std::string text = MessageBoxText(box);
    if (textPart)
        EXPECT(text.find(expectedText) != std::string::npos, "error text \"%s\" does not contain \"%s\"",
               text.c_str(), expectedText);
    else
        EXPECT(text == expectedText, "error text \"%s\", expected \"%s\"", text.c_str(), expectedText);
    EXPECT(GetDlgItem(box, IDOK) && !GetDlgItem(box, IDYES) && !GetDlgItem(box, IDCANCEL),
           "the error message should have an OK button alone");
    return EXPECT(PressDialogButton(box, IDOK), "the error message did not close on OK");
}

HWND WaitFileDialog(Velari& app, const char* title)
{
    DWORD start = GetTickCount();
    for (;;) {
        for (HWND dialog : TopWindows(app.Pid(), "#32770", title)) {
            if (FileNameField(dialog))
                return dialog;
        }
        if (GetTickCount() - start > WINDOW_TIMEOUT_MS)
            break;
        Sleep(10);
    }
    std::string shown;
    for (HWND dialog : VisibleDialogs(app.Pid()))
        shown += " \"" + TextOf(dialog) + "\"";
    EXPECT(false, "no file dialog \"%s\" appeared (dialogs shown:%s)", title,
           shown.empty() ? " none" : shown.c_str());
    return nullptr;
}

}  // namespace e2e
