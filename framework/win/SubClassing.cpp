#include "framework/win/SubClassing.h"

#include <cstdio>

namespace {

struct S_TagProc {
    uint32_t ulTag;
    WNDPROC pProc;
};

template <uint32_t Tag>
constexpr S_TagProc Entry()
{
    return S_TagProc{Tag, &C_SubClassing::TagProc<Tag>};
}

// Every tag the program uses, each with a window procedure of its own.
const S_TagProc kTagProcs[] = {
    Entry<MakeSubClassingTag("stax")>(),   // page tab buttons and drawn texts
    Entry<MakeSubClassingTag("link")>(),   // hyperlinks and text buttons
    Entry<MakeSubClassingTag("lis1")>(),   // edit/combo-box control, three windows
    Entry<MakeSubClassingTag("lis2")>(),
    Entry<MakeSubClassingTag("lis3")>(),
    Entry<MakeSubClassingTag("auup")>(),   // update checker
    Entry<MakeSubClassingTag("bitx")>(),   // bitmap control
    Entry<MakeSubClassingTag("deno")>(),   // device-change notification window
    Entry<MakeSubClassingTag("tree")>(),   // folder tree view
    Entry<MakeSubClassingTag("sysl")>(),   // SysLink controls
    Entry<MakeSubClassingTag("divi")>(),   // problem report dialog, toolbar
    Entry<MakeSubClassingTag("edit")>(),   // information page text box
    Entry<MakeSubClassingTag("bimu")>(),   // a window of the main dialog
};

WNDPROC ProcOfTag(uint32_t ulTag)
{
    for (const S_TagProc& entry : kTagProcs)
        if (entry.ulTag == ulTag)
            return entry.pProc;
    return nullptr;
}

uint32_t TagFromText(const char* pszTag)
{
    if (pszTag == nullptr)
        return 0;
    for (int i = 0; i < 4; ++i)
        if (pszTag[i] == '\0')
            return 0;
    return MakeSubClassingTag(pszTag);
}

} // namespace

template <uint32_t Tag>
LRESULT CALLBACK C_SubClassing::TagProc(HWND hWndIn, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return Dispatch(Tag, hWndIn, uMsg, wParam, lParam);
}

C_SubClassing::C_SubClassing(const char* pszTag) : ulTag(TagFromText(pszTag)) {}

std::string C_SubClassing::PropertyName(uint32_t ulTagIn)
{
    char szName[48];
    std::snprintf(szName, sizeof(szName), "_C_SubClassing_Property_%08X", static_cast<unsigned>(ulTagIn));
    return szName;
}

bool C_SubClassing::Attach(HWND hWndIn, SubClassingCallBack pCallBackIn, void* pUserDataIn)
{
    const WNDPROC pTagProc = ProcOfTag(ulTag);
    if (pTagProc == nullptr || hWndIn == nullptr || hWnd != nullptr) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    const std::string strProperty = PropertyName(ulTag);
    if (::GetPropA(hWndIn, strProperty.c_str()) != nullptr) {
        ::SetLastError(ERROR_ALREADY_EXISTS);
        return false;
    }
    hWnd = hWndIn;
    pCallBack = pCallBackIn;
    pUserData = pUserDataIn;
    // The property first, so the new procedure finds its record at once.
    if (!::SetPropA(hWndIn, strProperty.c_str(), this)) {
        hWnd = nullptr;
        return false;
    }
    ::SetLastError(0);
    const LONG_PTR lOld = ::SetWindowLongPtrA(hWndIn, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pTagProc));
    if (lOld == 0 && ::GetLastError() != 0) {
        ::RemovePropA(hWndIn, strProperty.c_str());
        hWnd = nullptr;
        return false;
    }
    pOldProc = reinterpret_cast<WNDPROC>(lOld);
    return true;
}

bool C_SubClassing::Detach()
{
    if (hWnd == nullptr)
        return false;
    if (pOldProc != nullptr && ::IsWindow(hWnd))
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pOldProc));
    if (::IsWindow(hWnd))
        ::RemovePropA(hWnd, PropertyName(ulTag).c_str());
    pOldProc = nullptr;
    hWnd = nullptr;
    return true;
}

LRESULT C_SubClassing::CallOriginal(HWND hWndIn, UINT uMsg, WPARAM wParam, LPARAM lParam) const
{
    if (pOldProc == nullptr)
        return 0;
    return ::CallWindowProcA(pOldProc, hWndIn, uMsg, wParam, lParam);
}

LRESULT C_SubClassing::Dispatch(uint32_t ulTagIn, HWND hWndIn, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    C_SubClassing* pRecord = static_cast<C_SubClassing*>(::GetPropA(hWndIn, PropertyName(ulTagIn).c_str()));
    if (pRecord == nullptr)
        return 0;
    if (pRecord->pCallBack != nullptr) {
        LRESULT lResult = 0;
        if (pRecord->pCallBack(hWndIn, uMsg, wParam, lParam, &lResult, pRecord->pUserData) == 1)
            return lResult;
    }
    const WNDPROC pOld = pRecord->pOldProc;
    if (uMsg == WM_NCDESTROY) {
        // The control goes away while attached: hand the window back and
        // forget it, so no later Detach touches a dead (or reused) handle.
        ::SetWindowLongPtrA(hWndIn, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pOld));
        ::RemovePropA(hWndIn, PropertyName(ulTagIn).c_str());
        pRecord->pOldProc = nullptr;
        pRecord->hWnd = nullptr;
    }
    if (pOld == nullptr)
        return 0;
    return ::CallWindowProcA(pOld, hWndIn, uMsg, wParam, lParam);
}
