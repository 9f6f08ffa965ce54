#include "commands.h"

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <cstring>
#include <initializer_list>

#include "about_box.h"
#include "edit_history.h"
#include "help_viewer.h"
#include "main_window.h"
#include "resource.h"
#include "start_folder.h"
#include "track_document.h"
#include "track_edits.h"

namespace {

const char OPEN_FILTER[] = "Track Files\0*.tra\0All Files\0*.*\0";
const char SAVE_AS_FILTER[] = "Track Files\0*.tra\0";
const char OPEN_TITLE[] = "Open Track";
const char SAVE_AS_TITLE[] = "Save Track As";
const char TRACK_EXTENSION[] = "tra";
const char DROPPED_PATH_TOO_LONG[] =
    "The path of this file is too long: Velari opens tracks whose path has at most 259 characters.";

// The record as the Windows 95 generation knew it, ending at lpTemplateName,
// in the size the platform names for either width; the fields later systems
// added after it stay unused.
const DWORD FILE_DIALOG_RECORD_SIZE = OPENFILENAME_SIZE_VERSION_400A;

// Set once the user has answered the unsaved-changes prompt for Exit, so the
// WM_CLOSE it posts does not ask a second time.
bool closeConfirmed;

// The dialog edits a copy: the document's path changes only through
// SetTrackPath, which the load or save that follows relies on.
void CopyCurrentPath(char (&buffer)[TRACK_PATH_SIZE])
{
    std::memcpy(buffer, trackDocument.path, sizeof buffer);
    buffer[sizeof buffer - 1] = '\0';
}

void FillFileDialogRecord(OPENFILENAMEA& record, const char* filter, char (&file)[TRACK_PATH_SIZE],
                          const char* title)
{
    std::memset(&record, 0, sizeof record);
    record.lStructSize = FILE_DIALOG_RECORD_SIZE;
    record.hwndOwner = mainWindow;
    record.hInstance = programInstance;
    record.lpstrFilter = filter;
    record.lpstrFile = file;
    record.nMaxFile = sizeof file;
    record.lpstrTitle = title;
}

int ReadUpDownPosition(HWND upDown, bool& outOfRange)
{
    const LRESULT reply = SendMessageA(upDown, UDM_GETPOS, 0, 0);
    outOfRange = HIWORD(reply) != 0;
    return static_cast<short>(LOWORD(reply));
}

int SelectedChoice(HWND list)
{
    return static_cast<int>(SendMessageA(list, CB_GETCURSEL, 0, 0));
}

}  // namespace

bool LoadTrackIntoWindow()
{
    if (!LoadTrack())
        return false;
    ShowLoadedTrack();
    return true;
}

void ShowLoadedTrack()
{
    EnableTrackControls(mainWindow);
    SetFocus(mainControls.pieceList);
}

void ExitCommand()
{
    if (!ConfirmSaveChanges())
        return;
    closeConfirmed = true;
    PostMessageA(mainWindow, WM_CLOSE, 0, 0);
}

// Closing from the frame, the system menu or Alt+F4 must not lose changes
// any more than Exit does.
void CloseRequested()
{
    const bool confirmed = closeConfirmed;
    closeConfirmed = false;
    if (confirmed || ConfirmSaveChanges())
        DestroyWindow(mainWindow);
}

void SaveCommand()
{
    SaveTrack();
}

// Without a track there is nothing to write, so no dialog either.
void SaveAsCommand()
{
    if (!trackDocument.isLoaded)
        return;
    char file[TRACK_PATH_SIZE];
    CopyCurrentPath(file);
    OPENFILENAMEA record;
    FillFileDialogRecord(record, SAVE_AS_FILTER, file, SAVE_AS_TITLE);
    record.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_EXPLORER | OFN_LONGNAMES;
    record.lpstrDefExt = TRACK_EXTENSION;
    if (!GetSaveFileNameA(&record))
        return;
    SaveTrackAs(file);
}

// Loading another track drops the changes of this one, so they are offered
// for saving before the user even picks a file.
void OpenCommand()
{
    if (!ConfirmSaveChanges())
        return;
    char file[TRACK_PATH_SIZE];
    CopyCurrentPath(file);
    OPENFILENAMEA record;
    FillFileDialogRecord(record, OPEN_FILTER, file, OPEN_TITLE);
    record.lpstrInitialDir = startFolder;
    record.Flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_EXPLORER | OFN_LONGNAMES;
    if (!GetOpenFileNameA(&record))
        return;
    if (SetTrackPath(file))
        LoadTrackIntoWindow();
}

