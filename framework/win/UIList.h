#ifndef QUENVALE_FRAMEWORK_UILIST_H
#define QUENVALE_FRAMEWORK_UILIST_H

#include <windows.h>
#include <commctrl.h>

#include <cstdint>

#include "framework/core/UIFlags.h"
#include "framework/win/Library.h"
#include "framework/win/SubClassing.h"
#include "framework/win/TextCompare.h"

// A list view that sorts its rows by the texts of a column (sizes by their
// byte count, everything else in the user's logical order; see
// CompareSizeTexts), with sort arrows in the column headers, the
// "explorer" look and the caller's image lists. Flags UILIST_* in
// framework/core/UIFlags.h.
//
// Rows should carry distinct item data: such a list sorts by item data,
// which every comctl32 handles alike; other lists sort by position.
// Used on the list's thread only.
class C_UIList {
public:
    C_UIList() = default;
    ~C_UIList() { Detach(); }
    C_UIList(const C_UIList&) = delete;
    C_UIList& operator=(const C_UIList&) = delete;

    // hSmall, hNormal: image lists given to the list (null: left alone);
    // the list view destroys them with itself unless it has
    // LVS_SHAREIMAGELISTS. False when hList is not a window or cannot be
    // subclassed.
    bool Attach(HWND hListIn, uint32_t ulFlagsIn, HIMAGELIST hSmall = nullptr, HIMAGELIST hNormal = nullptr);
    void Detach();

    // Sorts by the texts of nColumn and shows the arrow on that column.
    bool Sort(int nColumn, bool bAscending);
    // Sorts again by the last column and direction (after rows changed);
    // false when the list was never sorted.
    bool Resort();
    // A comparison asked before the column texts (see T_ListSortDecide).
    void SetSortDecide(T_ListSortDecide pfnDecide, void* pContext);

    // An image list of the icons wIds[0..nCount) of hInstance, nSize pixels
    // square; a missing icon keeps its place with an empty image. Null when
    // the list cannot be made.
    static HIMAGELIST CreateIconList(HINSTANCE hInstance, const WORD* pwIds, int nCount, int nSize);

    HWND GetHandle() const { return hList; }
    HWND GetHeader() const { return hHeader; }
    int GetSortColumn() const { return sortState.nColumn; }
    bool IsAscending() const { return sortState.bAscending; }
    bool IsSorted() const { return bSorted; }
    // comctl32's version as major << 16 | minor (0 when unknown).
    uint32_t GetComCtlVersion() const { return ulComCtlVersion; }
    bool HasGroupView() const { return bGroupView; }
    HIMAGELIST GetHeaderImages() const { return hHeaderImages; }

private:
    static int ListCallBack(HWND hWndIn, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult,
                            void* pUserData);
    void MakeHeaderArrows();
    void ShowSortArrow();
    bool ItemDataDistinct() const;

    HWND hList = nullptr;
    HWND hHeader = nullptr;
    C_SubClassing subList{"lis1"};
    C_Library uxtheme;
    HIMAGELIST hHeaderImages = nullptr;
    uint32_t ulFlags = 0;
    uint32_t ulComCtlVersion = 0;
    bool bGroupView = false;
    bool bSorted = false;
    S_ListSortState sortState;
};

#endif
