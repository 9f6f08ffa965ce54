// Where the main window's controls sit. Everything is measured in two units
// taken from the system font, so the window keeps its proportions whatever
// font the system uses: the column unit U across and the line height H down.
// The table's rules are checked natively too, where the includer gives the
// few Windows names it uses.
#ifndef VELARI_MAIN_WINDOW_LAYOUT_H
#define VELARI_MAIN_WINDOW_LAYOUT_H

#ifdef _WIN32
#include <windows.h>
#include <commctrl.h>
#endif

#include "resource.h"
#include "track_format.h"

struct LayoutUnits {
    int averageCharWidth;
    int lineHeight;   // H
    int columnUnit;   // U
};

// TMPF_FIXED_PITCH is, despite its name, set for a variable-pitch font, whose
// letters run wider than its average: those get one and a half widths.
inline LayoutUnits LayoutUnitsFromMetrics(int aveCharWidth, int height, int externalLeading,
                                          int pitchAndFamily)
{
    LayoutUnits units;
    units.averageCharWidth = aveCharWidth;
    units.lineHeight = height + externalLeading;
    units.columnUnit = ((pitchAndFamily & TMPF_FIXED_PITCH) ? 3 : 2) * aveCharWidth / 2;
    return units;
}

// Outer size of the main window: frame, caption and menu bar included.
// The overview strip under the buttons adds its 6 lines and one above it.
enum { WINDOW_WIDTH_COLUMNS = 57, WINDOW_HEIGHT_LINES = 32 };
// Every row starts this many pixels below the client area's top.
enum { LAYOUT_TOP_MARGIN = 5 };

#define OVERVIEW_STRIP_CLASS "VelariOverview"

// What a control does as the window grows beyond its normal size, its
// smallest: the piece list grows downwards, the rows under it move down, and
// the strip also grows across.
enum GrowthRule { STAYS, GROWS_DOWN, MOVES_DOWN, MOVES_DOWN_GROWS_ACROSS };

struct ControlPlacement {
    const char* className;
    const char* text;   // nullptr: the control starts empty
    int id;             // 0: never addressed
    DWORD style;        // besides WS_CHILD | WS_VISIBLE
    int column;         // x = column * U
    int row;            // y = LAYOUT_TOP_MARGIN + row * H
    int widthColumns;   // width = widthColumns * U
    int heightLines;    // height = heightLines * H; a combo box's height with its list open
    GrowthRule growth = STAYS;
};

