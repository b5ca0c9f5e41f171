#include "quick/win/DriveList.h"

#include <commctrl.h>

#include "device/core/RudvaneTypes.h"
#include "device/win/Rudvane.h"
#include "device/win/RudvaneDevice.h"
#include "resources/resource.h"

namespace {

// The drive icons in image-list order (DRIVE_ICON_*).
const WORD kDriveIcons[DRIVE_ICON_COUNT] = {
    IDI_DRIVE_FIXED, IDI_DRIVE_OPTICAL, IDI_DRIVE_REMOVABLE, IDI_DRIVE_NETWORK, IDI_DRIVE_RAM,
    IDI_DRIVE_TAPE,  IDI_DRIVE_USB_BLUE, IDI_DRIVE_USB_AMBER, IDI_DRIVE_ISCSI,
};

struct S_EntryWalk {
    std::vector<S_DriveEntry> vEntries;
    bool bAskUsbVendor = true;
};

int AddRecord(C_RudvaneDevice* pDevice, void* pContext)
{
    auto& walk = *static_cast<S_EntryWalk*>(pContext);
    S_DriveRecordFacts facts;
    facts.strLetters = pDevice->strLetters;
    facts.lMediaClass = pDevice->ulMediaClass;
    facts.ulBusFlags = pDevice->ulBusFlags;
    facts.ullBlockCount = pDevice->ullBlockCount;
    facts.ulBlockSize = pDevice->ulBlockSize;
    facts.strDisplayName = pDevice->strDisplayName;
    facts.strVendor = pDevice->strVendor;
    facts.strProduct = pDevice->strProduct;
    facts.strRevision = pDevice->strRevision;
    if (walk.bAskUsbVendor && !facts.strLetters.empty()) {
        uint32_t ulVendor = 0;
        uint32_t ulProduct = 0;
        facts.bHasUsbVendor = pDevice->Query(RUDVANE_Q_USB_IDS, &ulVendor, 0, &ulProduct, nullptr) != 0;
        facts.ulUsbVendorId = ulVendor;
    }
    AddDriveRecord(walk.vEntries, facts);
    return 1;
}

void AddColumn(HWND hList, int nIndex, const std::string& strText, int nWidth)
{
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<char*>(strText.c_str());
    column.cx = nWidth;
    column.iSubItem = nIndex;
    ::SendMessageA(hList, LVM_INSERTCOLUMNA, nIndex, reinterpret_cast<LPARAM>(&column));
}

} // namespace

std::vector<S_DriveEntry> ReadDriveEntries(bool bAskUsbVendor)
{
    S_EntryWalk walk;
    walk.bAskUsbVendor = bAskUsbVendor;
    RudvaneForEachDevice(AddRecord, &walk, 1);
    return walk.vEntries;
}

bool C_DriveList::Attach(HWND hListIn, HINSTANCE hInstance, const std::string& strDriveColumn,
                         const std::string& strVendorColumn, int nColumnWidth)
{
    Detach();
    if (!::IsWindow(hListIn)) {
        ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    hList = hListIn;
    AddColumn(hList, 0, strDriveColumn, nColumnWidth);
    AddColumn(hList, 1, strVendorColumn, nColumnWidth);

    HIMAGELIST hSmall = C_UIList::CreateIconList(hInstance, kDriveIcons, DRIVE_ICON_COUNT,
                                                 ::GetSystemMetrics(SM_CXSMICON));
    HIMAGELIST hNormal = C_UIList::CreateIconList(hInstance, kDriveIcons, DRIVE_ICON_COUNT,
                                                  ::GetSystemMetrics(SM_CXICON));
    list.Attach(hList, 0, hSmall, hNormal);

    bTileView = ::SendMessageA(hList, LVM_SETVIEW, LV_VIEW_TILE, 0) != -1;
    if (!bTileView)
        ::SendMessageA(hList, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    return true;
}

void C_DriveList::Detach()
{
    list.Detach();
    hList = nullptr;
    bTileView = false;
}

void C_DriveList::Fill(const std::vector<S_DriveEntry>& vEntries, int nTileHeight)
{
    if (hList == nullptr)
        return;
    ::SendMessageA(hList, LVM_DELETEALLITEMS, 0, 0);
    if (bTileView) {
        RECT rcClient = {};
        ::GetClientRect(hList, &rcClient);
        LVTILEVIEWINFO info = {};
        info.cbSize = sizeof(info);
        info.dwMask = LVTVIM_TILESIZE | LVTVIM_COLUMNS;
        info.dwFlags = LVTVIF_FIXEDSIZE;
        info.sizeTile.cx = rcClient.right - ::GetSystemMetrics(SM_CXVSCROLL);
        info.sizeTile.cy = nTileHeight;
        info.cLines = 1;
        ::SendMessageA(hList, LVM_SETTILEVIEWINFO, 0, reinterpret_cast<LPARAM>(&info));
    }

    UINT uDescriptionColumn = 1;
    for (size_t i = 0; i < vEntries.size(); ++i) {
        const S_DriveEntry& entry = vEntries[i];
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_COLUMNS;
        item.iItem = static_cast<int>(i);
        item.pszText = const_cast<char*>(entry.strName.c_str());
        item.iImage = entry.nIcon;
        item.lParam = static_cast<LPARAM>(static_cast<unsigned char>(entry.cLetter));
        item.cColumns = entry.strDescription.empty() ? 0 : 1;
        item.puColumns = &uDescriptionColumn;
        const int nItem = static_cast<int>(::SendMessageA(hList, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        if (nItem < 0 || entry.strDescription.empty())
            continue;
        LVITEMA sub = {};
        sub.iSubItem = 1;
        sub.pszText = const_cast<char*>(entry.strDescription.c_str());
        ::SendMessageA(hList, LVM_SETITEMTEXTA, nItem, reinterpret_cast<LPARAM>(&sub));
    }
}

void C_DriveList::SelectOnly(int nIndex)
{
    if (hList == nullptr)
        return;
    LVITEMA state = {};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = 0;
    ::SendMessageA(hList, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    if (nIndex < 0)
        return;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageA(hList, LVM_SETITEMSTATE, nIndex, reinterpret_cast<LPARAM>(&state));
    ::SendMessageA(hList, LVM_ENSUREVISIBLE, nIndex, FALSE);
}

std::string C_DriveList::SelectedLetters() const
{
    std::string strLetters;
    if (hList == nullptr)
        return strLetters;
    int nItem = -1;
    for (;;) {
        nItem = static_cast<int>(::SendMessageA(hList, LVM_GETNEXTITEM, static_cast<WPARAM>(nItem), LVNI_SELECTED));
        if (nItem < 0)
            break;
        LVITEMA item = {};
        item.mask = LVIF_PARAM;
        item.iItem = nItem;
        if (::SendMessageA(hList, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
            strLetters += static_cast<char>(item.lParam);
    }
    return strLetters;
}
