#include "framework/win/Dialog.h"

#include <commctrl.h>

#include <vector>

#include "framework/win/TemplateFont.h"

void PrepareUserInterface(C_Library& comctl)
{
    {
        C_Library user32("user32.dll");
        auto pSetAware = user32.GetAs<BOOL(WINAPI*)()>("SetProcessDPIAware");
        if (pSetAware != nullptr)
            pSetAware();
    }
    if (!comctl.IsLoaded())
        comctl.Load("comctl32.dll");
    auto pInitEx = comctl.GetAs<BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*)>("InitCommonControlsEx");
    INITCOMMONCONTROLSEX icc = {};
    icc.dwSize = 8;
    icc.dwICC = 0x7FFF;
    if (pInitEx == nullptr || !pInitEx(&icc))
        ::InitCommonControls();
}

C_Dialog::~C_Dialog()
{
    if (hWnd != nullptr) {
        // Deleting from within Close must not come back here.
        ulFrameFlags &= ~static_cast<uint32_t>(DLG_AUTO_DELETE);
        Close(0);
    }
}

void C_Dialog::PrepareStart(HINSTANCE hInstanceIn, uint32_t ulFlags)
{
    ulFrameFlags = ulFlags;
    hInstance = hInstanceIn;
    PrepareUserInterface(comctl);
}

INT_PTR C_Dialog::DoModal(HINSTANCE hInstanceIn, int nTemplateId, uint32_t ulFlags, HWND hParent)
{
    PrepareStart(hInstanceIn, ulFlags & ~static_cast<uint32_t>(DLG_MODELESS));
    const std::vector<uint8_t> rewritten =
        PrepareTemplateFont(hInstance, nTemplateId, (ulFlags & DLG_CLASSIC_FONT) != 0);
    const LPARAM lParam = reinterpret_cast<LPARAM>(this);
    if (!rewritten.empty())
        return ::DialogBoxIndirectParamA(hInstance, reinterpret_cast<LPCDLGTEMPLATEA>(rewritten.data()),
                                         hParent, DialogProc, lParam);
    return ::DialogBoxParamA(hInstance, MAKEINTRESOURCEA(nTemplateId), hParent, DialogProc, lParam);
}

INT_PTR C_Dialog::DoModalIndirect(HINSTANCE hInstanceIn, const std::vector<uint8_t>& vTemplate, uint32_t ulFlags,
                                  HWND hParent)
{
    if (vTemplate.empty())
        return -1;
    PrepareStart(hInstanceIn, ulFlags & ~static_cast<uint32_t>(DLG_MODELESS));
    const std::vector<uint8_t> rewritten =
        PrepareTemplateFontBytes(vTemplate.data(), vTemplate.size(), (ulFlags & DLG_CLASSIC_FONT) != 0);
    const std::vector<uint8_t>& used = rewritten.empty() ? vTemplate : rewritten;
    return ::DialogBoxIndirectParamA(hInstance, reinterpret_cast<LPCDLGTEMPLATEA>(used.data()), hParent, DialogProc,
                                     reinterpret_cast<LPARAM>(this));
}

HWND C_Dialog::Create(HINSTANCE hInstanceIn, int nTemplateId, uint32_t ulFlags, HWND hParent)
{
    PrepareStart(hInstanceIn, ulFlags | DLG_MODELESS);
    const std::vector<uint8_t> rewritten =
        PrepareTemplateFont(hInstance, nTemplateId, (ulFlags & DLG_CLASSIC_FONT) != 0);
    const LPARAM lParam = reinterpret_cast<LPARAM>(this);
    HWND hCreated;
    if (!rewritten.empty())
        hCreated = ::CreateDialogIndirectParamA(hInstance, reinterpret_cast<LPCDLGTEMPLATEA>(rewritten.data()),
                                                hParent, DialogProc, lParam);
    else
        hCreated = ::CreateDialogParamA(hInstance, MAKEINTRESOURCEA(nTemplateId), hParent, DialogProc, lParam);
    // A dialog whose initialisation refused has already been closed.
    return hCreated != nullptr ? hWnd : nullptr;
}

