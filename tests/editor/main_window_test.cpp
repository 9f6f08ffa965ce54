// The editor's window under Wine, in the manner of Wine's own user32 tests:
// the real main window, made from the objects Velari.exe is linked from, gets
// the messages its controls and menu send, and a timer running inside the
// modal loops answers its message boxes and file dialogs. The track logic is
// the unit tests' part; these check what the window adds.
#include <windows.h>
#include <commctrl.h>

#include <htmlhelp.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "commands.h"
#include "help_viewer.h"
#include "installed_product.h"
#include "main_window.h"
#include "overview_strip.h"
#include "recovery_window.h"
#include "resource.h"
#include "start_folder.h"
#include "track_bytes.h"
#include "track_document.h"
#include "track_overview.h"
#include "win_driver.h"

using namespace e2e;

namespace {

const std::string FOLDER = "D:\\window";
const std::string TRACK = FOLDER + "\\a.tra";

// A track of four records, of which three are listed: values at the arrows'
// limits and one negative of each.
const std::string ORIGINAL =
    TrackBytes("Pine Valley", "Quorvane", 1, {{0x44, 0, 10}, {0x20, 125, 85}, {0xA2, -125, -85}, {0x28, -1, -5}});
const std::string OTHER = TrackBytes("Other", "Quorvane", 1, {{0x22, 1, 1}, {0x28, 0, 0}});
const std::string EDITED = WithByte(ORIGINAL, ByteOfPiece(0, PITCH_BYTE), 11);  // one step up

// A file dialog's reply: the name typed, then the button.
Reply FileDialog(const char* caption, int button, const std::string& name = "")
{
    return {caption, {}, button, [name](HWND dialog) {
                if (!name.empty())
                    SetWindowTextA(FileNameField(dialog), name.c_str());
            }};
}

// The window as the program makes it, with the track loaded as its
// command line would load it; closed after each case.
class EditorWindow : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        MakeFolders(FOLDER);
        RegisterMainWindowClass(GetModuleHandleA(nullptr));
    }
    static void TearDownTestSuite() { RemoveTree(FOLDER); }
    void TearDown() override { CloseWindow(); }

    static void OpenWindow(const std::string& track)
    {
        ASSERT_TRUE(CreateMainWindow());
        ShowWindow(mainWindow, SW_SHOW);
        ExpectReplies({});
        if (!track.empty()) {
            ASSERT_TRUE(WriteBytes(track, ORIGINAL) && SetTrackPath(track.c_str()) && LoadTrackIntoWindow());
        }
    }
    static void CloseWindow()
    {
        ExpectAllReplied();
        if (IsWindow(mainWindow))
            DestroyWindow(mainWindow);
        Pump();
        RemoveKeptChanges();
    }
};

std::string Text(int id)
{
    return TextOf(GetDlgItem(mainWindow, id));
}

// The fields of the track and the current piece, the lists' choices, the
// check box and the piece list's lines, as one text.
std::string Shown()
{
    std::string shown;
    for (int id : {IDC_TRACK_NAME, IDC_DESIGNER_NAME, IDC_PIECE_COUNT, IDC_CURRENT_PIECE})
        shown += Text(id) + "|";
    for (int id : {IDC_PIECE_TYPE, IDC_PIECE_LENGTH, IDC_ATTRIBUTES}) {
        char text[64] = "";
        SendDlgItemMessageA(mainWindow, id, CB_GETLBTEXT, SendDlgItemMessageA(mainWindow, id, CB_GETCURSEL, 0, 0),
                            reinterpret_cast<LPARAM>(text));
        shown += std::string(text) + "|";
    }
    shown += Text(IDC_PIECE_PITCH) + "|" + Text(IDC_PIECE_BANK) + "|" +
             (SendMessageA(mainControls.matterhorn, BM_GETCHECK, 0, 0) == BST_CHECKED ? "on|" : "off|");
    for (int i = 0; i < SendMessageA(mainControls.pieceList, LB_GETCOUNT, 0, 0); ++i) {
        char line[64] = "";
        SendMessageA(mainControls.pieceList, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line));
        shown += std::string(i ? "," : "") + line;
    }
    return shown;
}

// A click on a line of the piece list chooses it alone.
void Select(int id, int index)
{
    const bool list = id == IDC_PIECE_LIST;
    if (list) {
        SendDlgItemMessageA(mainWindow, id, LB_SETSEL, FALSE, -1);
        SendDlgItemMessageA(mainWindow, id, LB_SETSEL, TRUE, index);
        SendDlgItemMessageA(mainWindow, id, LB_SETANCHORINDEX, index, 0);
        SendDlgItemMessageA(mainWindow, id, LB_SETCARETINDEX, index, 0);
    } else {
        SendDlgItemMessageA(mainWindow, id, CB_SETCURSEL, index, 0);
    }
    SendMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(id, list ? LBN_SELCHANGE : CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(mainWindow, id)));
}

