// Every id the editor's window, menu and resources use, grouped by kind.
// Plain #defines only: the resource compiler reads this file too.
#ifndef VELARI_RESOURCE_H
#define VELARI_RESOURCE_H

// Commands: menu items and the push buttons that duplicate them.
#define IDM_FILE_EXIT       1000
#define IDM_FILE_SAVE       1002
#define IDM_FILE_SAVE_AS    1003
#define IDM_FILE_OPEN       1004
#define IDM_FILE_REFRESH    1006
#define IDM_HELP_ABOUT      1007
#define IDM_HELP_CONTENTS   1010
#define IDM_EDIT_UNDO       1011
#define IDM_EDIT_REDO       1012
#define IDM_EDIT_COPY       1013
#define IDM_EDIT_PASTE      1014
#define IDM_EDIT_SELECT_ALL 1015
#define IDM_EDIT_GO_TO_PIECE 1016

// Controls of the main window.
#define IDC_TRACK_NAME      1100
#define IDC_DESIGNER_NAME   1101
#define IDC_PIECE_COUNT     1102
#define IDC_PIECE_PITCH     1103
#define IDC_PIECE_BANK      1104
#define IDC_PIECE_LIST      1105
#define IDC_PIECE_TYPE      1106
#define IDC_ATTRIBUTES      1107
#define IDC_MATTERHORN      1108
#define IDC_CURRENT_PIECE   1109
#define IDC_PIECE_LENGTH    1110
#define IDC_PITCH_UPDOWN    1112
#define IDC_BANK_UPDOWN     1113
#define IDC_OVERVIEW_STRIP  1114

// Icons: the window's own, and the one the shell shows for track files.
#define IDI_VELARI          2000
#define IDI_TRACK_FILE      2001

// The picture in the About box, and the control that shows it.
#define IDB_ABOUT           2500
#define IDC_ABOUT_PICTURE   2501

#define IDR_MAIN_MENU       4000
#define IDR_ACCELERATORS    4001
#define IDD_ABOUT           4100
#define IDD_GO_TO_PIECE     4200
#define IDC_GO_TO_LABEL     4201
#define IDC_GO_TO_NUMBER    4202

#endif
