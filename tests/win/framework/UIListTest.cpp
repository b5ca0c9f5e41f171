#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "framework/core/UIFlags.h"
#include "framework/win/UIList.h"
#include "resources/resource.h"
#include "tests/win/framework/ListView.h"
#include "tests/win/framework/UITestHost.h"

namespace {

using uitest::C_HostDialog;

struct S_Row {
    const char* pszName;
    const char* pszSize;
    const char* pszCount;
};

// A report list of rows (name, size, count) on the Block Access page.
class UIListTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(main.Create(uitest::Self(), IDD_MAIN, 0, nullptr), nullptr);
        ASSERT_NE(page.Create(uitest::Self(), IDD_BLOCK_ACCESS, 0, main.GetHandle()), nullptr);
        hList = uitest::CreateReportList(page.GetHandle(), WS_CHILD | WS_VISIBLE, {"Name", "Size", "Count"});
        ASSERT_NE(hList, nullptr);
    }
    void AddRows(const std::vector<S_Row>& vRows, bool bDistinctData)
    {
        for (size_t i = 0; i < vRows.size(); ++i)
            uitest::AddListRow(hList, {vRows[i].pszName, vRows[i].pszSize, vRows[i].pszCount},
                               bDistinctData ? static_cast<LPARAM>(100 + i) : 0);
    }
    std::vector<std::string> Names() const { return uitest::ColumnTexts(hList); }
    // The header image of each column, -1 where none is shown.
    std::vector<int> Arrows() const
    {
        std::vector<int> vArrows;
        HWND hHeader = list.GetHeader();
        const int nColumns = static_cast<int>(::SendMessageA(hHeader, HDM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < nColumns; ++i) {
            HDITEMA item = {};
            item.mask = HDI_FORMAT | HDI_IMAGE;
            ::SendMessageA(hHeader, HDM_GETITEMA, i, reinterpret_cast<LPARAM>(&item));
            vArrows.push_back((item.fmt & HDF_IMAGE) ? item.iImage : -1);
        }
        return vArrows;
    }

    C_HostDialog main;
    C_HostDialog page;
    HWND hList = nullptr;
    C_UIList list;
};

const std::vector<S_Row> kRows = {
    {"beta", "1.5 MByte", "1200"},
    {"alpha", "512 Byte", "30"},
    {"gamma", "2.0 GByte", "4"},
    {"delta", "Unknown", "1:30"},
};

TEST_F(UIListTest, SortsSizesByBytesAndShowsTheArrow)
{
    AddRows(kRows, true);
    ASSERT_TRUE(list.Attach(hList, UILIST_HEADER_ARROWS));
    ASSERT_NE(list.GetHeaderImages(), nullptr);
    EXPECT_EQ(::ImageList_GetImageCount(list.GetHeaderImages()), 2);
    EXPECT_EQ(Arrows(), (std::vector<int>{-1, -1, -1}));

    struct S_Case {
        int nColumn;
        bool bAscending;
        std::vector<std::string> vOrder;
        std::vector<int> vArrows;
    };
    // Sizes compare by bytes, other pairs by text: "Unknown" stays after
    // the sizes it was compared with as text.
    const std::vector<S_Case> cases = {
        {0, true, {"alpha", "beta", "delta", "gamma"}, {0, -1, -1}},
        {0, false, {"gamma", "delta", "beta", "alpha"}, {1, -1, -1}},
        {1, true, {"alpha", "beta", "gamma", "delta"}, {-1, 0, -1}},
        {2, true, {"gamma", "alpha", "delta", "beta"}, {-1, -1, 0}},   // 1:30 counts as 130
    };
    for (const S_Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "column " << c.nColumn << (c.bAscending ? " up" : " down"));
        EXPECT_TRUE(list.Sort(c.nColumn, c.bAscending));
        EXPECT_EQ(Names(), c.vOrder);
        EXPECT_EQ(Arrows(), c.vArrows);
    }
}

TEST_F(UIListTest, HeaderClickSortsAndTogglesTheDirection)
{
    AddRows(kRows, true);
    ASSERT_TRUE(list.Attach(hList, UILIST_HEADER_ARROWS | UILIST_SORT_ON_CLICK));
    HWND hHeader = list.GetHeader();
    RECT rcColumn;
    ASSERT_TRUE(::SendMessageA(hHeader, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rcColumn)));
    const LPARAM lPoint = uitest::Point((rcColumn.left + rcColumn.right) / 2, (rcColumn.top + rcColumn.bottom) / 2);

    for (bool bAscending : {true, false, true}) {
        SCOPED_TRACE(bAscending ? "ascending" : "descending");
        ::SendMessageA(hHeader, WM_LBUTTONDOWN, MK_LBUTTON, lPoint);
        ::SendMessageA(hHeader, WM_LBUTTONUP, 0, lPoint);
        EXPECT_TRUE(list.IsSorted());
        EXPECT_EQ(list.GetSortColumn(), 0);
        EXPECT_EQ(list.IsAscending(), bAscending);
        EXPECT_EQ(Names().front(), bAscending ? "alpha" : "gamma");
    }
}

TEST_F(UIListTest, ResortKeepsColumnAndDirectionForNewRows)
{
    AddRows(kRows, true);
    ASSERT_TRUE(list.Attach(hList, 0));
    EXPECT_FALSE(list.Resort());
    ASSERT_TRUE(list.Sort(1, true));
    AddRows({{"epsilon", "12 Byte", "0"}}, false);
    EXPECT_TRUE(list.Resort());
    EXPECT_EQ(Names().front(), "epsilon");
}

TEST_F(UIListTest, AttachSetsImageListsAndIconListsKeepTheirIndexes)
{
    HWND hDevices = ::GetDlgItem(page.GetHandle(), 1028);
    const WORD awIcons[3] = {IDI_DRIVE_FIXED, 9999, IDI_DRIVE_OPTICAL};   // 9999 does not exist
    HIMAGELIST hSmall = C_UIList::CreateIconList(uitest::Self(), awIcons, 3, 16);
    HIMAGELIST hNormal = C_UIList::CreateIconList(uitest::Self(), awIcons, 3, 32);
    ASSERT_NE(hSmall, nullptr);
    EXPECT_EQ(::ImageList_GetImageCount(hSmall), 3);
    ASSERT_TRUE(list.Attach(hDevices, UILIST_HEADER_ARROWS, hSmall, hNormal));
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(::SendMessageA(hDevices, LVM_GETIMAGELIST, LVSIL_SMALL, 0)), hSmall);
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(::SendMessageA(hDevices, LVM_GETIMAGELIST, LVSIL_NORMAL, 0)), hNormal);
    EXPECT_NE(list.GetComCtlVersion(), 0u);

    // A second attachment of the same list is refused; after Detach it works.
    C_UIList second;
    EXPECT_FALSE(second.Attach(hDevices, 0));
    list.Detach();
    EXPECT_TRUE(second.Attach(hDevices, 0));
}

} // namespace
