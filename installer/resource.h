// Every id the installer's windows and resources use, grouped by kind.
// Plain #defines only: the resource compiler reads this file too.
#ifndef INSTALLER_RESOURCE_H
#define INSTALLER_RESOURCE_H

// Dialog templates: the pages, the progress window and the folder chooser.
#define IDD_WELCOME_PAGE    201
#define IDD_PROGRESS        203
#define IDD_TARGET_PAGE     204
#define IDD_FOLDER_CHOOSER  205
#define IDD_GAME_PAGE       206
#define IDD_SUMMARY_PAGE    207
#define IDD_FINISH_PAGE     208

// Buttons of the pages (Cancel is IDCANCEL).
#define IDC_BACK            102
#define IDC_NEXT            103
#define IDC_BROWSE          112

// Other controls of the pages and the progress window.
#define IDC_PROGRESS_BAR    104
#define IDC_FIRST_TEXT      105
#define IDC_SECOND_TEXT     106
#define IDC_STATUS_TEXT     111
#define IDC_FOLDER_FIELD    113
#define IDC_TARGET_FIELD    118
#define IDC_GAME_FIELD      119
#define IDC_BANNER          120
// The welcome page's choice of who Velari is for.
#define IDC_ALL_USERS       121
#define IDC_CURRENT_USER    122

// The folder chooser's controls (its prompt is IDC_FIRST_TEXT, its path box
// IDC_FOLDER_FIELD).
#define IDC_FOLDER_TREE     114
#define IDC_DRIVE_BOX       117

// Icons: the program's, and the drive and folders of the folder chooser.
#define IDI_INSTALLER       300
#define IDI_DRIVE           307
#define IDI_FOLDER_CLOSED   308
#define IDI_FOLDER_OPEN     309

// The banner at the left of every page.
#define IDB_BANNER          400

#endif
