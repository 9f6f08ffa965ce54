#include "about_box.h"

#include "main_window.h"
#include "resource.h"
#include "screen_bitmap.h"

// The template's picture is drawn for 96 dots per inch; the one shown fits
// the screen's resolution. OK, Enter, Esc and the close box all arrive as
// IDOK or IDCANCEL.
INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        SetDialogPicture(dialog, IDC_ABOUT_PICTURE, LoadScreenBitmap(programInstance, IDB_ABOUT));
        return TRUE;
    case WM_DESTROY:
        DeleteObject(reinterpret_cast<HBITMAP>(
            SendDlgItemMessageA(dialog, IDC_ABOUT_PICTURE, STM_SETIMAGE, IMAGE_BITMAP, 0)));
        return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, static_cast<INT_PTR>(wParam));
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}
