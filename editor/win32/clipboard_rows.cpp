#include "clipboard_rows.h"

#include <windows.h>

#include <cstring>
#include <cwchar>

#include "chosen_piece_edits.h"
#include "main_window.h"
#include "piece_rows.h"
#include "track_display.h"

namespace {

// Far more than 1,999 rows of a spreadsheet's take; a longer text can't be
// rows that fit.
enum { PASTED_TEXT_SIZE = 1 << 19 };
const char TEXT_TOO_LONG[] = "The clipboard's text is too long to be rows of pieces.";

char rowsText[MAX_TRACK_PIECES * PIECE_ROW_SIZE];
char pastedText[PASTED_TEXT_SIZE];

// Hands a copy of the bytes to the clipboard, which owns it from then on.
void Offer(UINT format, const void* bytes, size_t size)
{
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    void* copy = memory ? GlobalLock(memory) : nullptr;
    if (!copy) {
        GlobalFree(memory);
        return;
    }
    std::memcpy(copy, bytes, size);
    GlobalUnlock(memory);
    if (!SetClipboardData(format, memory))
        GlobalFree(memory);
}

// The clipboard's text as UTF-8 in pastedText; false when it holds none or
// too much.
bool ReadClipboardText(bool& tooLong)
{
    tooLong = false;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const bool wide = data != nullptr;
    if (!data)
        data = GetClipboardData(CF_TEXT);
    const void* text = data ? GlobalLock(data) : nullptr;
    if (!text)
        return false;
    const size_t bytes = GlobalSize(data);
    if (wide) {
        const int length = static_cast<int>(wcsnlen(static_cast<const WCHAR*>(text), bytes / sizeof(WCHAR)));
        const int written = length == 0 ? 0 : WideCharToMultiByte(CP_UTF8, 0, static_cast<const WCHAR*>(text), length,
                                                                  pastedText, PASTED_TEXT_SIZE - 1, nullptr, nullptr);
        tooLong = length > 0 && written <= 0;
        pastedText[written > 0 ? written : 0] = '\0';
    } else {
        const size_t length = strnlen(static_cast<const char*>(text), bytes);
        tooLong = length >= PASTED_TEXT_SIZE;
        std::memcpy(pastedText, text, tooLong ? 0 : length);
        pastedText[tooLong ? 0 : length] = '\0';
    }
    GlobalUnlock(data);
    return !tooLong;
}

}  // namespace

bool ClipboardHoldsText()
{
    return IsClipboardFormatAvailable(CF_UNICODETEXT) || IsClipboardFormatAvailable(CF_TEXT);
}

// The rows are plain ASCII: the same characters in either form.
void CopyPieceRowsToClipboard()
{
    static WCHAR wideRows[sizeof rowsText];
    const size_t length = CopyChosenPieceRows(rowsText, sizeof rowsText);
    if (length == 0 || !OpenClipboard(mainWindow))
        return;
    EmptyClipboard();
    for (size_t i = 0; i <= length; ++i)
        wideRows[i] = static_cast<unsigned char>(rowsText[i]);
    Offer(CF_UNICODETEXT, wideRows, (length + 1) * sizeof(WCHAR));
    Offer(CF_TEXT, rowsText, length + 1);
    CloseClipboard();
}

void PastePieceRowsFromClipboard()
{
    if (!OpenClipboard(mainWindow))
        return;
    bool tooLong;
    const bool read = ReadClipboardText(tooLong);
    CloseClipboard();
    if (tooLong)
        ShowTrackMessage(TEXT_TOO_LONG, "Paste", MESSAGE_ERROR);
    else if (read)
        PastePieceRows(pastedText);
}
