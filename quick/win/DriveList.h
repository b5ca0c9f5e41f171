#ifndef QUENVALE_QUICK_DRIVELIST_H
#define QUENVALE_QUICK_DRIVELIST_H

#include <windows.h>

#include <string>
#include <vector>

#include "framework/win/UIList.h"
#include "quick/core/DriveEntries.h"

// The drive entries of the device layer's records (stale ones included), in
// letter order. The caller has refreshed the layer; the walk takes its lock.
// bAskUsbVendor: records with letters are asked for their USB vendor id,
// which only the icons need.
std::vector<S_DriveEntry> ReadDriveEntries(bool bAskUsbVendor = true);

// The Quick Access drive list: a list view with the columns "Drive" and
// "Vendor", shown as tiles with the description as the second line, or as
// a report list with full-row selection where tiles are refused. Each item
// carries its drive letter as item data.
//
// Used on the list's thread only.
class C_DriveList {
public:
    C_DriveList() = default;
    ~C_DriveList() { Detach(); }
    C_DriveList(const C_DriveList&) = delete;
    C_DriveList& operator=(const C_DriveList&) = delete;

    // Columns from the two texts, each nColumnWidth pixels; the nine drive
    // icons of hInstance in both image lists (which the list view owns);
    // the tile view when the list takes it.
    bool Attach(HWND hListIn, HINSTANCE hInstance, const std::string& strDriveColumn,
                const std::string& strVendorColumn, int nColumnWidth);
    void Detach();

    // Replaces the items with the entries, in their order, and sizes the
    // tiles to the list's width and nTileHeight pixels.
    void Fill(const std::vector<S_DriveEntry>& vEntries, int nTileHeight);
    // Selects the item nIndex alone and makes it the focused one; -1
    // selects nothing.
    void SelectOnly(int nIndex);
    // The letters of the selected items, in list order.
    std::string SelectedLetters() const;

    HWND GetHandle() const { return hList; }
    bool IsTileView() const { return bTileView; }

private:
    HWND hList = nullptr;
    C_UIList list;
    bool bTileView = false;
};

#endif
