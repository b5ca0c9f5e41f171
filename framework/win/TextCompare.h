#ifndef QUENVALE_FRAMEWORK_TEXTCOMPARE_H
#define QUENVALE_FRAMEWORK_TEXTCOMPARE_H

#include <windows.h>

#include <string>

// The order in which the user expects texts (ANSI code page) to appear:
// the shell's logical order ("file2" before "file10") where the system has
// it, else the user's locale ignoring case, kana type and width, with a
// string sort to break ties. Returns -1, 0 or 1.
int CompareLogical(const std::string& strFirst, const std::string& strSecond);

// The locale order alone (the fallback of CompareLogical).
int CompareByLocale(const std::string& strFirst, const std::string& strSecond);

// Sort state of a sortable list view, passed as the lParamSort of
// LVM_SORTITEMS / LVM_SORTITEMSEX with CompareSizeTexts. Owned by the list
// control and used on the thread that owns the list window.
struct S_ListSortState;

// A comparison installed by the list's owner. Returns nonzero when it has
// decided the order of the items at nIndex1 and nIndex2 (written to
// *pnResult: negative, zero or positive as the direction asks), 0 when the
// column texts shall decide.
using T_ListSortDecide = int (*)(const S_ListSortState& state, int nIndex1, int nIndex2,
                                 int* pnResult);

struct S_ListSortState {
    HWND hList = nullptr;               // the list view being sorted
    int nColumn = 0;                    // the column whose texts decide
    bool bAscending = true;
    // true with LVM_SORTITEMS (the callback receives item data, whose
    // indexes are found with LVM_FINDITEM); false with LVM_SORTITEMSEX (the
    // callback receives item indexes). Lists that must also sort under Wine
    // give every item its own item data and use LVM_SORTITEMS: Wine's
    // LVM_SORTITEMSEX passes indexes that do not match the compared items.
    bool bItemData = false;
    T_ListSortDecide pfnDecide = nullptr;   // optional, asked first
    void* pContext = nullptr;               // for pfnDecide
    char szThousands[8] = ".";          // the user's group separator

    // Reads the user's group separator (LOCALE_STHOUSAND); keeps "." when
    // it cannot be read. Called once when the list is set up.
    void ReadThousandsSeparator();
};

// The list-view comparison (PFNLVCOMPARE): sizes in the column ("1.5 MByte")
// by byte count, all other texts logically once thousands separators and
// colons are removed; lSort points to an S_ListSortState. Items that cannot
// be found compare equal.
int CALLBACK CompareSizeTexts(LPARAM lFirst, LPARAM lSecond, LPARAM lSort);

#endif