// The piece list takes several lines as any Windows list does; pitch and
// bank take a typed value as well as their arrows' steps.
// In creation order, which is also the order of Tab: the controls a person
// works are tab stops, in reading order. Screen readers name a field by the
// text just before it, so each label comes just before its own field. Each
// up-down control follows the
// field it steps, and with UDS_ARROWKEYS the field's Up and Down keys step it.
// No value reaches a thousand, yet Wine's up-down counts the minus sign as a
// digit and would show -124 as "-,124": hence UDS_NOTHOUSANDS.
// The type and attribute lists reach to their labels: with today's wider
// drop-down arrow, "Little Loop" and "Accelerate" need eleven columns.
inline constexpr ControlPlacement MAIN_WINDOW_CONTROLS[] = {
    {"STATIC", "Track Name", 0, SS_LEFT, 1, 0, 10, 1},
    {"EDIT", nullptr, IDC_TRACK_NAME, WS_BORDER | ES_READONLY | ES_UPPERCASE, 1, 1, 25, 1},
    {"STATIC", "Designer Name", 0, SS_LEFT, 30, 0, 15, 1},
    {"EDIT", nullptr, IDC_DESIGNER_NAME, WS_BORDER | ES_READONLY | ES_UPPERCASE, 30, 1, 25, 1},
    {"STATIC", "Number of Pieces", 0, SS_LEFT, 41, 3, 15, 1},
    {"EDIT", nullptr, IDC_PIECE_COUNT, WS_BORDER | ES_READONLY, 30, 3, 10, 1},
    {"STATIC", "Track Pieces", 0, SS_LEFT, 1, 3, 15, 1},
    {"LISTBOX", nullptr, IDC_PIECE_LIST, WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_EXTENDEDSEL, 1, 4, 25, 15, GROWS_DOWN},
    {"STATIC", "Current Piece", 0, SS_LEFT, 41, 5, 15, 1},
    {"EDIT", nullptr, IDC_CURRENT_PIECE, WS_BORDER | ES_READONLY, 30, 5, 10, 1},
    {"STATIC", "Piece Type", 0, SS_LEFT, 41, 7, 15, 1},
    {"COMBOBOX", nullptr, IDC_PIECE_TYPE, WS_TABSTOP | WS_BORDER | CBS_DROPDOWNLIST, 30, 7, 11, 10},
    {"STATIC", "Piece Length", 0, SS_LEFT, 41, 9, 15, 1},
    {"COMBOBOX", nullptr, IDC_PIECE_LENGTH, WS_TABSTOP | WS_BORDER | CBS_DROPDOWNLIST, 30, 9, 10, 6},
    {"STATIC", "Attributes", 0, SS_LEFT, 41, 11, 15, 1},
    {"COMBOBOX", nullptr, IDC_ATTRIBUTES, WS_TABSTOP | WS_BORDER | CBS_DROPDOWNLIST, 30, 11, 11, 5},
    {"STATIC", "Piece Pitch", 0, SS_LEFT, 41, 13, 15, 1},
    {"EDIT", nullptr, IDC_PIECE_PITCH, WS_TABSTOP | WS_BORDER, 30, 13, 8, 1},
    {UPDOWN_CLASSA, nullptr, IDC_PITCH_UPDOWN, WS_BORDER | UDS_WRAP | UDS_SETBUDDYINT | UDS_NOTHOUSANDS | UDS_ARROWKEYS, 38, 13, 1, 1},
    {"STATIC", "Piece Bank", 0, SS_LEFT, 41, 15, 15, 1},
    {"EDIT", nullptr, IDC_PIECE_BANK, WS_TABSTOP | WS_BORDER, 30, 15, 8, 1},
    {UPDOWN_CLASSA, nullptr, IDC_BANK_UPDOWN, WS_BORDER | UDS_WRAP | UDS_SETBUDDYINT | UDS_NOTHOUSANDS | UDS_ARROWKEYS, 38, 15, 1, 1},
    {"BUTTON", "Matterhorn Setting", IDC_MATTERHORN, WS_TABSTOP | BS_AUTOCHECKBOX, 30, 17, 25, 1},
    {"BUTTON", "Save", IDM_FILE_SAVE, WS_TABSTOP | WS_BORDER | BS_PUSHBUTTON, 1, 19, 10, 2, MOVES_DOWN},
    {"BUTTON", "Open", IDM_FILE_OPEN, WS_TABSTOP | WS_BORDER | BS_PUSHBUTTON, 15, 19, 10, 2, MOVES_DOWN},
    {"BUTTON", "Refresh", IDM_FILE_REFRESH, WS_TABSTOP | WS_BORDER | BS_PUSHBUTTON, 30, 19, 10, 2, MOVES_DOWN},
    {"BUTTON", "Exit", IDM_FILE_EXIT, WS_TABSTOP | WS_BORDER | BS_PUSHBUTTON, 45, 19, 10, 2, MOVES_DOWN},
    // Its text is not drawn; a screen reader announces it.
    {OVERVIEW_STRIP_CLASS, "Track overview", IDC_OVERVIEW_STRIP, WS_BORDER, 1, 22, 54, 6, MOVES_DOWN_GROWS_ACROSS},
};

// The up arrow raises the value (upper limit first); past a limit the value
// wraps round to the other one.
struct UpDownRange {
    int id;
    int buddyId;
    int upper;
    int lower;
    int start;
};

inline constexpr UpDownRange MAIN_WINDOW_UPDOWNS[] = {
    {IDC_PITCH_UPDOWN, IDC_PIECE_PITCH, PITCH_ARROW_LIMIT, -PITCH_ARROW_LIMIT, 0},
    {IDC_BANK_UPDOWN, IDC_PIECE_BANK, BANK_ARROW_LIMIT, -BANK_ARROW_LIMIT, 0},
};

// Where a control lies in a window grown by extraWidth and extraHeight
// pixels beyond its normal client size.
struct ControlRect {
    int x, y, width, height;
};
inline ControlRect PlaceControl(const ControlPlacement& place, const LayoutUnits& units, int extraWidth,
                                int extraHeight)
{
    ControlRect rect = {place.column * units.columnUnit, LAYOUT_TOP_MARGIN + place.row * units.lineHeight,
                        place.widthColumns * units.columnUnit, place.heightLines * units.lineHeight};
    extraWidth = extraWidth > 0 ? extraWidth : 0;
    extraHeight = extraHeight > 0 ? extraHeight : 0;
    if (place.growth == GROWS_DOWN)
        rect.height += extraHeight;
    if (place.growth == MOVES_DOWN || place.growth == MOVES_DOWN_GROWS_ACROSS)
        rect.y += extraHeight;
    if (place.growth == MOVES_DOWN_GROWS_ACROSS)
        rect.width += extraWidth;
    return rect;
}

#endif
