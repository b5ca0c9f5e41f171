#include "framework/win/DrawnControl.h"

#include <algorithm>
#include <cstring>

#include "framework/win/UIDraw.h"

void C_DrawnControl::TakeText(const char*) {}

std::string C_DrawnControl::TextForOthers()
{
    return std::string();
}

bool C_DrawnControl::FollowPointer(bool bWasHot, bool bOver, HCURSOR hHoverCursor) const
{
    if (bOver) {
        if (!bWasHot)
            RequestMouseLeave(hWnd);
        if (hHoverCursor != nullptr)
            ::SetCursor(hHoverCursor);
        return true;
    }
    if (bWasHot)
        ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
    return false;
}

LRESULT C_DrawnControl::ButtonDialogCode(LPARAM lParam, bool bKeyUp)
{
    const MSG* pMsg = reinterpret_cast<const MSG*>(lParam);
    LRESULT lCode = DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    if (pMsg != nullptr && (pMsg->message == WM_KEYDOWN || (bKeyUp && pMsg->message == WM_KEYUP)) &&
        (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_SPACE))
        lCode |= DLGC_WANTALLKEYS;
    return lCode;
}

int C_DrawnControl::CallBack(HWND, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult, void* pUserData)
{
    C_DrawnControl* pSelf = static_cast<C_DrawnControl*>(pUserData);
    if (pSelf->OnCommonMessage(uMsg, wParam, lParam, pResult))
        return 1;
    return pSelf->OnMessage(uMsg, wParam, lParam, pResult);
}

int C_DrawnControl::OnCommonMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    *pResult = 0;
    switch (uMsg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC hdc = ::BeginPaint(hWnd, &ps);
        if (hdc != nullptr)
            Paint(hdc);
        ::EndPaint(hWnd, &ps);
        return 1;
    }
    case WM_PRINTCLIENT:
        Paint(reinterpret_cast<HDC>(wParam));
        return 1;
    case WM_NCHITTEST:
        if (!(ulAnswers & DRAWN_HIT_CLIENT))
            return 0;
        *pResult = HTCLIENT;
        return 1;
    case WM_ERASEBKGND:
        if (!(ulAnswers & DRAWN_NO_ERASE))
            return 0;
        *pResult = 1;
        return 1;
    case WM_SETTEXT:
        if (!(ulAnswers & DRAWN_OWN_TEXT))
            return 0;
        TakeText(reinterpret_cast<const char*>(lParam));
        *pResult = TRUE;
        return 1;
    case WM_GETTEXT: {
        if (!(ulAnswers & DRAWN_OWN_TEXT))
            return 0;
        char* pszOut = reinterpret_cast<char*>(lParam);
        if (pszOut == nullptr || wParam == 0)
            return 1;
        const std::string strText = TextForOthers();
        const size_t nCopy = std::min(strText.size(), static_cast<size_t>(wParam) - 1);
        std::memcpy(pszOut, strText.data(), nCopy);
        pszOut[nCopy] = '\0';
        *pResult = static_cast<LRESULT>(nCopy);
        return 1;
    }
    case WM_GETTEXTLENGTH:
        if (!(ulAnswers & DRAWN_OWN_TEXT))
            return 0;
        *pResult = static_cast<LRESULT>(TextForOthers().size());
        return 1;
    default:
        return 0;
    }
}
