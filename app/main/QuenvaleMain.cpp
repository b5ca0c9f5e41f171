#include <windows.h>

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    return static_cast<int>(::DialogBoxParamA(hInstance, MAKEINTRESOURCEA(101), nullptr,
        [](HWND h, UINT m, WPARAM w, LPARAM) -> INT_PTR {
            if (m == WM_INITDIALOG) return TRUE;
            if (m == WM_CLOSE || (m == WM_COMMAND && LOWORD(w) == IDCANCEL)) { ::EndDialog(h, 0); return TRUE; }
            return FALSE; }, 0));
}
