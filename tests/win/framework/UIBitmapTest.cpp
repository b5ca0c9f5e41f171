#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>

#include "framework/core/UIFlags.h"
#include "framework/win/UIBitmap.h"
#include "framework/win/UILink.h"
#include "framework/win/UITabButton.h"
#include "framework/win/UIText.h"
#include "resources/resource.h"
#include "tests/win/framework/UITestHost.h"

namespace {

using uitest::C_HostDialog;
using uitest::S_Capture;

const COLORREF kLogoBack = RGB(40, 148, 248);
const COLORREF kStrip = RGB(240, 240, 240);
const COLORREF kMagenta = RGB(255, 0, 255);

// The main window's backgrounds: the logo brush for the logo, the tab
// strip brush for everything else.
class C_MainLook : public C_HostDialog {
public:
    HBRUSH hLogo = ::CreateSolidBrush(kLogoBack);
    HBRUSH hStrip = ::CreateSolidBrush(kStrip);
    ~C_MainLook() override
    {
        Close(0);
        ::DeleteObject(hLogo);
        ::DeleteObject(hStrip);
    }
    INT_PTR _Handle_MESSAGE(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        if (uMsg == WM_CTLCOLORSTATIC)
            return reinterpret_cast<INT_PTR>(::GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == 1092 ? hLogo : hStrip);
        if (uMsg == WM_ERASEBKGND) {
            RECT rc;
            ::GetClientRect(GetHandle(), &rc);
            ::FillRect(reinterpret_cast<HDC>(wParam), &rc, hStrip);
            return 1;
        }
        return C_HostDialog::_Handle_MESSAGE(uMsg, wParam, lParam);
    }
};

TEST(UIBitmap, LogoLeavesOutItsMagentaAndShowsTheLogoBrush)
{
    C_MainLook main;
    ASSERT_NE(main.Create(uitest::Self(), IDD_MAIN, 0, nullptr), nullptr);
    C_UIBitmap logo;
    HWND hLogo = ::GetDlgItem(main.GetHandle(), 1092);
    ASSERT_TRUE(logo.Attach(hLogo, uitest::Self(), IDB_LOGO, kMagenta));
    EXPECT_EQ(logo.GetBitmapSize().cx, 236);

    const S_Capture capture = uitest::CaptureClient(hLogo);
    EXPECT_EQ(capture.Count(kMagenta), 0);
    EXPECT_EQ(capture.At(0, 0), kLogoBack);
    // The logo itself covers a good part of the control.
    const int nOther = static_cast<int>(capture.vPixels.size()) - capture.Count(kLogoBack);
    EXPECT_GT(nOther, static_cast<int>(capture.vPixels.size()) / 20);

    C_UIBitmap missing;
    EXPECT_FALSE(missing.Attach(hLogo, uitest::Self(), 9999, kMagenta));
    EXPECT_FALSE(missing.Attach(hLogo, uitest::Self(), IDB_LOGO, kMagenta));   // already attached
}

// The main window and the Quick Access page with every drawn control in
// one of its states, shown on the screen. With QV_UI_PAUSE_MS set the
// window stays up that long, for a screenshot.
TEST(UIControls, MainWindowAndQuickAccessPageOnScreen)
{
    C_MainLook main;
    ASSERT_NE(main.Create(uitest::Self(), IDD_MAIN, 0, nullptr), nullptr);
    HWND hMain = main.GetHandle();
    C_HostDialog page;
    page.hStaticBrush = ::CreateSolidBrush(::GetSysColor(COLOR_WINDOW));
    page.hBackBrush = ::CreateSolidBrush(::GetSysColor(COLOR_WINDOW));
    ASSERT_NE(page.Create(uitest::Self(), IDD_QUICK_ACCESS, 0, hMain), nullptr);

    C_UIBitmap logo;
    ASSERT_TRUE(logo.Attach(::GetDlgItem(hMain, 1092), uitest::Self(), IDB_LOGO, kMagenta));
    C_UITabButton tabs[4];
    ASSERT_TRUE(uitest::AttachPageButtons(hMain, tabs, RGB(100, 100, 100), kStrip, RGB(220, 220, 220),
                                          RGB(204, 204, 204)));
    tabs[0].SetSelected(1);
    ::SendMessageA(tabs[2].GetHandle(), WM_MOUSEMOVE, 0, uitest::Centre(tabs[2].GetHandle()));
    C_UILink site;
    ASSERT_TRUE(site.Attach(::GetDlgItem(hMain, 1121), "www.example.com", "http://www.example.com/", IDC_HAND_POINTER,
                            UILINK_OWN_FONT));

    RECT rcTab;
    ::GetClientRect(tabs[0].GetHandle(), &rcTab);
    RECT rcMain;
    ::GetClientRect(hMain, &rcMain);
    ::SetWindowPos(page.GetHandle(), HWND_TOP, rcTab.right, 0, rcMain.right - rcTab.right, rcMain.bottom,
                   SWP_SHOWWINDOW);

    HWND hPage = page.GetHandle();
    ::SetDlgItemTextA(hPage, 1080, "&Start");
    ::SetDlgItemTextA(hPage, 1086, "&Stop");
    C_UIText start, stop, write, read, writeRandom, readRandom;
    const char* pszButtonFace = "Segoe UI;Verdana";
    ASSERT_TRUE(start.Attach(::GetDlgItem(hPage, 1080), pszButtonFace, 48, RGB(0, 102, 204), RGB(255, 128, 0),
                             UITEXT_TRACK_MOUSE | UITEXT_BUTTON | UITEXT_ALWAYS_FIT, IDC_HAND_POINTER));
    ASSERT_TRUE(stop.Attach(::GetDlgItem(hPage, 1086), pszButtonFace, 48, RGB(0, 102, 204), RGB(255, 128, 0),
                            UITEXT_TRACK_MOUSE | UITEXT_BUTTON | UITEXT_ALWAYS_FIT, IDC_HAND_POINTER));
    ::SendMessageA(start.GetHandle(), WM_MOUSEMOVE, 0, uitest::Centre(start.GetHandle()));
    ::EnableWindow(stop.GetHandle(), FALSE);
    const int aResults[4] = {1085, 1090, 1081, 1091};
    C_UIText* apResults[4] = {&write, &writeRandom, &read, &readRandom};
    const char* apszResults[4] = {"312.4 MByte/sec", "28.7 MByte/sec", "415.0 MByte/sec", "Not Tested"};
    const COLORREF acrResults[4] = {RGB(0, 192, 0), RGB(64, 64, 64), RGB(192, 0, 0), RGB(64, 64, 64)};
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(apResults[i]->Attach(::GetDlgItem(hPage, aResults[i]), "Arial", acrResults[i], acrResults[i], 0));
        apResults[i]->SetText(apszResults[i]);
    }
    C_UILink copy, compare;
    ASSERT_TRUE(copy.Attach(::GetDlgItem(hPage, 1094), "Copy test results", "", IDC_HAND_POINTER,
                            UILINK_OWN_FONT | UILINK_BUTTON));
    ASSERT_TRUE(compare.Attach(::GetDlgItem(hPage, 1093), "Compare and Submit your test results", "",
                               IDC_HAND_POINTER, UILINK_OWN_FONT | UILINK_BUTTON));
    ::EnableWindow(compare.GetHandle(), FALSE);

