// A picture drawn for 96 dots per inch, at the size the screen's resolution
// gives it: the programs are DPI-aware, so the system no longer stretches
// their windows, and a bitmap that stayed at its own size would fill only
// part of a place measured in dialog units. Header only: the programs share
// no objects.
#ifndef SCREEN_BITMAP_H
#define SCREEN_BITMAP_H

#include <windows.h>

// The bitmap resource id scaled by the screen's dots per inch over 96, with
// the system's smoothing; null when it can't be loaded. The caller deletes it.
inline HBITMAP LoadScreenBitmap(HINSTANCE instance, int id)
{
    HBITMAP drawn = static_cast<HBITMAP>(LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0,
                                                    LR_CREATEDIBSECTION));
    BITMAP size;
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    if (!drawn || dpi == 96 || dpi <= 0 || !GetObjectA(drawn, sizeof size, &size)) {
        ReleaseDC(nullptr, screen);
        return drawn;
    }
    const int width = MulDiv(size.bmWidth, dpi, 96), height = MulDiv(size.bmHeight, dpi, 96);
    HBITMAP scaled = CreateCompatibleBitmap(screen, width, height);
    HDC from = CreateCompatibleDC(screen), to = CreateCompatibleDC(screen);
    if (scaled && from && to) {
        HGDIOBJ oldFrom = SelectObject(from, drawn), oldTo = SelectObject(to, scaled);
        SetStretchBltMode(to, HALFTONE);
        SetBrushOrgEx(to, 0, 0, nullptr);
        StretchBlt(to, 0, 0, width, height, from, 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
        SelectObject(from, oldFrom);
        SelectObject(to, oldTo);
    }
    if (from)
        DeleteDC(from);
    if (to)
        DeleteDC(to);
    ReleaseDC(nullptr, screen);
    if (!scaled)
        return drawn;
    DeleteObject(drawn);
    return scaled;
}

// Shows picture in a dialog's bitmap control, freeing the one the control
// loaded from the template; with a null picture the control keeps its own.
inline void SetDialogPicture(HWND dialog, int control, HBITMAP picture)
{
    if (!picture)
        return;
    const LRESULT old = SendDlgItemMessageA(dialog, control, STM_SETIMAGE, IMAGE_BITMAP,
                                            reinterpret_cast<LPARAM>(picture));
    if (old && reinterpret_cast<HBITMAP>(old) != picture)
        DeleteObject(reinterpret_cast<HBITMAP>(old));
}

#endif
