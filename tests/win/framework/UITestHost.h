// Shared by the drawn-control tests: a dialog that hosts the controls and
// records what they send, and pixel captures of a control.
#ifndef QUENVALE_TESTS_UITESTHOST_H
#define QUENVALE_TESTS_UITESTHOST_H

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "framework/win/Dialog.h"
#include "framework/win/UITabButton.h"
#include "resources/resource.h"

namespace uitest {

inline HINSTANCE Self()
{
    return ::GetModuleHandleA(nullptr);
}

// A modeless dialog from one of the program's templates. Every WM_COMMAND
// is recorded (id, notification code, control window); static controls get
// hStaticBrush as their background when set.
class C_HostDialog : public C_Dialog {
public:
    struct S_Command {
        int nId;
        int nCode;
        HWND hControl;
    };
    std::vector<S_Command> vCommands;
    HBRUSH hStaticBrush = nullptr;
    HBRUSH hBackBrush = nullptr;

    ~C_HostDialog() override
    {
        Close(0);
        if (hStaticBrush != nullptr)
            ::DeleteObject(hStaticBrush);
        if (hBackBrush != nullptr)
            ::DeleteObject(hBackBrush);
    }
    int _Handle_COMMAND(int nId, WPARAM wParam, LPARAM lParam) override
    {
        vCommands.push_back({nId, HIWORD(wParam), reinterpret_cast<HWND>(lParam)});
        return 1;
    }
    INT_PTR _Handle_MESSAGE(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (uMsg == WM_CTLCOLORSTATIC && hStaticBrush != nullptr)
            return reinterpret_cast<INT_PTR>(hStaticBrush);
        if (uMsg == WM_ERASEBKGND && hBackBrush != nullptr) {
            RECT rc;
            ::GetClientRect(GetHandle(), &rc);
            ::FillRect(reinterpret_cast<HDC>(wParam), &rc, hBackBrush);
            ::SetWindowLongPtrA(GetHandle(), DWLP_MSGRESULT, 1);
            return 1;
        }
        return C_Dialog::_Handle_MESSAGE(uMsg, wParam, lParam);
    }
    int CountCommands(int nId) const
    {
        int n = 0;
        for (const S_Command& c : vCommands)
            n += c.nId == nId ? 1 : 0;
        return n;
    }
};

// Attaches the main window's four page buttons as the main window does,
// with one text colour and the background colours normal, selected, hot.
inline bool AttachPageButtons(HWND hMain, C_UITabButton (&buttons)[4], COLORREF crText, COLORREF crNormal,
                              COLORREF crSelected, COLORREF crHot)
{
    const int aIds[4] = {1118, 1117, 1119, 1120};
    const WORD aIcons[4] = {IDI_TAB_QUICK, IDI_TAB_FILE, IDI_TAB_BLOCK, IDI_TAB_OPTIONS};
    const char* apszTexts[4] = {"Quick Access", "File Access", "Block Access", "Options"};
    for (int i = 0; i < 4; ++i) {
        ::SetDlgItemTextA(hMain, aIds[i], apszTexts[i]);
        if (!buttons[i].Attach(::GetDlgItem(hMain, aIds[i]), Self(), aIcons[i], crText, crText, crText, crNormal,
                               crSelected, crHot))
            return false;
    }
    return true;
}

// The pixels of a window's client area as COLORREF values.
struct S_Capture {
    int nWidth = 0;
    int nHeight = 0;
    std::vector<COLORREF> vPixels;

