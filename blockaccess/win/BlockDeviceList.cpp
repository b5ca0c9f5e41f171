#include "blockaccess/win/BlockDeviceList.h"

#include <commctrl.h>

#include <cstdio>

#include "device/core/RudvaneTypes.h"
#include "device/win/RudvaneDevice.h"
#include "framework/core/SizeText.h"
#include "framework/win/Texts.h"
#include "resources/resource.h"

namespace {

// The icons in image-list order (BlockDeviceIcon).
const WORD kIcons[] = {IDI_DRIVE_OPTICAL, IDI_DRIVE_REMOVABLE, IDI_DRIVE_FIXED, IDI_DRIVE_NETWORK,
                       IDI_DRIVE_RAM,     IDI_DRIVE_TAPE,      IDI_DRIVE_ISCSI};

struct S_Column {
    int nTextId;
    int nWidth;   // pixels
    int nFormat;
};
const S_Column kColumns[C_BlockDeviceList::COLUMN_COUNT] = {
    {40, 250, LVCFMT_LEFT}, {41, 130, LVCFMT_LEFT}, {42, 100, LVCFMT_LEFT},
    {43, 90, LVCFMT_RIGHT}, {44, 200, LVCFMT_LEFT},
};
constexpr int kTextLocation = 45;

// The first text that one of the codes answers and that is not empty.
std::string QueryText(C_RudvaneDevice& device, uint32_t ulCode, uint32_t ulFallbackCode)
{
    for (uint32_t ulAsk : {ulCode, ulFallbackCode}) {
        std::string strText;
        if (device.Query(ulAsk, &strText, 0, nullptr, nullptr) && !strText.empty())
            return strText;
    }
    return std::string();
}

void SetRowText(HWND hList, int nRow, int nColumn, const std::string& strText)
{
    LVITEMA item = {};
    item.iSubItem = nColumn;
    item.pszText = const_cast<char*>(strText.c_str());
    ::SendMessageA(hList, LVM_SETITEMTEXTA, static_cast<WPARAM>(nRow), reinterpret_cast<LPARAM>(&item));
}

} // namespace

std::string BlockDeviceName(const S_RudvaneRecord& record)
{
    return record.strVendor + " " + record.strProduct + " " + record.strRevision;
}

std::string BlockDeviceSizeText(const S_RudvaneRecord& record)
{
    const uint64_t ullBlocks =
        record.ullBlockCount < record.ullFirstBlock ? record.ullBlockCount : record.ullBlockCount - record.ullFirstBlock;
    const uint64_t ullSize = record.ulBlockSize != 0 && ullBlocks > UINT64_MAX / record.ulBlockSize
                                 ? UINT64_MAX
                                 : ullBlocks * record.ulBlockSize;
    return FormatSize(ullSize, 0, 1);
}

std::string BlockDeviceInfoText(C_RudvaneDevice& device)
{
    std::string strText;
    for (uint32_t ulCode : {uint32_t{RUDVANE_Q_USB_IDS}, uint32_t{RUDVANE_Q_CHIP_USB_IDS}}) {
        uint32_t ulVendor = 0;
        uint32_t ulProduct = 0;
        if (!device.Query(ulCode, &ulVendor, 0, &ulProduct, nullptr))
            continue;
        if (ulVendor != 0 || ulProduct != 0) {
            char szIds[48];
            std::snprintf(szIds, sizeof(szIds), "USB ID 0x%04X/0x%04X ", ulVendor, ulProduct);
            strText += szIds;
        }
        break;
    }
    strText += QueryText(device, RUDVANE_Q_USB_SERIAL, RUDVANE_Q_CHIP_USB_SERIAL);
    for (uint32_t ulCode : {uint32_t{RUDVANE_Q_1394_VENDOR_MODEL}, uint32_t{RUDVANE_Q_CHIP_1394_VENDOR_MODEL}}) {
        std::string strVendor;
        std::string strModel;
        if (device.Query(ulCode, &strVendor, 0, &strModel, nullptr) && (!strVendor.empty() || !strModel.empty())) {
            strText += "1394: " + strVendor + " " + strModel + " ";
            break;
        }
    }
    strText += QueryText(device, RUDVANE_Q_1394_UNIQUE_ID, RUDVANE_Q_CHIP_1394_UNIQUE_ID);
    const std::string strLocation = QueryText(device, RUDVANE_Q_LOCATION, RUDVANE_Q_CHIP_LOCATION);
    if (!strLocation.empty())
        strText += " " + Texts().LoadText(kTextLocation) + ": " + strLocation;
    if (!strText.empty())
        strText += " - ";
    return strText + device.strInfo;
}

int BlockDeviceIcon(const S_RudvaneRecord& record)
{
    if (record.ulBusFlags & RUDVANE_BUS_ISCSI)
        return 6;
    switch (record.ulMediaClass) {
    case RUDVANE_MEDIA_OPTICAL:
        return 0;
    case RUDVANE_MEDIA_REMOVABLE_DEVICE:
    case RUDVANE_MEDIA_REMOVABLE_VOLUME:
        return 1;
    case RUDVANE_MEDIA_RAM_DISK:
        return 4;
    case RUDVANE_MEDIA_NETWORK:
        return 3;
    case RUDVANE_MEDIA_TAPE:
        return 5;
    default:
        return 2;
    }
}

