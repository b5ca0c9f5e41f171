#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "framework/core/UIFlags.h"
#include "framework/core/UILinkRules.h"
#include "framework/win/UILink.h"
#include "resources/resource.h"
#include "tests/win/framework/UITestHost.h"

namespace {

using uitest::C_HostDialog;
using uitest::C_UserValue;
using uitest::S_Capture;

const char kSettingsKey[] = "Software\\Microsoft\\Internet Explorer\\Settings";
const char kMainKey[] = "Software\\Microsoft\\Internet Explorer\\Main";
const COLORREF kStrip = RGB(240, 240, 240);
const COLORREF kAnchor = RGB(0, 0, 200);
const COLORREF kAnchorHover = RGB(200, 0, 0);

// Records the programs it would start instead of starting them.
class C_TestLink : public C_UILink {
public:
    std::vector<std::pair<std::string, std::string>> vLaunches;

protected:
    bool Launch(const char* pszFile, const char* pszParameters) override
    {
        vLaunches.emplace_back(pszFile, pszParameters);
        return true;
    }
};

// The browser's link settings, each put back after the test.
struct S_BrowserSettings {
    C_UserValue useHover{kSettingsKey, "Use Anchor Hover Color"};
    C_UserValue anchor{kSettingsKey, "Anchor Color"};
    C_UserValue anchorHover{kSettingsKey, "Anchor Color Hover"};
    C_UserValue underline{kMainKey, "Anchor Underline"};
    C_UserValue dialogColors{kMainKey, "Use_DlgBox_Colors"};

    S_BrowserSettings()
    {
        useHover.Remove();
        anchor.Remove();
        anchorHover.Remove();
        underline.Remove();
        dialogColors.Remove();
    }
};

// The main window's hyperlink (1121, centred) and the Quick Access page's
// text links (1093, 1094, left-aligned).
class UILinkTest : public testing::Test {
protected:
    void SetUp() override
    {
        main.hStaticBrush = ::CreateSolidBrush(kStrip);
        page.hStaticBrush = ::CreateSolidBrush(kStrip);
        ASSERT_NE(main.Create(uitest::Self(), IDD_MAIN, 0, nullptr), nullptr);
        ASSERT_NE(page.Create(uitest::Self(), IDD_QUICK_ACCESS, 0, main.GetHandle()), nullptr);
    }
    void SetColours()
    {
        ASSERT_TRUE(settings.useHover.Set("yes"));
        ASSERT_TRUE(settings.anchor.Set("0,0,200"));
        ASSERT_TRUE(settings.anchorHover.Set("200,0,0"));
    }
    HWND MainItem(int nId) const { return ::GetDlgItem(main.GetHandle(), nId); }
    HWND PageItem(int nId) const { return ::GetDlgItem(page.GetHandle(), nId); }
    static LPARAM LeftOfText(HWND hWnd)
    {
        RECT rc;
        ::GetClientRect(hWnd, &rc);
        return uitest::Point(3, rc.bottom / 2);
    }
    static void Click(HWND hWnd, LPARAM lPoint)
    {
        ::SendMessageA(hWnd, WM_MOUSEMOVE, 0, lPoint);
        ::SendMessageA(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, lPoint);
        ::SendMessageA(hWnd, WM_LBUTTONUP, 0, lPoint);
    }

