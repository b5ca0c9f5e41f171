#include "framework/win/UIList.h"

#include <shlwapi.h>

#include <set>

namespace {

using T_SetWindowTheme = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);

constexpr int kArrowSize = 16;
constexpr COLORREF kArrowMask = RGB(255, 0, 255);

uint32_t ReadComCtlVersion()
{
    C_Library comctl("comctl32.dll");
    const auto pfnVersion = comctl.GetAs<DLLGETVERSIONPROC>("DllGetVersion");
    if (pfnVersion == nullptr)
        return 0;
    DLLVERSIONINFO info = {};
    info.cbSize = sizeof(info);
    if (FAILED(pfnVersion(&info)))
        return 0;
    return (info.dwMajorVersion << 16) | (info.dwMinorVersion & 0xFFFF);
}

// A 16 x 16 sort arrow pointing up (ascending) or down.
HBITMAP DrawArrow(HDC hdcScreen, bool bUp)
{
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hdcScreen, kArrowSize, kArrowSize);
    HDC hdc = ::CreateCompatibleDC(hdcScreen);
    if (hBitmap == nullptr || hdc == nullptr) {
        if (hBitmap != nullptr)
            ::DeleteObject(hBitmap);
        if (hdc != nullptr)
            ::DeleteDC(hdc);
        return nullptr;
    }
    HGDIOBJ hOldBitmap = ::SelectObject(hdc, hBitmap);
    HBRUSH hBack = ::CreateSolidBrush(kArrowMask);
    const RECT rc = {0, 0, kArrowSize, kArrowSize};
    ::FillRect(hdc, &rc, hBack);
    ::DeleteObject(hBack);
    const COLORREF crArrow = ::GetSysColor(COLOR_BTNSHADOW);
    HBRUSH hArrow = ::CreateSolidBrush(crArrow);
    HPEN hPen = ::CreatePen(PS_SOLID, 1, crArrow);
    HGDIOBJ hOldBrush = ::SelectObject(hdc, hArrow);
    HGDIOBJ hOldPen = ::SelectObject(hdc, hPen);
    const POINT aUp[3] = {{4, 10}, {12, 10}, {8, 6}};
    const POINT aDown[3] = {{4, 6}, {12, 6}, {8, 10}};
    ::Polygon(hdc, bUp ? aUp : aDown, 3);
    ::SelectObject(hdc, hOldPen);
    ::SelectObject(hdc, hOldBrush);
    ::DeleteObject(hPen);
    ::DeleteObject(hArrow);
    ::SelectObject(hdc, hOldBitmap);
    ::DeleteDC(hdc);
    return hBitmap;
}

} // namespace

