#include "app/shell/PageShell.h"

int C_PageShell::_Handle_Init()
{
    host.CreateProgressBar(GetHandle());
    return 1;
}

INT_PTR C_PageShell::_Handle_MESSAGE(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_ERASEBKGND:
        return EraseBackground(reinterpret_cast<HDC>(wParam));
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return StaticColor(reinterpret_cast<HDC>(wParam));
    default:
        return C_Dialog::_Handle_MESSAGE(uMsg, wParam, lParam);
    }
}