// A path that can't be opened is refused before the question, which it
// would make pointless.
void TracksDropped(HDROP drop)
{
    char file[TRACK_PATH_SIZE];
    const UINT length = DragQueryFileA(drop, 0, nullptr, 0);
    const bool fits = length > 0 && length < sizeof file && DragQueryFileA(drop, 0, file, sizeof file) == length &&
                      PathFits(file, length);
    DragFinish(drop);
    if (!fits) {
        MessageBoxA(mainWindow, DROPPED_PATH_TOO_LONG, "Error!", MB_OK | MB_ICONERROR);
        return;
    }
    if (ConfirmSaveChanges() && SetTrackPath(file))
        LoadTrackIntoWindow();
}

void RefreshCommand()
{
    if (!trackDocument.isLoaded)
        return;
    if (ConfirmSaveChanges())
        LoadTrackIntoWindow();
}

void AboutCommand()
{
    DialogBoxParamA(programInstance, MAKEINTRESOURCEA(IDD_ABOUT), mainWindow, AboutDlgProc, 0);
}

// The menu item sends 0, the F1 key 1: the key asks about the focus.
void HelpContentsCommand(int notification)
{
    if (notification == 1)
        ShowHelpOnFocus();
    else
        ShowHelpContents();
}

void UndoCommand()
{
    UndoEdit();
}

void RedoCommand()
{
    RedoEdit();
}

// The fields are read-only: they change by a step of their up-down control
// or by the display showing a piece, and the control's position tells both.
static void ReadBackField(int notification, HWND upDown, void (*readBack)(int, bool))
{
    if (notification != EN_CHANGE || !trackDocument.isLoaded || UpDownIsBeingPlaced())
        return;
    bool outOfRange;
    const int position = ReadUpDownPosition(upDown, outOfRange);
    readBack(position, outOfRange);
}

void PitchFieldNotice(int notification)
{
    ReadBackField(notification, mainControls.pitchUpDown, ReadBackPitch);
}

void BankFieldNotice(int notification)
{
    ReadBackField(notification, mainControls.bankUpDown, ReadBackBank);
}

void PieceListNotice(int notification)
{
    if (notification == LBN_SELCHANGE)
        ChoosePiece(static_cast<int>(SendMessageA(mainControls.pieceList, LB_GETCURSEL, 0, 0)));
}

void PieceTypeNotice(int notification)
{
    if (notification == CBN_SELCHANGE)
        ChangePieceType(SelectedChoice(mainControls.pieceType));
}

void AttributesNotice(int notification)
{
    if (notification == CBN_SELCHANGE)
        SetPieceAttribute(SelectedChoice(mainControls.attributes));
}

void PieceLengthNotice(int notification)
{
    if (notification == CBN_SELCHANGE)
        SetPieceLength(SelectedChoice(mainControls.pieceLength));
}

void MatterhornNotice(int notification)
{
    if (notification == BN_CLICKED)
        ToggleMatterhornSetting();
}

// The keys ask here too before they act, so a grayed item's key does nothing.
// Nothing grays the track's items again: from the first load on a track is
// always loaded.
void EnableMenuItems(HMENU menu)
{
    EnableMenuItem(menu, IDM_EDIT_UNDO, MF_BYCOMMAND | (CanUndoEdit() ? MF_ENABLED : MF_GRAYED));
    EnableMenuItem(menu, IDM_EDIT_REDO, MF_BYCOMMAND | (CanRedoEdit() ? MF_ENABLED : MF_GRAYED));
    for (UINT id : {IDM_FILE_SAVE, IDM_FILE_SAVE_AS, IDM_FILE_REFRESH})
        EnableMenuItem(menu, id, MF_BYCOMMAND | (trackDocument.isLoaded ? MF_ENABLED : MF_GRAYED));
}

void EnableTrackControls(HWND window)
{
    for (int id : {IDC_PIECE_LIST, IDC_PIECE_TYPE, IDC_PIECE_LENGTH, IDC_ATTRIBUTES, IDC_PIECE_PITCH,
                   IDC_PITCH_UPDOWN, IDC_PIECE_BANK, IDC_BANK_UPDOWN, IDC_MATTERHORN, IDM_FILE_SAVE, IDM_FILE_REFRESH})
        EnableWindow(GetDlgItem(window, id), trackDocument.isLoaded);
}