void C_Dialog::Close(int nCode)
{
    if (hWnd == nullptr || !CanClose(nCode))
        return;
    HWND hClosing = hWnd;
    if (ulFrameFlags & DLG_MODELESS) {
        ::DestroyWindow(hClosing);
    } else {
        ::EndDialog(hClosing, nCode);
    }
    hWnd = nullptr;
    if (ulFrameFlags & DLG_AUTO_DELETE) {
        // Later messages of a closing modal dialog must not reach a deleted object.
        if (::IsWindow(hClosing))
            ::SetWindowLongPtrA(hClosing, GWLP_USERDATA, 0);
        delete this;
    }
}

int C_Dialog::_Handle_COMMAND(int nId, WPARAM, LPARAM)
{
    if (nId == IDCANCEL || nId == IDCLOSE) {
        Close(0);
        return 1;
    }
    return 0;
}

int C_Dialog::_Handle_CLOSE()
{
    Close(0);
    return 1;
}

int C_Dialog::_Handle_DESTROY()
{
    return static_cast<int>(_Handle_MESSAGE(WM_DESTROY, 0, 0));
}

INT_PTR C_Dialog::_Handle_MESSAGE(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_WINDOWPOSCHANGING) {
        WINDOWPOS* pPos = reinterpret_cast<WINDOWPOS*>(lParam);
        if ((ulFrameFlags & DLG_START_HIDDEN) && (pPos->flags & SWP_SHOWWINDOW)) {
            ulFrameFlags &= ~static_cast<uint32_t>(DLG_START_HIDDEN);
            pPos->flags &= ~static_cast<UINT>(SWP_SHOWWINDOW);
        }
        minimumSize.Apply(pPos);
        return 1;
    }
    if (uMsg == WM_COMMAND && (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDCLOSE)) {
        Close(0);
        return 1;
    }
    return 0;
}

bool C_Dialog::SavePlacement(I_TextStore& store, const char* pszValueName, uint32_t ulFlags,
                             const RECT* pRect) const
{
    return hWnd != nullptr && SaveWindowPlacement(hWnd, store, pszValueName, ulFlags, pRect);
}

bool C_Dialog::RestorePlacement(I_TextStore& store, const char* pszValueName, uint32_t ulFlags) const
{
    return hWnd != nullptr && RestoreWindowPlacement(hWnd, store, pszValueName, ulFlags);
}

INT_PTR CALLBACK C_Dialog::DialogProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_INITDIALOG) {
        C_Dialog* pDialog = reinterpret_cast<C_Dialog*>(lParam);
        ::SetWindowLongPtrA(hDlg, GWLP_USERDATA, lParam);
        pDialog->hWnd = hDlg;
        const int nResult = pDialog->_Handle_Init();
        if (nResult == 0) {
            pDialog->Close(-1);
            return FALSE;
        }
        return nResult == 2 ? FALSE : TRUE;
    }
    C_Dialog* pDialog = reinterpret_cast<C_Dialog*>(::GetWindowLongPtrA(hDlg, GWLP_USERDATA));
    if (pDialog == nullptr)
        return FALSE;
    if (uMsg == WM_NCDESTROY) {
        // The window is gone; the object may live on (and may be reused).
        ::SetWindowLongPtrA(hDlg, GWLP_USERDATA, 0);
        if (pDialog->hWnd == hDlg)
            pDialog->hWnd = nullptr;
        return FALSE;
    }
    switch (uMsg) {
    case WM_COMMAND:
        return pDialog->_Handle_COMMAND(LOWORD(wParam), wParam, lParam);
    case WM_CLOSE:
        return pDialog->_Handle_CLOSE();
    case WM_DESTROY:
        return pDialog->_Handle_DESTROY();
    default:
        return pDialog->_Handle_MESSAGE(uMsg, wParam, lParam);
    }
}
