#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "framework/core/UIFlags.h"
#include "framework/core/UIFont.h"
#include "framework/win/UIDraw.h"
#include "framework/win/UIText.h"
#include "resources/resource.h"
#include "tests/support/win/TextFit.h"
#include "tests/win/framework/UITestHost.h"

namespace {

using uitest::C_HostDialog;
using uitest::S_Capture;

const COLORREF kPage = RGB(250, 250, 250);
const COLORREF kNormal = RGB(0, 0, 255);
const COLORREF kHot = RGB(255, 0, 0);

// The Quick Access page with its Start (1080) and Stop (1086) statics.
class UITextTest : public testing::Test {
protected:
    void SetUp() override
    {
        host.hStaticBrush = ::CreateSolidBrush(kPage);
        ASSERT_NE(main.Create(uitest::Self(), IDD_MAIN, 0, nullptr), nullptr);
        ASSERT_NE(host.Create(uitest::Self(), IDD_QUICK_ACCESS, 0, main.GetHandle()), nullptr);
    }
    HWND Item(int nId) const { return ::GetDlgItem(host.GetHandle(), nId); }

    // Whether the text fits the control at a font height, measured as the
    // control measures it.
    static bool FitsAt(HWND hWnd, const std::string& strFace, const std::string& strText, int nHeight, UINT uFormat)
    {
        RECT rcClient;
        ::GetClientRect(hWnd, &rcClient);
        const SIZE size = MeasureText(hWnd, strFace, nHeight, FW_BOLD, strText, uFormat);
        return size.cx < rcClient.right && size.cy < rcClient.bottom;
    }