bool C_BlockDeviceList::Attach(HWND hListIn, HINSTANCE hInstance)
{
    Detach();
    if (!::IsWindow(hListIn)) {
        ::SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    hList = hListIn;
    ::SendMessageA(hList, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    for (int i = 0; i < COLUMN_COUNT; ++i) {
        const std::string strTitle = Texts().LoadText(kColumns[i].nTextId);
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM | LVCF_FMT;
        column.fmt = kColumns[i].nFormat;
        column.pszText = const_cast<char*>(strTitle.c_str());
        column.cx = kColumns[i].nWidth;
        column.iSubItem = i;
        ::SendMessageA(hList, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
    }
    HIMAGELIST hIcons = C_UIList::CreateIconList(hInstance, kIcons, static_cast<int>(sizeof(kIcons) / sizeof(kIcons[0])),
                                                 ::GetSystemMetrics(SM_CXSMICON));
    list.Attach(hList, 0, hIcons, nullptr);
    return true;
}

void C_BlockDeviceList::Detach()
{
    Clear();
    list.Detach();
    hList = nullptr;
}

bool C_BlockDeviceList::Add(C_RudvaneDevice& device)
{
    if (hList == nullptr || (device.ulCaps.load() & (RUDVANE_CAP_READ | RUDVANE_CAP_WRITE)) == 0)
        return false;
    const std::string strName = BlockDeviceName(device);
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = GetCount();
    item.pszText = const_cast<char*>(strName.c_str());
    item.iImage = BlockDeviceIcon(device);
    item.lParam = reinterpret_cast<LPARAM>(&device);
    const int nRow = static_cast<int>(::SendMessageA(hList, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (nRow < 0)
        return false;
    SetRowText(hList, nRow, COLUMN_LETTERS, device.strLetters);
    SetRowText(hList, nRow, COLUMN_LABEL, device.strDisplayName);
    SetRowText(hList, nRow, COLUMN_SIZE, BlockDeviceSizeText(device));
    SetRowText(hList, nRow, COLUMN_INFO, BlockDeviceInfoText(device));
    FitInfoColumn();
    return true;
}

void C_BlockDeviceList::FitInfoColumn()
{
    ::SendMessageA(hList, LVM_SETCOLUMNWIDTH, COLUMN_INFO, MAKELPARAM(LVSCW_AUTOSIZE, 0));
    const int nWidth = static_cast<int>(::SendMessageA(hList, LVM_GETCOLUMNWIDTH, COLUMN_INFO, 0));
    if (nWidth < kColumns[COLUMN_INFO].nWidth)
        ::SendMessageA(hList, LVM_SETCOLUMNWIDTH, COLUMN_INFO, MAKELPARAM(kColumns[COLUMN_INFO].nWidth, 0));
}

void C_BlockDeviceList::Remove(const C_RudvaneDevice& device)
{
    const int nRow = FindRow(&device);
    if (nRow >= 0)
        ::SendMessageA(hList, LVM_DELETEITEM, static_cast<WPARAM>(nRow), 0);
}

void C_BlockDeviceList::Clear()
{
    if (hList != nullptr)
        ::SendMessageA(hList, LVM_DELETEALLITEMS, 0, 0);
}

int C_BlockDeviceList::GetCount() const
{
    return hList != nullptr ? static_cast<int>(::SendMessageA(hList, LVM_GETITEMCOUNT, 0, 0)) : 0;
}

int C_BlockDeviceList::FindRow(const C_RudvaneDevice* pDevice) const
{
    if (hList == nullptr || pDevice == nullptr)
        return -1;
    LVFINDINFOA find = {};
    find.flags = LVFI_PARAM;
    find.lParam = reinterpret_cast<LPARAM>(pDevice);
    return static_cast<int>(::SendMessageA(hList, LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
}

C_RudvaneDevice* C_BlockDeviceList::GetDevice(int nRow) const
{
    if (hList == nullptr || nRow < 0)
        return nullptr;
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = nRow;
    if (!::SendMessageA(hList, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
        return nullptr;
    return reinterpret_cast<C_RudvaneDevice*>(item.lParam);
}

C_RudvaneDevice* C_BlockDeviceList::GetSelected() const
{
    if (hList == nullptr)
        return nullptr;
    return GetDevice(static_cast<int>(::SendMessageA(hList, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)));
}

bool C_BlockDeviceList::Select(const C_RudvaneDevice* pDevice)
{
    if (hList == nullptr)
        return false;
    const int nRow = FindRow(pDevice);
    LVITEMA state = {};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = 0;
    ::SendMessageA(hList, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    if (nRow < 0)
        return false;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageA(hList, LVM_SETITEMSTATE, static_cast<WPARAM>(nRow), reinterpret_cast<LPARAM>(&state));
    ::SendMessageA(hList, LVM_ENSUREVISIBLE, static_cast<WPARAM>(nRow), FALSE);
    return true;
}

std::string C_BlockDeviceList::GetText(int nRow, int nColumn) const
{
    if (hList == nullptr)
        return std::string();
    char szText[512] = {};
    LVITEMA item = {};
    item.iSubItem = nColumn;
    item.pszText = szText;
    item.cchTextMax = sizeof(szText);
    ::SendMessageA(hList, LVM_GETITEMTEXTA, static_cast<WPARAM>(nRow), reinterpret_cast<LPARAM>(&item));
    return szText;
}