    ::SetWindowPos(hMain, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    uitest::PumpMessages();
    if (const char* pszPause = std::getenv("QV_UI_PAUSE_MS")) {
        const DWORD dwEnd = ::GetTickCount() + static_cast<DWORD>(std::atoi(pszPause));
        while (static_cast<LONG>(dwEnd - ::GetTickCount()) > 0) {
            uitest::PumpMessages();
            ::Sleep(20);
        }
    }

    // What reached the screen through the controls' own painting.
    const S_Capture logoShown = uitest::CaptureScreen(logo.GetHandle());
    EXPECT_EQ(logoShown.Count(kMagenta), 0);
    EXPECT_EQ(logoShown.At(0, 0), kLogoBack);
    const COLORREF acrTabs[4] = {RGB(220, 220, 220), kStrip, RGB(204, 204, 204), kStrip};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const S_Capture tab = uitest::CaptureScreen(tabs[i].GetHandle());
        EXPECT_EQ(tab.At(tab.nWidth - 2, 1), acrTabs[i]);
    }
    EXPECT_GT(uitest::CaptureScreen(start.GetHandle()).Count(RGB(255, 128, 0)), 50);
    EXPECT_GT(uitest::CaptureScreen(write.GetHandle()).Count(RGB(0, 192, 0)), 10);
}

} // namespace
