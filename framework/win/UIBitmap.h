#ifndef QUENVALE_FRAMEWORK_UIBITMAP_H
#define QUENVALE_FRAMEWORK_UIBITMAP_H

#include <windows.h>

#include "framework/win/DrawnControl.h"

// An image control over a static: a bitmap resource drawn centred on the
// parent's static background brush (WM_CTLCOLORSTATIC), with one colour of
// the bitmap left out so that the background shows through; a bitmap
// larger than the control is shrunk to fit. The main window's logo is one.
//
// Used on the window's thread only.
class C_UIBitmap : public C_DrawnControl {
public:
    C_UIBitmap() : C_DrawnControl("bitx", DRAWN_NO_ERASE) {}
    ~C_UIBitmap() override { Detach(); }

    // Shows bitmap wBitmapId of hInstance in hStatic; crTransparent is the
    // colour that is not drawn. False when hStatic is not a window, the
    // bitmap cannot be loaded or the static cannot be subclassed.
    bool Attach(HWND hStatic, HINSTANCE hInstance, WORD wBitmapId, COLORREF crTransparent);
    void Detach();

    SIZE GetBitmapSize() const { return sizeBitmap; }

private:
    void Paint(HDC hdc) override;
    int OnMessage(UINT, WPARAM, LPARAM, LRESULT*) override { return 0; }
    // The bitmap without its left-out colour, at its own size, at x, y.
    void DrawMasked(HDC hdc, int x, int y) const;
    bool PrepareMask(COLORREF crTransparent);
    void FreeBitmaps();

    HBITMAP hImage = nullptr;   // the bitmap with its left-out colour made black
    HBITMAP hMask = nullptr;    // monochrome: 1 where the bitmap is left out
    SIZE sizeBitmap = {0, 0};
};

#endif