// A press on the upper or lower half of the arrows.
void StepArrow(int id, bool up)
{
    HWND arrows = GetDlgItem(mainWindow, id);
    RECT client;
    GetClientRect(arrows, &client);
    const LPARAM at = MAKELPARAM(client.right / 2, up ? client.bottom / 4 : client.bottom * 3 / 4);
    SendMessageA(arrows, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(arrows, WM_LBUTTONUP, 0, at);
}

// A key as the keyboard sends it to the focus, Ctrl and Shift held as given,
// through the program's own translation.
void PressKey(UINT key, bool ctrl = false, bool shift = false)
{
    BYTE state[256];
    GetKeyboardState(state);
    state[VK_CONTROL] = ctrl ? 0x80 : 0;
    state[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(state);
    PostMessageA(GetFocus(), WM_KEYDOWN, key, 1);
    PostMessageA(GetFocus(), WM_KEYUP, key, 0xC0000001);
    Pump(TranslateMainWindowKeys);
    state[VK_CONTROL] = state[VK_SHIFT] = 0;
    SetKeyboardState(state);
}

// What a person does, as the window receives it; the program's loop then
// handles what it posted.
using Action = std::function<void()>;
Action Choose(int id, int index) { return [=] { Select(id, index); }; }
Action Arrow(int id, bool up) { return [=] { StepArrow(id, up); }; }
Action Key(UINT key, bool ctrl = false, bool shift = false) { return [=] { PressKey(key, ctrl, shift); }; }
Action Click(int id) { return [=] { SendDlgItemMessageA(mainWindow, id, BM_CLICK, 0, 0); }; }
Action Command(int id) { return [=] { SendMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(id, 0), 0); }; }
// Files dropped from the shell: a DROPFILES block, the paths, one more zero.
Action Dropped(std::vector<std::string> paths)
{
    return [=] {
        std::string names;
        for (const std::string& path : paths)
            names += path + '\0';
        HGLOBAL drop = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() + 1);
        auto* files = static_cast<DROPFILES*>(GlobalLock(drop));
        files->pFiles = sizeof(DROPFILES);
        memcpy(files + 1, names.data(), names.size());
        GlobalUnlock(drop);
        PostMessageA(mainWindow, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    };
}
void Do(const Action& action)
{
    action();
    Pump(TranslateMainWindowKeys);
}

HANDLE lock = INVALID_HANDLE_VALUE;
const Action EDIT = Arrow(IDC_PITCH_UPDOWN, true), PITCH_DOWN = Arrow(IDC_PITCH_UPDOWN, false),
             BANK_UP = Arrow(IDC_BANK_UPDOWN, true), BANK_DOWN = Arrow(IDC_BANK_UPDOWN, false),
             LINE_1 = Choose(IDC_PIECE_LIST, 1), LINE_2 = Choose(IDC_PIECE_LIST, 2), RIGHT_TURN = Choose(IDC_PIECE_TYPE, 3),
             LENGTH_48 = Choose(IDC_PIECE_LENGTH, 3), ACCELERATE = Choose(IDC_ATTRIBUTES, 2), MATTERHORN = Click(IDC_MATTERHORN),
             EXIT_BUTTON = Click(IDM_FILE_EXIT), EXIT_MENU = Command(IDM_FILE_EXIT), SAVE = Click(IDM_FILE_SAVE),
             SAVE_AS = Command(IDM_FILE_SAVE_AS), OPEN = Click(IDM_FILE_OPEN), REFRESH = Click(IDM_FILE_REFRESH),
             UNDO_MENU = Command(IDM_EDIT_UNDO), REDO_MENU = Command(IDM_EDIT_REDO),
             KEY_UP = Key(VK_UP), CTRL_S = Key('S', true), CTRL_O = Key('O', true), CTRL_SHIFT_S = Key('S', true, true),
             F5 = Key(VK_F5), CTRL_Z = Key('Z', true), CTRL_Y = Key('Y', true),
             DROP_B = Dropped({FOLDER + "\\b.tra"}), DROP_TWO = Dropped({FOLDER + "\\b.tra", FOLDER + "\\c.tra"}),
             DROP_SHORT = [] { WriteBytes(FOLDER + "\\notes.txt", "nine byte"); Dropped({FOLDER + "\\notes.txt"})(); },
             DROP_LONG = Dropped({FOLDER + "\\" + std::string(MAX_PATH - FOLDER.size() - 5, 'x') + ".tra"}),  // 260 characters
             CLOSE_BOX = [] { SendMessageA(mainWindow, WM_SYSCOMMAND, SC_CLOSE, 0); },
             LOOK = [] { for (int line : {2, 1, 0}) Select(IDC_PIECE_LIST, line); },
             TAB_TO_PITCH = [] { for (int tab = 0; tab < 4; ++tab) PressKey(VK_TAB); },
             ENTER_ESC = [] { PressKey(VK_RETURN); PressKey(VK_ESCAPE); },
             OTHER_WRITES = [] { WriteBytes(TRACK, OTHER); },
             SCREENSHOT = [] { Screenshot("velari-main-window", mainWindow); },
             NOTHING_CUT = [] { EXPECT_EQ(CutTexts(mainWindow), ""); },
             // Held open without sharing, the file can't be replaced.
             LOCK = [] { lock = CreateFileA(TRACK.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr); };

const Reply SAVE_YES = {"Save Track?", {}, IDYES}, SAVE_NO = {"Save Track?", {}, IDNO},
            SAVE_CANCEL = {"Save Track?", {}, IDCANCEL}, ERROR_OK = {"Error!", {}, IDOK};

}  // namespace

