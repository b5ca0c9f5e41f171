#include "framework/win/Placement.h"

#include "framework/win/Library.h"

namespace {

S_Rect FromRect(const RECT& rc)
{
    S_Rect r;
    r.nLeft = rc.left;
    r.nTop = rc.top;
    r.nRight = rc.right;
    r.nBottom = rc.bottom;
    return r;
}

RECT ToRect(const S_Rect& r)
{
    RECT rc = {r.nLeft, r.nTop, r.nRight, r.nBottom};
    return rc;
}

// The monitor functions exist from Windows 98 and 2000 on; without them the
// screen and the system work area stand for the one monitor.
struct S_MonitorApi {
    C_Library user32{"user32.dll"};
    HMONITOR(WINAPI* pFromPoint)(POINT, DWORD) =
        user32.GetAs<HMONITOR(WINAPI*)(POINT, DWORD)>("MonitorFromPoint");
    HMONITOR(WINAPI* pFromRect)(LPCRECT, DWORD) =
        user32.GetAs<HMONITOR(WINAPI*)(LPCRECT, DWORD)>("MonitorFromRect");
    BOOL(WINAPI* pGetInfo)(HMONITOR, LPMONITORINFO) =
        user32.GetAs<BOOL(WINAPI*)(HMONITOR, LPMONITORINFO)>("GetMonitorInfoA");
};

bool PointOnMonitor(const S_MonitorApi& api, int x, int y)
{
    POINT pt = {x, y};
    if (api.pFromPoint != nullptr)
        return api.pFromPoint(pt, MONITOR_DEFAULTTONULL) != nullptr;
    return x >= 0 && y >= 0 && x < ::GetSystemMetrics(SM_CXSCREEN) && y < ::GetSystemMetrics(SM_CYSCREEN);
}

RECT NearestWorkArea(const S_MonitorApi& api, const RECT& rc)
{
    RECT work = {};
    if (api.pFromRect != nullptr && api.pGetInfo != nullptr) {
        MONITORINFO info = {};
        info.cbSize = sizeof(info);
        HMONITOR hMonitor = api.pFromRect(&rc, MONITOR_DEFAULTTONEAREST);
        if (hMonitor != nullptr && api.pGetInfo(hMonitor, &info))
            return info.rcWork;
    }
    if (!::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) {
        work.right = ::GetSystemMetrics(SM_CXSCREEN);
        work.bottom = ::GetSystemMetrics(SM_CYSCREEN);
    }
    return work;
}

} // namespace

bool C_RegistryTextStore::ReadText(const char* pszName, std::string& strText)
{
    HKEY hKey = nullptr;
    if (::RegOpenKeyExA(hRoot, strKey.c_str(), 0, KEY_QUERY_VALUE, &hKey) != ERROR_SUCCESS)
        return false;
    DWORD dwType = 0;
    DWORD dwSize = 0;
    LONG lResult = ::RegQueryValueExA(hKey, pszName, nullptr, &dwType, nullptr, &dwSize);
    std::string strValue;
    if (lResult == ERROR_SUCCESS && (dwType == REG_SZ || dwType == REG_EXPAND_SZ)) {
        strValue.resize(dwSize + 1);
        lResult = ::RegQueryValueExA(hKey, pszName, nullptr, &dwType,
                                     reinterpret_cast<BYTE*>(&strValue[0]), &dwSize);
    } else if (lResult == ERROR_SUCCESS) {
        lResult = ERROR_INVALID_DATA;
    }
    ::RegCloseKey(hKey);
    if (lResult != ERROR_SUCCESS)
        return false;
    strValue.resize(dwSize);
    strValue.resize(strValue.find('\0') != std::string::npos ? strValue.find('\0') : strValue.size());
    strText = strValue;
    return true;
}

bool C_RegistryTextStore::WriteText(const char* pszName, const char* pszText)
{
    HKEY hKey = nullptr;
    if (::RegCreateKeyExA(hRoot, strKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &hKey,
                          nullptr) != ERROR_SUCCESS)
        return false;
    const LONG lResult = ::RegSetValueExA(hKey, pszName, 0, REG_SZ,
                                          reinterpret_cast<const BYTE*>(pszText),
                                          static_cast<DWORD>(lstrlenA(pszText) + 1));
    ::RegCloseKey(hKey);
    return lResult == ERROR_SUCCESS;
}

bool SaveWindowPlacement(HWND hWnd, I_TextStore& store, const char* pszValueName,
                         uint32_t ulFlags, const RECT* pRect)
{
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof(wp);
    if (!::GetWindowPlacement(hWnd, &wp))
        return false;
    S_Placement placement;
    placement.nShowCommand = static_cast<int>(wp.showCmd);
    placement.rect = FromRect(wp.rcNormalPosition);
    if (!(::GetWindowLongA(hWnd, GWL_STYLE) & WS_VISIBLE) && !(ulFlags & PLACEMENT_SAVE_HIDDEN_STATE))
        placement.nShowCommand = 0;
    if (pRect != nullptr) {
        placement.rect = FromRect(*pRect);
        placement.nShowCommand = SW_SHOW;
    }
    return store.WriteText(pszValueName, FormatPlacement(placement).c_str());
}

bool RestoreWindowPlacement(HWND hWnd, I_TextStore& store, const char* pszValueName,
                            uint32_t ulFlags)
{
    std::string strText;
    S_Placement placement;
    if (!store.ReadText(pszValueName, strText) || !ParsePlacement(strText.c_str(), placement))
        return false;

    WINDOWPLACEMENT wp = {};
    wp.length = sizeof(wp);
    if (!::GetWindowPlacement(hWnd, &wp))
        return false;
    const int nShow = AdjustShowCommand(placement.nShowCommand, ulFlags);
    S_Rect rect = KeepSizeOrPosition(placement.rect, FromRect(wp.rcNormalPosition), ulFlags);

    if (!(ulFlags & PLACEMENT_NO_MONITOR_CHECK)) {
        S_MonitorApi api;
        bool bVisible = PointOnMonitor(api, rect.nLeft, rect.nTop);
        if (!bVisible && (ulFlags & PLACEMENT_CORNER_EITHER))
            bVisible = PointOnMonitor(api, rect.nRight, rect.nBottom);
        if (!bVisible)
            rect = MoveIntoWorkArea(rect, FromRect(NearestWorkArea(api, ToRect(rect))));
    }

    wp.flags = 0;
    wp.showCmd = static_cast<UINT>(nShow);
    wp.rcNormalPosition = ToRect(rect);
    if (!::SetWindowPlacement(hWnd, &wp))
        return false;
    if (!(ulFlags & PLACEMENT_NO_REPOSITION) && nShow != SW_SHOWMAXIMIZED)
        ::SendMessageA(hWnd, DM_REPOSITION, 0, 0);
    return true;
}
