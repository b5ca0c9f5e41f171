#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <vector>

#include "framework/core/DialogTemplate.h"
#include "framework/win/Dialog.h"
#include "framework/win/TemplateFont.h"
#include "resources/resource.h"

namespace {

HINSTANCE Self()
{
    return ::GetModuleHandleA(nullptr);
}

// A dialog whose handlers a test can steer and watch.
class TestDialog : public C_Dialog {
public:
    int nInitResult = 1;
    std::function<void(TestDialog&)> onInit;
    // Answers a message itself when it returns true.
    std::function<bool(TestDialog&, UINT, WPARAM)> onMessage;
    std::vector<UINT> vSeen;
    int nCanCloseCalls = 0;
    bool bAllowClose = true;
    bool* pDeleted = nullptr;

    ~TestDialog() override
    {
        if (pDeleted != nullptr)
            *pDeleted = true;
    }
    int _Handle_Init() override
    {
        if (onInit)
            onInit(*this);
        return nInitResult;
    }
    bool CanClose(int) override
    {
        ++nCanCloseCalls;
        return bAllowClose;
    }
    INT_PTR _Handle_MESSAGE(UINT uMsg, WPARAM wParam, LPARAM lParam) override
    {
        vSeen.push_back(uMsg);
        if (onMessage && onMessage(*this, uMsg, wParam))
            return 1;
        return C_Dialog::_Handle_MESSAGE(uMsg, wParam, lParam);
    }
};

// Ends a modal dialog from its own message loop once the loop runs.
void EndSoon(TestDialog& dlg, int nCode)
{
    ::PostMessageA(dlg.GetHandle(), WM_COMMAND, MAKEWPARAM(nCode == 0 ? IDCANCEL : IDCLOSE, 0), 0);
}

TEST(Dialog, InitReturningZeroNeverAppearsAndDoModalGivesMinusOne)
{
    TestDialog dlg;
    dlg.nInitResult = 0;
    bool bWasVisible = true;
    dlg.onInit = [&](TestDialog& d) { bWasVisible = ::IsWindowVisible(d.GetHandle()) != FALSE; };
    EXPECT_EQ(dlg.DoModal(Self(), IDD_GRAPH, 0, nullptr), -1);
    EXPECT_FALSE(bWasVisible);
    EXPECT_EQ(dlg.GetHandle(), nullptr);
    // The window was never shown: no WM_SHOWWINDOW reached the handlers.
    for (UINT m : dlg.vSeen)
        EXPECT_NE(m, static_cast<UINT>(WM_SHOWWINDOW));
}

TEST(Dialog, ModalEndsWithItsCodeAndCanCloseCanRefuse)
{
    TestDialog dlg;
    dlg.onInit = [](TestDialog& d) { EndSoon(d, 0); };
    EXPECT_EQ(dlg.DoModal(Self(), IDD_GRAPH, 0, nullptr), 0);
    EXPECT_GE(dlg.nCanCloseCalls, 1);
    EXPECT_EQ(dlg.GetHandle(), nullptr);

    // WM_CLOSE while CanClose refuses leaves the dialog up; the timer's
    // close later goes through with its own code.
    TestDialog releasing;
    releasing.bAllowClose = false;
    releasing.onInit = [](TestDialog& d) {
        ::PostMessageA(d.GetHandle(), WM_CLOSE, 0, 0);
        ::SetTimer(d.GetHandle(), 7, 50, nullptr);
    };
    releasing.onMessage = [](TestDialog& d, UINT uMsg, WPARAM wParam) {
        if (uMsg != WM_TIMER || wParam != 7)
            return false;
        ::KillTimer(d.GetHandle(), 7);
        d.bAllowClose = true;
        d.Close(5);
        return true;
    };
    EXPECT_EQ(releasing.DoModal(Self(), IDD_GRAPH, 0, nullptr), 5);
    EXPECT_GE(releasing.nCanCloseCalls, 2);
}

TEST(Dialog, InitReturningTwoKeepsTheFocusWhereTheHandlerPutIt)
{
    for (int nResult : {1, 2}) {
        SCOPED_TRACE(nResult);
        TestDialog dlg;
        dlg.nInitResult = nResult;
        HWND hWanted = nullptr;
        HWND hFocused = nullptr;
        // The focus once the modal loop runs.
        dlg.onMessage = [&](TestDialog& d, UINT uMsg, WPARAM) {
            if (uMsg != WM_APP)
                return false;
            hFocused = ::GetFocus();
            d.Close(0);
            return true;
        };
        dlg.onInit = [&](TestDialog& d) {
            hWanted = ::GetDlgItem(d.GetHandle(), 1121);   // not a tab stop
            ::SetFocus(hWanted);
            ::PostMessageA(d.GetHandle(), WM_APP, 0, 0);
        };
        dlg.DoModal(Self(), IDD_MAIN, 0, nullptr);
        ASSERT_NE(hWanted, nullptr);
        if (nResult == 2)
            EXPECT_EQ(hFocused, hWanted);
        else
            EXPECT_NE(hFocused, hWanted);   // the system chose the first tab stop
    }
}

TEST(Dialog, MinimumSizeRaisesResizesButLeavesMovesAlone)
{
    TestDialog dlg;
    HWND hWnd = dlg.Create(Self(), IDD_GRAPH, 0, nullptr);
    ASSERT_NE(hWnd, nullptr);
    RECT rc;

    // No minimum: any size goes.
    ::SetWindowPos(hWnd, nullptr, 0, 0, 50, 40, SWP_NOZORDER | SWP_NOACTIVATE);
    ::GetWindowRect(hWnd, &rc);
    EXPECT_EQ(rc.right - rc.left, 50);
    EXPECT_EQ(rc.bottom - rc.top, 40);

    dlg.SetMinimumSize(300, 200);
    ::SetWindowPos(hWnd, nullptr, 0, 0, 100, 500, SWP_NOZORDER | SWP_NOACTIVATE);
    ::GetWindowRect(hWnd, &rc);
    EXPECT_EQ(rc.right - rc.left, 300);
    EXPECT_EQ(rc.bottom - rc.top, 500);

    // A move without resize keeps a size below the minimum untouched.
    dlg.SetMinimumSize(-1, -1);
    ::SetWindowPos(hWnd, nullptr, 0, 0, 60, 60, SWP_NOZORDER | SWP_NOACTIVATE);
    dlg.SetMinimumSize(300, 300);
    ::SetWindowPos(hWnd, nullptr, 20, 30, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
    ::GetWindowRect(hWnd, &rc);
    EXPECT_EQ(rc.left, 20);
    EXPECT_EQ(rc.right - rc.left, 60);

    // Only the height has a minimum.
    dlg.SetMinimumSize(-1, 100);
    ::SetWindowPos(hWnd, nullptr, 0, 0, 70, 10, SWP_NOZORDER | SWP_NOACTIVATE);
    ::GetWindowRect(hWnd, &rc);
    EXPECT_EQ(rc.right - rc.left, 70);
    EXPECT_EQ(rc.bottom - rc.top, 100);
    dlg.Close(0);
    EXPECT_EQ(dlg.GetHandle(), nullptr);
    EXPECT_FALSE(::IsWindow(hWnd));
}

TEST(Dialog, StartHiddenSuppressesOnlyTheFirstShow)
{
    TestDialog dlg;
    HWND hWnd = dlg.Create(Self(), IDD_GRAPH, C_Dialog::DLG_START_HIDDEN, nullptr);
    ASSERT_NE(hWnd, nullptr);
    EXPECT_TRUE(dlg.GetFrameFlags() & C_Dialog::DLG_MODELESS);
    ::ShowWindow(hWnd, SW_SHOWNOACTIVATE);
    EXPECT_FALSE(::IsWindowVisible(hWnd));
    ::ShowWindow(hWnd, SW_SHOWNOACTIVATE);
    EXPECT_TRUE(::IsWindowVisible(hWnd));
    ::ShowWindow(hWnd, SW_HIDE);
    ::ShowWindow(hWnd, SW_SHOWNOACTIVATE);
    EXPECT_TRUE(::IsWindowVisible(hWnd));
    dlg.Close(0);
}

TEST(Dialog, ModelessChildPagesAndSelfDeletingDialogs)
{
    TestDialog host;
    HWND hHost = host.Create(Self(), IDD_GRAPH, 0, nullptr);
    ASSERT_NE(hHost, nullptr);
    // A page template is a child of its host.
    TestDialog page;
    HWND hPage = page.Create(Self(), IDD_QUICK_ACCESS, 0, hHost);
    ASSERT_NE(hPage, nullptr);
    EXPECT_EQ(::GetParent(hPage), hHost);
    EXPECT_NE(::GetDlgItem(hPage, 1084), nullptr);

    // A modeless dialog whose initialisation refuses gives no window.
    TestDialog refused;
    refused.nInitResult = 0;
    EXPECT_EQ(refused.Create(Self(), IDD_QUICK_ACCESS, 0, hHost), nullptr);

    bool bDeleted = false;
    TestDialog* pSelf = new TestDialog;
    pSelf->pDeleted = &bDeleted;
    HWND hSelf = pSelf->Create(Self(), IDD_GRAPH, C_Dialog::DLG_AUTO_DELETE, nullptr);
    ASSERT_NE(hSelf, nullptr);
    ::SendMessageA(hSelf, WM_CLOSE, 0, 0);
    EXPECT_TRUE(bDeleted);
    EXPECT_FALSE(::IsWindow(hSelf));

    // Destroying the host takes the page's window; the page object forgets it.
    ::DestroyWindow(hHost);
    EXPECT_EQ(page.GetHandle(), nullptr);
    EXPECT_EQ(host.GetHandle(), nullptr);
}

TEST(Dialog, TemplatesUseTheSystemMessageFontUnlessTheyNameAnotherFace)
{
    // Every template of the program names "MS Sans Serif", so each is rewritten
    // whenever the message font is one of the known faces.
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = 340;
    ASSERT_TRUE(::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 340, &ncm, 0));
    const std::string strFace = ncm.lfMessageFont.lfFaceName;
    for (int nId : {IDD_MAIN, IDD_FILE_ACCESS, IDD_BLOCK_ACCESS, IDD_GRAPH, IDD_QUICK_ACCESS, IDD_INFORMATION}) {
        SCOPED_TRACE(nId);
        std::vector<uint8_t> copy = PrepareTemplateFont(Self(), nId, false);
        if (strFace != "MS Sans Serif" && strFace != "Tahoma" && strFace != "Segoe UI") {
            EXPECT_TRUE(copy.empty());
            continue;
        }
        ASSERT_FALSE(copy.empty());
        S_TemplateFont font;
        ASSERT_TRUE(ReadTemplateFont(copy.data(), copy.size(), font));
        EXPECT_FALSE(IsReplaceableDialogFace(font.strFace));
        // The rewritten template still creates every control; pages need a host.
        TestDialog host;
        TestDialog dlg;
        const bool bPage = nId != IDD_MAIN && nId != IDD_GRAPH;
        ASSERT_TRUE(!bPage || host.Create(Self(), IDD_GRAPH, 0, nullptr) != nullptr);
        EXPECT_NE(dlg.Create(Self(), nId, 0, bPage ? host.GetHandle() : nullptr), nullptr);
    }
}

} // namespace
