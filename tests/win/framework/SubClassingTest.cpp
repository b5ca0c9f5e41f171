#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "framework/win/SubClassing.h"

namespace {

struct Calls {
    std::vector<std::string> vLog;
    std::string strName;
    UINT uAnswerMsg = 0;      // message this callback answers itself
    LRESULT lAnswer = 0;
};

int Record(HWND, UINT uMsg, WPARAM, LPARAM, LRESULT* pResult, void* pUserData)
{
    Calls* pCalls = static_cast<Calls*>(pUserData);
    if (uMsg == WM_USER + 1)
        pCalls->vLog.push_back(pCalls->strName);
    if (pCalls->uAnswerMsg != 0 && uMsg == pCalls->uAnswerMsg) {
        *pResult = pCalls->lAnswer;
        return 1;
    }
    return 0;
}

class SubClassingTest : public testing::Test {
protected:
    void SetUp() override
    {
        hWnd = ::CreateWindowExA(0, "EDIT", "text", WS_OVERLAPPEDWINDOW, 0, 0, 100, 30, nullptr,
                                 nullptr, ::GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(hWnd, nullptr);
        pOriginal = ::GetWindowLongPtrA(hWnd, GWLP_WNDPROC);
    }
    void TearDown() override
    {
        if (::IsWindow(hWnd))
            ::DestroyWindow(hWnd);
    }
    HWND hWnd = nullptr;
    LONG_PTR pOriginal = 0;
};

TEST_F(SubClassingTest, TwoTagsDetachedInReverseOrderRestoreTheControl)
{
    Calls a{{}, "stax"}, b{{}, "link"};
    C_SubClassing first("stax"), second("link");
    ASSERT_TRUE(first.Attach(hWnd, Record, &a));
    ASSERT_TRUE(second.Attach(hWnd, Record, &b));
    // The property names hold the tags as big-endian hex.
    EXPECT_NE(::GetPropA(hWnd, "_C_SubClassing_Property_73746178"), nullptr);
    EXPECT_NE(::GetPropA(hWnd, "_C_SubClassing_Property_6C696E6B"), nullptr);

    // The last attached sees a message first, then passes it on.
    ::SendMessageA(hWnd, WM_USER + 1, 0, 0);
    std::vector<std::string> order;
    order.insert(order.end(), b.vLog.begin(), b.vLog.end());
    order.insert(order.end(), a.vLog.begin(), a.vLog.end());
    EXPECT_EQ(order, (std::vector<std::string>{"link", "stax"}));

    // The control itself still works through both.
    char szText[16] = {};
    ::GetWindowTextA(hWnd, szText, sizeof(szText));
    EXPECT_STREQ(szText, "text");

    EXPECT_TRUE(second.Detach());
    EXPECT_TRUE(first.Detach());
    EXPECT_EQ(::GetWindowLongPtrA(hWnd, GWLP_WNDPROC), pOriginal);
    EXPECT_EQ(::GetPropA(hWnd, "_C_SubClassing_Property_73746178"), nullptr);
    EXPECT_EQ(::GetPropA(hWnd, "_C_SubClassing_Property_6C696E6B"), nullptr);
    EXPECT_FALSE(first.Detach());
}

TEST_F(SubClassingTest, CallbackAnswersAndTheSameTagCannotAttachTwice)
{
    Calls a{{}, "edit", WM_GETDLGCODE, 0x89};
    C_SubClassing sub("edit");
    ASSERT_TRUE(sub.Attach(hWnd, Record, &a));
    EXPECT_EQ(::SendMessageA(hWnd, WM_GETDLGCODE, 0, 0), 0x89);

    C_SubClassing again("edit");
    EXPECT_FALSE(again.Attach(hWnd, Record, &a));
    EXPECT_FALSE(again.Detach());
    // The first attachment is untouched by the refused one.
    EXPECT_EQ(::SendMessageA(hWnd, WM_GETDLGCODE, 0, 0), 0x89);

    C_SubClassing unknown("zzzz");
    EXPECT_FALSE(unknown.Attach(hWnd, Record, &a));
}

TEST_F(SubClassingTest, DestroyedControlLeavesNothingToDetach)
{
    Calls a{{}, "tree"};
    C_SubClassing sub("tree");
    ASSERT_TRUE(sub.Attach(hWnd, Record, &a));
    ::DestroyWindow(hWnd);
    EXPECT_EQ(sub.GetWindow(), nullptr);
    EXPECT_FALSE(sub.Detach());
}

} // namespace
