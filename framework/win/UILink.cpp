#include "framework/win/UILink.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "framework/core/OsVersion.h"
#include "framework/core/UIFont.h"
#include "framework/core/UILook.h"
#include "framework/win/OsWord.h"
#include "framework/win/UIDraw.h"

namespace {

using T_OpenThemeData = HANDLE(WINAPI*)(HWND, LPCWSTR);
using T_CloseThemeData = HRESULT(WINAPI*)(HANDLE);
using T_IsThemeActive = BOOL(WINAPI*)();
using T_DrawThemeParentBackground = HRESULT(WINAPI*)(HWND, HDC, const RECT*);

const char kSettingsKey[] = "Software\\Microsoft\\Internet Explorer\\Settings";
const char kMainKey[] = "Software\\Microsoft\\Internet Explorer\\Main";
const char kInternationalKey[] = "Software\\Microsoft\\Internet Explorer\\International";
const char kStylesKey[] = "Software\\Microsoft\\Internet Explorer\\Styles";

// A value under HKEY_CURRENT_USER as text (a number is written in decimal);
// false when the key or value is missing or of another type.
bool ReadUserText(const char* pszKey, const char* pszValue, std::string* pstrOut)
{
    HKEY hKey = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, pszKey, 0, KEY_QUERY_VALUE, &hKey) != ERROR_SUCCESS)
        return false;
    char szData[512];
    DWORD dwType = 0;
    DWORD dwSize = sizeof(szData) - 1;
    const LONG lResult =
        ::RegQueryValueExA(hKey, pszValue, nullptr, &dwType, reinterpret_cast<BYTE*>(szData), &dwSize);
    ::RegCloseKey(hKey);
    if (lResult != ERROR_SUCCESS)
        return false;
    if (dwType == REG_SZ || dwType == REG_EXPAND_SZ) {
        szData[std::min<DWORD>(dwSize, sizeof(szData) - 1)] = '\0';
        *pstrOut = szData;
        return true;
    }
    if (dwType == REG_DWORD && dwSize == sizeof(DWORD)) {
        DWORD dwValue;
        std::memcpy(&dwValue, szData, sizeof(dwValue));
        *pstrOut = std::to_string(dwValue);
        return true;
    }
    return false;
}

// One registry text that may be missing: its pointer is null then.
struct S_RegText {
    std::string strText;
    bool bRead = false;
    S_RegText(const char* pszKey, const char* pszValue) { bRead = ReadUserText(pszKey, pszValue, &strText); }
    const char* Get() const { return bRead ? strText.c_str() : nullptr; }
};

std::string FaceUnder(const char* pszKey)
{
    std::string strFace;
    if (ReadUserText(pszKey, "IEPropFontName", &strFace) && !strFace.empty())
        return strFace;
    return std::string();
}

} // namespace

