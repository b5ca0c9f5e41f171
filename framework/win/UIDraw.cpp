#include "framework/win/UIDraw.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "framework/core/UILook.h"
#include "framework/win/TemplateFont.h"

std::string ChooseInstalledFace(const char* pszFaceList, const char* pszLastResort)
{
    return ChooseFace(pszFaceList, [](const std::string& strFace) { return IsFontInstalled(strFace.c_str()); },
                      pszLastResort);
}

int ScreenDpiX()
{
    HDC hdc = ::GetDC(nullptr);
    if (hdc == nullptr)
        return 96;
    const int nDpi = ::GetDeviceCaps(hdc, LOGPIXELSX);
    ::ReleaseDC(nullptr, hdc);
    return nDpi > 0 ? nDpi : 96;
}

UINT StaticTextFormat(DWORD dwStyle)
{
    UINT uFormat = 0;
    const DWORD dwType = dwStyle & SS_TYPEMASK;
    if (dwType == SS_CENTER)
        uFormat |= DT_CENTER;
    else if (dwType == SS_RIGHT)
        uFormat |= DT_RIGHT;
    if (dwStyle & SS_CENTERIMAGE)
        uFormat |= DT_VCENTER;
    if (dwStyle & SS_NOPREFIX)
        uFormat |= DT_NOPREFIX;
    return uFormat;
}

int AlignOfFormat(UINT uFormat)
{
    if (uFormat & DT_CENTER)
        return UI_ALIGN_CENTER;
    if (uFormat & DT_RIGHT)
        return UI_ALIGN_RIGHT;
    return UI_ALIGN_LEFT;
}

HBRUSH AskParentStaticBrush(HWND hWnd, HDC hdc)
{
    HWND hParent = ::GetParent(hWnd);
    if (hParent == nullptr)
        return nullptr;
    return reinterpret_cast<HBRUSH>(
        ::SendMessageA(hParent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(hWnd)));
}

void InvalidateDrawnControl(HWND hWnd, bool bThroughParent)
{
    HWND hParent = bThroughParent ? ::GetParent(hWnd) : nullptr;
    if (hParent == nullptr) {
        ::InvalidateRect(hWnd, nullptr, FALSE);
        return;
    }
    RECT rc;
    if (!::GetWindowRect(hWnd, &rc))
        return;
    ::MapWindowPoints(nullptr, hParent, reinterpret_cast<POINT*>(&rc), 2);
    // Children are included even when the parent clips them, so the control
    // is drawn again over the fresh background.
    ::RedrawWindow(hParent, &rc, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

bool CursorClientPoint(HWND hWnd, POINT* pPoint)
{
    POINT pt;
    if (!::GetCursorPos(&pt))
        return false;
    if (!::ScreenToClient(hWnd, &pt))
        return false;
    *pPoint = pt;
    return true;
}

void RequestMouseLeave(HWND hWnd)
{
    TRACKMOUSEEVENT track = {};
    track.cbSize = sizeof(track);
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = hWnd;
    ::TrackMouseEvent(&track);
}

void SendCommandToParent(HWND hWnd)
{
    HWND hParent = ::GetParent(hWnd);
    if (hParent == nullptr)
        return;
    const int nId = ::GetDlgCtrlID(hWnd);
    ::SendMessageA(hParent, WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED), reinterpret_cast<LPARAM>(hWnd));
}

HCURSOR LoadHoverCursor(HWND hWnd, WORD wId, bool bSystem)
{
    if (wId == 0)
        return nullptr;
    if (bSystem)
        return ::LoadCursorA(nullptr, MAKEINTRESOURCEA(wId));
    HINSTANCE hInstance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrA(hWnd, GWLP_HINSTANCE));
    HCURSOR hCursor = hInstance != nullptr ? ::LoadCursorA(hInstance, MAKEINTRESOURCEA(wId)) : nullptr;
    if (hCursor == nullptr)
        hCursor = ::LoadCursorA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(wId));
    return hCursor;
}

RECT PlaceText(const RECT& rcArea, int nWidth, int nHeight, UINT uFormat)
{
    RECT rc = rcArea;
    const int nAreaWidth = rcArea.right - rcArea.left;
    const int nAreaHeight = rcArea.bottom - rcArea.top;
    nWidth = std::min(nWidth, nAreaWidth);
    nHeight = std::min(nHeight, nAreaHeight);
    const S_Span span = HitSpan(nAreaWidth, nWidth, AlignOfFormat(uFormat), false);
    rc.left = rcArea.left + span.nLeft;
    rc.right = rcArea.left + span.nRight;
    if (uFormat & DT_VCENTER)
        rc.top = rcArea.top + (nAreaHeight - nHeight) / 2;
    rc.bottom = rc.top + nHeight;
    return rc;
}

std::string WindowTextOf(HWND hWnd)
{
    const int nLength = ::GetWindowTextLengthA(hWnd);
    if (nLength <= 0)
        return std::string();
    std::vector<char> vText(static_cast<size_t>(nLength) + 1, '\0');
    const int nRead = ::GetWindowTextA(hWnd, vText.data(), nLength + 1);
    return std::string(vText.data(), static_cast<size_t>(std::max(nRead, 0)));
}

POINT MousePoint(LPARAM lParam)
{
    const POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    return pt;
}

LOGFONTA StaticLogFont(HWND hStatic)
{
    LOGFONTA lf = {};
    HGDIOBJ hFont = reinterpret_cast<HGDIOBJ>(::SendMessageA(hStatic, WM_GETFONT, 0, 0));
    if (hFont == nullptr || ::GetObjectA(hFont, sizeof(lf), &lf) == 0)
        ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    return lf;
}

S_TextExtent TrialTextExtent(HDC hdc, HFONT hTrialFont, const std::string& strText, const RECT& rcArea,
                             UINT uFormat)
{
    S_TextExtent extent;
    if (hTrialFont == nullptr)
        return extent;
    HGDIOBJ hOld = ::SelectObject(hdc, hTrialFont);
    RECT rc = rcArea;
    ::DrawTextA(hdc, strText.c_str(), static_cast<int>(strText.size()), &rc, uFormat | DT_CALCRECT);
    ::SelectObject(hdc, hOld);
    ::DeleteObject(hTrialFont);
    extent.nWidth = rc.right - rc.left;
    extent.nHeight = rc.bottom - rc.top;
    return extent;
}

bool CalcTextRect(HWND hWnd, HFONT hFont, const std::string& strText, UINT uFormat, RECT* pRect)
{
    HDC hdc = ::GetDC(hWnd);
    if (hdc == nullptr)
        return false;
    HGDIOBJ hOld = hFont != nullptr ? ::SelectObject(hdc, hFont) : nullptr;
    ::DrawTextA(hdc, strText.c_str(), static_cast<int>(strText.size()), pRect, uFormat | DT_CALCRECT);
    if (hOld != nullptr)
        ::SelectObject(hdc, hOld);
    ::ReleaseDC(hWnd, hdc);
    return true;
}

void DrawFocusFrame(HDC hdc, const RECT& rc)
{
    ::SetTextColor(hdc, RGB(0, 0, 0));
    ::SetBkColor(hdc, RGB(255, 255, 255));
    ::DrawFocusRect(hdc, &rc);
}

void PrepareStretch(HDC hdc)
{
    if (::SetStretchBltMode(hdc, HALFTONE) == 0)
        ::SetStretchBltMode(hdc, COLORONCOLOR);
    ::SetBrushOrgEx(hdc, 0, 0, nullptr);
}
