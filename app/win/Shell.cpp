#include "app/win/Shell.h"

INT_PTR C_Page::EraseBackground(HDC hDC) const
{
    RECT rc = {};
    ::GetClientRect(GetHandle(), &rc);
    ::FillRect(hDC, &rc, shell.GetPageBrush());
    return 1;
}

INT_PTR C_Page::StaticColor(HDC hDC) const
{
    ::SetBkColor(hDC, ::GetSysColor(COLOR_WINDOW));
    return reinterpret_cast<INT_PTR>(shell.GetPageBrush());
}
