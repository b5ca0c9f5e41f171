#include "framework/win/UIText.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "framework/core/UIFont.h"
#include "framework/core/UILook.h"
#include "framework/win/Library.h"
#include "framework/win/UIDraw.h"

namespace {

// Inset of the text when a frame is drawn.
constexpr int kFrameInset = 3;
// Shadow of UITEXT_SHADOW: colour and offset.
constexpr COLORREF kShadowColor = RGB(160, 160, 160);
constexpr int kShadowOffset = 2;

using T_DrawShadowText = int(WINAPI*)(HDC, LPCWSTR, UINT, RECT*, DWORD, COLORREF, COLORREF, int, int);

T_DrawShadowText ShadowTextFunction()
{
    static C_Library comctl("comctl32.dll");
    static const T_DrawShadowText pfn = comctl.GetAs<T_DrawShadowText>("DrawShadowText");
    return pfn;
}

// The format for measuring: no ellipsis, so the full text is measured, and
// no alignment, which moves the rectangle (a centred line would count its
// offset from the top as height).
UINT MeasureFormat(UINT uFormat)
{
    const UINT uDropped = DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS | DT_CENTER | DT_RIGHT |
                          DT_VCENTER | DT_BOTTOM;
    return (uFormat & ~uDropped) | DT_CALCRECT;
}

} // namespace

bool C_UIText::Attach(HWND hStatic, const char* pszFaceList, COLORREF crNormal, COLORREF crHot,
                      uint32_t ulFlagsIn)
{
    return Attach(hStatic, pszFaceList, 0, crNormal, crHot, ulFlagsIn);
}

