// The folder chooser's two roles. Its template, drive box and folder tree
// are still to come; until then both roles only close again, leaving the
// folders as they were.
#include "folder_chooser.h"

namespace {

INT_PTR CloseOnButton(HWND dialog, UINT message, WPARAM wParam)
{
    if (message == WM_INITDIALOG)
        return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, static_cast<INT_PTR>(wParam));
        return TRUE;
    }
    return FALSE;
}

}  // namespace

INT_PTR CALLBACK TargetFolderDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    return CloseOnButton(dialog, message, wParam);
}

INT_PTR CALLBACK GameFolderDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    return CloseOnButton(dialog, message, wParam);
}
