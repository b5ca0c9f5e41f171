#include <gtest/gtest.h>

#include <windows.h>
#include <shlwapi.h>

#include <string>

#include "framework/core/OptionFlags.h"
#include "app/shell/InfoPage.h"
#include "app/shell/Quenvale.h"
#include "framework/win/Texts.h"
#include "resources/resource.h"

namespace {

const char* kKey = "Software\\Ternwick\\Quenvale";

void DeleteProgramKey()
{
    ::SHDeleteKeyA(HKEY_CURRENT_USER, kKey);
}

// The page's own show state (the main window itself is never shown here).
bool Shown(HWND hWnd)
{
    return (::GetWindowLongA(hWnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

std::string WindowText(HWND hWnd)
{
    char szText[512] = {};
    ::GetWindowTextA(hWnd, szText, sizeof(szText));
    return szText;
}

// A folder without "portable.dat", so settings go to the registry.
std::string PlainFolder()
{
    char szTemp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, szTemp);
    std::string strFolder = std::string(szTemp) + "qv-shell-test\\";
    ::CreateDirectoryA(strFolder.c_str(), nullptr);
    ::DeleteFileA((strFolder + "portable.dat").c_str());
    return strFolder;
}

class MainWindowTest : public testing::Test {
protected:
    void SetUp() override { DeleteProgramKey(); }
    void TearDown() override { DeleteProgramKey(); }

    // Runs the main window modeless with a command line; closes it through
    // the exit sequence when the test ends or on Restart.
    C_Quenvale& Start(const char* pszArguments)
    {
        Stop();
        pApp = std::make_unique<C_Quenvale>();
        pApp->SetCommandLine(pszArguments);
        pApp->SetProgramFolder(PlainFolder().c_str());
        pApp->SetShowSplash(false);
        EXPECT_NE(pApp->Create(::GetModuleHandleA(nullptr), IDD_MAIN, 0, nullptr), nullptr);
        return *pApp;
    }
    void Stop()
    {
        if (pApp) {
            pApp->Close(0);
            pApp.reset();
        }
    }
    ~MainWindowTest() override { Stop(); }

    std::unique_ptr<C_Quenvale> pApp;
};

TEST_F(MainWindowTest, FreshStartOpensQuickAccessWithTitleAndPageButtons)
{
    C_Quenvale& app = Start("");
    EXPECT_EQ(app.GetCurrentPage(), C_Quenvale::PAGE_QUICK);
    EXPECT_EQ(WindowText(app.GetHandle()), "Quenvale [1.00]");
    EXPECT_EQ(app.GetTitle(), "Quenvale [1.00]");
    EXPECT_EQ(app.GetTabButton(0).GetText(), Texts().LoadText(96));
    EXPECT_EQ(app.GetTabButton(3).GetText(), Texts().LoadText(99));
    EXPECT_TRUE(app.GetTabButton(0).GetState() & UITAB_SELECTED);
    EXPECT_FALSE(app.GetTabButton(1).GetState() & UITAB_SELECTED);
    // The page lies right of the page buttons, over the whole client height.
    C_Page* pPage = app.GetPage(C_Quenvale::PAGE_QUICK);
    ASSERT_NE(pPage, nullptr);
    RECT rcPage, rcClient;
    ::GetWindowRect(pPage->GetHandle(), &rcPage);
    ::MapWindowPoints(nullptr, app.GetHandle(), reinterpret_cast<POINT*>(&rcPage), 2);
    ::GetClientRect(app.GetHandle(), &rcClient);
    EXPECT_EQ(rcPage.left, app.GetTabStripWidth());
    EXPECT_EQ(rcPage.right, rcClient.right);
    EXPECT_EQ(rcPage.bottom - rcPage.top, rcClient.bottom);
    // The progress bar belongs to the test page created last.
    EXPECT_EQ(::GetParent(app.GetProgressBar()), pPage->GetHandle());
    // Pages that were never shown do not exist yet.
    EXPECT_EQ(app.GetPage(C_Quenvale::PAGE_BLOCK), nullptr);
}

TEST_F(MainWindowTest, PageButtonsSwitchPagesAndKeepTheStartBits)
{
    C_Quenvale& app = Start("");
    HWND hMain = app.GetHandle();
    ::SendMessageA(hMain, WM_COMMAND, MAKEWPARAM(1119, BN_CLICKED), 0);
    EXPECT_EQ(app.GetCurrentPage(), C_Quenvale::PAGE_BLOCK);
    EXPECT_TRUE(app.GetOptionWord().Test(FLAG_START_BLOCK_ACCESS));
    HWND hQuick = app.GetPage(C_Quenvale::PAGE_QUICK)->GetHandle();
    EXPECT_FALSE(Shown(hQuick));
    EXPECT_EQ(::GetParent(app.GetProgressBar()), app.GetPage(C_Quenvale::PAGE_BLOCK)->GetHandle());

    ::SendMessageA(hMain, WM_COMMAND, MAKEWPARAM(1117, BN_CLICKED), 0);
    EXPECT_TRUE(app.GetOptionWord().Test(FLAG_START_FILE_ACCESS));
    EXPECT_FALSE(app.GetOptionWord().Test(FLAG_START_BLOCK_ACCESS));

    // A second click on the current page's button does nothing: the page
    // is neither re-created nor moved in front again.
    C_Page* pFile = app.GetPage(C_Quenvale::PAGE_FILE);
    HWND hFile = pFile->GetHandle();
    ::ShowWindow(hFile, SW_HIDE);
    ::SendMessageA(hMain, WM_COMMAND, MAKEWPARAM(1117, BN_CLICKED), 0);
    EXPECT_EQ(app.GetPage(C_Quenvale::PAGE_FILE), pFile);
    EXPECT_FALSE(Shown(hFile));

    // Going back shows the very same Quick Access page window.
    ::SendMessageA(hMain, WM_COMMAND, MAKEWPARAM(1118, BN_CLICKED), 0);
    EXPECT_EQ(app.GetPage(C_Quenvale::PAGE_QUICK)->GetHandle(), hQuick);
    EXPECT_TRUE(Shown(hQuick));
    EXPECT_FALSE(app.GetOptionWord().Test(FLAG_START_FILE_ACCESS | FLAG_START_BLOCK_ACCESS));

    ::SendMessageA(hMain, WM_COMMAND, MAKEWPARAM(1120, BN_CLICKED), 0);
    EXPECT_EQ(app.GetCurrentPage(), C_Quenvale::PAGE_INFO);
    EXPECT_FALSE(app.GetOptionWord().Test(FLAG_START_FILE_ACCESS | FLAG_START_BLOCK_ACCESS));
}

TEST_F(MainWindowTest, WmUserAnswersTheStartButtonOfTheCurrentTestPage)
{
    C_Quenvale& app = Start("");
    HWND hMain = app.GetHandle();
    struct Case { int nButton; LRESULT lAnswer; };
    for (const Case& c : {Case{1118, 0x534B0438}, Case{1117, 0x534B03F6}, Case{1119, 0}, Case{1120, 0}}) {
        SCOPED_TRACE(c.nButton);
        ::SendMessageA(hMain, WM_COMMAND, MAKEWPARAM(c.nButton, BN_CLICKED), 0);
        ::SetWindowLongPtrA(hMain, DWLP_MSGRESULT, 0);
        EXPECT_EQ(::SendMessageA(hMain, WM_USER, 0, 0), c.lAnswer);
    }
}

TEST_F(MainWindowTest, TheLastPageComesBackAndStoredBitsWinOverTheCommandLine)
{
    // Ending on Block Access and starting again with "-n" still opens
    // Block Access: the stored Flags are OR-ed in after the command line.
    Start("");
    ::SendMessageA(pApp->GetHandle(), WM_COMMAND, MAKEWPARAM(1119, BN_CLICKED), 0);
    Stop();
    EXPECT_EQ(Start("-n").GetCurrentPage(), C_Quenvale::PAGE_BLOCK);

    // Ending on the information page gives Quick Access next time.
    ::SendMessageA(pApp->GetHandle(), WM_COMMAND, MAKEWPARAM(1120, BN_CLICKED), 0);
    Stop();
    EXPECT_EQ(Start("").GetCurrentPage(), C_Quenvale::PAGE_QUICK);

    // File Access from the stored flags, Block Access from "-a" wins over it.
    ::SendMessageA(pApp->GetHandle(), WM_COMMAND, MAKEWPARAM(1117, BN_CLICKED), 0);
    Stop();
    EXPECT_EQ(Start("").GetCurrentPage(), C_Quenvale::PAGE_FILE);
    Stop();
    EXPECT_EQ(Start("-a").GetCurrentPage(), C_Quenvale::PAGE_BLOCK);

    // A command line that fails to parse changes nothing.
    Stop();
    DeleteProgramKey();
    EXPECT_EQ(Start("-a -l").GetCurrentPage(), C_Quenvale::PAGE_QUICK);
}

TEST_F(MainWindowTest, ExitStoresOnlyTheSavedBitsAndTheUpdateChoice)
{
    // "-x" (floppy support) is never stored; "-b" (no buffering) is.
    C_Quenvale& app = Start("-x -b");
    ::SendMessageA(app.GetHandle(), WM_COMMAND, MAKEWPARAM(1120, BN_CLICKED), 0);
    C_Page* pInfo = app.GetPage(C_Quenvale::PAGE_INFO);
    ASSERT_NE(pInfo, nullptr);
    EXPECT_EQ(::IsDlgButtonChecked(pInfo->GetHandle(), 1094), BST_CHECKED);
    ::CheckDlgButton(pInfo->GetHandle(), 1094, BST_UNCHECKED);
    Stop();

    HKEY hKey = nullptr;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &hKey), ERROR_SUCCESS);
    unsigned long long ullFlags = 0, ullAuto = 99;
    DWORD dwSize = sizeof(ullFlags);
    EXPECT_EQ(::RegQueryValueExA(hKey, "Flags", nullptr, nullptr, reinterpret_cast<BYTE*>(&ullFlags), &dwSize),
              ERROR_SUCCESS);
    dwSize = sizeof(ullAuto);
    EXPECT_EQ(::RegQueryValueExA(hKey, "AutoUpdate", nullptr, nullptr, reinterpret_cast<BYTE*>(&ullAuto), &dwSize),
              ERROR_SUCCESS);
    ::RegCloseKey(hKey);
    EXPECT_EQ(ullFlags & ~0x0225F179ull, 0u);
    EXPECT_EQ(ullFlags & 0x10, 0x10u);          // "-b": don't use buffering
    EXPECT_EQ(ullFlags & FLAG_FLOPPY, 0u);
    EXPECT_EQ(ullAuto & 0xFFFFFFFF, 0u);
}

TEST_F(MainWindowTest, InformationPageShowsVersionNotesAndUpdateChoice)
{
    C_Quenvale& app = Start("");
    ::SendMessageA(app.GetHandle(), WM_COMMAND, MAKEWPARAM(1120, BN_CLICKED), 0);
    HWND hInfo = app.GetPage(C_Quenvale::PAGE_INFO)->GetHandle();
    ASSERT_NE(hInfo, nullptr);
    EXPECT_EQ(WindowText(::GetDlgItem(hInfo, 1096)), "Version 1.00");
    // The update check at start stored its time, which the box names.
    EXPECT_EQ(WindowText(::GetDlgItem(hInfo, 1094)),
              Texts().LoadText(33) + " [" + Texts().LoadText(84) + ": " + app.GetLastCheckText() + "]");
    // The notes box holds the notes and wants arrows and characters.
    HWND hNotes = ::GetDlgItem(hInfo, 1098);
    EXPECT_GT(::GetWindowTextLengthW(hNotes), 1000);
    EXPECT_EQ(::SendMessageA(hNotes, WM_GETDLGCODE, 0, 0), 0x89);
    EXPECT_EQ(::GetFocus(), hNotes);
    const std::wstring strNotes = LoadNotesText(::GetModuleHandleA(nullptr));
    EXPECT_NE(strNotes.find(L"-n -l e:\\ -m -r"), std::wstring::npos);
    EXPECT_NE(strNotes.find(L"\r\n"), std::wstring::npos);
    // The read-only notes box asks for its colours as a static does, and gets
    // the page's background like the labels.
    HDC hDC = ::GetDC(hNotes);
    const LRESULT lNotesBrush = ::SendMessageA(hInfo, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hDC),
                                               reinterpret_cast<LPARAM>(hNotes));
    EXPECT_EQ(::GetBkColor(hDC), ::GetSysColor(COLOR_WINDOW));
    ::ReleaseDC(hNotes, hDC);
    EXPECT_NE(lNotesBrush, 0);
    EXPECT_EQ(lNotesBrush, ::SendMessageA(hInfo, WM_CTLCOLORSTATIC, 0,
                                          reinterpret_cast<LPARAM>(::GetDlgItem(hInfo, 1096))));
}

