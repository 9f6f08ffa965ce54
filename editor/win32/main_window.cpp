#include "main_window.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>

#include "commands.h"
#include "help_viewer.h"
#include "overview_strip.h"
#include "recovery_window.h"
#include "resource.h"
#include "start_folder.h"
#include "track_document.h"
#include "track_format.h"
#include "track_name_text.h"

HINSTANCE programInstance;
HACCEL menuKeys;
HWND mainWindow;
MainWindowControls mainControls;
LayoutUnits layoutUnits;

namespace {

const char MAIN_WINDOW_CLASS[] = "Velari";
const char MAIN_WINDOW_TITLE[] = "Velari";

// Each list's position is the value of the matching edit-state field.
const char* const PIECE_TYPE_CHOICES[] = {
    "Lift", "Left Turn", "Straight", "Right Turn", "Corkscrew", "Little Loop", "Big Loop", "Tunnel"};
const char* const PIECE_LENGTH_CHOICES[] = {"12 Feet", "24 Feet", "36 Feet", "48 Feet"};
const char* const ATTRIBUTE_CHOICES[] = {"None", "Brake", "Accelerate"};

static_assert(sizeof PIECE_TYPE_CHOICES / sizeof *PIECE_TYPE_CHOICES == PIECE_SHAPE_COUNT,
              "one choice per shape");
static_assert(sizeof PIECE_LENGTH_CHOICES / sizeof *PIECE_LENGTH_CHOICES == PIECE_LENGTH_COUNT,
              "one choice per length");
static_assert(sizeof ATTRIBUTE_CHOICES / sizeof *ATTRIBUTE_CHOICES == PIECE_ATTRIBUTE_COUNT,
              "one choice per attribute");

LayoutUnits MeasureSystemFont(HWND window)
{
    TEXTMETRICA metrics = {};
    HDC context = GetDC(window);
    GetTextMetricsA(context, &metrics);
    ReleaseDC(window, context);
    return LayoutUnitsFromMetrics(metrics.tmAveCharWidth, metrics.tmHeight,
                                  metrics.tmExternalLeading, metrics.tmPitchAndFamily);
}

const UpDownRange* UpDownRangeOf(int id)
{
    for (const UpDownRange& range : MAIN_WINDOW_UPDOWNS) {
        if (range.id == id)
            return &range;
    }
    return nullptr;
}

void KeepControlHandle(int id, HWND control)
{
    switch (id) {
    case IDC_TRACK_NAME:    mainControls.trackName = control; break;
    case IDC_DESIGNER_NAME: mainControls.designerName = control; break;
    case IDC_PIECE_COUNT:   mainControls.pieceCount = control; break;
    case IDC_PIECE_LIST:    mainControls.pieceList = control; break;
    case IDC_CURRENT_PIECE: mainControls.currentPiece = control; break;
    case IDC_PIECE_TYPE:    mainControls.pieceType = control; break;
    case IDC_PIECE_LENGTH:  mainControls.pieceLength = control; break;
    case IDC_ATTRIBUTES:    mainControls.attributes = control; break;
    case IDC_PIECE_PITCH:   mainControls.piecePitch = control; break;
    case IDC_PIECE_BANK:    mainControls.pieceBank = control; break;
    case IDC_PITCH_UPDOWN:  mainControls.pitchUpDown = control; break;
    case IDC_BANK_UPDOWN:   mainControls.bankUpDown = control; break;
    case IDC_MATTERHORN:    mainControls.matterhorn = control; break;
    case IDC_OVERVIEW_STRIP: mainControls.overview = control; break;
    default: break;
    }
}

void CreateControls(HWND window)
{
    for (const ControlPlacement& place : MAIN_WINDOW_CONTROLS) {
        const ControlRect at = PlaceControl(place, layoutUnits, 0, 0);
        const DWORD style = WS_CHILD | WS_VISIBLE | place.style;
        HWND control;
        if (const UpDownRange* range = UpDownRangeOf(place.id)) {
            control = CreateUpDownControl(style, at.x, at.y, at.width, at.height, window, place.id, programInstance,
                                          GetDlgItem(window, range->buddyId), range->upper,
                                          range->lower, range->start);
        } else {
            control = CreateWindowExA(0, place.className, place.text, style, at.x, at.y, at.width, at.height,
                                      window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(place.id)),
                                      programInstance, nullptr);
        }
        KeepControlHandle(place.id, control);
    }
}

// The client size at the window's normal size, which is also its smallest.
SIZE normalClient;

void LayOutControls(HWND window, int clientWidth, int clientHeight)
{
    if (!mainControls.overview)
        return;
    for (const ControlPlacement& place : MAIN_WINDOW_CONTROLS) {
        if (place.growth == STAYS)
            continue;
        const ControlRect at =
            PlaceControl(place, layoutUnits, clientWidth - normalClient.cx, clientHeight - normalClient.cy);
        SetWindowPos(GetDlgItem(window, place.id), nullptr, at.x, at.y, at.width, at.height, SWP_NOZORDER);
    }
    InvalidateRect(window, nullptr, TRUE);
}

void KeepNormalSizeAsSmallest(MINMAXINFO& limits)
{
    limits.ptMinTrackSize.x = WINDOW_WIDTH_COLUMNS * layoutUnits.columnUnit;
    limits.ptMinTrackSize.y = WINDOW_HEIGHT_LINES * layoutUnits.lineHeight;
}

