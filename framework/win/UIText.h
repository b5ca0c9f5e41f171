#ifndef QUENVALE_FRAMEWORK_UITEXT_H
#define QUENVALE_FRAMEWORK_UITEXT_H

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "framework/core/UIFlags.h"
#include "framework/win/DrawnControl.h"
#include "framework/win/UICriticalSection.h"

class C_UIText;

// Reports a click or key: nCode UITEXT_CODE_* (1 down, 2 released over the
// control, 3 Space, 4 Enter); lReserved is 0.
typedef void (*T_UITextCallBack)(int nCode, LPARAM lReserved, void* pUserData, C_UIText* pControl);

// A drawn label, value field or text button over a static (flags
// UITEXT_* in framework/core/UIFlags.h). The font is chosen from a face
// list and, for height 0, fitted to the control. In button mode
// (UITEXT_BUTTON) a click on the text, Enter or Space sends WM_COMMAND
// (control id, BN_CLICKED) to the parent.
//
// Used on the window's thread, except SetText (and WM_SETTEXT), which any
// thread may call: text, font and sizes are changed and painted only under
// the control's lock, and the repaint is left to the window's thread.
class C_UIText : public C_DrawnControl {
public:
    C_UIText() : C_DrawnControl("stax", DRAWN_HIT_CLIENT | DRAWN_NO_ERASE | DRAWN_OWN_TEXT) {}
    ~C_UIText() override { Detach(); }

    // pszFaceList: faces separated by "," or ";" (null or empty: "Segoe UI;
    // Verdana;MS Sans Serif"). nHeight: font height in pixels at 96 DPI
    // (negative: character height), 0 = fit to the control. wCursorId: the
    // hover cursor (a resource of the program, or a system cursor with
    // UITEXT_SYSTEM_CURSOR), 0 = none. The static's text becomes the
    // control's and the static's own text is cleared.
    bool Attach(HWND hStatic, const char* pszFaceList, int nHeight, COLORREF crNormal, COLORREF crHot,
                uint32_t ulFlagsIn, WORD wCursorIdIn = 0, T_UITextCallBack pCallBackIn = nullptr,
                void* pUserDataIn = nullptr);
    // The same with height 0: the font fits the control.
    bool Attach(HWND hStatic, const char* pszFaceList, COLORREF crNormal, COLORREF crHot, uint32_t ulFlagsIn);
    // Gives the static back; frees font and bitmaps.
    void Detach();

    // Any thread.
    void SetText(const char* pszText);
    void SetColors(COLORREF crNormal, COLORREF crHot, COLORREF crDisabled);
    void SetFrameColor(COLORREF crFrame);
    void SetFace(const char* pszFaceList, bool bRedraw);
    // Bitmaps drawn under the text (normal, hot, pressed; 0 = none), each
    // scaled by the size of 100 x 100 dialog units of the parent divided by
    // nDesignWidth x nDesignHeight. A bitmap that cannot be loaded is skipped.
    void SetBitmaps(WORD wNormal, WORD wHot, WORD wPressed, int nDesignWidth, int nDesignHeight);

    uint32_t GetFlags() const { return ulFlags.load(); }
    std::string GetText();
    std::string GetFace();
    // Height of the font in use (pixels, negative for a character height).
    int GetFontHeight();
    // Size of the text in the font in use.
    SIZE GetTextSize();

private:
    int OnMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void Paint(HDC hdc) override;
    void TakeText(const char* pszText) override { SetText(pszText); }
    std::string TextForOthers() override { return GetText(); }
    void DrawTextWithShadow(HDC hdc, RECT* pRect, COLORREF crText);
    void DrawBitmap(HDC hdc);
    void DrawFrames(HDC hdc, const RECT& rcClient);
    // Under csText.
    void MakeFont();
    HFONT CreateFontOfHeight(int nFontHeight) const;
    void MeasureText();
    RECT TextArea() const;
    bool HitsText(POINT pt);
    void SetFlag(uint32_t ulFlag, bool bOn);
    void Invalidate();
    void Click(bool bCommand, int nCode);
    void FreeBitmaps();

    C_UICriticalSection csText;        // guards the members marked (L)
    std::string strText;               // (L)
    std::string strFace;               // (L)
    HFONT hFont = nullptr;             // (L)
    int nRequestedHeight = 0;          // already scaled for the screen
    int nFontHeight = 0;               // (L)
    SIZE sizeText = {0, 0};            // (L)
    COLORREF crNormalText = 0xFF0000;
    COLORREF crHotText = 0xFF80FF;
    COLORREF crFrameColor = 0;
    COLORREF crDisabledText = 0;
    HBITMAP ahBitmaps[3] = {};         // normal, hot, pressed
    double dScaleX = 1.0;
    double dScaleY = 1.0;
    WORD wCursorId = 0;
    HCURSOR hHoverCursor = nullptr;
    T_UITextCallBack pCallBack = nullptr;
    void* pUserData = nullptr;
    UINT uFormat = DT_SINGLELINE;
    std::atomic<uint32_t> ulFlags{0};
    bool bPressStarted = false;        // the left button went down on the control
};

#endif
