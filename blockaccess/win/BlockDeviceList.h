#ifndef QUENVALE_BLOCKACCESS_BLOCKDEVICELIST_H
#define QUENVALE_BLOCKACCESS_BLOCKDEVICELIST_H

#include <windows.h>

#include <string>

#include "framework/win/UIList.h"

class C_RudvaneDevice;
struct S_RudvaneRecord;

// The Block Access device list (control 1028): one row per device record
// that can be read or written by block address, with the columns "Device",
// "Drive Letter", "Label", "Size" and "Info", an icon by media class, and
// the record itself as the row's item data.
//
// The records belong to the device layer: a row must go (Remove) before its
// record is deleted, which the layer's notification makes sure of, and
// every row before the layer ends (Clear).
//
// Used on the list's thread only.
class C_BlockDeviceList {
public:
    // Columns of the list.
    enum : int { COLUMN_DEVICE, COLUMN_LETTERS, COLUMN_LABEL, COLUMN_SIZE, COLUMN_INFO, COLUMN_COUNT };

    C_BlockDeviceList() = default;
    ~C_BlockDeviceList() { Detach(); }
    C_BlockDeviceList(const C_BlockDeviceList&) = delete;
    C_BlockDeviceList& operator=(const C_BlockDeviceList&) = delete;

    // Full-row selection, the five columns from the string table and the
    // seven icons of hInstance. False when hListIn is not a window.
    bool Attach(HWND hListIn, HINSTANCE hInstance);
    // Removes the rows and gives the list view back.
    void Detach();

    // Appends a row for a record whose ulCaps has 0x2 (read) or 0x4
    // (write); false, and no row, for any other record or when the row
    // cannot be inserted.
    bool Add(C_RudvaneDevice& device);
    // Deletes the record's row, if it has one.
    void Remove(const C_RudvaneDevice& device);
    void Clear();

    int GetCount() const;
    // The row of a record, -1 when it has none.
    int FindRow(const C_RudvaneDevice* pDevice) const;
    C_RudvaneDevice* GetDevice(int nRow) const;
    // The record of the selected row; null when none is selected.
    C_RudvaneDevice* GetSelected() const;
    // Selects the record's row alone, focuses it and scrolls it into view;
    // null (or a record without row) selects nothing. False without row.
    bool Select(const C_RudvaneDevice* pDevice);
    std::string GetText(int nRow, int nColumn) const;

    HWND GetHandle() const { return hList; }

private:
    void FitInfoColumn();

    HWND hList = nullptr;
    C_UIList list;
};

// The texts and icon of a record's row.
// "Device": "%s %s %s" of vendor, product and revision.
std::string BlockDeviceName(const S_RudvaneRecord& record);
// "Size": the usable blocks (from ullFirstBlock on, or all of them when the
// count is below the first block) times the block size, as FormatSize
// shows it with one decimal ("64.0 MByte"); a product beyond 64 bits shows
// the largest size.
std::string BlockDeviceSizeText(const S_RudvaneRecord& record);
// "Info": the USB ids ("USB ID 0x%04X/0x%04X "), the USB serial, the IEEE
// 1394 vendor and model ("1394: <vendor> <model> ") and unique id, and
// " <Location>: <location>", each as the record's Query answers it (the Plug
// and Play codes, else the chip handler's) and only when not empty; then
// " - " when anything came before; then the record's info text.
std::string BlockDeviceInfoText(C_RudvaneDevice& device);
// The icon's position in the list's image list: optical 0, removable 1,
// RAM disk 4, network 3, tape 5, others 2; an iSCSI device 6 whatever its
// media class.
int BlockDeviceIcon(const S_RudvaneRecord& record);

#endif