// Each command with its prompt answered, each list, arrow and the check box,
// each key and a drop, and what the window and the disk then show. The
// prompt's and the edits' rules are the track logic's tables; these rows
// check that the window reaches them.
TEST_F(EditorWindow, CommandsAndControls)
{
    const std::string b = FOLDER + "\\b.tra", c = FOLDER + "\\c.tra";
    struct Row {
        const char* what;
        std::vector<Action> actions;
        std::vector<Reply> answers;
        bool windowStays;
        std::string title;     // the file the title names
        std::string count;     // Number of Pieces afterwards
        std::string onDisk;    // a.tra afterwards
        std::string shown = "";  // the fields and lines, where the row checks them
    };
    const std::string TRACK_SHOWN = "PINE VALLEY|QUORVANE|3|",
                      AS_LOADED = TRACK_SHOWN + "1|Lift|24 Feet|Brake|10|0|on|Lift,Right Turn,Corkscrew";
    const Row rows[] = {
        {"Exit after looking at every piece", {LOOK, EXIT_BUTTON}, {}, false, TRACK, "", ORIGINAL},
        {"Exit, Yes", {EDIT, EXIT_BUTTON}, {SAVE_YES}, false, TRACK, "", EDITED},
        {"close box, Cancel", {EDIT, CLOSE_BOX}, {SAVE_CANCEL}, true, TRACK, "3", ORIGINAL},
        {"Exit, Yes, the save fails", {EDIT, LOCK, EXIT_MENU}, {SAVE_YES, ERROR_OK}, true, TRACK, "3", ORIGINAL},
        {"Save", {EDIT, SAVE}, {}, true, TRACK, "3", EDITED},
        {"Open, No, another track", {EDIT, OPEN}, {SAVE_NO, FileDialog("Open Track", IDOK, b)}, true, b, "1", ORIGINAL},
        {"Refresh, changed on disk", {OTHER_WRITES, REFRESH}, {}, true, TRACK, "1", OTHER},
        {"Refresh, Yes", {EDIT, OTHER_WRITES, REFRESH}, {SAVE_YES}, true, TRACK, "3", EDITED},
        {"Save As over a file, No",
         {EDIT, SAVE_AS},
         {FileDialog("Save Track As", IDOK, b), {"Save Track As", {}, IDNO}, FileDialog("Save Track As", IDCANCEL)},
         true, TRACK, "3", ORIGINAL},
        {"as loaded", {}, {}, true, TRACK, "3", ORIGINAL, AS_LOADED},
        {"type", {RIGHT_TURN, SCREENSHOT, NOTHING_CUT, SAVE}, {}, true, TRACK, "3", WithByte(ORIGINAL, ByteOfPiece(0, CODE_BYTE), 0x5C),
         TRACK_SHOWN + "1|Right Turn|24 Feet|Brake|10|0|on|Right Turn,Right Turn,Corkscrew"},
        {"a Corkscrew made a Right Turn: 12 Feet at once", {LINE_2, RIGHT_TURN, SAVE}, {}, true, TRACK, "3",
         WithByte(ORIGINAL, ByteOfPiece(2, CODE_BYTE), 0x9A), TRACK_SHOWN + "3|Right Turn|12 Feet|Accelerate|-85|-125|on|Lift,Right Turn,Right Turn"},
        {"length", {LENGTH_48, SAVE}, {}, true, TRACK, "3", WithByte(ORIGINAL, ByteOfPiece(0, CODE_BYTE), 0x48)},
        {"attribute", {ACCELERATE, SAVE}, {}, true, TRACK, "3", WithByte(ORIGINAL, ByteOfPiece(0, CODE_BYTE), 0x84)},
        {"Matterhorn Setting", {MATTERHORN, SAVE}, {}, true, TRACK, "3", WithByte(ORIGINAL, MATTERHORN_BYTE, 0)},
        {"Matterhorn Setting undone: the box shows it", {MATTERHORN, UNDO_MENU}, {}, true, TRACK, "3", ORIGINAL, AS_LOADED},
        {"pitch up wraps", {LINE_1, EDIT, SAVE}, {}, true, TRACK, "3", WithByte(ORIGINAL, ByteOfPiece(1, PITCH_BYTE), -85)},
        {"bank down wraps", {LINE_2, BANK_DOWN, SAVE}, {}, true, TRACK, "3", WithByte(ORIGINAL, ByteOfPiece(2, BANK_BYTE), 125)},
        {"pitch down, bank up", {LINE_2, PITCH_DOWN, LINE_1, BANK_UP, SAVE}, {}, true, TRACK, "3",
         WithByte(WithByte(ORIGINAL, ByteOfPiece(2, PITCH_BYTE), 85), ByteOfPiece(1, BANK_BYTE), -125)},
        {"keys: Up in the pitch field, Ctrl+S", {TAB_TO_PITCH, KEY_UP, CTRL_S}, {}, true, TRACK, "3", EDITED},
        {"keys: Ctrl+O, No, another track", {EDIT, CTRL_O}, {SAVE_NO, FileDialog("Open Track", IDOK, b)}, true, b, "1", ORIGINAL},
        {"keys: Ctrl+Shift+S", {CTRL_SHIFT_S}, {FileDialog("Save Track As", IDOK, c)}, true, c, "3", ORIGINAL},
        {"keys: F5, Cancel", {EDIT, OTHER_WRITES, F5}, {SAVE_CANCEL}, true, TRACK, "3", OTHER},
        {"keys: Enter and Esc do nothing", {EDIT, ENTER_ESC}, {}, true, TRACK, "3", ORIGINAL},
        {"Edit/Undo shows the step's piece and its line", {RIGHT_TURN, LINE_2, UNDO_MENU}, {}, true, TRACK, "3", ORIGINAL, AS_LOADED},
        {"drop a track", {DROP_B}, {}, true, b, "1", ORIGINAL},
        {"drop, Cancel", {EDIT, DROP_B}, {SAVE_CANCEL}, true, TRACK, "3", ORIGINAL},
        {"drop two, No: the first opens", {EDIT, DROP_TWO}, {SAVE_NO}, true, b, "1", ORIGINAL},
        {"drop a file shorter than a header", {DROP_SHORT}, {{"Error!", {"|This is an invalid track file!|"}, IDOK}}, true, TRACK, "3", ORIGINAL},
        {"drop a path too long", {EDIT, DROP_LONG}, {{"Error!", {"|The path of this file is too long"}, IDOK}}, true, TRACK, "3", ORIGINAL},
        {"Refresh while another program holds it: said, kept", {EDIT, LOCK, REFRESH},
         {SAVE_NO, {"Error!", {"|The track could not be read from " + TRACK + ".", "Sharing violation"}, IDOK}},
         true, TRACK, "3", ORIGINAL, TRACK_SHOWN + "1|Lift|24 Feet|Brake|11|0|on|Lift,Right Turn,Corkscrew"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        WriteBytes(b, OTHER);
        DeleteFileA(c.c_str());
        OpenWindow(TRACK);
        ExpectReplies(row.answers);
        for (const Action& action : row.actions)
            Do(action);
        CloseHandle(lock);
        lock = INVALID_HANDLE_VALUE;
        EXPECT_EQ(IsWindow(mainWindow), row.windowStays);
        if (row.windowStays) {
            EXPECT_EQ(TextOf(mainWindow), (trackDocument.isDirty ? "*Velari - " : "Velari - ") + row.title);
            EXPECT_EQ(Text(IDC_PIECE_COUNT), row.count);
        }
        EXPECT_EQ(FileText(TRACK), row.onDisk);
        WIN32_FIND_DATAA found;
        HANDLE newFiles = FindFirstFileA((FOLDER + "\\~*").c_str(), &found);  // none left behind
        EXPECT_EQ(newFiles, INVALID_HANDLE_VALUE) << found.cFileName;
        FindClose(newFiles);
        if (!row.shown.empty()) {
            EXPECT_EQ(Shown(), row.shown);
        }
        if (row.title == c) {
            EXPECT_EQ(FileText(c), ORIGINAL);
        }
        EXPECT_EQ(FileText(b), OTHER);
        CloseWindow();
    }
}

// Save, Save As and Refresh are grayed, and the track's controls take no
// clicks, until a track is loaded; then they stay enabled. Undo and Redo
// are grayed while there is no step to take back or make again, and their
// keys do nothing then.
TEST_F(EditorWindow, MenuStates)
{
    OpenWindow("");
    HMENU menu = GetMenu(mainWindow);
    auto enabled = [menu](UINT id) {
        SendMessageA(mainWindow, WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
        return !(GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED);
    };
    // The menu's three (g: grayed), then the ids of the controls disabled.
    auto off = [&] {
        std::string ids;
        for (UINT id : {IDM_FILE_SAVE, IDM_FILE_SAVE_AS, IDM_FILE_REFRESH})
            ids += enabled(id) ? "-" : "g";
        for (int id : {IDM_FILE_SAVE, IDM_FILE_REFRESH, IDC_MATTERHORN, IDC_PITCH_UPDOWN, IDC_BANK_UPDOWN, IDC_PIECE_LIST,
                       IDC_PIECE_TYPE, IDC_PIECE_LENGTH, IDC_ATTRIBUTES})
            ids += IsWindowEnabled(GetDlgItem(mainWindow, id)) ? "" : " " + std::to_string(id);
        return ids;
    };
    EXPECT_EQ(off(), "ggg 1002 1006 1108 1112 1113 1105 1106 1110 1107");
    for (const char* folder : {"D:\\all", "D:\\mine"}) {  // Open starts in the user's own track folder first
        HKEY key;
        RegCreateKeyExA(folder[3] == 'm' ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE, PROGRAM_KEY, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
        RegSetValueExA(key, GAME_FOLDER_VALUE, 0, REG_SZ, reinterpret_cast<const BYTE*>(folder), strlen(folder) + 1);
        RegCloseKey(key);
    }
    ReadStartFolder();
    EXPECT_STREQ(startFolder, "D:\\mine");
    WriteBytes(TRACK, ORIGINAL);
    SetTrackPath(TRACK.c_str());
    LoadTrackIntoWindow();
    EXPECT_EQ(off(), "---");
    // What each does to the two, and the pitch of piece 0 then (10 as loaded).
    const struct { Action action; bool undo, redo; const char* pitch; } rows[] = {
        {CTRL_Z, false, false, "10"}, {LOOK, false, false, "10"}, {EDIT, true, false, "11"}, {UNDO_MENU, false, true, "10"},
        {REDO_MENU, true, false, "11"}, {CTRL_Z, false, true, "10"}, {CTRL_Y, true, false, "11"}, {CTRL_Y, true, false, "11"},
        {REFRESH, false, false, "10"},
    };
    ExpectReplies({SAVE_NO});
    for (const auto& row : rows) {
        SCOPED_TRACE(&row - rows);
        Do(row.action);
        EXPECT_EQ(enabled(IDM_EDIT_UNDO), row.undo);
        EXPECT_EQ(enabled(IDM_EDIT_REDO), row.redo);
        EXPECT_EQ(Text(IDC_PIECE_PITCH), row.pitch);
    }
}

// The overview strip, as drawn: the brake and accelerate lanes at a piece's
// column follow a choice from the list and its Undo; a click chooses the
// piece the strip's logic names, after the pending edit went into the piece
// before; an empty track leaves nothing drawn.
TEST_F(EditorWindow, OverviewStrip)
{
    OpenWindow(TRACK);
    HWND strip = mainControls.overview;
    RECT client;
    GetClientRect(strip, &client);
    const OverviewRows drawn = OverviewRowsFor(layoutUnits.lineHeight, client.bottom);
    auto lanes = [&](int piece) {
        HDC context = GetDC(strip);
        const int x = OverviewColumnOfPiece(piece, 3, client.right);
        std::string marks = GetPixel(context, x, drawn.laneTop[0]) == RGB(213, 94, 0) ? "B" : "-";
        marks += GetPixel(context, x, drawn.laneTop[1]) == RGB(0, 158, 115) ? "A" : "-";
        ReleaseDC(strip, context);
        return marks;
    };
    const Action CLICK_LAST = [&] {
        const LPARAM at = MAKELPARAM(OverviewColumnOfPiece(2, 3, client.right), 5);
        SendMessageA(strip, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(strip, WM_LBUTTONUP, 0, at);
    };
    const struct { const char* what; std::vector<Action> actions; const char* shown; int storedPitch0; } rows[] = {
        {"as loaded", {}, "B-|-A|1", 10},
        {"Accelerate from the list", {ACCELERATE}, "-A|-A|1", 10},
        {"Undo", {UNDO_MENU}, "B-|-A|1", 10},
        {"pitch up, then a click on the last piece", {EDIT, CLICK_LAST}, "B-|-A|3", 11},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        for (const Action& action : row.actions)
            Do(action);
        UpdateWindow(strip);
        EXPECT_EQ(lanes(0) + "|" + lanes(2) + "|" + Text(IDC_CURRENT_PIECE), row.shown);
        EXPECT_EQ(int(trackDocument.pieces[0].pitch), row.storedPitch0);
    }
    // A long track, a left and a right turn first: the band's halves, the
    // listed lines shaded as the list scrolls, a drag past either end, the
    // tooltip renewed by an edit, and the strip wider in a wider window.
    std::vector<TrackPiece> pieces(41, TrackPiece{0x12, 0, 0});
    pieces[0].code = 0x0A;
    pieces[1].code = 0x1A;
    ASSERT_TRUE(WriteBytes(FOLDER + "\\long.tra", TrackBytes("Long", "Quorvane", 1, pieces)) &&
                SetTrackPath((FOLDER + "\\long.tra").c_str()) && LoadTrackIntoWindow());
    auto seen = [&](int piece, int y) {
        UpdateWindow(strip);
        GetClientRect(strip, &client);
        HDC context = GetDC(strip);
        const int x = (OverviewColumnOfPiece(piece, 40, client.right) + OverviewColumnOfPiece(piece + 1, 40, client.right)) / 2;
        const COLORREF colour = GetPixel(context, x, y);
        ReleaseDC(strip, context);
        return colour == RGB(255, 255, 255) ? '-' : colour == RGB(221, 221, 221) ? 's' : colour == RGB(0, 114, 178) ? 'b' : '?';
    };
    const int upper = drawn.bandTop + 1, lower = drawn.bandTop + drawn.bandHeight - 2, shade = drawn.graphTop + 1;
    EXPECT_EQ(std::string({seen(0, upper), seen(0, lower), seen(1, upper), seen(1, lower)}), "b--b");
    EXPECT_EQ(std::string({seen(0, shade), seen(38, shade)}), "s-");
    SendMessageA(mainControls.pieceList, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(std::string({seen(0, shade), seen(38, shade)}), "-s");
    auto mouse = [&](UINT message, int x) { SendMessageA(strip, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, 5)); };
    std::string chosen;
    mouse(WM_LBUTTONDOWN, client.right / 2);
    for (int x : {-30, int(client.right) + 30, -1}) {
        mouse(WM_MOUSEMOVE, x);
        chosen += Text(IDC_CURRENT_PIECE) + " ";
    }
    mouse(WM_LBUTTONUP, -1);
    EXPECT_EQ(chosen, "1 40 1 ");
    SendMessageA(strip, WM_MOUSEMOVE, 0, MAKELPARAM(2, 5));  // over piece 1
    std::string tips;
    for (const Action& action : {Action([] {}), EDIT, UNDO_MENU}) {
        Do(action);
        UpdateWindow(strip);
        char text[96] = "";
        TOOLINFOA tool = {sizeof tool, 0, strip, reinterpret_cast<UINT_PTR>(strip), {}, nullptr, text, 0, nullptr};
        SendMessageA(FindWindowA(TOOLTIPS_CLASSA, nullptr), TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
        tips += text + std::string("|");
    }
    EXPECT_EQ(tips, "Piece 1: Left Turn, pitch 0, bank 0|Piece 1: Left Turn, pitch 1, bank 0|Piece 1: Left Turn, pitch 0, bank 0|");
    // The normal size is the smallest; grown, the list is longer and the strip wider, below it.
    RECT frame, before, after;
    GetWindowRect(mainWindow, &frame);
    GetWindowRect(strip, &before);
    MINMAXINFO limits = {};
    SendMessageA(mainWindow, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ(limits.ptMinTrackSize.x + 1000 * limits.ptMinTrackSize.y, frame.right - frame.left + 1000 * (frame.bottom - frame.top));
    SetWindowPos(mainWindow, nullptr, 0, 0, frame.right - frame.left + 300, frame.bottom - frame.top + 200, SWP_NOMOVE);
    GetWindowRect(strip, &after);
    EXPECT_EQ(after.right - after.left - (before.right - before.left) + 1000 * (after.top - before.top), 300 + 1000 * 200);
    const int top = static_cast<int>(SendMessageA(mainControls.pieceList, LB_GETTOPINDEX, 0, 0));
    EXPECT_EQ(std::string({seen(0, upper), seen(1, lower), seen(top, shade)}), "bbs");  // across the wider strip
    Screenshot("velari-overview", mainWindow);
}

// What the clipboard holds as text, in the form asked for, as UTF-8.
std::string ClipboardText(UINT format)
{
    std::string text;
    if (!OpenClipboard(mainWindow))
        return "<not open>";
    if (HANDLE data = GetClipboardData(format)) {
        if (format == CF_UNICODETEXT) {
            const WCHAR* wide = static_cast<const WCHAR*>(GlobalLock(data));
            for (; *wide; ++wide)
                text += *wide < 128 ? char(*wide) : '?';
        } else {
            text = static_cast<const char*>(GlobalLock(data));
        }
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

// Several pieces: Shift+Down makes a range whose differing fields are
// empty, an arrow's step of an empty field does nothing, the Edit menu's
// items follow the focus, Ctrl+G's dialog refuses a number the track
// doesn't list and stays, and rows go to the clipboard and back.
TEST_F(EditorWindow, ManyPieces)
{
    OpenWindow("");
    HMENU menu = GetMenu(mainWindow);
    auto enabled = [menu] {
        SendMessageA(mainWindow, WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
        std::string items;
        for (UINT id : {IDM_EDIT_COPY, IDM_EDIT_PASTE, IDM_EDIT_SELECT_ALL, IDM_EDIT_GO_TO_PIECE})
            items += GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED ? "g" : "-";
        return items;
    };
    SetFocus(mainControls.pieceList);
    EXPECT_EQ(enabled(), "gggg");
    ASSERT_TRUE(WriteBytes(TRACK, ORIGINAL) && SetTrackPath(TRACK.c_str()) && LoadTrackIntoWindow());
    SetFocus(mainControls.piecePitch);  // its own text: all of it, copied
    Do(Key('A', true));
    Do(Key('C', true));
    EXPECT_EQ(ClipboardText(CF_TEXT), "10");
    EXPECT_EQ(enabled(), "----");
    SetFocus(mainControls.pieceType);
    EXPECT_EQ(enabled(), "gg--");
    SetFocus(mainControls.pieceList);
    EXPECT_EQ(enabled(), "----");

    SetFocus(mainControls.pieceList);
    Do(LINE_1);
    Do(Key(VK_DOWN, false, true));
    const std::string TRACK_SHOWN = "PINE VALLEY|QUORVANE|3|", LINES = "|on|Lift,Right Turn,Corkscrew";
    EXPECT_EQ(Shown(), TRACK_SHOWN + "2-3|||||" + LINES);
    Do(EDIT);  // an empty pitch takes no step
    SetFocus(mainControls.pieceList);
    Do(Choose(IDC_ATTRIBUTES, 1));
    EXPECT_EQ(Shown(), TRACK_SHOWN + "2-3|||Brake||" + LINES);
    const std::string rows = "2\tRight Turn\t48 Feet\tBrake\t85\t125\r\n3\tCorkscrew\t\tBrake\t-85\t-125\r\n";
    Do(Key('C', true));
    EXPECT_EQ(ClipboardText(CF_UNICODETEXT), rows);
    EXPECT_EQ(ClipboardText(CF_TEXT), rows);
    Do(CTRL_Z);
    EXPECT_EQ(Shown(), TRACK_SHOWN + "2-3|||||" + LINES);
    EXPECT_EQ(TextOf(mainWindow), "Velari - " + TRACK);

    ExpectReplies({{"Paste", {"|Only 1 rows fit from piece 3 to the last piece; the clipboard holds 2.|"}, IDOK}});
    for (const Action& action : {LINE_2, Key('V', true), Choose(IDC_PIECE_LIST, 0), Key('V', true)})
        Do(action);
    EXPECT_EQ(Shown(), TRACK_SHOWN + "1-2|||Brake||" + "|on|Right Turn,Corkscrew,Corkscrew");
    Do(SAVE);
    EXPECT_EQ(FileText(TRACK), TrackBytes("Pine Valley", "Quorvane", 1, {{0x60, 125, 85}, {0x62, -125, -85}, {0xA2, -125, -85}, {0x28, -1, -5}}));

    const auto typed = [](const char* number) { return [number](HWND dialog) { SetDlgItemTextA(dialog, IDC_GO_TO_NUMBER, number); }; };
    ExpectReplies({{"Go to Piece", {"|&Piece number (1-3):|"}, IDOK, typed("4")},
                   {"Go to Piece", {"|Enter a piece number from 1 to 3.|"}, IDOK},
                   {"Go to Piece", {}, IDOK, typed("3")}});
    Do(Key('G', true));
    EXPECT_EQ(Text(IDC_CURRENT_PIECE), "3");
    EXPECT_EQ(GetFocus(), mainControls.pieceList);
}

// F1 asks the help for the page on the focused control's kind, the contents
// where none describes it; the real viewer then shows its contents, and the
// editor's keys do nothing in it. Exit closes it.
std::vector<std::string> helpAsked;
HWND WINAPI RecordHelp(HWND, LPCSTR file, UINT command, DWORD_PTR)
{
    if (command == HH_DISPLAY_TOC || command == HH_DISPLAY_TOPIC)
        helpAsked.push_back(command == HH_DISPLAY_TOC ? "contents" : strstr(file, "::/") + 3);
    return command == HH_DISPLAY_TOC || command == HH_DISPLAY_TOPIC ? mainWindow : nullptr;
}

TEST_F(EditorWindow, HelpKey)
{
    OpenWindow(TRACK);
    const HtmlHelpProc viewer = htmlHelp;
    htmlHelp = RecordHelp;
    for (int id : {IDC_PIECE_LIST, IDC_PIECE_TYPE, IDC_PIECE_PITCH, IDC_MATTERHORN, IDM_FILE_SAVE}) {
        SetFocus(GetDlgItem(mainWindow, id));
        Do(Key(VK_F1));
    }
    Do(Command(IDM_HELP_CONTENTS));
    htmlHelp = viewer;
    const std::string fields = "Thefieldsofthemainwindow.html";
    EXPECT_EQ(helpAsked, (std::vector<std::string>{"Thepiecelistandthecurrentpiece.html", fields, fields, fields, "contents", "contents"}));
    Do(Command(IDM_HELP_CONTENTS));
    HWND help = nullptr;
    for (DWORD start = GetTickCount(); !help && GetTickCount() - start < 5000; Pump(TranslateMainWindowKeys))
        help = FindWindowA("HH Parent", "Velari Help");
    ASSERT_TRUE(help);
    Do(EDIT);
    SetFocus(help);
    for (const Action& key : {CTRL_Z, CTRL_S})
        Do(key);
    EXPECT_EQ(Text(IDC_PIECE_PITCH) + (FileText(TRACK) == ORIGINAL ? " unsaved" : " saved"), "11 unsaved");
    Screenshot("velari-help", help);
    ExpectReplies({SAVE_NO});
    Do(EXIT_BUTTON);
    EXPECT_FALSE(IsWindow(help));
}

// Windows ending the session, or an installer closing the editor: each
// message answered without a question, the track's file untouched, its
// changes kept; the next start brings them back.
TEST_F(EditorWindow, SessionEnd)
{
    const struct { const char* what; bool edit; UINT message; WPARAM wParam; LPARAM lParam; LRESULT reply; bool windowStays; int kept; } rows[] = {
        {"asked, unsaved: kept at once", true, WM_QUERYENDSESSION, 0, 0, TRUE, true, 1},
        {"asked, nothing unsaved: nothing kept", false, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP, TRUE, true, 0},
        {"the session ends", true, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, 0, false, 1},
        {"an installer closes it", true, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP, 0, false, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        OpenWindow(TRACK);
        if (row.edit)
            Do(EDIT);
        EXPECT_EQ(SendMessageA(mainWindow, row.message, row.wParam, row.lParam), row.reply);
        Pump();
        EXPECT_EQ(IsWindow(mainWindow), row.windowStays);
        int kept = 0;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((KeptChangesFolder() + "*.kept").c_str(), &found);
        for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found))
            ++kept;
        FindClose(search);
        EXPECT_EQ(kept, row.kept);
        EXPECT_EQ(FileText(TRACK), ORIGINAL);
        if (!row.windowStays) {
            OpenWindow("");
            LoadStartTrack("");
            EXPECT_EQ(TextOf(mainWindow), "*Velari - " + TRACK);
            EXPECT_EQ(Text(IDC_PIECE_PITCH), "11");
        }
        CloseWindow();
    }
}
