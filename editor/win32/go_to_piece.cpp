#include "go_to_piece.h"

#include <windows.h>

#include <cstdio>

#include "main_window.h"
#include "piece_selection.h"
#include "resource.h"
#include "track_document.h"

namespace {

const char CAPTION[] = "Go to Piece";
enum { NUMBER_TEXT_SIZE = 32 };

void FillGoToDialog(HWND dialog)
{
    char label[64];
    std::snprintf(label, sizeof label, "&Piece number (1-%d):", ListedPieceCount());
    SetDlgItemTextA(dialog, IDC_GO_TO_LABEL, label);
    SendDlgItemMessageA(dialog, IDC_GO_TO_NUMBER, EM_LIMITTEXT, NUMBER_TEXT_SIZE - 1, 0);
    SetDlgItemInt(dialog, IDC_GO_TO_NUMBER, trackDocument.currentPiece + 1, FALSE);
}

// A number the track doesn't list is refused where it was typed.
void GoToTypedPiece(HWND dialog)
{
    char text[NUMBER_TEXT_SIZE];
    GetDlgItemTextA(dialog, IDC_GO_TO_NUMBER, text, sizeof text);
    int piece;
    char message[64];
    if (ParsePieceNumber(text, piece, message, sizeof message)) {
        EndDialog(dialog, piece + 1);
        return;
    }
    MessageBoxA(dialog, message, CAPTION, MB_OK | MB_ICONERROR);
    HWND field = GetDlgItem(dialog, IDC_GO_TO_NUMBER);
    SetFocus(field);
    SendMessageA(field, EM_SETSEL, 0, -1);
}

INT_PTR CALLBACK GoToPieceDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        FillGoToDialog(dialog);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK)
            GoToTypedPiece(dialog);
        else if (LOWORD(wParam) == IDCANCEL)
            EndDialog(dialog, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

int AskPieceToGoTo()
{
    if (ListedPieceCount() == 0)
        return -1;
    const INT_PTR number = DialogBoxParamA(programInstance, MAKEINTRESOURCEA(IDD_GO_TO_PIECE), mainWindow,
                                           GoToPieceDlgProc, 0);
    return number > 0 ? static_cast<int>(number - 1) : -1;
}
