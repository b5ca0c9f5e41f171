// The Quick Access page inside the real main window, run on the scratch
// drive Q: (a folder of the test prefix).
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <dbt.h>
#include <shlwapi.h>

#include <regex>
#include <string>
#include <vector>

#include "app/shell/Quenvale.h"
#include "framework/win/Texts.h"
#include "quick/core/QuickResults.h"
#include "quick/core/QuickTextIds.h"
#include "quick/win/Simple.h"
#include "resources/resource.h"
#include "tests/support/win/QuickTestFiles.h"
#include "tests/support/win/TextFit.h"
#include "tests/win/framework/UITestHost.h"
#include "tests/win/shell/ShellTestTools.h"

namespace {

using L = C_QuickAccessLog;
constexpr E_QuickPass kPasses[4] = {E_QuickPass::SequentialWrite, E_QuickPass::SequentialRead,
                                    E_QuickPass::Qd32Write, E_QuickPass::Qd32Read};
const COLORREF kGreen = RGB(0, 192, 0);
const COLORREF kDarkGrey = RGB(64, 64, 64);

using shelltest::WindowText;

std::string TempFolder()
{
    return shelltest::TempFolder("qv-quick-page");
}

std::string ClipboardText()
{
    std::string strText;
    if (!::OpenClipboard(nullptr))
        return strText;
    HANDLE hData = ::GetClipboardData(CF_TEXT);
    const char* pszText = hData != nullptr ? static_cast<const char*>(::GlobalLock(hData)) : nullptr;
    if (pszText != nullptr) {
        strText = pszText;
        ::GlobalUnlock(hData);
    }
    ::CloseClipboard();
    return strText;
}

void PumpFor(DWORD dwMilliseconds)
{
    const DWORD dwEnd = ::GetTickCount() + dwMilliseconds;
    while (static_cast<LONG>(dwEnd - ::GetTickCount()) > 0) {
        uitest::PumpMessages();
        ::Sleep(5);
    }
}

// Holds Shift for this thread as GetKeyState sees it.
class C_ShiftDown {
public:
    C_ShiftDown()
    {
        ::GetKeyboardState(abOld);
        BYTE abKeys[256];
        ::GetKeyboardState(abKeys);
        abKeys[VK_SHIFT] = 0x80;
        abKeys[VK_LSHIFT] = 0x80;
        ::SetKeyboardState(abKeys);
    }
    ~C_ShiftDown() { ::SetKeyboardState(abOld); }
    C_ShiftDown(const C_ShiftDown&) = delete;
    C_ShiftDown& operator=(const C_ShiftDown&) = delete;

private:
    BYTE abOld[256];
};

class QuickPageTest : public testing::Test {
protected:
    void SetUp() override
    {
        ::SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\Ternwick\\Quenvale");
        strLog = TempFolder() + "quick.log";
        ::DeleteFileA(strLog.c_str());
    }
    void TearDown() override
    {
        Stop();
        ::SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\Ternwick\\Quenvale");
    }

    C_Simple& Start(const std::string& strArguments)
    {
        Stop();
        pApp = shelltest::StartMainWindow(strArguments, TempFolder());
        EXPECT_NE(pApp, nullptr);
        pPage = pApp ? dynamic_cast<C_Simple*>(pApp->GetPage(C_Quenvale::PAGE_QUICK)) : nullptr;
        EXPECT_NE(pPage, nullptr);
        // Two short periods per random pass keep a full run brief.
        pPage->GetEngine().State().SetAccessPeriods(2, 40);
        return *pPage;
    }
    void Stop()
    {
        shelltest::StopMainWindow(pApp);
        pPage = nullptr;
    }

    HWND Item(int nId) const { return ::GetDlgItem(pPage->GetHandle(), nId); }

    // Types a text into the file size box as the user would.
    void TypeFileSize(const char* pszText)
    {
        HWND hEdit = ::FindWindowExA(Item(1083), nullptr, "Edit", nullptr);
        ASSERT_NE(hEdit, nullptr);
        ::SendMessageA(hEdit, EM_SETSEL, 0, -1);
        for (const char* p = pszText; *p != '\0'; ++p)
            ::SendMessageA(hEdit, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(*p)), 1);
    }