void FillChoiceList(HWND list, const char* const* texts, int count)
{
    SendMessageA(list, CB_RESETCONTENT, 0, 0);
    for (int position = 0; position < count; ++position)
        SendMessageA(list, CB_INSERTSTRING, position, reinterpret_cast<LPARAM>(texts[position]));
}

void FillChoiceLists()
{
    FillChoiceList(mainControls.pieceType, PIECE_TYPE_CHOICES, PIECE_SHAPE_COUNT);
    FillChoiceList(mainControls.pieceLength, PIECE_LENGTH_CHOICES, PIECE_LENGTH_COUNT);
    FillChoiceList(mainControls.attributes, ATTRIBUTE_CHOICES, PIECE_ATTRIBUTE_COUNT);
}

// The names in track files are in the system's code page, which the
// program's own (UTF-8, by its manifest) does not replace.
unsigned SystemCodePage()
{
    char number[8];
    if (!GetLocaleInfoA(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, number, sizeof number))
        return 1252;
    const unsigned codePage = static_cast<unsigned>(atoi(number));
    return codePage != 0 ? codePage : 1252;
}

void CreateMainWindowContents(HWND window)
{
    mainControls = MainWindowControls();
    ResetTrackDocument();
    trackNameCodePage = SystemCodePage();
    layoutUnits = MeasureSystemFont(window);
    SetWindowPos(window, nullptr, 0, 0, WINDOW_WIDTH_COLUMNS * layoutUnits.columnUnit,
                 WINDOW_HEIGHT_LINES * layoutUnits.lineHeight, SWP_NOMOVE | SWP_NOZORDER);
    RECT client;
    GetClientRect(window, &client);
    normalClient = {client.right, client.bottom};
    const INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&classes);
    CreateControls(window);
    EnableTrackControls(window);
    FillChoiceLists();
    ReadStartFolder();
}

void PaintMainWindow(HWND window)
{
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
}

void DestroyMainWindow()
{
    CloseHelp();
    PostQuitMessage(0);
}

}  // namespace

bool RegisterMainWindowClass(HINSTANCE instance)
{
    programInstance = instance;
    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_VELARI));
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    windowClass.lpszMenuName = MAKEINTRESOURCEA(IDR_MAIN_MENU);
    windowClass.lpszClassName = MAIN_WINDOW_CLASS;
    menuKeys = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
    return RegisterClassA(&windowClass) != 0 && RegisterOverviewStripClass(instance);
}

// Enter and Esc reach the window as commands IDOK and IDCANCEL, which it has
// none of: they do nothing. The editor's keys act in its own window only:
// Ctrl+Z in the help window must not undo an edit.
bool TranslateMainWindowKeys(MSG& message)
{
    if (HelpTakesMessage(message))
        return true;
    const bool ours = mainWindow && (message.hwnd == mainWindow || IsChild(mainWindow, message.hwnd));
    return ours && (TranslateAcceleratorA(mainWindow, menuKeys, &message) || IsDialogMessageA(mainWindow, &message));
}

HWND CreateMainWindow()
{
    mainWindow = CreateWindowExA(WS_EX_ACCEPTFILES | WS_EX_CLIENTEDGE | WS_EX_CONTEXTHELP,
                                 MAIN_WINDOW_CLASS, MAIN_WINDOW_TITLE, WS_OVERLAPPEDWINDOW,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                 nullptr, nullptr, programInstance, nullptr);
    return mainWindow;
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        CreateMainWindowContents(window);
        return 0;
    case WM_PAINT:
        PaintMainWindow(window);
        return 0;
    case WM_SIZE:
        LayOutControls(window, LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_GETMINMAXINFO:
        KeepNormalSizeAsSmallest(*reinterpret_cast<MINMAXINFO*>(lParam));
        return 0;
    case WM_CLOSE:
        CloseRequested();
        return 0;
    case WM_DESTROY:
        DestroyMainWindow();
        return 0;
    case WM_QUERYENDSESSION:
        return SessionEndQueried(window, wParam, lParam);
    case WM_ENDSESSION:
        SessionEnds(wParam != 0);
        return 0;
    case WM_DROPFILES:
        TracksDropped(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_INITMENU:
        EnableMenuItems(reinterpret_cast<HMENU>(wParam));
        return 0;
    case WM_COMMAND: {
        const int notification = HIWORD(wParam);
        switch (LOWORD(wParam)) {
        case IDM_FILE_EXIT:     ExitCommand(); break;
        case IDM_FILE_SAVE:     SaveCommand(); break;
        case IDM_FILE_SAVE_AS:  SaveAsCommand(); break;
        case IDM_FILE_OPEN:     OpenCommand(); break;
        case IDM_FILE_REFRESH:  RefreshCommand(); break;
        case IDM_HELP_ABOUT:    AboutCommand(); break;
        case IDM_HELP_CONTENTS: HelpContentsCommand(notification); break;
        case IDM_EDIT_UNDO:     UndoCommand(); break;
        case IDM_EDIT_REDO:     RedoCommand(); break;
        case IDC_PIECE_PITCH:   PitchFieldNotice(notification); break;
        case IDC_PIECE_BANK:    BankFieldNotice(notification); break;
        case IDC_PIECE_LIST:    PieceListNotice(notification); break;
        case IDC_PIECE_TYPE:    PieceTypeNotice(notification); break;
        case IDC_ATTRIBUTES:    AttributesNotice(notification); break;
        case IDC_MATTERHORN:    MatterhornNotice(notification); break;
        case IDC_PIECE_LENGTH:  PieceLengthNotice(notification); break;
        default: break;
        }
        return 0;
    }
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
