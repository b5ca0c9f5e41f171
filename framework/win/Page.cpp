#include "framework/win/Page.h"

#include <commctrl.h>

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