    // A double click on the first selected drive.
    void DoubleClickSelectedDrive()
    {
        HWND hList = Item(1084);
        NMITEMACTIVATE activate = {};
        activate.hdr.hwndFrom = hList;
        activate.hdr.idFrom = 1084;
        activate.hdr.code = NM_DBLCLK;
        activate.iItem = static_cast<int>(::SendMessageA(hList, LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                                         LVNI_SELECTED));
        ::SendMessageA(pPage->GetHandle(), WM_NOTIFY, 1084, reinterpret_cast<LPARAM>(&activate));
    }

    void WaitForRun()
    {
        ASSERT_TRUE(pPage->WaitForRun(120000));
        uitest::PumpMessages();
    }

    std::vector<std::string> Results()
    {
        std::vector<std::string> v;
        for (E_QuickPass ePass : kPasses)
            v.push_back(pPage->GetResultField(ePass).GetText());
        return v;
    }

    std::unique_ptr<C_Quenvale> pApp;
    C_Simple* pPage = nullptr;
    std::string strLog;
};

TEST_F(QuickPageTest, InitialisationTakesTheCommandLineValues)
{
    struct Case {
        const char* pszArguments;
        const char* pszFileSize;
        const char* pszBlockSize;
        LRESULT lBlockSize;
        const char* pszSelected;   // null: the first drive
    };
    const std::string strDefaultBlock = Texts().LoadText(35);
    for (const Case& c : {Case{"", "4000", strDefaultBlock.c_str(), 1048576, nullptr},
                          Case{"-i 2097152 -j 32768 -l q:", "2", "32.0 kByte", 32768, "Q"},
                          Case{"-l NoSuchDrive", "4000", strDefaultBlock.c_str(), 1048576, ""}}) {
        SCOPED_TRACE(c.pszArguments);
        C_Simple& page = Start(c.pszArguments);
        EXPECT_EQ(WindowText(Item(1083)), c.pszFileSize);
        const LRESULT lChoice = ::SendMessageA(Item(1123), CB_GETCURSEL, 0, 0);
        EXPECT_EQ(WindowText(Item(1123)), c.pszBlockSize);
        EXPECT_EQ(::SendMessageA(Item(1123), CB_GETITEMDATA, lChoice, 0), c.lBlockSize);

        // Idle: Start on, Stop off, and no links before a run measured anything.
        EXPECT_TRUE(::IsWindowEnabled(Item(1080)));
        EXPECT_FALSE(::IsWindowEnabled(Item(1086)));
        EXPECT_FALSE(::IsWindowEnabled(Item(1093)));
        EXPECT_FALSE(::IsWindowEnabled(Item(1094)));
        EXPECT_EQ(WindowText(Item(1110)), Texts().LoadText(36));

        // Tiles, or a report list with full-row selection where they are refused.
        HWND hList = Item(1084);
        const LRESULT lView = ::SendMessageA(hList, LVM_GETVIEW, 0, 0);
        const LRESULT lExtended = ::SendMessageA(hList, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
        if (page.GetDriveList().IsTileView()) {
            EXPECT_EQ(lView, LV_VIEW_TILE);
        } else {
            EXPECT_TRUE(lExtended & LVS_EX_FULLROWSELECT);
        }
        HIMAGELIST hIcons = reinterpret_cast<HIMAGELIST>(::SendMessageA(hList, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
        EXPECT_EQ(::ImageList_GetImageCount(hIcons), 9);
        ASSERT_EQ(::SendMessageA(hList, LVM_GETITEMCOUNT, 0, 0), static_cast<LRESULT>(page.GetDriveEntries().size()));
        const std::string strSelected = page.GetDriveList().SelectedLetters();
        if (c.pszSelected == nullptr) {
            EXPECT_EQ(strSelected, std::string(1, page.GetDriveEntries()[0].cLetter));
        } else if (HasScratchDriveQ() || c.pszSelected[0] == '\0') {
            EXPECT_EQ(strSelected, c.pszSelected);
        }
    }
}

TEST_F(QuickPageTest, FullRunShowsRatedResultsTitleClipboardAndLog)
{
    if (!HasScratchDriveQ())
        GTEST_SKIP() << "no scratch drive Q:";
    C_Simple& page = Start("-l Q -log \"" + strLog + "\"");
    ASSERT_EQ(page.GetDriveList().SelectedLetters(), "Q");
    TypeFileSize("1");
    // The main window's command starts the test as the Start button does.
    ::SendMessageA(pApp->GetHandle(), WM_COMMAND, MAKEWPARAM(1080, BN_CLICKED), 0);
    EXPECT_TRUE(page.IsRunning());
    EXPECT_FALSE(::IsWindowEnabled(Item(1080)));
    EXPECT_TRUE(::IsWindowEnabled(Item(1086)));
    EXPECT_FALSE(::IsWindowEnabled(Item(1084)));
    WaitForRun();

    ASSERT_EQ(page.GetEngine().GetReports().size(), 1u);
    const S_QuickDriveReport& report = page.GetEngine().GetReports()[0];
    ASSERT_TRUE(report.bSuccess);
    const std::vector<std::string> vResults = Results();
    const std::regex rate(R"(\d+\.\d (Byte|kByte|MByte|GByte|TByte)/sec)");
    const std::regex access(R"(\d+\.\d (Byte|kByte|MByte|GByte|TByte)/sec, \d+\.\d IOPS, \d+\.\d\d ms)");
    for (size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(vResults[i], report.aResults[i]);
        const bool bSequential = i < 2;
        EXPECT_TRUE(std::regex_match(vResults[i], bSequential ? rate : access)) << vResults[i];
        // Sequential rates without a warning are green, random results dark grey.
        const uitest::S_Capture capture = uitest::CaptureClient(Item(i == 0 ? 1085 : i == 1 ? 1081 : i == 2 ? 1090 : 1091));
        EXPECT_GT(capture.Count(bSequential ? kGreen : kDarkGrey), 20);
    }
    EXPECT_EQ(WindowText(Item(1088)), "");
    EXPECT_EQ(WindowText(Item(1089)), "");

    // The summary goes to the title and the clipboard.
    const std::string strSummary =
        SummaryLine(report.strName, "", vResults[PassIndex(E_QuickPass::SequentialRead)],
                    vResults[PassIndex(E_QuickPass::SequentialWrite)], report.ulBusBits);
    EXPECT_EQ(WindowText(pApp->GetHandle()), pApp->GetTitle() + " - " + strSummary);
    EXPECT_EQ(ClipboardText(), strSummary);
    EXPECT_TRUE(std::regex_match(WindowText(pApp->GetHandle()), std::regex(R"(Quenvale \[\d+\.\d\d\] - .+)")));

    // Idle again, with both links now that both rates are known.
    EXPECT_TRUE(::IsWindowEnabled(Item(1080)));
    EXPECT_FALSE(::IsWindowEnabled(Item(1086)));
    EXPECT_TRUE(::IsWindowEnabled(Item(1093)));
    EXPECT_TRUE(::IsWindowEnabled(Item(1094)));
    EXPECT_EQ(::SendMessageA(pApp->GetProgressBar(), PBM_GETPOS, 0, 0), 0);

    // "Copy test results" puts the same line there again.
    ::OpenClipboard(nullptr);
    ::EmptyClipboard();
    ::CloseClipboard();
    ::SendMessageA(page.GetHandle(), WM_COMMAND, MAKEWPARAM(1094, BN_CLICKED), 0);
    EXPECT_EQ(ClipboardText(), strSummary);

    EXPECT_EQ(QuickLogMessages(strLog),
              (std::vector<std::string>{
                  L::DriveStartText('Q', ""),
                  L::PassStartText(kPasses[0], 'Q'), L::PassResultText(kPasses[0], 'Q', vResults[0].c_str()),
                  L::PassStartText(kPasses[1], 'Q'), L::PassResultText(kPasses[1], 'Q', vResults[1].c_str()),
                  L::PassStartText(kPasses[2], 'Q'), L::PassResultText(kPasses[2], 'Q', vResults[2].c_str()),
                  L::PassStartText(kPasses[3], 'Q'), L::PassResultText(kPasses[3], 'Q', vResults[3].c_str()),
                  L::DriveFinishText('Q'),
              }));
    EXPECT_FALSE(PathExists("Q:\\QuenvaleTest\\QuenvaleTest.bin"));
    EXPECT_FALSE(PathExists("Q:\\QuenvaleTest"));
}

TEST_F(QuickPageTest, WriteOptionStartsAtOnceAndShiftSkipsTheRandomPasses)
{
    if (!HasScratchDriveQ())
        GTEST_SKIP() << "no scratch drive Q:";
    C_ShiftDown shift;
    C_Simple& page = Start("-w -l Q -i 1048576 -log \"" + strLog + "\"");
    EXPECT_TRUE(page.IsRunning() || !page.GetEngine().GetReports().empty());
    WaitForRun();
    const std::vector<std::string> vResults = Results();
    const std::string strNotTested = Texts().LoadText(TEXT_NOT_TESTED);
    EXPECT_FALSE(vResults[0].empty());
    EXPECT_FALSE(vResults[1].empty());
    EXPECT_EQ(vResults[2], strNotTested);
    EXPECT_EQ(vResults[3], strNotTested);
    const std::vector<std::string> vLog = QuickLogMessages(strLog);
    ASSERT_EQ(vLog.size(), 8u);
    EXPECT_EQ(vLog[5], L::PassResultText(kPasses[2], 'Q', strNotTested.c_str()));
    EXPECT_EQ(vLog[6], L::PassResultText(kPasses[3], 'Q', strNotTested.c_str()));
}

TEST_F(QuickPageTest, StopInTheSequentialWriteLeavesEmptyResultsAndNoFile)
{
    if (!HasScratchDriveQ())
        GTEST_SKIP() << "no scratch drive Q:";
    C_Simple& page = Start("-l Q -log \"" + strLog + "\"");
    // 4000 MByte in 4 kByte blocks: far more than the test waits for.
    ::SendMessageA(Item(1123), CB_SETCURSEL, 0, 0);
    DoubleClickSelectedDrive();
    ASSERT_TRUE(page.IsRunning());
    C_QuickState& state = page.GetEngine().State();
    const DWORD dwEnd = ::GetTickCount() + 30000;
    while (!(state.ulStateBits.load() & QUICK_STATE_SEQ_WRITE) || state.ullBytesDone.load() == 0) {
        ASSERT_LT(static_cast<LONG>(::GetTickCount() - dwEnd), 0) << "the write pass never began";
        uitest::PumpMessages();
    }
    PumpFor(350);   // a live rate or two
    ::SendMessageA(page.GetHandle(), WM_COMMAND, MAKEWPARAM(1086, BN_CLICKED), 0);
    WaitForRun();

    EXPECT_EQ(Results(), std::vector<std::string>(4, ""));
    EXPECT_EQ(WindowText(pApp->GetHandle()), pApp->GetTitle());
    EXPECT_FALSE(::IsWindowEnabled(Item(1094)));
    EXPECT_EQ(QuickLogMessages(strLog), (std::vector<std::string>{L::DriveStartText('Q', ""),
                                                             L::PassStartText(kPasses[0], 'Q'),
                                                             L::PassFailedText(kPasses[0], 'Q'),
                                                             L::DriveFinishText('Q')}));
    EXPECT_FALSE(PathExists("Q:\\QuenvaleTest"));
}

TEST_F(QuickPageTest, ClosingTheMainWindowStopsTheRunAndWaitsForIt)
{
    if (!HasScratchDriveQ())
        GTEST_SKIP() << "no scratch drive Q:";
    C_Simple& page = Start("-l Q -log \"" + strLog + "\"");
    ::SendMessageA(Item(1123), CB_SETCURSEL, 0, 0);
    page.StartTest();
    C_QuickState& state = page.GetEngine().State();
    const DWORD dwEnd = ::GetTickCount() + 30000;
    while (state.ullBytesDone.load() == 0) {
        ASSERT_LT(static_cast<LONG>(::GetTickCount() - dwEnd), 0) << "the write pass never began";
        uitest::PumpMessages();
    }
    Stop();
    // The exit sequence returned only after the run had cleaned up.
    const std::vector<std::string> vLog = QuickLogMessages(strLog);
    ASSERT_FALSE(vLog.empty());
    EXPECT_EQ(vLog.back(), L::DriveFinishText('Q'));
    EXPECT_FALSE(PathExists("Q:\\QuenvaleTest"));
}

TEST_F(QuickPageTest, ClosingWithAQuitRequestPendingStillWaitsForTheRun)
{
    if (!HasScratchDriveQ())
        GTEST_SKIP() << "no scratch drive Q:";
    C_Simple& page = Start("-l Q -log \"" + strLog + "\"");
    page.StartTest();
    // Without pumping: the worker soon waits for this thread to set a
    // control's text.
    const DWORD dwEnd = ::GetTickCount() + 30000;
    while (!(HIWORD(::GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE)) {
        ASSERT_LT(static_cast<LONG>(::GetTickCount() - dwEnd), 0) << "the worker never called the page";
        ::Sleep(1);
    }
    // Whether the worker still ran when the page window went.
    static C_Simple* s_pPage;
    static WNDPROC s_pfnOld;
    static bool s_bRanAtDestroy;
    s_pPage = &page;
    s_bRanAtDestroy = false;
    s_pfnOld = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(
        page.GetHandle(), GWLP_WNDPROC,
        reinterpret_cast<LONG_PTR>(+[](HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) -> LRESULT {
            if (uMsg == WM_DESTROY)
                s_bRanAtDestroy = s_pPage->IsRunning();
            return ::CallWindowProcA(s_pfnOld, hWnd, uMsg, wParam, lParam);
        })));
    // The program is asked to quit while the exit sequence waits for the run.
    ::PostQuitMessage(7);
    pApp->Close(0);
    EXPECT_FALSE(s_bRanAtDestroy) << "the page let go of its controls while its worker ran";
    EXPECT_FALSE(page.IsRunning());
    const std::vector<std::string> vLog = QuickLogMessages(strLog);
    ASSERT_FALSE(vLog.empty());
    EXPECT_EQ(vLog.back(), L::DriveFinishText('Q'));
    EXPECT_FALSE(PathExists("Q:\\QuenvaleTest"));
    // The quit request is still there for the message loop.
    MSG msg = {};
    ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(QuickPageTest, BlockSizeBelowAnAccessRunsEveryPass)
{
    if (!HasScratchDriveQ())
        GTEST_SKIP() << "no scratch drive Q:";
    C_Simple& page = Start("-l Q -i 1048576 -j 512");
    ASSERT_EQ(WindowText(Item(1123)), "512 Byte");
    page.StartTest();
    WaitForRun();
    ASSERT_EQ(page.GetEngine().GetReports().size(), 1u);
    const S_QuickDriveReport& report = page.GetEngine().GetReports()[0];
    EXPECT_TRUE(report.bSuccess);
    EXPECT_EQ(report.aFigures[PassIndex(E_QuickPass::SequentialWrite)].ullTransfers, 2048u);
    for (const std::string& strResult : Results())
        EXPECT_FALSE(strResult.empty());
    EXPECT_FALSE(PathExists("Q:\\QuenvaleTest"));
}

TEST_F(QuickPageTest, MainWindowStartCommandMakesAPageNeverShown)
{
    if (!HasScratchDriveQ())
        GTEST_SKIP() << "no scratch drive Q:";
    C_ShiftDown shift;
    Stop();
    pApp = std::make_unique<C_Quenvale>();
    pApp->SetCommandLine("-a -l Q -i 1048576");   // opens on Block Access
    pApp->SetProgramFolder(TempFolder().c_str());
    pApp->SetShowSplash(false);
    ASSERT_NE(pApp->Create(::GetModuleHandleA(nullptr), IDD_MAIN, 0, nullptr), nullptr);
    ASSERT_EQ(pApp->GetPage(C_Quenvale::PAGE_QUICK), nullptr);
    ::SendMessageA(pApp->GetHandle(), WM_COMMAND, MAKEWPARAM(1080, BN_CLICKED), 0);
    pPage = dynamic_cast<C_Simple*>(pApp->GetPage(C_Quenvale::PAGE_QUICK));
    ASSERT_NE(pPage, nullptr);
    ASSERT_NE(pPage->GetHandle(), nullptr);
    // The test runs behind the page the user looks at.
    EXPECT_EQ(pApp->GetCurrentPage(), C_Quenvale::PAGE_BLOCK);
    EXPECT_FALSE(::IsWindowVisible(pPage->GetHandle()));
    WaitForRun();
    ASSERT_EQ(pPage->GetEngine().GetReports().size(), 1u);
    EXPECT_TRUE(pPage->GetEngine().GetReports()[0].bSuccess);
    EXPECT_EQ(pPage->GetEngine().GetReports()[0].cLetter, 'Q');
}

TEST_F(QuickPageTest, StartAndStopFitTheirControlsInEveryLanguage)
{
    ForEachLanguage([this] {
        C_Simple& page = Start("");
        for (const bool bStart : {true, false}) {
            EXPECT_EQ(page.GetButton(bStart).GetText(), Texts().LoadText(bStart ? 102 : 21));
            ExpectTextFits(page.GetButton(bStart), Item(bStart ? 1080 : 1086));
        }
    });
}

TEST_F(QuickPageTest, NoDriveSelectedWritesOnlyTheDateLine)
{
    C_Simple& page = Start("-log \"" + strLog + "\"");
    page.GetDriveList().SelectOnly(-1);
    TypeFileSize("1");
    // Enter on the focused Start button.
    ::SetFocus(Item(1080));
    ::SendMessageA(Item(1080), WM_KEYDOWN, VK_RETURN, 0);
    WaitForRun();
    const std::string& strResults = page.GetEngine().GetResultsText();
    EXPECT_GT(strResults.size(), 2u);
    EXPECT_EQ(strResults.find("\r\n"), strResults.size() - 2);
    EXPECT_TRUE(page.GetEngine().GetReports().empty());
    EXPECT_EQ(Results(), std::vector<std::string>(4, ""));
    EXPECT_EQ(WindowText(pApp->GetHandle()), pApp->GetTitle());
    EXPECT_TRUE(QuickLogMessages(strLog).empty());
}

TEST_F(QuickPageTest, DeviceEventsRefreshTheListOnceTwoSecondsAfterTheLast)
{
    C_Simple& page = Start("");
    HWND hList = Item(1084);
    const LRESULT lItems = ::SendMessageA(hList, LVM_GETITEMCOUNT, 0, 0);
    ASSERT_GT(lItems, 0);
    auto Count = [&] { return ::SendMessageA(hList, LVM_GETITEMCOUNT, 0, 0); };

    // F5 in the list refreshes at once.
    ::SendMessageA(hList, LVM_DELETEALLITEMS, 0, 0);
    ::SendMessageA(hList, WM_KEYDOWN, VK_F5, 0);
    EXPECT_EQ(Count(), lItems);

    DEV_BROADCAST_DEVICEINTERFACE_A disk = {};
    disk.dbcc_size = sizeof(disk);
    disk.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    DEV_BROADCAST_HDR volume = {};
    volume.dbch_size = sizeof(volume);
    volume.dbch_devicetype = DBT_DEVTYP_VOLUME;

    // Events of other device types are passed over.
    ::SendMessageA(hList, LVM_DELETEALLITEMS, 0, 0);
    ::SendMessageA(page.GetHandle(), WM_DEVICECHANGE, DBT_DEVICEARRIVAL, reinterpret_cast<LPARAM>(&volume));
    PumpFor(2300);
    EXPECT_EQ(Count(), 0);

    // Each disk event starts the wait again; one refresh follows the burst.
    ::SendMessageA(page.GetHandle(), WM_DEVICECHANGE, DBT_DEVICEARRIVAL, reinterpret_cast<LPARAM>(&disk));
    PumpFor(1200);
    ::SendMessageA(page.GetHandle(), WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, reinterpret_cast<LPARAM>(&disk));
    PumpFor(1500);
    EXPECT_EQ(Count(), 0);
    PumpFor(900);
    EXPECT_EQ(Count(), lItems);
}

} // namespace
