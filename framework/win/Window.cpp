#include "framework/win/Window.h"

#include <objbase.h>

#include <algorithm>

#include "framework/win/Dialog.h"

C_Window::~C_Window()
{
    if (hWnd != nullptr && ::IsWindow(hWnd)) {
        ::SetWindowLongPtrA(hWnd, GWLP_USERDATA, 0);
        ::DestroyWindow(hWnd);
    }
    if (bClassRegistered)
        ::UnregisterClassA(strClassName.c_str(), hInstance);
}

HWND C_Window::Init(HINSTANCE hInstanceIn, int nShowCommand, HWND hParentIn)
{
    hParent = hParentIn;
    hInstance = hInstanceIn;
    strClassName = "Vorlix";
    GUID guid;
    if (SUCCEEDED(::CoCreateGuid(&guid))) {
        wchar_t szGuid[64];
        if (::StringFromGUID2(guid, szGuid, 64) > 0) {
            char szAnsi[64];
            ::WideCharToMultiByte(CP_ACP, 0, szGuid, -1, szAnsi, sizeof(szAnsi), nullptr, nullptr);
            strClassName += "_";
            strClassName += szAnsi;
        }
    }
    C_Library comctl;
    PrepareUserInterface(comctl);
    if (!RegisterMainClass() || !LoadAccelerators() || !CreateMainWindow())
        return nullptr;
    ::ShowWindow(hWnd, nShowCommand);
    ::UpdateWindow(hWnd);
    return hWnd;
}

bool C_Window::RegisterMainClass()
{
    return RegisterWindowClass(strClassName.c_str(), 0, 0, 0);
}

bool C_Window::RegisterWindowClass(const char* pszClassName, int nIconId, int nSmallIconId, int nMenuId)
{
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = hInstance;
    wc.hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));   // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    wc.hIcon = nIconId != 0 ? ::LoadIconA(hInstance, MAKEINTRESOURCEA(nIconId)) : nullptr;
    wc.hIconSm = nSmallIconId != 0
        ? static_cast<HICON>(::LoadImageA(hInstance, MAKEINTRESOURCEA(nSmallIconId), IMAGE_ICON,
                                          ::GetSystemMetrics(SM_CXSMICON),
                                          ::GetSystemMetrics(SM_CYSMICON), 0))
        : nullptr;
    wc.lpszMenuName = nMenuId != 0 ? MAKEINTRESOURCEA(nMenuId) : nullptr;
    wc.lpszClassName = pszClassName;
    if (::RegisterClassExA(&wc) == 0)
        return false;
    if (strClassName == pszClassName)
        bClassRegistered = true;
    return true;
}

bool C_Window::LoadAcceleratorsById(int nId)
{
    hAccelerators = ::LoadAcceleratorsA(hInstance, MAKEINTRESOURCEA(nId));
    return hAccelerators != nullptr;
}

bool C_Window::CreateMainWindow()
{
    return CreateWindowNamed(strClassName.c_str(), "Vorlix", nullptr) != nullptr;
}

HWND C_Window::CreateWindowNamed(const char* pszClassName, const char* pszTitle, HMENU hMenu)
{
    HWND hCreated = ::CreateWindowExA(WS_EX_LEFT, pszClassName, pszTitle, WS_OVERLAPPEDWINDOW, 0, 0,
                                      CW_USEDEFAULT, CW_USEDEFAULT, hParent, hMenu, hInstance, this);
    return hCreated;
}

