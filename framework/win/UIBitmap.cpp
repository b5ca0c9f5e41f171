#include "framework/win/UIBitmap.h"

#include <algorithm>

#include "framework/win/UIDraw.h"

bool C_UIBitmap::Attach(HWND hStatic, HINSTANCE hInstance, WORD wBitmapId, COLORREF crTransparent)
{
    Detach();
    if (!::IsWindow(hStatic)) {
        ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    // A device-dependent bitmap, so the mask can be made with BitBlt.
    hImage = static_cast<HBITMAP>(::LoadImageA(hInstance, MAKEINTRESOURCEA(wBitmapId), IMAGE_BITMAP, 0, 0, 0));
    if (hImage == nullptr)
        return false;
    BITMAP bm = {};
    ::GetObjectA(hImage, sizeof(bm), &bm);
    sizeBitmap.cx = bm.bmWidth;
    sizeBitmap.cy = bm.bmHeight;
    if (!PrepareMask(crTransparent) || !SubClass(hStatic)) {
        const DWORD dwError = ::GetLastError();
        FreeBitmaps();
        ::SetLastError(dwError);
        return false;
    }
    hWnd = hStatic;
    ::InvalidateRect(hWnd, nullptr, TRUE);
    return true;
}

void C_UIBitmap::Detach()
{
    UnSubClass();
    hWnd = nullptr;
    FreeBitmaps();
}

void C_UIBitmap::FreeBitmaps()
{
    FreeGdiObject(hImage);
    FreeGdiObject(hMask);
    sizeBitmap.cx = 0;
    sizeBitmap.cy = 0;
}

bool C_UIBitmap::PrepareMask(COLORREF crTransparent)
{
    hMask = ::CreateBitmap(sizeBitmap.cx, sizeBitmap.cy, 1, 1, nullptr);
    HDC hdcImage = ::CreateCompatibleDC(nullptr);
    HDC hdcMask = ::CreateCompatibleDC(nullptr);
    const bool bReady = hMask != nullptr && hdcImage != nullptr && hdcMask != nullptr;
    if (bReady) {
        HGDIOBJ hOldImage = ::SelectObject(hdcImage, hImage);
        HGDIOBJ hOldMask = ::SelectObject(hdcMask, hMask);
        // Colour to monochrome: pixels of the background colour become 1.
        ::SetBkColor(hdcImage, crTransparent);
        ::BitBlt(hdcMask, 0, 0, sizeBitmap.cx, sizeBitmap.cy, hdcImage, 0, 0, SRCCOPY);
        // Monochrome to colour: 1 becomes the background colour (black),
        // 0 the text colour (white); AND leaves the left-out pixels black.
        ::SetBkColor(hdcImage, RGB(0, 0, 0));
        ::SetTextColor(hdcImage, RGB(255, 255, 255));
        ::BitBlt(hdcImage, 0, 0, sizeBitmap.cx, sizeBitmap.cy, hdcMask, 0, 0, SRCAND);
        ::SelectObject(hdcMask, hOldMask);
        ::SelectObject(hdcImage, hOldImage);
    }
    if (hdcImage != nullptr)
        ::DeleteDC(hdcImage);
    if (hdcMask != nullptr)
        ::DeleteDC(hdcMask);
    return bReady;
}

void C_UIBitmap::DrawMasked(HDC hdc, int x, int y) const
{
    HDC hdcSource = ::CreateCompatibleDC(hdc);
    if (hdcSource == nullptr)
        return;
    const COLORREF crOldBack = ::SetBkColor(hdc, RGB(255, 255, 255));
    const COLORREF crOldText = ::SetTextColor(hdc, RGB(0, 0, 0));
    // Clear the drawn part of the background, then paint the image into it.
    HGDIOBJ hOld = ::SelectObject(hdcSource, hMask);
    ::BitBlt(hdc, x, y, sizeBitmap.cx, sizeBitmap.cy, hdcSource, 0, 0, SRCAND);
    ::SelectObject(hdcSource, hImage);
    ::BitBlt(hdc, x, y, sizeBitmap.cx, sizeBitmap.cy, hdcSource, 0, 0, SRCPAINT);
    ::SelectObject(hdcSource, hOld);
    ::DeleteDC(hdcSource);
    ::SetBkColor(hdc, crOldBack);
    ::SetTextColor(hdc, crOldText);
}

void C_UIBitmap::Paint(HDC hdc)
{
    RECT rc;
    ::GetClientRect(hWnd, &rc);
    HBRUSH hBrush = AskParentStaticBrush(hWnd, hdc);
    if (hBrush == nullptr)
        hBrush = ::GetSysColorBrush(COLOR_BTNFACE);
    ::FillRect(hdc, &rc, hBrush);
    if (hImage == nullptr || sizeBitmap.cx <= 0 || sizeBitmap.cy <= 0)
        return;
    if (sizeBitmap.cx <= rc.right && sizeBitmap.cy <= rc.bottom) {
        DrawMasked(hdc, (rc.right - sizeBitmap.cx) / 2, (rc.bottom - sizeBitmap.cy) / 2);
        return;
    }
    // Larger than the control (a dialog font smaller than designed for):
    // the image is put on the background at its own size first and that is
    // shrunk, keeping its proportions, so no edge of the background colour
    // is blended with the left-out colour.
    const double dScale = std::min(static_cast<double>(rc.right) / sizeBitmap.cx,
                                   static_cast<double>(rc.bottom) / sizeBitmap.cy);
    const int nWidth = std::max(1, static_cast<int>(sizeBitmap.cx * dScale));
    const int nHeight = std::max(1, static_cast<int>(sizeBitmap.cy * dScale));
    HDC hdcWork = ::CreateCompatibleDC(hdc);
    HBITMAP hWork = ::CreateCompatibleBitmap(hdc, sizeBitmap.cx, sizeBitmap.cy);
    if (hdcWork != nullptr && hWork != nullptr) {
        HGDIOBJ hOld = ::SelectObject(hdcWork, hWork);
        const RECT rcWork = {0, 0, sizeBitmap.cx, sizeBitmap.cy};
        ::FillRect(hdcWork, &rcWork, hBrush);
        DrawMasked(hdcWork, 0, 0);
        PrepareStretch(hdc);
        ::StretchBlt(hdc, (rc.right - nWidth) / 2, (rc.bottom - nHeight) / 2, nWidth, nHeight, hdcWork, 0, 0,
                     sizeBitmap.cx, sizeBitmap.cy, SRCCOPY);
        ::SelectObject(hdcWork, hOld);
    }
    if (hWork != nullptr)
        ::DeleteObject(hWork);
    if (hdcWork != nullptr)
        ::DeleteDC(hdcWork);
}
