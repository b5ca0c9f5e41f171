#ifndef QUENVALE_FRAMEWORK_LAYEREDIMAGE_H
#define QUENVALE_FRAMEWORK_LAYEREDIMAGE_H

#include <windows.h>

#include "framework/core/PspImage.h"
#include "framework/win/Library.h"

// The picture of a per-pixel transparent (layered) window: a memory device
// context with a 32-bit premultiplied DIB selected into it, and user32's
// UpdateLayeredWindow, looked up at run time (systems before Windows 2000
// have none). Owns the device context and the bitmap; one per window, not
// copyable.
//
// Load and Release belong to the window's thread; SetAlpha may also be
// called from another thread while the picture stays loaded.
class C_LayeredImage {
public:
    C_LayeredImage() = default;
    ~C_LayeredImage() { Release(); }
    C_LayeredImage(const C_LayeredImage&) = delete;
    C_LayeredImage& operator=(const C_LayeredImage&) = delete;

    // Puts the picture into a new DIB (bottom-up, 32 bits per pixel) in a
    // memory device context compatible with the screen, replacing any
    // earlier one. False when UpdateLayeredWindow is missing
    // (ERROR_PROC_NOT_FOUND), the picture is empty (ERROR_INVALID_DATA) or
    // the device context or bitmap cannot be made.
    bool Load(const C_PspImage& picture);
    void Release();

    // Shows the whole picture in hWnd (which must have WS_EX_LAYERED) at
    // *pptPosition on the screen (null keeps the window's position), with
    // the constant alpha bAlpha over the picture's own alpha.
    bool Update(HWND hWnd, POINT* pptPosition, BYTE bAlpha) const;
    // Changes only the constant alpha of a window shown by Update, keeping
    // its position. The picture goes along again: some implementations
    // (Wine) apply the constant alpha only while drawing a source and ignore
    // a call without one.
    bool SetAlpha(HWND hWnd, BYTE bAlpha) const { return Update(hWnd, nullptr, bAlpha); }

    bool IsLoaded() const { return hBitmap != nullptr; }
    SIZE GetSize() const { return size; }

private:
    using UpdateLayeredWindowFunction = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*,
                                                     COLORREF, BLENDFUNCTION*, DWORD);

    C_Library user32;
    UpdateLayeredWindowFunction pUpdateLayeredWindow = nullptr;
    HDC hMemoryDC = nullptr;
    HBITMAP hBitmap = nullptr;
    HGDIOBJ hOldBitmap = nullptr;
    SIZE size = {0, 0};
};

#endif
