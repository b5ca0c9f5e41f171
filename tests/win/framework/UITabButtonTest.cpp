#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "framework/core/UILook.h"
#include "framework/win/UITabButton.h"
#include "resources/resource.h"
#include "tests/win/framework/UITestHost.h"

namespace {

using uitest::C_HostDialog;
using uitest::S_Capture;

const COLORREF kText = RGB(100, 100, 100);
const COLORREF kBackNormal = RGB(240, 240, 240);
const COLORREF kBackSelected = RGB(220, 220, 220);
const COLORREF kBackHot = RGB(204, 204, 204);

// The main window's four page buttons, as the main window sets them up.
class UITabButtonTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(host.Create(uitest::Self(), IDD_MAIN, 0, nullptr), nullptr);
        ASSERT_TRUE(uitest::AttachPageButtons(host.GetHandle(), buttons, kText, kBackNormal, kBackSelected, kBackHot));
    }
    // Background colour of a button, read beside its right edge.
    COLORREF BackgroundOf(const S_Capture& capture) const { return capture.At(capture.nWidth - 2, 1); }

    C_HostDialog host;
    C_UITabButton buttons[4];
};

TEST_F(UITabButtonTest, HotLookWinsOverSelectedLook)
{
    C_UITabButton& shown = buttons[0];
    HWND hShown = shown.GetHandle();
    shown.SetSelected(1);

    struct S_Step {
        const char* pszWhat;
        UINT uMsg;
        COLORREF crShown;
    };
    const S_Step steps[] = {
        {"selected", 0, kBackSelected},
        {"selected and hot", WM_MOUSEMOVE, kBackHot},
        {"pointer left", WM_MOUSELEAVE, kBackSelected},
    };
    for (const S_Step& step : steps) {
        SCOPED_TRACE(step.pszWhat);
        if (step.uMsg != 0)
            ::SendMessageA(hShown, step.uMsg, 0, uitest::Centre(hShown));
        EXPECT_EQ(BackgroundOf(uitest::CaptureClient(hShown)), step.crShown);
        EXPECT_EQ(BackgroundOf(uitest::CaptureClient(buttons[1].GetHandle())), kBackNormal);
    }

    // Hot without being selected, then selection cleared by any other value.
    ::SendMessageA(buttons[2].GetHandle(), WM_MOUSEMOVE, 0, uitest::Centre(buttons[2].GetHandle()));
    EXPECT_EQ(BackgroundOf(uitest::CaptureClient(buttons[2].GetHandle())), kBackHot);
    shown.SetSelected(2);
    EXPECT_EQ(shown.GetState(), 0u);
    EXPECT_EQ(BackgroundOf(uitest::CaptureClient(hShown)), kBackNormal);
}

TEST_F(UITabButtonTest, IconAndTextAreDrawnLeftToRight)
{
    HWND hButton = buttons[0].GetHandle();
    RECT rc;
    ::GetClientRect(hButton, &rc);
    const int nIcon = buttons[0].GetIconSize();
    EXPECT_EQ(nIcon, TabButtonIconSize(rc.bottom));

    const S_Capture capture = uitest::CaptureClient(hButton);
    auto drawnIn = [&](int xFrom, int xTo) {
        int n = 0;
        for (int y = 0; y < capture.nHeight; ++y)
            n += (xTo - xFrom) - capture.CountInRow(y, xFrom, xTo, kBackNormal);
        return n;
    };
    EXPECT_EQ(drawnIn(0, 7), 0);                       // left of the icon
    EXPECT_GT(drawnIn(7, 7 + nIcon), 0);               // the icon
    EXPECT_EQ(drawnIn(7 + nIcon, nIcon + 12), 0);      // the gap
    EXPECT_GT(drawnIn(nIcon + 12, capture.nWidth), 0); // the text
}

TEST_F(UITabButtonTest, TextIsTheButtonsOwn)
{
    HWND hButton = buttons[1].GetHandle();
    char szText[64] = {};
    EXPECT_EQ(::GetWindowTextA(hButton, szText, sizeof(szText)), 11);
    EXPECT_STREQ(szText, "File Access");

    // A short buffer gets what fits and its terminator.
    char szShort[5] = {'x', 'x', 'x', 'x', 'x'};
    EXPECT_EQ(::SendMessageA(hButton, WM_GETTEXT, sizeof(szShort), reinterpret_cast<LPARAM>(szShort)), 4);
    EXPECT_STREQ(szShort, "File");

    // Set from a worker, read on the window's thread.
    std::thread worker([&] { buttons[1].SetText("Dateizugriff"); });
    worker.join();
    EXPECT_EQ(::GetWindowTextLengthA(hButton), 12);
    ::SetWindowTextA(hButton, "Accesso ai file");
    EXPECT_EQ(buttons[1].GetText(), "Accesso ai file");

    // The static's own text was cleared when the button took it.
    buttons[1].Detach();
    EXPECT_EQ(::GetWindowTextLengthA(hButton), 0);
}

TEST_F(UITabButtonTest, ClickEnterAndSpaceSendTheCommand)
{
    HWND hButton = buttons[2].GetHandle();
    ::SendMessageA(hButton, WM_LBUTTONUP, 0, uitest::Centre(hButton));
    ::SendMessageA(hButton, WM_KEYDOWN, VK_RETURN, 0);
    ::SendMessageA(hButton, WM_KEYDOWN, VK_SPACE, 0);
    ::SendMessageA(hButton, WM_KEYDOWN, 'A', 0);
    ASSERT_EQ(host.vCommands.size(), 3u);
    for (const C_HostDialog::S_Command& command : host.vCommands) {
        EXPECT_EQ(command.nId, 1119);
        EXPECT_EQ(command.nCode, BN_CLICKED);
        EXPECT_EQ(command.hControl, hButton);
    }
    EXPECT_EQ(::SendMessageA(hButton, WM_NCHITTEST, 0, 0), HTCLIENT);
}

} // namespace
