// The page dialogs. Each fills its fields from the state on opening; a
// button posts its page change to the installer window and closes the page,
// so the next page opens only after this one is gone.
#include <windows.h>

#include <cstdio>

#include "game_search.h"
#include "installer_state.h"
#include "resource.h"
#include "screen_bitmap.h"
#include "wizard.h"

namespace {

struct PageButton {
    int id;
    UINT message;
};

const PageButton WELCOME_BUTTONS[] = {{IDC_NEXT, WM_WIZARD_NEXT}, {IDCANCEL, WM_WIZARD_CANCEL}};
const PageButton TARGET_BUTTONS[] = {{IDC_BACK, WM_WIZARD_BACK},
                                     {IDC_NEXT, WM_WIZARD_NEXT},
                                     {IDC_BROWSE, WM_WIZARD_BROWSE_TARGET},
                                     {IDCANCEL, WM_WIZARD_CANCEL}};
const PageButton GAME_BUTTONS[] = {{IDC_BACK, WM_WIZARD_BACK},
                                   {IDC_NEXT, WM_WIZARD_NEXT},
                                   {IDC_BROWSE, WM_WIZARD_BROWSE_GAME},
                                   {IDCANCEL, WM_WIZARD_CANCEL}};
const PageButton SUMMARY_BUTTONS[] = {{IDC_BACK, WM_WIZARD_BACK},
                                      {IDC_NEXT, WM_WIZARD_NEXT},
                                      {IDCANCEL, WM_WIZARD_CANCEL}};
const PageButton FINISH_BUTTONS[] = {{IDC_NEXT, WM_WIZARD_FINISHED},
                                     {IDCANCEL, WM_WIZARD_FINISHED}};

// The template's banner is drawn for 96 dots per inch; the loaded one fits
// the screen's resolution. Next (Finish on the last page) is the default
// button and takes the focus, so that Enter goes on; Esc stays Cancel.
INT_PTR OpenPage(HWND dialog)
{
    SetDialogPicture(dialog, IDC_BANNER, installer.banner);
    SendMessageA(dialog, DM_SETDEFID, IDC_NEXT, 0);
    SetFocus(GetDlgItem(dialog, IDC_NEXT));
    return FALSE;
}

// A folder chosen that holds no game is taken only when the person says so.
bool UseGameFolder(HWND dialog)
{
    if (GameFolderHoldsGame(installer.gameFolder))
        return true;
    char text[PATH_SIZE + 100];
    snprintf(text, sizeof text, "The folder %s holds no gravion.exe. Use it anyway?", installer.gameFolder);
    return MessageBoxA(dialog, text, "Use Folder?", MB_YESNO | MB_ICONQUESTION) == IDYES;
}

template <size_t N>
INT_PTR OnPageCommand(HWND dialog, WPARAM wParam, const PageButton (&buttons)[N])
{
    for (const PageButton& button : buttons) {
        if (LOWORD(wParam) != button.id)
            continue;
        PostMessageA(installer.window, button.message, 0, 0);
        EndDialog(dialog, static_cast<INT_PTR>(wParam));
        return TRUE;
    }
    return FALSE;
}

}  // namespace

// The choice of who Velari is for moves to the state with Next. A switch
// fixes it, as the restart with administrator rights is given /ALLUSERS:
// that one must never install into the administrator's own folders.
INT_PTR CALLBACK WelcomePageDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        CheckRadioButton(dialog, IDC_ALL_USERS, IDC_CURRENT_USER,
                         installer.scope == SCOPE_ALL_USERS ? IDC_ALL_USERS : IDC_CURRENT_USER);
        if (installer.options.scope != SCOPE_NONE)
            EnableWindow(GetDlgItem(dialog, installer.scope == SCOPE_ALL_USERS ? IDC_CURRENT_USER : IDC_ALL_USERS), FALSE);
        return OpenPage(dialog);
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_NEXT)
            installer.scope = IsDlgButtonChecked(dialog, IDC_ALL_USERS) ? SCOPE_ALL_USERS : SCOPE_CURRENT_USER;
        return OnPageCommand(dialog, wParam, WELCOME_BUTTONS);
    default: return FALSE;
    }
}

INT_PTR CALLBACK TargetPageDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        SetDlgItemTextA(dialog, IDC_FOLDER_FIELD, installer.targetFolder);
        return OpenPage(dialog);
    case WM_COMMAND: return OnPageCommand(dialog, wParam, TARGET_BUTTONS);
    default: return FALSE;
    }
}

INT_PTR CALLBACK GamePageDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        SetDlgItemTextA(dialog, IDC_FOLDER_FIELD, installer.gameFolder);
        return OpenPage(dialog);
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_NEXT && !UseGameFolder(dialog))
            return TRUE;
        return OnPageCommand(dialog, wParam, GAME_BUTTONS);
    default: return FALSE;
    }
}

INT_PTR CALLBACK SummaryPageDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        SetDlgItemTextA(dialog, IDC_TARGET_FIELD, installer.targetFolder);
        SetDlgItemTextA(dialog, IDC_GAME_FIELD, installer.gameFolder);
        return OpenPage(dialog);
    case WM_COMMAND: return OnPageCommand(dialog, wParam, SUMMARY_BUTTONS);
    default: return FALSE;
    }
}

// The template's text claims success; after a failed step it must not.
INT_PTR CALLBACK FinishPageDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        if (installer.failedActions > 0) {
            char text[128];
            snprintf(text, sizeof text,
                     "The installation of Velari is incomplete: %d of its %d steps failed.",
                     installer.failedActions, static_cast<int>(INSTALL_ACTION_COUNT));
            SetDlgItemTextA(dialog, IDC_FIRST_TEXT, text);
        }
        return OpenPage(dialog);
    case WM_COMMAND: return OnPageCommand(dialog, wParam, FINISH_BUTTONS);
    default: return FALSE;
    }
}