TEST_F(MainWindowTest, SplashStaysAboveTheMainWindowWithoutTakingTheActivation)
{
    pApp = std::make_unique<C_Quenvale>();
    pApp->SetCommandLine("");
    pApp->SetProgramFolder(PlainFolder().c_str());
    ASSERT_NE(pApp->Create(::GetModuleHandleA(nullptr), IDD_MAIN, 0, nullptr), nullptr);
    HWND hMain = pApp->GetHandle();
    HWND hSplash = pApp->GetSplashWindow();
    ASSERT_NE(hSplash, nullptr);
    // The main window shows itself after the splash exists, as a modal one
    // does when its initialisation returns, and takes the activation.
    ::ShowWindow(hMain, SW_SHOW);
    ::SetActiveWindow(hMain);
    EXPECT_TRUE(::IsWindowVisible(hSplash));
    EXPECT_EQ(::GetWindow(hSplash, GW_OWNER), hMain);
    EXPECT_EQ(::GetActiveWindow(), hMain);
    // Top-level windows from the top: the splash comes first.
    bool bSplashSeen = false;
    for (HWND h = ::GetTopWindow(nullptr); h != nullptr; h = ::GetWindow(h, GW_HWNDNEXT)) {
        if (h == hSplash)
            bSplashSeen = true;
        if (h == hMain)
            break;
    }
    EXPECT_TRUE(bSplashSeen) << "the splash lies behind the main window";
    // A click ends it without activating it.
    ::SendMessageA(hSplash, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    EXPECT_FALSE(::IsWindow(hSplash));
    EXPECT_EQ(::GetActiveWindow(), hMain);
}

} // namespace
