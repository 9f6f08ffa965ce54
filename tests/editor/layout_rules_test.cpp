// The main window's layout table as a screen reader and the Tab key meet it.
#include <gtest/gtest.h>
#include <string>
#include <vector>
// The Windows names the table uses; only the tab stop's value matters here.
using DWORD = unsigned long;
enum : DWORD { WS_TABSTOP = 1, SS_LEFT = 0, WS_BORDER = 0, WS_VSCROLL = 0, ES_READONLY = 0, ES_UPPERCASE = 0, LBS_NOTIFY = 0, LBS_EXTENDEDSEL = 0, CBS_DROPDOWNLIST = 0,
               BS_AUTOCHECKBOX = 0, BS_PUSHBUTTON = 0, UDS_WRAP = 0, UDS_SETBUDDYINT = 0, UDS_NOTHOUSANDS = 0, UDS_ARROWKEYS = 0, TMPF_FIXED_PITCH = 0 };
#define UPDOWN_CLASSA "msctls_updown32"
#include "main_window_layout.h"

TEST(MainWindowLayout, EachFieldFollowsItsLabelAndTabKeepsItsOrder)
{
    const struct { int id; const char* label; } fields[] = {
        {IDC_TRACK_NAME, "Track Name"}, {IDC_DESIGNER_NAME, "Designer Name"}, {IDC_PIECE_COUNT, "Number of Pieces"}, {IDC_PIECE_LIST, "Track Pieces"},
        {IDC_CURRENT_PIECE, "Current Piece"}, {IDC_PIECE_TYPE, "Piece Type"}, {IDC_PIECE_LENGTH, "Piece Length"}, {IDC_ATTRIBUTES, "Attributes"},
        {IDC_PIECE_PITCH, "Piece Pitch"}, {IDC_PIECE_BANK, "Piece Bank"}};
    std::vector<int> tabStops;
    for (const ControlPlacement& place : MAIN_WINDOW_CONTROLS) {
        const ControlPlacement* previous = &place == MAIN_WINDOW_CONTROLS ? nullptr : &place - 1;
        for (const auto& field : fields) {
            if (place.id == field.id) {
                EXPECT_EQ(previous ? std::string(previous->className) + ":" + (previous->text ? previous->text : "") : "", std::string("STATIC:") + field.label);
            }
        }
        if (place.style & WS_TABSTOP)
            tabStops.push_back(place.id);
    }
    EXPECT_EQ(tabStops, (std::vector<int>{IDC_PIECE_LIST, IDC_PIECE_TYPE, IDC_PIECE_LENGTH, IDC_ATTRIBUTES, IDC_PIECE_PITCH,
                                          IDC_PIECE_BANK, IDC_MATTERHORN, IDM_FILE_SAVE, IDM_FILE_OPEN, IDM_FILE_REFRESH,
                                          IDM_FILE_EXIT}));
}
