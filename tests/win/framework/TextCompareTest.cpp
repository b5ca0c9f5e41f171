#include "framework/win/TextCompare.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/win/framework/ListView.h"

namespace {

struct S_Order {
    const char* pszFirst;
    const char* pszSecond;
    int nOrder;
};

TEST(TextCompare, LogicalOrderCountsDigitsAsNumbers)
{
    const std::vector<S_Order> cases = {
        {"file2", "file10", -1}, {"file10", "file2", 1}, {"abc", "ABC", 0},
        {"", "a", -1},           {"a", "", 1},           {"\xE4rger", "zebra", -1},
    };
    for (const S_Order& c : cases) {
        SCOPED_TRACE(testing::Message() << c.pszFirst << " vs " << c.pszSecond);
        EXPECT_EQ(CompareLogical(c.pszFirst, c.pszSecond), c.nOrder);
    }
}

TEST(TextCompare, LocaleOrderIgnoresCaseUntilATie)
{
    EXPECT_EQ(CompareByLocale("file2", "file10"), 1);
    EXPECT_EQ(CompareByLocale("apple", "Banana"), -1);
    EXPECT_EQ(CompareByLocale("same", "same"), 0);
    EXPECT_NE(CompareByLocale("abc", "ABC"), 0);
    EXPECT_EQ(CompareByLocale("abc", "ABC"), -CompareByLocale("ABC", "abc"));
}

// A report-view list with one column of the given texts; item data = index + 100.
class SortedList : public testing::Test {
protected:
    void SetUp() override
    {
        hList = uitest::CreateReportList(nullptr, WS_POPUP, {"Size"});
        ASSERT_NE(hList, nullptr);
    }
    void TearDown() override
    {
        if (hList != nullptr)
            ::DestroyWindow(hList);
    }
    void Fill(const std::vector<std::string>& texts)
    {
        ::SendMessageA(hList, LVM_DELETEALLITEMS, 0, 0);
        for (size_t i = 0; i < texts.size(); ++i)
            uitest::AddListRow(hList, {texts[i].c_str()}, static_cast<LPARAM>(i + 100));
    }
    std::vector<std::string> Texts() const { return uitest::ColumnTexts(hList); }

    void Sort(S_ListSortState& state)
    {
        state.hList = hList;
        ::SendMessageA(hList, state.bItemData ? LVM_SORTITEMS : LVM_SORTITEMSEX,
                       reinterpret_cast<WPARAM>(&state),
                       reinterpret_cast<LPARAM>(&CompareSizeTexts));
    }

    HWND hList = nullptr;
};

const std::vector<std::string> kColumn = {"Not Tested", "3.0 GByte", "12 Byte", "2048.0 MByte",
                                          "1.5 MByte"};

TEST_F(SortedList, SortsSizesByValueAndTextsByDigits)
{
    struct S_Case {
        const char* pszName;
        std::vector<std::string> column;
        std::vector<std::string> ascending;
    };
    // Sizes by byte count (texts follow them); other texts with their
    // thousands separators and colons dropped.
    const std::vector<S_Case> cases = {
        {"sizes", kColumn, {"12 Byte", "1.5 MByte", "2048.0 MByte", "3.0 GByte", "Not Tested"}},
        {"numbers", {"1.234.567", "abc", "99.000", "12:00", "1:30"},
         {"1:30", "12:00", "99.000", "1.234.567", "abc"}},
    };
    for (const S_Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        S_ListSortState state;
        state.bItemData = true;
        Fill(c.column);
        Sort(state);
        EXPECT_EQ(Texts(), c.ascending);
        state.bAscending = false;
        Sort(state);
        EXPECT_EQ(Texts(), std::vector<std::string>(c.ascending.rbegin(), c.ascending.rend()));
    }
}

TEST_F(SortedList, OwnerComparisonDecidesFirst)
{
    // "Not Tested" first, everything else by the column texts.
    S_ListSortState state;
    state.bItemData = true;
    state.pfnDecide = [](const S_ListSortState& s, int nIndex1, int nIndex2, int* pnResult) {
        char szFirst[260] = "";
        char szSecond[260] = "";
        ListView_GetItemText(s.hList, nIndex1, 0, szFirst, 260);
        ListView_GetItemText(s.hList, nIndex2, 0, szSecond, 260);
        const bool bFirst = std::string(szFirst) == "Not Tested";
        const bool bSecond = std::string(szSecond) == "Not Tested";
        if (bFirst == bSecond)
            return 0;
        *pnResult = bFirst ? -1 : 1;
        return 1;
    };
    Fill(kColumn);
    Sort(state);
    const std::vector<std::string> texts = Texts();
    ASSERT_EQ(texts.size(), kColumn.size());
    EXPECT_EQ(texts.front(), "Not Tested");
    EXPECT_EQ(texts[1], "12 Byte");
}

TEST_F(SortedList, ItemsByIndexOrByItemData)
{
    // Whole sorts with item indexes (LVM_SORTITEMSEX) cannot run here: Wine
    // passes positions that do not match the items being compared.
    Fill({"2 Byte", "1 Byte", "10 kByte"});
    S_ListSortState state;
    state.hList = hList;
    const LPARAM lState = reinterpret_cast<LPARAM>(&state);
    EXPECT_EQ(CompareSizeTexts(0, 1, lState), 1);
    EXPECT_EQ(CompareSizeTexts(1, 2, lState), -1);
    EXPECT_EQ(CompareSizeTexts(2, 2, lState), 0);
    state.bAscending = false;
    EXPECT_EQ(CompareSizeTexts(0, 1, lState), -1);

    state.bAscending = true;
    state.bItemData = true;
    EXPECT_EQ(CompareSizeTexts(100, 101, lState), 1);
    EXPECT_EQ(CompareSizeTexts(101, 102, lState), -1);
    // Item data that no item carries compares equal.
    EXPECT_EQ(CompareSizeTexts(100, 555, lState), 0);
    EXPECT_EQ(CompareSizeTexts(555, 100, lState), 0);
}

} // namespace