bool C_UIText::Attach(HWND hStatic, const char* pszFaceList, int nHeight, COLORREF crNormal, COLORREF crHot,
                      uint32_t ulFlagsIn, WORD wCursorIdIn, T_UITextCallBack pCallBackIn, void* pUserDataIn)
{
    Detach();
    if (!::IsWindow(hStatic)) {
        ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    hWnd = hStatic;
    nRequestedHeight = ScaleHeightForDpi(nHeight, ScreenDpiX());
    crNormalText = crNormal;
    crHotText = crHot;
    crFrameColor = 0;
    crDisabledText = ::GetSysColor(COLOR_GRAYTEXT);
    wCursorId = wCursorIdIn;
    pCallBack = pCallBackIn;
    pUserData = pUserDataIn;
    bPressStarted = false;

    const LONG_PTR lStyle = ::GetWindowLongPtrA(hStatic, GWL_STYLE);
    const LONG_PTR lExStyle = ::GetWindowLongPtrA(hStatic, GWL_EXSTYLE);
    uint32_t ulNew = ulFlagsIn & ~static_cast<uint32_t>(UITEXT_STATE_BITS | UITEXT_NO_TABSTOP);
    if (!(lStyle & WS_TABSTOP))
        ulNew |= UITEXT_NO_TABSTOP;
    if (!::IsWindowEnabled(hStatic))
        ulNew |= UITEXT_DISABLED;
    if ((lExStyle & WS_EX_TRANSPARENT) && !(ulNew & UITEXT_NEVER_TRANSPARENT))
        ulNew |= UITEXT_TRANSPARENT;
    if (ulNew & UITEXT_NEVER_TRANSPARENT)
        ulNew &= ~static_cast<uint32_t>(UITEXT_TRANSPARENT);
    ulFlags = ulNew;
    hHoverCursor = LoadHoverCursor(hStatic, wCursorId, (ulNew & UITEXT_SYSTEM_CURSOR) != 0);

    uFormat = (ulNew & UITEXT_WORD_WRAP) ? DT_WORDBREAK : DT_SINGLELINE;
    uFormat |= StaticTextFormat(static_cast<DWORD>(lStyle));
    if (ulNew & UITEXT_VCENTER)
        uFormat |= DT_VCENTER;
    if (ulNew & UITEXT_END_ELLIPSIS)
        uFormat |= DT_END_ELLIPSIS;

    const std::string strFaceChosen = ChooseInstalledFace(pszFaceList);
    const std::string strStaticText = WindowTextOf(hStatic);
    ::SetWindowTextA(hStatic, "");
    if (ulNew & UITEXT_TRACK_MOUSE)
        ::SetWindowLongPtrA(hStatic, GWL_STYLE, lStyle | SS_NOTIFY);

    // The static's own font is read here, on the window's thread.
    const LOGFONTA lfOwn = (ulNew & UITEXT_OWN_FONT) ? StaticLogFont(hStatic) : LOGFONTA{};
    {
        C_UICriticalSection::C_Guard guard(csText);
        strText = strStaticText;
        strFace = strFaceChosen;
        if (ulNew & UITEXT_OWN_FONT) {
            hFont = ::CreateFontIndirectA(&lfOwn);
            nFontHeight = lfOwn.lfHeight;
            MeasureText();
        } else {
            MakeFont();
        }
    }

    if (!SubClass(hStatic)) {
        const DWORD dwError = ::GetLastError();
        hWnd = nullptr;
        Detach();
        ::SetLastError(dwError);
        return false;
    }
    Invalidate();
    return true;
}

void C_UIText::Detach()
{
    UnSubClass();
    hWnd = nullptr;
    C_UICriticalSection::C_Guard guard(csText);
    FreeGdiObject(hFont);
    FreeBitmaps();
    ulFlags = 0;
}

void C_UIText::FreeBitmaps()
{
    for (HBITMAP& hBitmap : ahBitmaps)
        FreeGdiObject(hBitmap);
}

std::string C_UIText::GetText()
{
    C_UICriticalSection::C_Guard guard(csText);
    return strText;
}

std::string C_UIText::GetFace()
{
    C_UICriticalSection::C_Guard guard(csText);
    return strFace;
}

int C_UIText::GetFontHeight()
{
    C_UICriticalSection::C_Guard guard(csText);
    return nFontHeight;
}

SIZE C_UIText::GetTextSize()
{
    C_UICriticalSection::C_Guard guard(csText);
    return sizeText;
}

void C_UIText::SetText(const char* pszText)
{
    if (hWnd == nullptr)
        return;
    {
        C_UICriticalSection::C_Guard guard(csText);
        strText = pszText != nullptr ? pszText : "";
        if ((ulFlags & UITEXT_REFIT_ON_TEXT) && !(ulFlags & UITEXT_OWN_FONT))
            MakeFont();
        else
            MeasureText();
    }
    Invalidate();
}

void C_UIText::SetColors(COLORREF crNormal, COLORREF crHot, COLORREF crDisabled)
{
    {
        C_UICriticalSection::C_Guard guard(csText);
        crNormalText = crNormal;
        crHotText = crHot;
        crDisabledText = crDisabled;
    }
    if (hWnd != nullptr)
        Invalidate();
}

void C_UIText::SetFrameColor(COLORREF crFrame)
{
    {
        C_UICriticalSection::C_Guard guard(csText);
        crFrameColor = crFrame;
    }
    if (hWnd != nullptr)
        Invalidate();
}

void C_UIText::SetFace(const char* pszFaceList, bool bRedraw)
{
    if (hWnd == nullptr)
        return;
    const std::string strFaceChosen = ChooseInstalledFace(pszFaceList);
    {
        C_UICriticalSection::C_Guard guard(csText);
        strFace = strFaceChosen;
        if (!(ulFlags & UITEXT_OWN_FONT))
            MakeFont();
    }
    if (bRedraw)
        Invalidate();
}

void C_UIText::SetBitmaps(WORD wNormal, WORD wHot, WORD wPressed, int nDesignWidth, int nDesignHeight)
{
    if (hWnd == nullptr)
        return;
    HINSTANCE hInstance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrA(hWnd, GWLP_HINSTANCE));
    if (hInstance == nullptr)
        hInstance = ::GetModuleHandleA(nullptr);
    const WORD awIds[3] = {wNormal, wHot, wPressed};
    HBITMAP ahNew[3] = {};
    for (int i = 0; i < 3; ++i)
        if (awIds[i] != 0)
            ahNew[i] = static_cast<HBITMAP>(
                ::LoadImageA(hInstance, MAKEINTRESOURCEA(awIds[i]), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    RECT rcUnits = {0, 0, 100, 100};
    double dNewX = 1.0, dNewY = 1.0;
    if (::MapDialogRect(::GetParent(hWnd), &rcUnits)) {
        dNewX = BitmapScale(rcUnits.right, nDesignWidth);
        dNewY = BitmapScale(rcUnits.bottom, nDesignHeight);
    }
    {
        C_UICriticalSection::C_Guard guard(csText);
        FreeBitmaps();
        std::copy(ahNew, ahNew + 3, ahBitmaps);
        dScaleX = dNewX;
        dScaleY = dNewY;
    }
    Invalidate();
}

RECT C_UIText::TextArea() const
{
    RECT rc = {0, 0, 0, 0};
    ::GetClientRect(hWnd, &rc);
    if (ulFlags & UITEXT_ANY_FRAME)
        ::InflateRect(&rc, -kFrameInset, -kFrameInset);
    return rc;
}

HFONT C_UIText::CreateFontOfHeight(int nHeightIn) const
{
    const uint32_t ulNow = ulFlags;
    return ::CreateFontA(nHeightIn, 0, 0, 0, (ulNow & UITEXT_BOLD) ? FW_BOLD : FW_NORMAL,
                         (ulNow & UITEXT_ITALIC) ? TRUE : FALSE, (ulNow & UITEXT_UNDERLINE) ? TRUE : FALSE,
                         FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                         DEFAULT_PITCH | FF_DONTCARE, strFace.c_str());
}

void C_UIText::MakeFont()
{
    const RECT rcArea = TextArea();
    const int nAreaWidth = rcArea.right - rcArea.left;
    const int nAreaHeight = rcArea.bottom - rcArea.top;
    const bool bFit = nRequestedHeight == 0 || (ulFlags & UITEXT_ALWAYS_FIT);
    int nStart = nRequestedHeight;
    if (bFit) {
        RECT rcClient = {0, 0, 0, 0};
        ::GetClientRect(hWnd, &rcClient);
        nStart = rcClient.bottom - ((ulFlags & UITEXT_ANY_FRAME) ? 2 * kFrameInset : 0);
        if (nStart < 1)
            nStart = 1;
    }
    int nHeightChosen = nStart;
    if (bFit) {
        HDC hdc = ::GetDC(hWnd);
        if (hdc != nullptr) {
            nHeightChosen = FitFontHeight(nStart, nAreaWidth, nAreaHeight, [&](int nTry) {
                return TrialTextExtent(hdc, CreateFontOfHeight(nTry), strText, rcArea, MeasureFormat(uFormat));
            });
            ::ReleaseDC(hWnd, hdc);
        }
    }
    HFONT hNew = CreateFontOfHeight(nHeightChosen);
    if (hNew != nullptr) {
        FreeGdiObject(hFont);
        hFont = hNew;
        nFontHeight = nHeightChosen;
    }
    MeasureText();
}

void C_UIText::MeasureText()
{
    sizeText.cx = 0;
    sizeText.cy = 0;
    RECT rc = TextArea();
    const int nAreaRight = rc.right;
    if (!CalcTextRect(hWnd, hFont, strText, MeasureFormat(uFormat), &rc))
        return;
    if (strText.empty())
        rc.right = rc.left;
    // A word-wrapped text never reaches beyond the area.
    if ((uFormat & DT_WORDBREAK) && rc.right > nAreaRight)
        rc.right = nAreaRight;
    sizeText.cx = rc.right - rc.left;
    sizeText.cy = rc.bottom - rc.top;
}

void C_UIText::Invalidate()
{
    const uint32_t ulNow = ulFlags;
    InvalidateDrawnControl(hWnd, (ulNow & UITEXT_TRANSPARENT) && !(ulNow & UITEXT_SELF_ONLY));
}

void C_UIText::SetFlag(uint32_t ulFlag, bool bOn)
{
    const uint32_t ulOld = bOn ? ulFlags.fetch_or(ulFlag) : ulFlags.fetch_and(~ulFlag);
    if (((ulOld & ulFlag) != 0) != bOn)
        Invalidate();
}

bool C_UIText::HitsText(POINT pt)
{
    RECT rcClient;
    ::GetClientRect(hWnd, &rcClient);
    if (!::PtInRect(&rcClient, pt))
        return false;
    const RECT rcArea = TextArea();
    int nTextWidth;
    {
        C_UICriticalSection::C_Guard guard(csText);
        nTextWidth = sizeText.cx;
    }
    const S_Span span = HitSpan(rcArea.right - rcArea.left, nTextWidth, AlignOfFormat(uFormat),
                                (ulFlags & UITEXT_WHOLE_CONTROL) != 0);
    return span.Contains(pt.x - rcArea.left);
}

void C_UIText::DrawBitmap(HDC hdc)
{
    const uint32_t ulNow = ulFlags;
    HBITMAP hBitmap = ahBitmaps[0];
    if ((ulNow & UITEXT_PRESSED) && ahBitmaps[2] != nullptr)
        hBitmap = ahBitmaps[2];
    else if ((ulNow & UITEXT_HOT) && (ulNow & UITEXT_TRACK_MOUSE) && ahBitmaps[1] != nullptr)
        hBitmap = ahBitmaps[1];
    if (hBitmap == nullptr)
        return;
    BITMAP bm = {};
    if (::GetObjectA(hBitmap, sizeof(bm), &bm) == 0)
        return;
    HDC hdcImage = ::CreateCompatibleDC(hdc);
    if (hdcImage == nullptr)
        return;
    HGDIOBJ hOld = ::SelectObject(hdcImage, hBitmap);
    if (dScaleX == 1.0 && dScaleY == 1.0) {
        ::BitBlt(hdc, 0, 0, bm.bmWidth, bm.bmHeight, hdcImage, 0, 0, SRCCOPY);
    } else {
        const int nWidth = static_cast<int>(std::lround(bm.bmWidth * dScaleX));
        const int nHeight = static_cast<int>(std::lround(bm.bmHeight * dScaleY));
        PrepareStretch(hdc);
        ::StretchBlt(hdc, 0, 0, nWidth, nHeight, hdcImage, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
    }
    ::SelectObject(hdcImage, hOld);
    ::DeleteDC(hdcImage);
}

void C_UIText::DrawTextWithShadow(HDC hdc, RECT* pRect, COLORREF crText)
{
    const int nLength = static_cast<int>(strText.size());
    if (ulFlags & UITEXT_SHADOW) {
        const T_DrawShadowText pfnShadow = ShadowTextFunction();
        if (pfnShadow != nullptr && nLength > 0) {
            std::vector<wchar_t> vWide(static_cast<size_t>(nLength) + 1, L'\0');
            const int nWide = ::MultiByteToWideChar(CP_ACP, 0, strText.data(), nLength, vWide.data(), nLength);
            if (nWide > 0 &&
                pfnShadow(hdc, vWide.data(), static_cast<UINT>(nWide), pRect, uFormat, crText, kShadowColor,
                          kShadowOffset, kShadowOffset) > 0)
                return;
        }
    }
    ::DrawTextA(hdc, strText.c_str(), nLength, pRect, uFormat);
}

void C_UIText::DrawFrames(HDC hdc, const RECT& rcClient)
{
    const uint32_t ulNow = ulFlags;
    RECT rc = rcClient;
    if (ulNow & (UITEXT_FRAME | UITEXT_DOUBLE_FRAME)) {
        HBRUSH hFrame = ::CreateSolidBrush(crFrameColor);
        if (ulNow & UITEXT_FRAME)
            ::FrameRect(hdc, &rc, hFrame);
        if (ulNow & UITEXT_DOUBLE_FRAME) {
            RECT rcInner = rcClient;
            ::InflateRect(&rcInner, -1, -1);
            ::FrameRect(hdc, &rcInner, hFrame);
            ::InflateRect(&rcInner, -1, -1);
            ::FrameRect(hdc, &rcInner, hFrame);
        }
        ::DeleteObject(hFrame);
    }
    const struct {
        uint32_t ulFlag;
        UINT uEdge;
    } kEdges[] = {{UITEXT_EDGE_BUMP, EDGE_BUMP},
                  {UITEXT_EDGE_ETCHED, EDGE_ETCHED},
                  {UITEXT_EDGE_RAISED, EDGE_RAISED},
                  {UITEXT_EDGE_SUNKEN, EDGE_SUNKEN}};
    for (const auto& edge : kEdges)
        if (ulNow & edge.ulFlag)
            ::DrawEdge(hdc, &rc, edge.uEdge, BF_RECT);
}

void C_UIText::Paint(HDC hdc)
{
    // Asked before the lock is taken: the parent runs its own code.
    HBRUSH hParentBrush = AskParentStaticBrush(hWnd, hdc);
    const int nSaved = ::SaveDC(hdc);
    RECT rcClient;
    ::GetClientRect(hWnd, &rcClient);
    C_UICriticalSection::C_Guard guard(csText);
    const uint32_t ulNow = ulFlags;

    if (!(ulNow & UITEXT_TRANSPARENT)) {
        HBRUSH hBrush = hParentBrush;
        if ((ulNow & UITEXT_WHITE_BACKGROUND) || hBrush == nullptr)
            hBrush = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
        ::FillRect(hdc, &rcClient, hBrush);
    }
    DrawBitmap(hdc);

    COLORREF crText = ::GetTextColor(hdc);
    switch (SelectTextColor(ulNow)) {
    case UITEXT_COLOR_DISABLED:
        crText = crDisabledText;
        break;
    case UITEXT_COLOR_HOT:
        crText = crHotText;
        break;
    case UITEXT_COLOR_NORMAL:
        crText = crNormalText;
        break;
    default:
        break;
    }
    ::SetTextColor(hdc, crText);
    ::SetBkMode(hdc, TRANSPARENT);
    if (hFont != nullptr)
        ::SelectObject(hdc, hFont);

    const RECT rcArea = TextArea();
    RECT rcText = rcArea;
    // DrawText centres single lines only; a wrapped text is centred here.
    if ((uFormat & DT_WORDBREAK) && (uFormat & DT_VCENTER) && sizeText.cy < rcArea.bottom - rcArea.top)
        rcText.top += (rcArea.bottom - rcArea.top - sizeText.cy) / 2;
    DrawTextWithShadow(hdc, &rcText, crText);
    DrawFrames(hdc, rcClient);

    if ((ulNow & UITEXT_FOCUSED) && !(ulNow & UITEXT_NO_TABSTOP)) {
        RECT rcFocus = rcClient;
        if (!(ulNow & UITEXT_WHOLE_CONTROL)) {
            rcFocus = PlaceText(rcArea, sizeText.cx, sizeText.cy, uFormat);
            ::InflateRect(&rcFocus, 1, 1);
            ::IntersectRect(&rcFocus, &rcFocus, &rcClient);
        }
        DrawFocusFrame(hdc, rcFocus);
    }
    ::RestoreDC(hdc, nSaved);
}

void C_UIText::Click(bool bCommand, int nCode)
{
    // Everything needed is read first: the callback or the parent may detach.
    HWND hSelf = hWnd;
    const T_UITextCallBack pfn = pCallBack;
    void* pData = pUserData;
    if (pfn != nullptr)
        pfn(nCode, 0, pData, this);
    if (bCommand && ::IsWindow(hSelf))
        SendCommandToParent(hSelf);
}

int C_UIText::OnMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const uint32_t ulNow = ulFlags;
    const bool bTracking = (ulNow & UITEXT_TRACK_MOUSE) != 0;
    const bool bButton = (ulNow & UITEXT_BUTTON) != 0;
    switch (uMsg) {
    case WM_SETCURSOR:
        if (bTracking && (ulNow & UITEXT_HOT) && hHoverCursor != nullptr) {
            ::SetCursor(hHoverCursor);
            *pResult = TRUE;
            return 1;
        }
        return 0;
    case WM_MOUSEMOVE: {
        if (!bTracking)
            return 0;
        const bool bHot = FollowPointer((ulNow & UITEXT_HOT) != 0, HitsText(MousePoint(lParam)), hHoverCursor);
        SetFlag(UITEXT_HOT, bHot);
        if (bHot && (wParam & MK_LBUTTON) && bPressStarted)
            SetFlag(UITEXT_PRESSED, true);
        return 1;
    }
    case WM_MOUSELEAVE:
        bPressStarted = false;
        SetFlag(UITEXT_HOT | UITEXT_PRESSED, false);
        return 1;
    case WM_CANCELMODE:
        bPressStarted = false;
        SetFlag(UITEXT_PRESSED, false);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (!bTracking)
            return 0;
        bPressStarted = true;
        SetFlag(UITEXT_PRESSED, true);
        Click(false, UITEXT_CODE_DOWN);
        return 1;
    case WM_LBUTTONUP: {
        if (!bTracking)
            return 0;
        // A click is a press and a release on the text.
        const bool bClick = (ulNow & UITEXT_HOT) && bPressStarted;
        bPressStarted = false;
        SetFlag(UITEXT_PRESSED, false);
        if (bClick)
            Click(bButton, UITEXT_CODE_UP);
        return 1;
    }
    case BM_CLICK:
        // The dialog manager's answer to the text's mnemonic.
        if (bButton && !(ulNow & UITEXT_DISABLED))
            Click(true, UITEXT_CODE_UP);
        return 1;
    case WM_KEYDOWN:
        if (ulNow & UITEXT_NO_TABSTOP)
            return 0;
        if (wParam != VK_RETURN && wParam != VK_SPACE)
            return 0;
        // A held key repeats WM_KEYDOWN; one press is one command.
        if (!(lParam & 0x40000000))
            Click(bButton, wParam == VK_RETURN ? UITEXT_CODE_ENTER : UITEXT_CODE_SPACE);
        return 1;
    case WM_GETDLGCODE:
        if (ulNow & UITEXT_NO_TABSTOP)
            return 0;
        *pResult = ButtonDialogCode(lParam, false);
        return 1;
    case WM_SETFOCUS:
        SetFlag(UITEXT_FOCUSED, true);
        return 1;
    case WM_KILLFOCUS:
        SetFlag(UITEXT_FOCUSED, false);
        return 1;
    case WM_ENABLE:
        if (wParam) {
            SetFlag(UITEXT_DISABLED, false);
        } else {
            bPressStarted = false;
            SetFlag(UITEXT_HOT | UITEXT_PRESSED, false);
            SetFlag(UITEXT_DISABLED, true);
        }
        return 1;
    default:
        return 0;
    }
}
