// A message-only window of the test thread that runs actions posted to it,
// for tests of waits that must dispatch messages.
#ifndef QUENVALE_TESTS_ACTIONWINDOW_H
#define QUENVALE_TESTS_ACTIONWINDOW_H

#include <windows.h>

#include <functional>

namespace uitest {

class C_ActionWindow {
public:
    using T_Action = std::function<void()>;

    C_ActionWindow()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "QvTestActionWindow";
        ::RegisterClassA(&wc);   // fails harmlessly when already registered
        hWnd = ::CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance,
                                 nullptr);
    }
    ~C_ActionWindow() { ::DestroyWindow(hWnd); }
    C_ActionWindow(const C_ActionWindow&) = delete;
    C_ActionWindow& operator=(const C_ActionWindow&) = delete;

    HWND GetHandle() const { return hWnd; }
    // From any thread: the window's thread runs *pAction when it dispatches
    // the message; the action must live until then.
    bool Post(const T_Action* pAction) const
    {
        return ::PostMessageA(hWnd, kMessage, 0, reinterpret_cast<LPARAM>(pAction)) != 0;
    }

private:
    static constexpr UINT kMessage = WM_APP + 17;
    static LRESULT CALLBACK Proc(HWND hWndIn, UINT uMsg, WPARAM wParam, LPARAM lParam)
    {
        if (uMsg != kMessage)
            return ::DefWindowProcA(hWndIn, uMsg, wParam, lParam);
        (*reinterpret_cast<const T_Action*>(lParam))();
        return 0;
    }

    HWND hWnd = nullptr;
};

} // namespace uitest

#endif
