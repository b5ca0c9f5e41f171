#include "fileaccess/win/FileContextMenu.h"

namespace {

// Space around the icon and after the text, in pixels at 96 DPI.
constexpr int kMargin = 4;

} // namespace

bool C_FileContextMenu::Load(HINSTANCE hInstance, int nMenuId, const std::vector<S_Entry>& vEntries)
{
    Destroy();
    hMenu = ::LoadMenuA(hInstance, MAKEINTRESOURCEA(nMenuId));
    hPopup = hMenu != nullptr ? ::GetSubMenu(hMenu, 0) : nullptr;
    if (hPopup == nullptr) {
        Destroy();
        return false;
    }
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof(metrics);
    if (::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        hFont = ::CreateFontIndirectA(&metrics.lfMenuFont);
    nIconSize = ::GetSystemMetrics(SM_CXSMICON);

    // The items' data point into vItems, which does not grow after this.
    vItems.reserve(vEntries.size());
    for (const S_Entry& entry : vEntries) {
        S_Item item;
        item.uCommand = entry.uCommand;
        item.strText = entry.strText;
        item.hIcon = static_cast<HICON>(
            ::LoadImageA(hInstance, MAKEINTRESOURCEA(entry.wIcon), IMAGE_ICON, nIconSize, nIconSize, 0));
        vItems.push_back(item);
    }
    for (S_Item& item : vItems) {
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_DATA;
        info.fType = MFT_OWNERDRAW;
        info.dwItemData = reinterpret_cast<ULONG_PTR>(&item);
        ::SetMenuItemInfoA(hPopup, item.uCommand, FALSE, &info);
    }
    return true;
}

void C_FileContextMenu::Destroy()
{
    for (S_Item& item : vItems)
        if (item.hIcon != nullptr)
            ::DestroyIcon(item.hIcon);
    vItems.clear();
    if (hMenu != nullptr)
        ::DestroyMenu(hMenu);
    hMenu = nullptr;
    hPopup = nullptr;
    if (hFont != nullptr)
        ::DeleteObject(hFont);
    hFont = nullptr;
}

bool C_FileContextMenu::Show(HWND hOwner, POINT ptScreen) const
{
    if (hPopup == nullptr)
        return false;
    // The owner must be the foreground window, or the menu would not close
    // when the user clicks elsewhere.
    ::SetForegroundWindow(hOwner);
    const BOOL bChosen = ::TrackPopupMenu(hPopup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, ptScreen.x,
                                          ptScreen.y, 0, hOwner, nullptr);
    ::PostMessageA(hOwner, WM_NULL, 0, 0);
    return bChosen != FALSE;
}

const C_FileContextMenu::S_Item* C_FileContextMenu::ItemOf(UINT uType, ULONG_PTR ulData) const
{
    if (uType != ODT_MENU)
        return nullptr;
    for (const S_Item& item : vItems)
        if (reinterpret_cast<ULONG_PTR>(&item) == ulData)
            return &item;
    return nullptr;
}

bool C_FileContextMenu::MeasureItem(HWND hOwner, MEASUREITEMSTRUCT* pMeasure) const
{
    const S_Item* pItem = pMeasure != nullptr ? ItemOf(pMeasure->CtlType, pMeasure->itemData) : nullptr;
    if (pItem == nullptr)
        return false;
    HDC hDC = ::GetDC(hOwner);
    SIZE size = {0, 0};
    if (hDC != nullptr) {
        HGDIOBJ hOld = hFont != nullptr ? ::SelectObject(hDC, hFont) : nullptr;
        ::GetTextExtentPoint32A(hDC, pItem->strText.c_str(), static_cast<int>(pItem->strText.size()), &size);
        if (hOld != nullptr)
            ::SelectObject(hDC, hOld);
        ::ReleaseDC(hOwner, hDC);
    }
    pMeasure->itemWidth = static_cast<UINT>(3 * kMargin + nIconSize + size.cx + 4 * kMargin);
    pMeasure->itemHeight = static_cast<UINT>((size.cy > nIconSize ? size.cy : nIconSize) + 2 * kMargin);
    return true;
}

bool C_FileContextMenu::DrawItem(const DRAWITEMSTRUCT* pDraw) const
{
    const S_Item* pItem = pDraw != nullptr ? ItemOf(pDraw->CtlType, pDraw->itemData) : nullptr;
    if (pItem == nullptr)
        return false;
    const bool bSelected = (pDraw->itemState & ODS_SELECTED) != 0;
    const bool bGrayed = (pDraw->itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
    HDC hDC = pDraw->hDC;
    RECT rc = pDraw->rcItem;
    ::FillRect(hDC, &rc, ::GetSysColorBrush(bSelected ? COLOR_HIGHLIGHT : COLOR_MENU));
    if (pItem->hIcon != nullptr)
        ::DrawIconEx(hDC, rc.left + kMargin, rc.top + (rc.bottom - rc.top - nIconSize) / 2, pItem->hIcon, nIconSize,
                     nIconSize, 0, nullptr, DI_NORMAL);
    rc.left += 3 * kMargin + nIconSize;
    HGDIOBJ hOld = hFont != nullptr ? ::SelectObject(hDC, hFont) : nullptr;
    const int nOldMode = ::SetBkMode(hDC, TRANSPARENT);
    const COLORREF crOld = ::SetTextColor(
        hDC, ::GetSysColor(bGrayed ? COLOR_GRAYTEXT : bSelected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    ::DrawTextA(hDC, pItem->strText.c_str(), -1, &rc, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
    ::SetTextColor(hDC, crOld);
    ::SetBkMode(hDC, nOldMode);
    if (hOld != nullptr)
        ::SelectObject(hDC, hOld);
    return true;
}