bool C_UIList::Attach(HWND hListIn, uint32_t ulFlagsIn, HIMAGELIST hSmall, HIMAGELIST hNormal)
{
    Detach();
    if (!::IsWindow(hListIn)) {
        ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    hList = hListIn;
    ulFlags = ulFlagsIn;
    hHeader = reinterpret_cast<HWND>(::SendMessageA(hList, LVM_GETHEADER, 0, 0));
    ulComCtlVersion = ReadComCtlVersion();

    if (hSmall != nullptr)
        ::SendMessageA(hList, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(hSmall));
    if (hNormal != nullptr)
        ::SendMessageA(hList, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(hNormal));
    if ((ulFlags & UILIST_HEADER_ARROWS) && hHeader != nullptr)
        MakeHeaderArrows();
    if (ulFlags & UILIST_GROUPS)
        bGroupView = ::SendMessageA(hList, LVM_ENABLEGROUPVIEW, TRUE, 0) != -1;

    sortState = S_ListSortState();
    sortState.hList = hList;
    sortState.ReadThousandsSeparator();
    bSorted = false;

    if (uxtheme.Load("uxtheme.dll")) {
        const auto pfnTheme = uxtheme.GetAs<T_SetWindowTheme>("SetWindowTheme");
        if (pfnTheme != nullptr)
            pfnTheme(hList, L"explorer", nullptr);
    }

    if (!subList.Attach(hList, ListCallBack, this)) {
        const DWORD dwError = ::GetLastError();
        Detach();
        ::SetLastError(dwError);
        return false;
    }
    return true;
}

void C_UIList::Detach()
{
    subList.Detach();
    if (hHeaderImages != nullptr) {
        if (::IsWindow(hHeader))
            ::SendMessageA(hHeader, HDM_SETIMAGELIST, 0, 0);
        ::ImageList_Destroy(hHeaderImages);
    }
    hHeaderImages = nullptr;
    uxtheme.Free();
    hList = nullptr;
    hHeader = nullptr;
    bSorted = false;
    bGroupView = false;
}

void C_UIList::MakeHeaderArrows()
{
    hHeaderImages = ::ImageList_Create(kArrowSize, kArrowSize, ILC_COLOR32 | ILC_MASK, 2, 0);
    if (hHeaderImages == nullptr)
        return;
    HDC hdcScreen = ::GetDC(nullptr);
    for (bool bUp : {true, false}) {
        HBITMAP hArrow = hdcScreen != nullptr ? DrawArrow(hdcScreen, bUp) : nullptr;
        if (hArrow != nullptr) {
            ::ImageList_AddMasked(hHeaderImages, hArrow, kArrowMask);
            ::DeleteObject(hArrow);
        }
    }
    if (hdcScreen != nullptr)
        ::ReleaseDC(nullptr, hdcScreen);
    if (ulComCtlVersion >= (6u << 16))
        ::ImageList_SetBkColor(hHeaderImages, ::GetSysColor(COLOR_BTNFACE));
    if (ulComCtlVersion > ((5u << 16) | 80u))
        ::SendMessageA(hHeader, HDM_SETBITMAPMARGIN, ::GetSystemMetrics(SM_CXEDGE) * 3 / 2, 0);
    ::SendMessageA(hHeader, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(hHeaderImages));
}

void C_UIList::ShowSortArrow()
{
    if (hHeaderImages == nullptr || hHeader == nullptr)
        return;
    const int nColumns = static_cast<int>(::SendMessageA(hHeader, HDM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < nColumns; ++i) {
        HDITEMA item = {};
        item.mask = HDI_FORMAT;
        if (!::SendMessageA(hHeader, HDM_GETITEMA, i, reinterpret_cast<LPARAM>(&item)))
            continue;
        item.fmt &= ~(HDF_IMAGE | HDF_BITMAP_ON_RIGHT | HDF_SORTUP | HDF_SORTDOWN);
        item.mask = HDI_FORMAT;
        if (bSorted && i == sortState.nColumn) {
            item.mask |= HDI_IMAGE;
            item.fmt |= HDF_IMAGE | HDF_BITMAP_ON_RIGHT;
            item.iImage = sortState.bAscending ? 0 : 1;
        }
        ::SendMessageA(hHeader, HDM_SETITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
}

bool C_UIList::ItemDataDistinct() const
{
    const int nItems = static_cast<int>(::SendMessageA(hList, LVM_GETITEMCOUNT, 0, 0));
    std::set<LPARAM> seen;
    for (int i = 0; i < nItems; ++i) {
        LVITEMA item = {};
        item.mask = LVIF_PARAM;
        item.iItem = i;
        if (!::SendMessageA(hList, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
            return false;
        if (!seen.insert(item.lParam).second)
            return false;
    }
    return true;
}

bool C_UIList::Sort(int nColumn, bool bAscending)
{
    if (hList == nullptr || nColumn < 0)
        return false;
    sortState.nColumn = nColumn;
    sortState.bAscending = bAscending;
    bSorted = true;
    // Items found by their data are the same items under every comctl32;
    // positions handed to LVM_SORTITEMSEX are not (Wine's do not match).
    sortState.bItemData = ItemDataDistinct();
    const UINT uMessage = sortState.bItemData ? LVM_SORTITEMS : LVM_SORTITEMSEX;
    const bool bDone = ::SendMessageA(hList, uMessage, reinterpret_cast<WPARAM>(&sortState),
                                      reinterpret_cast<LPARAM>(&CompareSizeTexts)) != FALSE;
    ShowSortArrow();
    return bDone;
}

bool C_UIList::Resort()
{
    if (!bSorted)
        return false;
    return Sort(sortState.nColumn, sortState.bAscending);
}

void C_UIList::SetSortDecide(T_ListSortDecide pfnDecide, void* pContext)
{
    sortState.pfnDecide = pfnDecide;
    sortState.pContext = pContext;
}

HIMAGELIST C_UIList::CreateIconList(HINSTANCE hInstance, const WORD* pwIds, int nCount, int nSize)
{
    HIMAGELIST hImages = ::ImageList_Create(nSize, nSize, ILC_COLOR32 | ILC_MASK, nCount, 0);
    if (hImages == nullptr)
        return nullptr;
    for (int i = 0; i < nCount; ++i) {
        HICON hIcon = static_cast<HICON>(
            ::LoadImageA(hInstance, MAKEINTRESOURCEA(pwIds[i]), IMAGE_ICON, nSize, nSize, LR_DEFAULTCOLOR));
        if (hIcon != nullptr && ::ImageList_AddIcon(hImages, hIcon) >= 0) {
            ::DestroyIcon(hIcon);
            continue;
        }
        if (hIcon != nullptr)
            ::DestroyIcon(hIcon);
        // An empty image keeps the indexes of the icons after it.
        ::ImageList_SetImageCount(hImages, static_cast<UINT>(i + 1));
    }
    return hImages;
}

int C_UIList::ListCallBack(HWND hWndIn, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult,
                           void* pUserData)
{
    C_UIList* pSelf = static_cast<C_UIList*>(pUserData);
    if (uMsg != WM_NOTIFY || !(pSelf->ulFlags & UILIST_SORT_ON_CLICK))
        return 0;
    const NMHDR* pHeader = reinterpret_cast<const NMHDR*>(lParam);
    if (pHeader == nullptr || pHeader->hwndFrom != pSelf->hHeader ||
        (pHeader->code != HDN_ITEMCLICKA && pHeader->code != HDN_ITEMCLICKW))
        return 0;
    const int nColumn = reinterpret_cast<const NMHEADERA*>(lParam)->iItem;
    // The list tells its parent first (LVN_COLUMNCLICK), then sorts.
    *pResult = pSelf->subList.CallOriginal(hWndIn, uMsg, wParam, lParam);
    if (pSelf->hList == hWndIn) {
        const bool bAscending =
            !(pSelf->bSorted && pSelf->sortState.nColumn == nColumn && pSelf->sortState.bAscending);
        pSelf->Sort(nColumn, bAscending);
    }
    return 1;
}