    S_BrowserSettings settings;
    C_HostDialog main;
    C_HostDialog page;
    C_TestLink link;
};

TEST_F(UILinkTest, BrowserSettingsChooseColoursAndUnderline)
{
    struct S_Case {
        const char* pszWhat;
        const char* pszUnderline;   // null: not set
        const char* pszUseHover;
        int nUnderline;
        COLORREF crHot;
        bool bUnderlinedAway;       // before the pointer comes
        bool bUnderlinedHot;
    };
    const S_Case cases[] = {
        {"nothing set", nullptr, "yes", UILINK_UNDERLINE_ALWAYS, kAnchorHover, true, true},
        {"underlined under the pointer", "hover", "yes", UILINK_UNDERLINE_HOVER, kAnchorHover, false, true},
        {"never underlined", "no", "yes", UILINK_UNDERLINE_NEVER, kAnchorHover, false, false},
        {"always, no hover colour", "yes", "no", UILINK_UNDERLINE_ALWAYS, kAnchor, true, true},
        {"unknown text keeps the default", "sometimes", "yes", UILINK_UNDERLINE_ALWAYS, kAnchorHover, true, true},
    };
    // An underline is a line of the text colour as wide as the text.
    auto expectUnderline = [](const S_Capture& capture, COLORREF crText, bool bUnderlined) {
        EXPECT_GT(capture.Count(crText), 0);
        if (bUnderlined) {
            EXPECT_GT(capture.LongestRun(crText), 60);
        } else {
            EXPECT_LT(capture.LongestRun(crText), 20);
        }
        EXPECT_EQ(capture.At(0, 0), kStrip);
    };
    HWND hLink = MainItem(1121);
    for (const S_Case& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        SetColours();
        ASSERT_TRUE(settings.useHover.Set(c.pszUseHover));
        if (c.pszUnderline != nullptr) {
            ASSERT_TRUE(settings.underline.Set(c.pszUnderline));
        } else {
            settings.underline.Remove();
        }
        ASSERT_TRUE(link.Attach(hLink, "www.example.com", "", IDC_HAND_POINTER, UILINK_OWN_FONT));
        EXPECT_EQ(link.GetLook().nUnderline, c.nUnderline);
        expectUnderline(uitest::CaptureClient(hLink), kAnchor, c.bUnderlinedAway);
        ::SendMessageA(hLink, WM_MOUSEMOVE, 0, uitest::Centre(hLink));
        expectUnderline(uitest::CaptureClient(hLink), c.crHot, c.bUnderlinedHot);
        ::SendMessageA(hLink, WM_MOUSELEAVE, 0, 0);
        expectUnderline(uitest::CaptureClient(hLink), kAnchor, c.bUnderlinedAway);
    }

    // Disabled: the system's grey text colour, never the hover colour.
    ::EnableWindow(hLink, FALSE);
    EXPECT_GT(uitest::CaptureClient(hLink).Count(::GetSysColor(COLOR_GRAYTEXT)), 0);
    EXPECT_EQ(uitest::CaptureClient(hLink).Count(kAnchor), 0);
}

TEST_F(UILinkTest, WebLinkOpensItsAddressThroughTheUrlHandler)
{
    struct S_Case {
        const char* pszWhat;
        const char* pszUrl;
        size_t nLaunches;
    };
    const S_Case cases[] = {
        {"web address", "http://www.example.com/compare?r=1&w=2", 2},
        {"no address", "", 0},
        {"not a web address", "C:\\Windows\\notepad.exe", 0},
    };
    for (const S_Case& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        link.vLaunches.clear();
        main.vCommands.clear();
        HWND hLink = MainItem(1121);
        ASSERT_TRUE(link.Attach(hLink, "www.example.com", c.pszUrl, IDC_HAND_POINTER, UILINK_OWN_FONT));
        Click(hLink, uitest::Centre(hLink));
        // Pressing alone does nothing; releasing Space is the second action.
        ::SendMessageA(hLink, WM_LBUTTONDOWN, MK_LBUTTON, uitest::Centre(hLink));
        ::SendMessageA(hLink, WM_MOUSELEAVE, 0, 0);
        ::SendMessageA(hLink, WM_KEYUP, VK_SPACE, 0);
        ASSERT_EQ(link.vLaunches.size(), c.nLaunches);
        for (const auto& launch : link.vLaunches) {
            EXPECT_EQ(launch.first, "rundll32.exe");
            EXPECT_EQ(launch.second, std::string("url.dll,FileProtocolHandler ") + c.pszUrl);
        }
        EXPECT_TRUE(main.vCommands.empty());
    }
}

TEST_F(UILinkTest, ButtonModeSendsTheCommandInstead)
{
    HWND hLink = PageItem(1093);
    ASSERT_TRUE(link.Attach(hLink, "Compare and Submit your test results", "http://www.example.com/", IDC_HAND_POINTER,
                            UILINK_OWN_FONT | UILINK_BUTTON));
    Click(hLink, LeftOfText(hLink));
    EXPECT_EQ(page.CountCommands(1093), 1);
    // Pressed on the text, released after the pointer went beyond it.
    RECT rc;
    ::GetClientRect(hLink, &rc);
    ::SendMessageA(hLink, WM_MOUSEMOVE, 0, LeftOfText(hLink));
    ::SendMessageA(hLink, WM_LBUTTONDOWN, MK_LBUTTON, LeftOfText(hLink));
    ::SendMessageA(hLink, WM_MOUSEMOVE, MK_LBUTTON, uitest::Point(rc.right - 1, rc.bottom / 2));
    ::SendMessageA(hLink, WM_LBUTTONUP, 0, uitest::Point(rc.right - 1, rc.bottom / 2));
    EXPECT_EQ(page.CountCommands(1093), 1);
    ::SendMessageA(hLink, WM_KEYUP, VK_RETURN, 0);
    EXPECT_EQ(page.CountCommands(1093), 2);
    EXPECT_TRUE(link.vLaunches.empty());
}

struct S_Actions {
    std::vector<int> vCodes;
    std::vector<std::string> vTexts;
    C_UILink* pLink = nullptr;
};

void RecordAction(int nCode, const char* pszText, const char*, void* pUserData, C_UILink* pLink)
{
    S_Actions* pActions = static_cast<S_Actions*>(pUserData);
    pActions->vCodes.push_back(nCode);
    pActions->vTexts.push_back(pszText);
    pActions->pLink = pLink;
}

TEST_F(UILinkTest, CallbackGetsEveryActionWithTheRealText)
{
    HWND hLink = PageItem(1094);
    ASSERT_TRUE(link.Attach(hLink, "secret", "http://www.example.com/", 0,
                            UILINK_OWN_FONT | UILINK_BUTTON | UILINK_MASKED));
    S_Actions actions;
    link.SetCallback(RecordAction, &actions);

    const std::string strShown = MaskText("secret", link.GetFace() == "Verdana");
    char szText[32] = {};
    ::GetWindowTextA(hLink, szText, sizeof(szText));
    EXPECT_EQ(std::string(szText), strShown);
    EXPECT_NE(std::string(szText), "secret");

    Click(hLink, LeftOfText(hLink));
    ::SendMessageA(hLink, WM_KEYUP, VK_RETURN, 0);
    EXPECT_EQ(actions.vCodes, (std::vector<int>{UILINK_CODE_DOWN, UILINK_CODE_UP, UILINK_CODE_ENTER}));
    EXPECT_EQ(actions.vTexts, (std::vector<std::string>(3, "secret")));
    EXPECT_EQ(actions.pLink, &link);
    EXPECT_EQ(page.CountCommands(1094), 0);
    EXPECT_TRUE(link.vLaunches.empty());
}

} // namespace
