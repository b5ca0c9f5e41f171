#include "framework/win/UITabButton.h"

#include "framework/core/UIFlags.h"
#include "framework/core/UILook.h"
#include "framework/win/UIDraw.h"

namespace {

// Left edge of the icon, and the gap between the icon and the text.
constexpr int kIconLeft = 7;
constexpr int kTextGap = 12;

} // namespace

bool C_UITabButton::Attach(HWND hStatic, HINSTANCE hInstance, WORD wIconId, COLORREF crTextNormal,
                           COLORREF crTextSelected, COLORREF crTextHot, COLORREF crBackNormal,
                           COLORREF crBackSelected, COLORREF crBackHot)
{
    Detach();
    if (!::IsWindow(hStatic)) {
        ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    ulState = 0;
    acrText[UITAB_LOOK_NORMAL] = crTextNormal;
    acrText[UITAB_LOOK_SELECTED] = crTextSelected;
    acrText[UITAB_LOOK_HOT] = crTextHot;
    acrBack[UITAB_LOOK_NORMAL] = crBackNormal;
    acrBack[UITAB_LOOK_SELECTED] = crBackSelected;
    acrBack[UITAB_LOOK_HOT] = crBackHot;

    {
        C_UICriticalSection::C_Guard guard(csText);
        strText = WindowTextOf(hStatic);
    }
    ::SetWindowTextA(hStatic, "");

    RECT rc;
    ::GetClientRect(hStatic, &rc);
    nIconSize = TabButtonIconSize(rc.bottom - rc.top);
    if (nIconSize > 0) {
        hImages = ::ImageList_Create(nIconSize, nIconSize, ILC_COLOR32 | ILC_MASK, 1, 0);
        HICON hIcon = static_cast<HICON>(
            ::LoadImageA(hInstance, MAKEINTRESOURCEA(wIconId), IMAGE_ICON, nIconSize, nIconSize, LR_DEFAULTCOLOR));
        if (hImages != nullptr && hIcon != nullptr)
            ::ImageList_AddIcon(hImages, hIcon);
        if (hIcon != nullptr)
            ::DestroyIcon(hIcon);
    }

    uFormat = DT_SINGLELINE | DT_END_ELLIPSIS |
              StaticTextFormat(static_cast<DWORD>(::GetWindowLongPtrA(hStatic, GWL_STYLE)));

    if (!SubClass(hStatic)) {
        const DWORD dwError = ::GetLastError();
        if (hImages != nullptr)
            ::ImageList_Destroy(hImages);
        hImages = nullptr;
        ::SetLastError(dwError);
        return false;
    }
    hWnd = hStatic;
    ::InvalidateRect(hWnd, nullptr, TRUE);
    return true;
}

void C_UITabButton::Detach()
{
    UnSubClass();
    hWnd = nullptr;
    if (hImages != nullptr)
        ::ImageList_Destroy(hImages);
    hImages = nullptr;
    ulState = 0;
}

void C_UITabButton::SetText(const char* pszText)
{
    {
        C_UICriticalSection::C_Guard guard(csText);
        strText = pszText != nullptr ? pszText : "";
    }
    if (hWnd != nullptr)
        ::InvalidateRect(hWnd, nullptr, FALSE);
}

std::string C_UITabButton::GetText()
{
    C_UICriticalSection::C_Guard guard(csText);
    return strText;
}

void C_UITabButton::SetSelected(int nSelected)
{
    if (nSelected == 1)
        ulState |= UITAB_SELECTED;
    else
        ulState &= ~static_cast<uint32_t>(UITAB_SELECTED);
    if (hWnd != nullptr)
        ::InvalidateRect(hWnd, nullptr, FALSE);
}

void C_UITabButton::SetHot(bool bHot)
{
    const uint32_t ulOld = ulState;
    if (bHot)
        ulState |= UITAB_HOT;
    else
        ulState &= ~static_cast<uint32_t>(UITAB_HOT);
    if (ulState != ulOld)
        ::InvalidateRect(hWnd, nullptr, FALSE);
}

void C_UITabButton::Paint(HDC hdc)
{
    HFONT hFont = reinterpret_cast<HFONT>(::SendMessageA(hWnd, WM_GETFONT, 0, 0));
    const int nSaved = ::SaveDC(hdc);
    RECT rc;
    ::GetClientRect(hWnd, &rc);
    const int nLook = SelectTabLook(ulState);

    HBRUSH hBrush = ::CreateSolidBrush(acrBack[nLook]);
    ::FillRect(hdc, &rc, hBrush);
    ::DeleteObject(hBrush);

    if (hImages != nullptr)
        ::ImageList_Draw(hImages, 0, hdc, kIconLeft, (rc.bottom - nIconSize) / 2, ILD_TRANSPARENT);

    ::SetBkMode(hdc, TRANSPARENT);
    ::SetTextColor(hdc, acrText[nLook]);
    if (hFont != nullptr)
        ::SelectObject(hdc, hFont);
    RECT rcText = rc;
    rcText.left = nIconSize + kTextGap;
    {
        C_UICriticalSection::C_Guard guard(csText);
        ::DrawTextA(hdc, strText.c_str(), static_cast<int>(strText.size()), &rcText, uFormat);
    }
    ::RestoreDC(hdc, nSaved);
}

int C_UITabButton::OnMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    switch (uMsg) {
    case WM_ENABLE:
        ::InvalidateRect(hWnd, nullptr, FALSE);
        return 1;
    case WM_MOUSEMOVE: {
        RECT rc;
        ::GetClientRect(hWnd, &rc);
        if (::PtInRect(&rc, MousePoint(lParam)))
            SetHot(FollowPointer((ulState & UITAB_HOT) != 0, true, nullptr));
        return 1;
    }
    case WM_MOUSELEAVE:
        SetHot(false);
        return 1;
    case WM_LBUTTONUP:
        SendCommandToParent(hWnd);
        if (::IsWindow(hWnd))
            ::InvalidateRect(hWnd, nullptr, FALSE);
        return 1;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN || wParam == VK_SPACE)
            SendCommandToParent(hWnd);
        return 1;
    default:
        return 0;
    }
}