    C_HostDialog main;
    C_HostDialog host;   // the page, a child of main
    C_UIText text;
};

struct S_Events {
    std::vector<int> vCodes;
};

void Record(int nCode, LPARAM, void* pUserData, C_UIText*)
{
    static_cast<S_Events*>(pUserData)->vCodes.push_back(nCode);
}

TEST_F(UITextTest, HeightZeroFitsTheLargestFontDownToThree)
{
    struct S_Case {
        std::string strText;
        UINT uFormat;
    };
    const S_Case cases[] = {
        {"Go", DT_SINGLELINE},
        {"Start the benchmark on every selected drive now", DT_SINGLELINE},
        {std::string(400, 'W'), DT_SINGLELINE},   // fits nowhere
    };
    for (const S_Case& c : cases) {
        SCOPED_TRACE(c.strText.substr(0, 50));
        const std::string& strText = c.strText;
        ::SetDlgItemTextA(host.GetHandle(), 1080, strText.c_str());
        ASSERT_TRUE(text.Attach(Item(1080), "Arial", kNormal, kHot, UITEXT_BOLD));
        const int nHeight = text.GetFontHeight();
        RECT rc;
        ::GetClientRect(Item(1080), &rc);
        EXPECT_GE(nHeight, 3);
        EXPECT_LE(nHeight, rc.bottom);
        if (nHeight > 3) {
            EXPECT_TRUE(FitsAt(Item(1080), text.GetFace(), strText, nHeight, c.uFormat));
        }
        if (nHeight < rc.bottom) {
            EXPECT_FALSE(FitsAt(Item(1080), text.GetFace(), strText, nHeight + 1, c.uFormat));
        }
        EXPECT_EQ(text.GetText(), strText);
        text.Detach();
    }
}

TEST_F(UITextTest, FixedHeightIsKeptAndRefitFollowsTheText)
{
    ::SetDlgItemTextA(host.GetHandle(), 1080, "&Start");
    ASSERT_TRUE(text.Attach(Item(1080), "Segoe UI;Verdana", 48, kNormal, kHot, UITEXT_BOLD));
    EXPECT_EQ(text.GetFontHeight(), ScaleHeightForDpi(48, ScreenDpiX()));
    text.SetText("A much longer text than the button can hold");
    EXPECT_EQ(text.GetFontHeight(), ScaleHeightForDpi(48, ScreenDpiX()));

    ASSERT_TRUE(text.Attach(Item(1086), nullptr, 0, kNormal, kHot, UITEXT_REFIT_ON_TEXT));
    const int nShort = text.GetFontHeight();
    text.SetText("A much longer text than the button can hold");
    EXPECT_LT(text.GetFontHeight(), nShort);
}

TEST_F(UITextTest, ButtonSendsOneCommandPerClickAndNoneWhenReleasedOutside)
{
    ::SetDlgItemTextA(host.GetHandle(), 1080, "Go");
    S_Events events;
    ASSERT_TRUE(text.Attach(Item(1080), "Arial", 20, kNormal, kHot, UITEXT_TRACK_MOUSE | UITEXT_BUTTON,
                            IDC_HAND_POINTER, Record, &events));
    HWND hButton = Item(1080);
    RECT rc;
    ::GetClientRect(hButton, &rc);
    // "Go" is centred; its left edge is well inside the control.
    ASSERT_LT(text.GetTextSize().cx, rc.right / 2);
    const LPARAM lOnText = uitest::Centre(hButton);
    const LPARAM lBesideText = uitest::Point(1, rc.bottom / 2);

    struct S_Step {
        UINT uMsg;
        LPARAM lPoint;
    };
    struct S_Case {
        const char* pszWhat;
        std::vector<S_Step> vSteps;
        int nCommands;
        std::vector<int> vCodes;
    };
    const std::vector<S_Case> cases = {
        {"click on the text",
         {{WM_MOUSEMOVE, lOnText}, {WM_LBUTTONDOWN, lOnText}, {WM_LBUTTONUP, lOnText}}, 1, {1, 2}},
        {"released beside the text",
         {{WM_MOUSEMOVE, lOnText}, {WM_LBUTTONDOWN, lOnText}, {WM_MOUSEMOVE, lBesideText}, {WM_LBUTTONUP, lBesideText}},
         0, {1}},
        {"pointer left the control while pressed",
         {{WM_MOUSEMOVE, lOnText}, {WM_LBUTTONDOWN, lOnText}, {WM_MOUSELEAVE, 0}, {WM_LBUTTONUP, lOnText}},
         0, {1}},
        {"pressed elsewhere, released on the text",
         {{WM_MOUSEMOVE, lOnText}, {WM_LBUTTONUP, lOnText}}, 0, {}},
        {"double click", 
         {{WM_MOUSEMOVE, lOnText}, {WM_LBUTTONDOWN, lOnText}, {WM_LBUTTONUP, lOnText},
          {WM_LBUTTONDBLCLK, lOnText}, {WM_LBUTTONUP, lOnText}}, 2, {1, 2, 1, 2}},
    };
    for (const S_Case& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        host.vCommands.clear();
        events.vCodes.clear();
        for (const S_Step& step : c.vSteps)
            ::SendMessageA(hButton, step.uMsg, step.uMsg == WM_MOUSEMOVE ? 0 : MK_LBUTTON, step.lPoint);
        EXPECT_EQ(host.CountCommands(1080), c.nCommands);
        EXPECT_EQ(events.vCodes, c.vCodes);
        EXPECT_EQ(text.GetFlags() & UITEXT_PRESSED, 0u);
        ::SendMessageA(hButton, WM_MOUSELEAVE, 0, 0);
    }
}

TEST_F(UITextTest, EnterAndSpaceActLikeAClickOnATabStop)
{
    S_Events events;
    ASSERT_TRUE(text.Attach(Item(1080), "Arial", 0, kNormal, kHot, UITEXT_TRACK_MOUSE | UITEXT_BUTTON, 0, Record,
                            &events));
    HWND hButton = Item(1080);
    ::SendMessageA(hButton, WM_KEYDOWN, VK_RETURN, 1);
    ::SendMessageA(hButton, WM_KEYDOWN, VK_RETURN, 0x40000001);   // held: repeats
    ::SendMessageA(hButton, WM_KEYDOWN, VK_SPACE, 1);
    ::SendMessageA(hButton, WM_KEYDOWN, VK_TAB, 1);
    EXPECT_EQ(host.CountCommands(1080), 2);
    EXPECT_EQ(events.vCodes, (std::vector<int>{UITEXT_CODE_ENTER, UITEXT_CODE_SPACE}));

    MSG enter = {hButton, WM_KEYDOWN, VK_RETURN, 1};
    MSG letter = {hButton, WM_KEYDOWN, 'A', 1};
    EXPECT_EQ(::SendMessageA(hButton, WM_GETDLGCODE, 0, reinterpret_cast<LPARAM>(&enter)), 0x2024);
    EXPECT_EQ(::SendMessageA(hButton, WM_GETDLGCODE, 0, reinterpret_cast<LPARAM>(&letter)), 0x2020);

    // Without WS_TABSTOP the control takes no keys and leaves the dialog
    // code to the static.
    ::SetWindowLongPtrA(hButton, GWL_STYLE, ::GetWindowLongPtrA(hButton, GWL_STYLE) & ~WS_TABSTOP);
    ASSERT_TRUE(text.Attach(hButton, "Arial", kNormal, kHot, UITEXT_TRACK_MOUSE | UITEXT_BUTTON));
    EXPECT_NE(text.GetFlags() & UITEXT_NO_TABSTOP, 0u);
    ::SendMessageA(hButton, WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_EQ(host.CountCommands(1080), 2);
    EXPECT_EQ(::SendMessageA(hButton, WM_GETDLGCODE, 0, reinterpret_cast<LPARAM>(&enter)) & DLGC_BUTTON, 0);
}

TEST_F(UITextTest, TextColourFollowsHotAndDisabledStates)
{
    ::SetDlgItemTextA(host.GetHandle(), 1080, "Go");
    ASSERT_TRUE(text.Attach(Item(1080), "Arial", 40, kNormal, kHot, UITEXT_TRACK_MOUSE | UITEXT_BOLD));
    HWND hButton = Item(1080);
    const COLORREF kDisabled = RGB(0, 160, 0);
    text.SetColors(kNormal, kHot, kDisabled);

    struct S_Step {
        const char* pszWhat;
        UINT uMsg;
        COLORREF crShown;
    };
    const S_Step steps[] = {
        {"normal", 0, kNormal},
        {"hot", WM_MOUSEMOVE, kHot},
        {"left", WM_MOUSELEAVE, kNormal},
        {"disabled", WM_ENABLE, kDisabled},
    };
    for (const S_Step& step : steps) {
        SCOPED_TRACE(step.pszWhat);
        if (step.uMsg == WM_ENABLE)
            ::EnableWindow(hButton, FALSE);
        else if (step.uMsg != 0)
            ::SendMessageA(hButton, step.uMsg, 0, uitest::Centre(hButton));
        const S_Capture capture = uitest::CaptureClient(hButton);
        EXPECT_GT(capture.Count(step.crShown), 20);
        for (COLORREF cr : {kNormal, kHot, kDisabled}) {
            if (cr != step.crShown) {
                EXPECT_EQ(capture.Count(cr), 0);
            }
        }
        EXPECT_EQ(capture.At(0, 0), kPage);
    }
}

TEST_F(UITextTest, BackgroundAndFrames)
{
    const COLORREF kFill = RGB(1, 2, 3);
    const COLORREF kFrame = RGB(200, 0, 200);
    struct S_Case {
        const char* pszWhat;
        uint32_t ulFlags;
        COLORREF crCorner;   // pixel (0, 0)
        COLORREF crInside;   // pixel (1, 1)
    };
    const S_Case cases[] = {
        {"parent's brush", 0, kPage, kPage},
        {"white", UITEXT_WHITE_BACKGROUND, RGB(255, 255, 255), RGB(255, 255, 255)},
        {"transparent", UITEXT_TRANSPARENT, kFill, kFill},
        {"frame", UITEXT_FRAME, kFrame, kPage},
        {"double frame", UITEXT_DOUBLE_FRAME, kPage, kFrame},
    };
    for (const S_Case& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        ASSERT_TRUE(text.Attach(Item(1086), "Arial", 12, kNormal, kHot, c.ulFlags));
        text.SetFrameColor(kFrame);
        const S_Capture capture = uitest::CaptureClient(Item(1086), kFill);
        EXPECT_EQ(capture.At(0, 0), c.crCorner);
        EXPECT_EQ(capture.At(1, 1), c.crInside);
    }
    // WS_EX_TRANSPARENT makes the control transparent unless told otherwise.
    HWND hStop = Item(1086);
    ::SetWindowLongPtrA(hStop, GWL_EXSTYLE, ::GetWindowLongPtrA(hStop, GWL_EXSTYLE) | WS_EX_TRANSPARENT);
    ASSERT_TRUE(text.Attach(hStop, "Arial", kNormal, kHot, 0));
    EXPECT_NE(text.GetFlags() & UITEXT_TRANSPARENT, 0u);
    ASSERT_TRUE(text.Attach(hStop, "Arial", kNormal, kHot, UITEXT_NEVER_TRANSPARENT));
    EXPECT_EQ(text.GetFlags() & UITEXT_TRANSPARENT, 0u);
}

TEST_F(UITextTest, WorkerSetsTextWhileTheWindowPaints)
{
    ::SetDlgItemTextA(host.GetHandle(), 1085, "");
    ASSERT_TRUE(text.Attach(Item(1085), "Arial", 0, kNormal, kHot, UITEXT_REFIT_ON_TEXT));
    const char* apszTexts[] = {"12.3 MByte/sec", "1234.5 MByte/sec and a lot more text", ""};
    std::atomic<bool> bDone{false};
    std::thread worker([&] {
        for (int i = 0; i < 600; ++i)
            text.SetText(apszTexts[i % 3]);
        text.SetText("98.7 MByte/sec");
        bDone = true;
    });
    int nPaints = 0;
    while (!bDone || nPaints == 0) {
        uitest::CaptureClient(Item(1085));
        char szText[64];
        ::GetWindowTextA(Item(1085), szText, sizeof(szText));
        uitest::PumpMessages();
        ++nPaints;
    }
    worker.join();
    uitest::PumpMessages();
    char szText[64];
    ::GetWindowTextA(Item(1085), szText, sizeof(szText));
    EXPECT_STREQ(szText, "98.7 MByte/sec");
    // Set through the window from another thread as well.
    std::thread setter([&] { ::SetWindowTextA(Item(1085), "1.0 GByte/sec"); });
    while (text.GetText() != "1.0 GByte/sec")
        uitest::PumpMessages();
    setter.join();
}

} // namespace
