// Report-view lists for the sort and list-control tests.
#ifndef QUENVALE_TESTS_LISTVIEW_H
#define QUENVALE_TESTS_LISTVIEW_H

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace uitest {

// A report-view list of 400 x 200 pixels with one column per title.
inline HWND CreateReportList(HWND hParent, DWORD dwStyle, const std::vector<const char*>& vTitles)
{
    INITCOMMONCONTROLSEX init = {sizeof(init), ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&init);
    HWND hList = ::CreateWindowExA(0, WC_LISTVIEWA, "", dwStyle | LVS_REPORT, 0, 0, 400, 200, hParent,
                                   hParent != nullptr ? reinterpret_cast<HMENU>(2000) : nullptr,
                                   ::GetModuleHandleA(nullptr), nullptr);
    for (size_t i = 0; hList != nullptr && i < vTitles.size(); ++i) {
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<char*>(vTitles[i]);
        column.cx = 120;
        ::SendMessageA(hList, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
    return hList;
}

// Adds a row at the end: the texts of its columns and its item data.
inline void AddListRow(HWND hList, const std::vector<const char*>& vTexts, LPARAM lParam)
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = static_cast<int>(::SendMessageA(hList, LVM_GETITEMCOUNT, 0, 0));
    item.pszText = const_cast<char*>(vTexts[0]);
    item.lParam = lParam;
    const int nIndex = static_cast<int>(::SendMessageA(hList, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    for (size_t i = 1; i < vTexts.size(); ++i) {
        LVITEMA cell = {};
        cell.iSubItem = static_cast<int>(i);
        cell.pszText = const_cast<char*>(vTexts[i]);
        ::SendMessageA(hList, LVM_SETITEMTEXTA, nIndex, reinterpret_cast<LPARAM>(&cell));
    }
}

// The texts of one column, top to bottom.
inline std::vector<std::string> ColumnTexts(HWND hList, int nColumn = 0)
{
    std::vector<std::string> vTexts;
    const int nItems = static_cast<int>(::SendMessageA(hList, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < nItems; ++i) {
        char szText[260] = {};
        LVITEMA item = {};
        item.iSubItem = nColumn;
        item.pszText = szText;
        item.cchTextMax = sizeof(szText);
        ::SendMessageA(hList, LVM_GETITEMTEXTA, i, reinterpret_cast<LPARAM>(&item));
        vTexts.push_back(szText);
    }
    return vTexts;
}

} // namespace uitest

#endif