    COLORREF At(int x, int y) const { return vPixels[static_cast<size_t>(y) * nWidth + x]; }
    int Count(COLORREF cr) const
    {
        int n = 0;
        for (COLORREF p : vPixels)
            n += p == cr ? 1 : 0;
        return n;
    }
    // Pixels of row y in [xFrom, xTo) that have colour cr.
    int CountInRow(int y, int xFrom, int xTo, COLORREF cr) const
    {
        int n = 0;
        for (int x = xFrom; x < xTo; ++x)
            n += At(x, y) == cr ? 1 : 0;
        return n;
    }
    // The longest run of colour cr in any row.
    int LongestRun(COLORREF cr) const
    {
        int nBest = 0;
        for (int y = 0; y < nHeight; ++y) {
            int nRun = 0;
            for (int x = 0; x < nWidth; ++x) {
                nRun = At(x, y) == cr ? nRun + 1 : 0;
                if (nRun > nBest)
                    nBest = nRun;
            }
        }
        return nBest;
    }
};

// Draws into a 32-bit bitmap through hDraw and reads the pixels back.
template <typename T_Draw>
S_Capture CaptureWith(int nWidth, int nHeight, COLORREF crFill, T_Draw hDraw)
{
    S_Capture capture;
    capture.nWidth = nWidth;
    capture.nHeight = nHeight;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = nWidth;
    info.bmiHeader.biHeight = -nHeight;   // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    HDC hdc = ::CreateCompatibleDC(nullptr);
    HBITMAP hBitmap = ::CreateDIBSection(hdc, &info, DIB_RGB_COLORS, &pBits, nullptr, 0);
    if (hdc == nullptr || hBitmap == nullptr || pBits == nullptr)
        return capture;
    HGDIOBJ hOld = ::SelectObject(hdc, hBitmap);
    HBRUSH hFill = ::CreateSolidBrush(crFill);
    const RECT rc = {0, 0, nWidth, nHeight};
    ::FillRect(hdc, &rc, hFill);
    ::DeleteObject(hFill);
    hDraw(hdc);
    ::GdiFlush();
    const uint32_t* pPixels = static_cast<const uint32_t*>(pBits);
    capture.vPixels.resize(static_cast<size_t>(nWidth) * nHeight);
    for (size_t i = 0; i < capture.vPixels.size(); ++i) {
        const uint32_t p = pPixels[i];
        capture.vPixels[i] = RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    ::SelectObject(hdc, hOld);
    ::DeleteObject(hBitmap);
    ::DeleteDC(hdc);
    return capture;
}

// What the control paints (WM_PRINTCLIENT) over a background of crFill.
inline S_Capture CaptureClient(HWND hWnd, COLORREF crFill = RGB(1, 2, 3))
{
    RECT rc;
    ::GetClientRect(hWnd, &rc);
    return CaptureWith(rc.right, rc.bottom, crFill, [&](HDC hdc) {
        ::SendMessageA(hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(hdc), PRF_CLIENT);
    });
}

// What is on the screen in the window's client area, after it painted.
inline S_Capture CaptureScreen(HWND hWnd)
{
    ::UpdateWindow(hWnd);
    RECT rc;
    ::GetClientRect(hWnd, &rc);
    return CaptureWith(rc.right, rc.bottom, RGB(1, 2, 3), [&](HDC hdc) {
        HDC hdcWindow = ::GetDC(hWnd);
        ::BitBlt(hdc, 0, 0, rc.right, rc.bottom, hdcWindow, 0, 0, SRCCOPY);
        ::ReleaseDC(hWnd, hdcWindow);
    });
}

inline void PumpMessages()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

inline LPARAM Point(int x, int y)
{
    return MAKELPARAM(x, y);
}

// The centre of a window's client area as mouse-message coordinates.
inline LPARAM Centre(HWND hWnd)
{
    RECT rc;
    ::GetClientRect(hWnd, &rc);
    return MAKELPARAM(rc.right / 2, rc.bottom / 2);
}

// A registry value under HKEY_CURRENT_USER, put back as it was when the
// object goes away.
class C_UserValue {
public:
    C_UserValue(const char* pszKeyIn, const char* pszValueIn) : strKey(pszKeyIn), strValue(pszValueIn)
    {
        char szData[512];
        DWORD dwSize = sizeof(szData);
        bHad = ::RegGetValueA(HKEY_CURRENT_USER, pszKeyIn, pszValueIn, RRF_RT_ANY | RRF_NOEXPAND, &dwType, szData,
                              &dwSize) == ERROR_SUCCESS;
        if (bHad)
            vOld.assign(szData, szData + dwSize);
    }
    ~C_UserValue()
    {
        if (bHad)
            ::RegSetKeyValueA(HKEY_CURRENT_USER, strKey.c_str(), strValue.c_str(), dwType, vOld.data(),
                              static_cast<DWORD>(vOld.size()));
        else
            Remove();
    }
    C_UserValue(const C_UserValue&) = delete;
    C_UserValue& operator=(const C_UserValue&) = delete;

    // Writes a REG_SZ value, creating the key when needed.
    bool Set(const char* pszText)
    {
        return ::RegSetKeyValueA(HKEY_CURRENT_USER, strKey.c_str(), strValue.c_str(), REG_SZ, pszText,
                                 static_cast<DWORD>(std::strlen(pszText) + 1)) == ERROR_SUCCESS;
    }
    void Remove() { ::RegDeleteKeyValueA(HKEY_CURRENT_USER, strKey.c_str(), strValue.c_str()); }

private:
    std::string strKey;
    std::string strValue;
    bool bHad = false;
    DWORD dwType = REG_SZ;
    std::vector<char> vOld;
};

} // namespace uitest

#endif