WPARAM C_Window::Run()
{
    MSG msg;
    while (true) {
        const BOOL bGot = ::GetMessageA(&msg, nullptr, 0, 0);
        if (bGot == 0 || bGot == -1)
            break;
        if (hPropertySheet != nullptr) {
            if (msg.message == WM_NULL || msg.message == WM_TIMER) {
                if (::SendMessageA(hPropertySheet, 0x476, 0, 0) == 0) {   // PSM_GETCURRENTPAGEHWND
                    ::DestroyWindow(hPropertySheet);
                    hPropertySheet = nullptr;
                }
            }
            if (hPropertySheet != nullptr &&
                ::SendMessageA(hPropertySheet, 0x475, 0, reinterpret_cast<LPARAM>(&msg)) != 0)  // PSM_ISDIALOGMESSAGE
                continue;
        }
        bool bConsumed = false;
        for (HWND hDialog : vModeless)
            if (::IsDialogMessageA(hDialog, &msg)) {
                bConsumed = true;
                break;
            }
        if (bConsumed)
            continue;
        if (hMdiClient != nullptr && ::TranslateMDISysAccel(hMdiClient, &msg))
            continue;
        if (hAccelerators != nullptr && ::TranslateAcceleratorA(hWnd, hAccelerators, &msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return msg.message == WM_QUIT ? msg.wParam : 0;
}

void C_Window::AddModeless(HWND hDialog, bool bAdd)
{
    auto it = std::find(vModeless.begin(), vModeless.end(), hDialog);
    if (bAdd && it == vModeless.end())
        vModeless.push_back(hDialog);
    else if (!bAdd && it != vModeless.end())
        vModeless.erase(it);
}

LRESULT C_Window::_Handle_MESSAGE(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_WINDOWPOSCHANGING) {
        minimumSize.Apply(reinterpret_cast<WINDOWPOS*>(lParam));
        return 0;
    }
    return DefaultProc(hWnd, uMsg, wParam, lParam);
}

LRESULT C_Window::_Handle_COMMAND(int, WPARAM wParam, LPARAM lParam)
{
    if (hMdiClient != nullptr)
        return ::DefFrameProcA(hWnd, hMdiClient, WM_COMMAND, wParam, lParam);
    return 0;
}

LRESULT C_Window::_Handle_CLOSE()
{
    ::DestroyWindow(hWnd);
    return 0;
}

LRESULT C_Window::_Handle_DESTROY()
{
    ::PostQuitMessage(0);
    return 0;
}

LRESULT C_Window::DefaultProc(HWND hWndIn, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (hMdiClient != nullptr)
        return ::DefFrameProcA(hWndIn, hMdiClient, uMsg, wParam, lParam);
    return ::DefWindowProcA(hWndIn, uMsg, wParam, lParam);
}

bool C_Window::SavePlacement(I_TextStore& store, const char* pszValueName, uint32_t ulFlags,
                             const RECT* pRect) const
{
    return hWnd != nullptr && SaveWindowPlacement(hWnd, store, pszValueName, ulFlags, pRect);
}

bool C_Window::RestorePlacement(I_TextStore& store, const char* pszValueName, uint32_t ulFlags) const
{
    return hWnd != nullptr && RestoreWindowPlacement(hWnd, store, pszValueName, ulFlags);
}

LRESULT CALLBACK C_Window::WindowProc(HWND hWndIn, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_CREATE) {
        const CREATESTRUCTA* pCreate = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        C_Window* pWindow = static_cast<C_Window*>(pCreate->lpCreateParams);
        ::SetWindowLongPtrA(hWndIn, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pWindow));
        pWindow->hWnd = hWndIn;
        return pWindow->_Handle_Create();
    }
    C_Window* pWindow = reinterpret_cast<C_Window*>(::GetWindowLongPtrA(hWndIn, GWLP_USERDATA));
    if (pWindow == nullptr)
        return ::DefWindowProcA(hWndIn, uMsg, wParam, lParam);
    switch (uMsg) {
    case WM_DESTROY:
        return pWindow->_Handle_DESTROY();
    case WM_NCDESTROY: {
        ::SetWindowLongPtrA(hWndIn, GWLP_USERDATA, 0);
        if (pWindow->hWnd == hWndIn)
            pWindow->hWnd = nullptr;
        return ::DefWindowProcA(hWndIn, uMsg, wParam, lParam);
    }
    case WM_CLOSE:
        return pWindow->_Handle_CLOSE();
    case WM_COMMAND:
        return pWindow->_Handle_COMMAND(LOWORD(wParam), wParam, lParam);
    default:
        return pWindow->_Handle_MESSAGE(uMsg, wParam, lParam);
    }
}
