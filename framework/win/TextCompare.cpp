#include "framework/win/TextCompare.h"

#include <commctrl.h>

#include <cstring>

#include "framework/core/SizeText.h"
#include "framework/win/Library.h"
#include "framework/win/WideText.h"

namespace {

using T_StrCmpLogicalW = int(WINAPI*)(LPCWSTR, LPCWSTR);

constexpr int kItemTextBuffer = 260;

int Sign(int n)
{
    return n < 0 ? -1 : (n > 0 ? 1 : 0);
}

// Index of the item whose item data is lData, -1 when there is none.
int FindItemByData(HWND hList, LPARAM lData)
{
    LVFINDINFOA find = {};
    find.flags = LVFI_PARAM;
    find.lParam = lData;
    return static_cast<int>(
        ::SendMessageA(hList, LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
}

void ReadItemText(HWND hList, int nIndex, int nColumn, char* pszText)
{
    pszText[0] = '\0';
    LVITEMA item = {};
    item.iSubItem = nColumn;
    item.pszText = pszText;
    item.cchTextMax = kItemTextBuffer;
    ::SendMessageA(hList, LVM_GETITEMTEXTA, static_cast<WPARAM>(nIndex),
                   reinterpret_cast<LPARAM>(&item));
    pszText[kItemTextBuffer - 1] = '\0';
}

} // namespace

int CompareByLocale(const std::string& strFirst, const std::string& strSecond)
{
    const std::wstring strWideFirst = WideText(strFirst);
    const std::wstring strWideSecond = WideText(strSecond);
    const int nFirst = static_cast<int>(strWideFirst.size());
    const int nSecond = static_cast<int>(strWideSecond.size());
    int nResult = ::CompareStringW(LOCALE_USER_DEFAULT,
                                   NORM_IGNORECASE | NORM_IGNOREKANATYPE | NORM_IGNOREWIDTH,
                                   strWideFirst.c_str(), nFirst, strWideSecond.c_str(), nSecond);
    if (nResult == CSTR_EQUAL)
        nResult = ::CompareStringW(LOCALE_USER_DEFAULT, SORT_STRINGSORT, strWideFirst.c_str(),
                                   nFirst, strWideSecond.c_str(), nSecond);
    if (nResult == CSTR_LESS_THAN)
        return -1;
    if (nResult == CSTR_GREATER_THAN)
        return 1;
    return 0;
}

int CompareLogical(const std::string& strFirst, const std::string& strSecond)
{
    static const C_Library shlwapi("shlwapi.dll");
    static const T_StrCmpLogicalW pfnLogical = shlwapi.GetAs<T_StrCmpLogicalW>("StrCmpLogicalW");
    if (pfnLogical == nullptr)
        return CompareByLocale(strFirst, strSecond);
    return Sign(pfnLogical(WideText(strFirst).c_str(), WideText(strSecond).c_str()));
}

void S_ListSortState::ReadThousandsSeparator()
{
    char szRead[sizeof(szThousands)];
    if (::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, szRead, sizeof(szRead)) > 0)
        std::memcpy(szThousands, szRead, sizeof(szThousands));
    else
        std::strcpy(szThousands, ".");
}

int CALLBACK CompareSizeTexts(LPARAM lFirst, LPARAM lSecond, LPARAM lSort)
{
    const S_ListSortState& state = *reinterpret_cast<const S_ListSortState*>(lSort);
    int nFirst = static_cast<int>(lFirst);
    int nSecond = static_cast<int>(lSecond);
    if (state.bItemData) {
        nFirst = FindItemByData(state.hList, lFirst);
        nSecond = FindItemByData(state.hList, lSecond);
        if (nFirst < 0 || nSecond < 0)
            return 0;
    }
    int nResult = 0;
    if (state.pfnDecide != nullptr && state.pfnDecide(state, nFirst, nSecond, &nResult))
        return nResult;

    char szFirst[kItemTextBuffer];
    char szSecond[kItemTextBuffer];
    ReadItemText(state.hList, nFirst, state.nColumn, szFirst);
    ReadItemText(state.hList, nSecond, state.nColumn, szSecond);
    return CompareColumnTexts(szFirst, szSecond, state.bAscending, state.szThousands,
                              CompareLogical);
}
