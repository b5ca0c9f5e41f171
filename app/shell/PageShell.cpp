#include "app/shell/PageShell.h"

int C_PageShell::_Handle_Init()
{
    shell.CreateProgressBar(GetHandle());
    return 1;
}

INT_PTR C_PageShell::_Handle_MESSAGE(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_ERASEBKGND: {
        RECT rc = {};
        ::GetClientRect(GetHandle(), &rc);
        ::FillRect(reinterpret_cast<HDC>(wParam), &rc, shell.GetPageBrush());
        return 1;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return reinterpret_cast<INT_PTR>(shell.GetPageBrush());
    default:
        return C_Dialog::_Handle_MESSAGE(uMsg, wParam, lParam);
    }
}