bool C_UILink::Attach(HWND hStatic, const char* pszText, const char* pszUrl, WORD wCursorIdIn, uint32_t ulFlagsIn)
{
    Detach();
    if (!::IsWindow(hStatic)) {
        ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    hWnd = hStatic;
    ulFlags = (ulFlagsIn & ~static_cast<uint32_t>(UILINK_STATE_BITS | UILINK_NO_TABSTOP)) | UILINK_HOVER_COLOR;
    bPressStarted = false;

    if (uxtheme.Load("uxtheme.dll")) {
        const auto pfnOpen = uxtheme.GetAs<T_OpenThemeData>("OpenThemeData");
        if (pfnOpen != nullptr)
            hTheme = pfnOpen(hStatic, L"TOOLBAR");
    }
    const LONG_PTR lStyle = ::GetWindowLongPtrA(hStatic, GWL_STYLE);
    const LONG_PTR lExStyle = ::GetWindowLongPtrA(hStatic, GWL_EXSTYLE);
    if (!(lStyle & WS_TABSTOP))
        ulFlags |= UILINK_NO_TABSTOP;
    if (!::IsWindowEnabled(hStatic))
        ulFlags |= UILINK_DISABLED;

    strReal = pszText != nullptr ? pszText : WindowTextOf(hStatic);
    strUrl = pszUrl != nullptr ? pszUrl : "";
    wCursorId = wCursorIdIn;
    hHotCursor = LoadHoverCursor(hStatic, wCursorId, false);
    ::SetWindowLongPtrA(hStatic, GWL_STYLE, lStyle | SS_NOTIFY);
    ::SetWindowTextA(hStatic, "");
    if ((lExStyle & WS_EX_TRANSPARENT) && !(ulFlags & UILINK_NEVER_TRANSPARENT))
        ulFlags |= UILINK_TRANSPARENT;
    if (ulFlags & UILINK_NEVER_TRANSPARENT)
        ulFlags &= ~static_cast<uint32_t>(UILINK_TRANSPARENT);

    uFormat = DT_SINGLELINE | (StaticTextFormat(static_cast<DWORD>(lStyle)) & ~static_cast<UINT>(DT_NOPREFIX));
    if (ulFlags & UILINK_END_ELLIPSIS)
        uFormat |= DT_END_ELLIPSIS;
    if (ulFlags & UILINK_PATH_ELLIPSIS)
        uFormat |= DT_PATH_ELLIPSIS;

    ReadBrowserSettings();
    MakeFonts();

    if (!SubClass(hStatic)) {
        const DWORD dwError = ::GetLastError();
        Detach();
        ::SetLastError(dwError);
        return false;
    }
    MeasureText();
    Invalidate();
    return true;
}

void C_UILink::Detach()
{
    UnSubClass();
    hWnd = nullptr;
    FreeFonts();
    if (hTheme != nullptr) {
        const auto pfnClose = uxtheme.GetAs<T_CloseThemeData>("CloseThemeData");
        if (pfnClose != nullptr)
            pfnClose(hTheme);
    }
    hTheme = nullptr;
    uxtheme.Free();
    ulFlags = 0;
    pCallBack = nullptr;
    pCallBackEx = nullptr;
    pUserData = nullptr;
}

void C_UILink::FreeFonts()
{
    FreeGdiObject(hPlain);
    FreeGdiObject(hUnderlined);
}

void C_UILink::ReadBrowserSettings()
{
    look = S_LinkLook();
    look.ulDisabled = ::GetSysColor(COLOR_GRAYTEXT);
    // COLOR_HOTLIGHT exists where the system has a brush for it.
    look.ulHover = ::GetSysColorBrush(COLOR_HOTLIGHT) != nullptr ? ::GetSysColor(COLOR_HOTLIGHT) : 0x0000FF;

    const S_RegText useHover(kSettingsKey, "Use Anchor Hover Color");
    const S_RegText anchor(kSettingsKey, "Anchor Color");
    const S_RegText anchorHover(kSettingsKey, "Anchor Color Hover");
    const S_RegText underline(kMainKey, "Anchor Underline");
    const S_RegText dialogColors(kMainKey, "Use_DlgBox_Colors");
    S_LinkBrowserTexts texts;
    texts.pszUseHoverColor = useHover.Get();
    texts.pszAnchorColor = anchor.Get();
    texts.pszAnchorHoverColor = anchorHover.Get();
    texts.pszAnchorUnderline = underline.Get();
    texts.pszUseDialogColors = dialogColors.Get();
    const uint32_t ulDialogNormal = IsWindowsAtLeast(OS_VISTA) ? ::GetSysColor(COLOR_HOTLIGHT) : 0xCC6600;
    ApplyBrowserTexts(look, texts, ulDialogNormal, ::GetSysColor(COLOR_HIGHLIGHT));
    if (!look.bHoverColor)
        ulFlags &= ~static_cast<uint32_t>(UILINK_HOVER_COLOR);
}

std::string C_UILink::BrowserFace() const
{
    std::string strValue;
    if (ReadUserText(kInternationalKey, "Default_CodePage", &strValue)) {
        char szKey[128];
        std::snprintf(szKey, sizeof(szKey), "%s\\%lu", kInternationalKey, std::strtoul(strValue.c_str(), nullptr, 10));
        const std::string strFound = FaceUnder(szKey);
        if (!strFound.empty())
            return strFound;
    }
    unsigned long ulScript = 3;
    if (ReadUserText(kInternationalKey, "Default_Script", &strValue))
        ulScript = std::strtoul(strValue.c_str(), nullptr, 10);
    char szKey[128];
    std::snprintf(szKey, sizeof(szKey), "%s\\Scripts\\%lu", kInternationalKey, ulScript);
    const std::string strFound = FaceUnder(szKey);
    if (!strFound.empty())
        return strFound;
    return FaceUnder(kStylesKey);
}

void C_UILink::MakeFonts()
{
    FreeFonts();
    HFONT hStaticFont = reinterpret_cast<HFONT>(::SendMessageA(hWnd, WM_GETFONT, 0, 0));
    if (ulFlags & UILINK_OWN_FONT) {
        LOGFONTA lf = StaticLogFont(hWnd);
        hPlain = ::CreateFontIndirectA(&lf);
        lf.lfUnderline = TRUE;
        hUnderlined = ::CreateFontIndirectA(&lf);
        strFace = lf.lfFaceName;
        UpdateShownText();
        return;
    }

    strFace.clear();
    if (ulFlags & UILINK_BROWSER_FACE)
        strFace = BrowserFace();
    if (strFace.empty())
        strFace = ChooseInstalledFace("Segoe UI;Verdana", "Arial");
    UpdateShownText();

    RECT rcClient = {0, 0, 0, 0};
    ::GetClientRect(hWnd, &rcClient);
    HDC hdc = ::GetDC(hWnd);
    if (hdc == nullptr)
        return;
    HGDIOBJ hOld = hStaticFont != nullptr ? ::SelectObject(hdc, hStaticFont) : nullptr;
    TEXTMETRICA tm = {};
    ::GetTextMetricsA(hdc, &tm);
    if (hOld != nullptr)
        ::SelectObject(hdc, hOld);
    const BYTE bPitchAndFamily = static_cast<BYTE>((tm.tmPitchAndFamily & 0xF0) | DEFAULT_PITCH);
    const int nStart = (ulFlags & UILINK_FIT_HEIGHT) ? rcClient.bottom : tm.tmHeight;
    auto create = [&](int nHeight, BOOL bUnderline) {
        return ::CreateFontA(nHeight, 0, 0, 0, FW_NORMAL, FALSE, bUnderline, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, bPitchAndFamily,
                             strFace.c_str());
    };
    const int nHeight = FitLinkFontHeight(nStart, rcClient.right, rcClient.bottom, [&](int nTry) {
        return TrialTextExtent(hdc, create(nTry, TRUE), strShown, rcClient, DT_SINGLELINE);
    });
    ::ReleaseDC(hWnd, hdc);
    hUnderlined = create(nHeight, TRUE);
    hPlain = create(nHeight, FALSE);
}

void C_UILink::MeasureText()
{
    sizeText.cx = 0;
    sizeText.cy = 0;
    RECT rc = {0, 0, 0, 0};
    ::GetClientRect(hWnd, &rc);
    if (!CalcTextRect(hWnd, hPlain, strShown, DT_SINGLELINE, &rc))
        return;
    sizeText.cx = strShown.empty() ? 0 : rc.right - rc.left;
    sizeText.cy = rc.bottom - rc.top;
}

void C_UILink::UpdateShownText()
{
    // A masked text shows bullets in "Verdana", which has them, else stars.
    strShown = (ulFlags & UILINK_MASKED) ? MaskText(strReal, strFace == "Verdana") : strReal;
}

void C_UILink::SetText(const char* pszText)
{
    strReal = pszText != nullptr ? pszText : "";
    UpdateShownText();
    if (hWnd == nullptr)
        return;
    MeasureText();
    Invalidate();
}

void C_UILink::SetCallback(T_UILinkCallBack pfn)
{
    pCallBack = pfn;
}

void C_UILink::SetCallback(T_UILinkCallBackEx pfn, void* pUserDataIn)
{
    pCallBackEx = pfn;
    pUserData = pUserDataIn;
}

HFONT C_UILink::GetCurrentFont() const
{
    return LinkUnderlined(look.nUnderline, ulFlags) ? hUnderlined : hPlain;
}

void C_UILink::Invalidate()
{
    InvalidateDrawnControl(hWnd, (ulFlags & UILINK_TRANSPARENT) != 0);
}

void C_UILink::SetFlag(uint32_t ulFlag, bool bOn)
{
    const uint32_t ulOld = ulFlags;
    if (bOn)
        ulFlags |= ulFlag;
    else
        ulFlags &= ~ulFlag;
    if (ulFlags != ulOld)
        Invalidate();
}

void C_UILink::FollowMouse(POINT pt)
{
    const bool bWasHot = (ulFlags & UILINK_HOT) != 0;
    const bool bOver = HitsText(pt);
    // The hover cursor is set as the pointer comes over the text; WM_SETCURSOR keeps it.
    SetFlag(UILINK_HOT, FollowPointer(bWasHot, bOver, bWasHot ? nullptr : hHotCursor));
}

bool C_UILink::HitsText(POINT pt) const
{
    RECT rc;
    ::GetClientRect(hWnd, &rc);
    if (!::PtInRect(&rc, pt))
        return false;
    return HitSpan(rc.right, sizeText.cx, AlignOfFormat(uFormat), false).Contains(pt.x);
}

void C_UILink::Paint(HDC hdc)
{
    const int nSaved = ::SaveDC(hdc);
    RECT rc;
    ::GetClientRect(hWnd, &rc);
    HBRUSH hParentBrush = AskParentStaticBrush(hWnd, hdc);
    ::SelectObject(hdc, GetCurrentFont());
    ::SetBkMode(hdc, TRANSPARENT);
    if (!(ulFlags & UILINK_TRANSPARENT))
        ::FillRect(hdc, &rc, hParentBrush != nullptr ? hParentBrush : static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    if ((ulFlags & UILINK_THEME_BACKGROUND) && hTheme != nullptr) {
        const auto pfnActive = uxtheme.GetAs<T_IsThemeActive>("IsThemeActive");
        const auto pfnParent = uxtheme.GetAs<T_DrawThemeParentBackground>("DrawThemeParentBackground");
        if (pfnActive != nullptr && pfnParent != nullptr && pfnActive())
            pfnParent(hWnd, hdc, &rc);
    }
    switch (SelectLinkColor(ulFlags)) {
    case UILINK_COLOR_DISABLED:
        ::SetTextColor(hdc, look.ulDisabled);
        break;
    case UILINK_COLOR_HOVER:
        ::SetTextColor(hdc, look.ulHover);
        break;
    default:
        ::SetTextColor(hdc, look.ulNormal);
        break;
    }
    RECT rcText = rc;
    ::DrawTextA(hdc, strShown.c_str(), static_cast<int>(strShown.size()), &rcText, uFormat);
    if ((ulFlags & UILINK_FOCUSED) && !(ulFlags & UILINK_DISABLED) && !(ulFlags & UILINK_NO_TABSTOP)) {
        RECT rcFocus = PlaceText(rc, sizeText.cx, sizeText.cy, uFormat);
        DrawFocusFrame(hdc, rcFocus);
    }
    ::RestoreDC(hdc, nSaved);
}

bool C_UILink::Launch(const char* pszFile, const char* pszParameters)
{
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.hwnd = hWnd;
    info.lpVerb = "open";
    info.lpFile = pszFile;
    info.lpParameters = pszParameters;
    info.nShow = SW_SHOWDEFAULT;
    return ::ShellExecuteExA(&info) != FALSE;
}

void C_UILink::Action(int nCode)
{
    // Copies: the callback or the parent may change or detach the link.
    const std::string strText = strReal;
    const std::string strAddress = strUrl;
    const bool bHasCallback = pCallBack != nullptr || pCallBackEx != nullptr;
    switch (LinkActionFor(nCode, bHasCallback, (ulFlags & UILINK_BUTTON) != 0, strAddress)) {
    case UILINK_DO_CALLBACK:
        if (pCallBackEx != nullptr)
            pCallBackEx(nCode, strText.c_str(), strAddress.c_str(), pUserData, this);
        else
            pCallBack(nCode, strText.c_str(), strAddress.c_str());
        break;
    case UILINK_DO_COMMAND:
        SendCommandToParent(hWnd);
        break;
    case UILINK_DO_OPEN:
        // A failure to start is not reported: the user sees nothing happen.
        if (IsOpenableAddress(strAddress))
            Launch("rundll32.exe", UrlHandlerParameters(strAddress).c_str());
        break;
    default:
        break;
    }
}

int C_UILink::OnMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    switch (uMsg) {
    case WM_SETCURSOR:
        if ((ulFlags & UILINK_HOT) && hHotCursor != nullptr) {
            ::SetCursor(hHotCursor);
            *pResult = TRUE;
            return 1;
        }
        return 0;
    case WM_MOUSEMOVE:
        FollowMouse(MousePoint(lParam));
        return 1;
    case WM_MOUSELEAVE:
    case WM_CANCELMODE:
        bPressStarted = false;
        SetFlag(UILINK_HOT, false);
        return uMsg == WM_MOUSELEAVE ? 1 : 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (ulFlags & UILINK_HOT) {
            bPressStarted = true;
            Action(UILINK_CODE_DOWN);
        }
        return 1;
    case WM_LBUTTONUP: {
        // A click is a press and a release on the text.
        const bool bClick = (ulFlags & UILINK_HOT) && bPressStarted;
        bPressStarted = false;
        if (bClick)
            Action(UILINK_CODE_UP);
        return 1;
    }
    case WM_KEYUP:
        if (wParam == VK_RETURN)
            Action(UILINK_CODE_ENTER);
        else if (wParam == VK_SPACE)
            Action(UILINK_CODE_SPACE);
        else
            return 0;
        return 1;
    case WM_GETDLGCODE:
        if (ulFlags & UILINK_NO_TABSTOP)
            return 0;
        *pResult = ButtonDialogCode(lParam, true);
        return 1;
    case WM_SETFOCUS:
        SetFlag(UILINK_FOCUSED, true);
        return 1;
    case WM_KILLFOCUS:
        SetFlag(UILINK_FOCUSED, false);
        return 1;
    case WM_ENABLE: {
        SetFlag(UILINK_DISABLED, wParam == 0);
        POINT pt;
        const bool bOver = wParam != 0 && CursorClientPoint(hWnd, &pt) && HitsText(pt);
        if (!bOver)
            bPressStarted = false;
        SetFlag(UILINK_HOT, bOver);
        return 1;
    }
    default:
        return 0;
    }
}
