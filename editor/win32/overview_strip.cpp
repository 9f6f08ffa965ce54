#include "overview_strip.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdint>

#include "main_window.h"
#include "piece_selection.h"
#include "track_display.h"
#include "track_document.h"
#include "track_edits.h"
#include "track_overview.h"

namespace {

// The canvas's pixels are 0xRRGGBB. Okabe and Ito's colours, which people
// with any common colour-vision deficiency can tell apart.
constexpr uint32_t Colour(unsigned r, unsigned g, unsigned b) { return r << 16 | g << 8 | b; }
const uint32_t BLACK = Colour(0, 0, 0), ORANGE = Colour(230, 159, 0), SKY_BLUE = Colour(86, 180, 233),
               BLUISH_GREEN = Colour(0, 158, 115), YELLOW = Colour(240, 228, 66), BLUE = Colour(0, 114, 178),
               VERMILLION = Colour(213, 94, 0), REDDISH_PURPLE = Colour(204, 121, 167), GREY = Colour(170, 170, 170);
const unsigned LANE_MARKS[3] = {OVERVIEW_BRAKE, OVERVIEW_ACCELERATE, OVERVIEW_UNNAMED};

struct Palette {
    uint32_t background, listShade, zeroLine, frame, beyond;
    uint32_t bands[PIECE_SHAPE_COUNT];  // both turns in one colour, a left turn in the band's upper half
    uint32_t lanes[3];
    uint32_t pitch, bank;
};
const Palette COLOURS = {Colour(255, 255, 255), Colour(221, 221, 221), Colour(150, 150, 150), BLACK, BLACK,
                         {YELLOW, BLUE, GREY, BLUE, ORANGE, SKY_BLUE, REDDISH_PURPLE, BLACK},
                         {VERMILLION, BLUISH_GREEN, BLACK}, BLUE, ORANGE};
Palette palette = COLOURS;

uint32_t SystemColour(int index)
{
    const COLORREF colour = GetSysColor(index);
    return Colour(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

// Under High Contrast the person's own colours: the text colour on the
// window's, the current piece's frame and the listed range highlighted.
void ChoosePalette()
{
    HIGHCONTRASTA contrast = {sizeof contrast, 0, nullptr};
    if (!SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) ||
        !(contrast.dwFlags & HCF_HIGHCONTRASTON)) {
        palette = COLOURS;
        return;
    }
    const uint32_t text = SystemColour(COLOR_WINDOWTEXT);
    palette = {SystemColour(COLOR_WINDOW), SystemColour(COLOR_WINDOW), SystemColour(COLOR_GRAYTEXT),
               SystemColour(COLOR_HIGHLIGHT), text, {}, {text, text, text}, text, text};
    for (uint32_t& band : palette.bands)
        band = text;
}

// The strip is drawn whole into this bitmap, then copied to the screen in one piece.
struct Canvas {
    HDC context;
    HBITMAP bitmap;
    uint32_t* pixels;
    int width, height;
};
Canvas canvas;
HWND tooltip;
int tooltipPiece = -1;
int shownTopLine = -1;
WNDPROC pieceListProc;
TrackPiece shownPieces[MAX_TRACK_PIECES];

void Fill(int x, int y, int width, int height, uint32_t colour)
{
    for (int row = y < 0 ? 0 : y; row < y + height && row < canvas.height; ++row) {
        for (int column = x < 0 ? 0 : x; column < x + width && column < canvas.width; ++column)
            canvas.pixels[row * canvas.width + column] = colour;
    }
}

int GraphY(const OverviewRows& rows, int value, int limit)
{
    const int half = rows.graphHeight / 2 - 1;
    const int clamped = value < -limit ? -limit : value > limit ? limit : value;
    return rows.zeroY - clamped * half / limit;
}

// One line of the graph in one column: the column's extremes, joined to
// the column before so that the line runs on.
void DrawGraphColumn(const OverviewRows& rows, int x, int lowest, int highest, int limit, uint32_t colour,
                     int& previousY)
{
    int top = GraphY(rows, highest, limit), bottom = GraphY(rows, lowest, limit);
    const int middle = (top + bottom) / 2;
    if (previousY >= 0) {
        top = previousY < top ? previousY : top;
        bottom = previousY > bottom ? previousY : bottom;
    }
    previousY = middle;
    const int thickness = rows.graphHeight / 45 > 1 ? rows.graphHeight / 45 : 1;
    Fill(x, top, 1, bottom - top + thickness, colour);
    if (lowest < -limit)
        Fill(x, rows.graphTop + rows.graphHeight - 3, 1, 3, palette.beyond);
    if (highest > limit)
        Fill(x, rows.graphTop, 1, 3, palette.beyond);
}

// The columns a piece takes: one, or several while there are fewer pieces than columns.
void ColumnsOfPiece(int piece, int pieceCount, int& first, int& end)
{
    first = OverviewColumnOfPiece(piece, pieceCount, canvas.width);
    end = piece + 1 < pieceCount ? OverviewColumnOfPiece(piece + 1, pieceCount, canvas.width) : canvas.width;
    if (end <= first)
        end = first + 1;
}

// The lines the piece list shows now, as a shaded range behind the graph.
void ShadeListedRange(const OverviewRows& rows, int pieceCount)
{
    RECT client;
    GetClientRect(mainControls.pieceList, &client);
    const int top = shownTopLine;
    const int itemHeight = static_cast<int>(SendMessageA(mainControls.pieceList, LB_GETITEMHEIGHT, 0, 0));
    const int lines = itemHeight > 0 ? client.bottom / itemHeight : 0;
    const int last = top + lines - 1 < pieceCount - 1 ? top + lines - 1 : pieceCount - 1;
    if (top < 0 || last < top)
        return;
    int from, end, lastFrom;
    ColumnsOfPiece(top, pieceCount, from, end);
    ColumnsOfPiece(last, pieceCount, lastFrom, end);
    Fill(from, rows.graphTop, end - from, rows.graphHeight, palette.listShade);
    // Where the shade can't show, a bar above the graph marks the range.
    if (palette.listShade == palette.background)
        Fill(from, rows.graphTop, end - from, 2, palette.frame);
}

// A frame round each run of chosen pieces: its sides, and across a run of
// several its top and bottom edges too.
void FrameChosenPieces(int pieceCount)
{
    for (int piece = 0; piece < pieceCount; ++piece) {
        if (!IsPieceChosen(piece))
            continue;
        int last = piece;
        while (last + 1 < pieceCount && IsPieceChosen(last + 1))
            ++last;
        int first, end, lastFirst;
        ColumnsOfPiece(piece, pieceCount, first, end);
        ColumnsOfPiece(last, pieceCount, lastFirst, end);
        Fill(first - 1, 0, 1, canvas.height, palette.frame);
        Fill(end, 0, 1, canvas.height, palette.frame);
        if (last > piece) {
            Fill(first, 0, end - first, 1, palette.frame);
            Fill(first, canvas.height - 1, end - first, 1, palette.frame);
        }
        piece = last;
    }
}

void Compose(int lineHeight)
{
    const OverviewRows rows = OverviewRowsFor(lineHeight, canvas.height);
    ChoosePalette();
    Fill(0, 0, canvas.width, canvas.height, palette.background);
    shownTopLine = static_cast<int>(SendMessageA(mainControls.pieceList, LB_GETTOPINDEX, 0, 0));
    const int pieceCount = OverviewTrackPieces(shownPieces);
    if (pieceCount == 0)
        return;
    ShadeListedRange(rows, pieceCount);
    Fill(0, rows.zeroY, canvas.width, 1, palette.zeroLine);
    int pitchY = -1, bankY = -1;
    for (int x = 0; x < canvas.width; ++x) {
        const OverviewColumn column = SummarizeOverviewColumn(shownPieces, pieceCount, x, canvas.width);
        if (column.band != BAND_NONE) {
            const int half = rows.bandHeight / 2;
            const int top = column.band == BAND_RIGHT_TURN ? rows.bandTop + half : rows.bandTop;
            const bool turn = column.band == BAND_LEFT_TURN || column.band == BAND_RIGHT_TURN;
            Fill(x, top, 1, turn ? half : rows.bandHeight, palette.bands[column.band]);
        }
        for (int lane = 0; lane < 3; ++lane) {
            if (column.marks & LANE_MARKS[lane])
                Fill(x, rows.laneTop[lane], 1, rows.laneHeight, palette.lanes[lane]);
        }
        DrawGraphColumn(rows, x, column.lowestBank, column.highestBank, BANK_ARROW_LIMIT, palette.bank, bankY);
        DrawGraphColumn(rows, x, column.lowestPitch, column.highestPitch, PITCH_ARROW_LIMIT, palette.pitch, pitchY);
    }
    FrameChosenPieces(pieceCount);
}

bool MakeCanvas(HWND strip)
{
    RECT client;
    GetClientRect(strip, &client);
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = client.right;
    format.bmiHeader.biHeight = -client.bottom;  // top row first
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    canvas.bitmap = CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &pixels, nullptr, 0);
    canvas.context = CreateCompatibleDC(nullptr);
    if (!canvas.bitmap || !canvas.context || client.right <= 0 || client.bottom <= 0)
        return false;
    SelectObject(canvas.context, canvas.bitmap);
    canvas.pixels = static_cast<uint32_t*>(pixels);
    canvas.width = client.right;
    canvas.height = client.bottom;
    return true;
}

void FreeCanvas()
{
    DeleteDC(canvas.context);
    DeleteObject(canvas.bitmap);
    canvas = Canvas();
}

void SetTooltipText(HWND strip, int piece);

void Paint(HWND strip)
{
    PAINTSTRUCT paint;
    BeginPaint(strip, &paint);
    if (canvas.pixels) {
        GdiFlush();
        Compose(layoutUnits.lineHeight);
        BitBlt(paint.hdc, 0, 0, canvas.width, canvas.height, canvas.context, 0, 0, SRCCOPY);
        // An edit, an Undo or a load changed what the piece shows.
        if (tooltip && tooltipPiece >= 0)
            SetTooltipText(strip, tooltipPiece < OverviewTrackPieces(shownPieces) ? tooltipPiece : -1);
    }
    EndPaint(strip, &paint);
}

// Set by a Shift+click: the drag that follows stretches the range from the
// piece the choice stretched from before.
bool stretching;
int stretchAnchor;

// The piece under the pointer, as a click on its line of the piece list
// would choose it; beyond either end of the strip, the piece at that end.
// Stretching, the pieces from the anchor to it.
void ChooseAt(int x)
{
    const int pieceCount = OverviewTrackPieces(shownPieces);
    const int column = x < 0 ? 0 : x >= canvas.width ? canvas.width - 1 : x;
    const int piece = OverviewPieceAt(column, pieceCount, canvas.width);
    if (piece >= 0 && stretching)
        ChoosePieceRange(stretchAnchor, piece);
    else if (piece >= 0 && (piece != trackDocument.currentPiece || SeveralPiecesChosen()))
        ChoosePiece(piece);
    SetFocus(mainControls.pieceList);
}

// The tooltip names the piece under the pointer with its values now.
void SetTooltipText(HWND strip, int piece)
{
    TOOLINFOA tool = {};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_SUBCLASS | TTF_IDISHWND;
    tool.hwnd = strip;
    tool.uId = reinterpret_cast<UINT_PTR>(strip);
    char text[96] = "";
    if (piece >= 0)
        OverviewTooltipText(piece, shownPieces[piece], text, sizeof text);
    tool.lpszText = text;
    if (!tooltip) {
        tooltip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                  0, 0, 0, 0, strip, nullptr, programInstance, nullptr);
        SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
    SendMessageA(tooltip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageA(tooltip, TTM_ACTIVATE, piece >= 0, 0);
}

// Made at the first hover rather than at start-up, which it would only slow.
void ShowTooltipAt(HWND strip, int x)
{
    const int pieceCount = OverviewTrackPieces(shownPieces);
    const int piece = OverviewPieceAt(x, pieceCount, canvas.width);
    if (piece == tooltipPiece)
        return;
    tooltipPiece = piece;
    SetTooltipText(strip, piece);
}

// The piece list scrolls by its bar, the wheel, the keys and the program's
// own selections: after any of them the strip follows a new top line. A
// plain subclass, as the common controls' one looks up a window property on
// every message, which made refilling 2000 lines a second slower under Wine.
LRESULT CALLBACK FollowListScrolling(HWND list, UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = CallWindowProcW(pieceListProc, list, message, wParam, lParam);
    switch (message) {
    case WM_VSCROLL: case WM_MOUSEWHEEL: case WM_KEYDOWN: case WM_LBUTTONDOWN: case WM_MOUSEMOVE:
    case WM_TIMER: case LB_SETCARETINDEX: case LB_SETTOPINDEX: case LB_RESETCONTENT:
        if (mainControls.overview && CallWindowProcW(pieceListProc, list, LB_GETTOPINDEX, 0, 0) != shownTopLine)
            InvalidateRect(mainControls.overview, nullptr, FALSE);
        break;
    default:
        break;
    }
    return result;
}

LRESULT CALLBACK OverviewStripProc(HWND strip, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        // The list tells a strip that exists, or none at all.
        if (!MakeCanvas(strip))
            return -1;
        pieceListProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
            GetDlgItem(GetParent(strip), IDC_PIECE_LIST), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FollowListScrolling)));
        return 0;
    case WM_SIZE:
        // A wider strip: more columns, fewer pieces to each.
        FreeCanvas();
        MakeCanvas(strip);
        InvalidateRect(strip, nullptr, FALSE);
        return 0;
    case WM_DESTROY:
        FreeCanvas();
        tooltip = nullptr;
        tooltipPiece = -1;
        return 0;
    case WM_PAINT:
        Paint(strip);
        return 0;
    case WM_LBUTTONDOWN:
        SetCapture(strip);
        stretching = (wParam & MK_SHIFT) != 0;
        stretchAnchor = PieceSelectionAnchor();
        ChooseAt(static_cast<short>(LOWORD(lParam)));
        return 0;
    case WM_MOUSEMOVE:
        if ((wParam & MK_LBUTTON) && GetCapture() == strip)
            ChooseAt(static_cast<short>(LOWORD(lParam)));
        ShowTooltipAt(strip, static_cast<short>(LOWORD(lParam)));
        return 0;
    case WM_LBUTTONUP:
        ReleaseCapture();
        return 0;
    default:
        return DefWindowProcA(strip, message, wParam, lParam);
    }
}

}  // namespace

OverviewRows OverviewRowsFor(int lineHeight, int stripHeight)
{
    OverviewRows rows;
    rows.bandTop = 1;
    rows.bandHeight = lineHeight;
    rows.laneHeight = lineHeight / 3 > 1 ? lineHeight / 3 - 1 : 1;
    for (int lane = 0; lane < 3; ++lane)
        rows.laneTop[lane] = rows.bandTop + rows.bandHeight + 1 + lane * (rows.laneHeight + 1);
    rows.graphTop = rows.laneTop[2] + rows.laneHeight + 2;
    rows.graphHeight = stripHeight - rows.graphTop - 1;
    rows.zeroY = rows.graphTop + rows.graphHeight / 2;
    return rows;
}

bool RegisterOverviewStripClass(HINSTANCE instance)
{
    WNDCLASSA stripClass = {};
    stripClass.lpfnWndProc = OverviewStripProc;
    stripClass.hInstance = instance;
    stripClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    stripClass.lpszClassName = OVERVIEW_STRIP_CLASS;
    return RegisterClassA(&stripClass) != 0;
}

void ShowTrackOverview()
{
    if (mainControls.overview)
        InvalidateRect(mainControls.overview, nullptr, FALSE);
}
