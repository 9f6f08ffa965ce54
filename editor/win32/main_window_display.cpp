// The track logic's view of the main window: it decides every text and
// selection, and these put them into the controls.
#include "track_display.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>

#include "main_window.h"
#include "track_name_text.h"

namespace {

// Average length of a piece-list line, for reserving the list's storage.
const int PIECE_LIST_TEXT_BYTES = 12;

bool placingUpDown;

HWND FieldControl(TrackField field)
{
    switch (field) {
    case FIELD_TRACK_NAME:    return mainControls.trackName;
    case FIELD_DESIGNER_NAME: return mainControls.designerName;
    case FIELD_PIECE_COUNT:   return mainControls.pieceCount;
    case FIELD_CURRENT_PIECE: return mainControls.currentPiece;
    case FIELD_PIECE_PITCH:   return mainControls.piecePitch;
    case FIELD_PIECE_BANK:    return mainControls.pieceBank;
    }
    return nullptr;
}

HWND FieldUpDown(TrackField field)
{
    switch (field) {
    case FIELD_PIECE_PITCH: return mainControls.pitchUpDown;
    case FIELD_PIECE_BANK:  return mainControls.bankUpDown;
    default:                return nullptr;
    }
}

HWND ChoiceControl(PieceChoiceList list)
{
    switch (list) {
    case CHOICE_PIECE_TYPE:   return mainControls.pieceType;
    case CHOICE_PIECE_LENGTH: return mainControls.pieceLength;
    case CHOICE_ATTRIBUTES:   return mainControls.attributes;
    }
    return nullptr;
}

// A stored value beyond the control's range cannot be its position; the
// control would keep the position of whatever piece was shown before and
// step from there. Moving it to the nearest limit makes the first step land
// next to the value shown. The field's own text follows at once, so the
// limit written into it meanwhile is no edit of the user's.
void PlaceUpDownNear(HWND upDown, const char* text)
{
    const long value = std::strtol(text, nullptr, 10);
    const LRESULT range = SendMessageA(upDown, UDM_GETRANGE, 0, 0);
    const long first = static_cast<short>(LOWORD(range));
    const long second = static_cast<short>(HIWORD(range));
    const long lowest = first < second ? first : second;
    const long highest = first < second ? second : first;
    if (value >= lowest && value <= highest)
        return;
    const long nearest = value < lowest ? lowest : highest;
    placingUpDown = true;
    SendMessageA(upDown, UDM_SETPOS, 0, MAKELPARAM(static_cast<short>(nearest), 0));
    placingUpDown = false;
}

}  // namespace

bool UpDownIsBeingPlaced()
{
    return placingUpDown;
}

MessageAnswer ShowTrackMessage(const char* text, const char* caption, MessageKind kind)
{
    const UINT buttons = kind == MESSAGE_SAVE_QUESTION ? MB_YESNOCANCEL | MB_ICONQUESTION
                         : kind == MESSAGE_WARNING    ? MB_OK | MB_ICONWARNING
                                                      : MB_OK | MB_ICONERROR;
    switch (MessageBoxA(mainWindow, text, caption, buttons)) {
    case IDYES:    return ANSWER_YES;
    case IDNO:     return ANSWER_NO;
    case IDCANCEL: return ANSWER_CANCEL;
    default:       return ANSWER_OK;
    }
}

void ShowWindowTitle(const char* title)
{
    SetWindowTextA(mainWindow, title);
}

// The texts are UTF-8, which the A functions take only where the manifest
// made it the program's code page: the wide form shows them on any system.
void ShowFieldText(TrackField field, const char* text)
{
    if (HWND upDown = FieldUpDown(field))
        PlaceUpDownNear(upDown, text);
    WCHAR wide[TRACK_NAME_TEXT_SIZE];
    if (MultiByteToWideChar(CP_UTF8, 0, text, -1, wide, TRACK_NAME_TEXT_SIZE) > 0)
        SetWindowTextW(FieldControl(field), wide);
    else
        SetWindowTextA(FieldControl(field), text);
}

bool DecodeCodePageText(unsigned codePage, const char* bytes, size_t length, char* text, size_t size)
{
    WCHAR wide[TRACK_NAME_TEXT_SIZE];
    const int wideLength = length == 0 ? 0 : MultiByteToWideChar(codePage, 0, bytes, static_cast<int>(length),
                                                                 wide, TRACK_NAME_TEXT_SIZE - 1);
    if (length > 0 && wideLength <= 0)
        return false;
    const int textLength = wideLength == 0 ? 0 : WideCharToMultiByte(CP_UTF8, 0, wide, wideLength, text,
                                                                     static_cast<int>(size) - 1, nullptr, nullptr);
    if (wideLength > 0 && textLength <= 0)
        return false;
    text[textLength] = '\0';
    return true;
}

void ShowMatterhornCheck(bool checked)
{
    SendMessageA(mainControls.matterhorn, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

// A rebuild of up to 2000 lines must not be drawn line by line.
void BeginPieceList(int lineCount)
{
    SendMessageA(mainControls.pieceList, WM_SETREDRAW, FALSE, 0);
    SendMessageA(mainControls.pieceList, LB_RESETCONTENT, 0, 0);
    if (lineCount > 0)
        SendMessageA(mainControls.pieceList, LB_INITSTORAGE, lineCount, lineCount * PIECE_LIST_TEXT_BYTES);
}

void AddPieceListLine(const char* text)
{
    SendMessageA(mainControls.pieceList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

void EndPieceList()
{
    SendMessageA(mainControls.pieceList, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(mainControls.pieceList, nullptr, TRUE);
}

void SelectPieceListLine(int line)
{
    SendMessageA(mainControls.pieceList, LB_SETCURSEL, line, 0);
}

void SelectChoice(PieceChoiceList list, int index)
{
    SendMessageA(ChoiceControl(list), CB_SETCURSEL, index, 0);
}
