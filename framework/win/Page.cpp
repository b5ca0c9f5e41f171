#include "framework/win/Page.h"

#include <commctrl.h>

C_Page::~C_Page()
{
    ReleasePageIcon();
}

INT_PTR C_Page::EraseBackground(HDC hDC) const
{
    RECT rc = {};
    ::GetClientRect(GetHandle(), &rc);
    ::FillRect(hDC, &rc, host.GetPageBrush());
    return 1;
}

INT_PTR C_Page::StaticColor(HDC hDC) const
{
    ::SetBkColor(hDC, host.GetPageColor());
    return reinterpret_cast<INT_PTR>(host.GetPageBrush());
}

INT_PTR C_Page::_Handle_MESSAGE(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_ERASEBKGND:
        ::SetWindowLongPtrA(GetHandle(), DWLP_MSGRESULT, 1);
        return EraseBackground(reinterpret_cast<HDC>(wParam));
    case WM_CTLCOLORSTATIC:
        return StaticColor(reinterpret_cast<HDC>(wParam));
    default:
        return C_Dialog::_Handle_MESSAGE(uMsg, wParam, lParam);
    }
}

bool C_Page::ShowPageIcon(int nStaticId, int nIconId)
{
    ReleasePageIcon();
    const int nIconSize = 2 * ::GetSystemMetrics(SM_CXICON);
    hPageIcon = static_cast<HICON>(
        ::LoadImageA(GetInstance(), MAKEINTRESOURCEA(nIconId), IMAGE_ICON, nIconSize, nIconSize, 0));
    if (hPageIcon == nullptr)
        return false;
    nPageIconStatic = nStaticId;
    ::SendDlgItemMessageA(GetHandle(), nStaticId, STM_SETICON, reinterpret_cast<WPARAM>(hPageIcon), 0);
    return true;
}

void C_Page::ReleasePageIcon()
{
    if (hPageIcon == nullptr)
        return;
    if (GetHandle() != nullptr)
        ::SendDlgItemMessageA(GetHandle(), nPageIconStatic, STM_SETICON, 0, 0);
    ::DestroyIcon(hPageIcon);
    hPageIcon = nullptr;
}

int C_Page::ShowMessage(const std::string& strText, UINT uStyle) const
{
    return ::MessageBoxA(GetHandle(), strText.c_str(), host.GetTitle().c_str(), uStyle);
}

void C_Page::SetProgressRange(int nMaximum) const
{
    ::SendMessageA(host.GetProgressBar(), PBM_SETRANGE, 0, MAKELPARAM(0, nMaximum));
}

void C_Page::SetProgressPosition(int nPosition) const
{
    ::SendMessageA(host.GetProgressBar(), PBM_SETPOS, static_cast<WPARAM>(nPosition), 0);
}
