// The Block Access page inside the real main window ("-a"), on the
// image-backed raw drives R: (64 MiB) and S: (16 MiB) of the test prefix.
// S:'s image is put back as it was after each test.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shlwapi.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <memory>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "app/core/StoredValues.h"
#include "app/shell/Quenvale.h"
#include "app/win/ProgramSettings.h"
#include "app/win/Settings.h"
#include "blockaccess/core/GraphScale.h"
#include "blockaccess/core/UdmaCrc.h"
#include "blockaccess/win/BlockAccess.h"
#include "blockaccess/win/BlockTextIds.h"
#include "blockaccess/win/BlockWriteGate.h"
#include "device/core/RudvaneTypes.h"
#include "device/win/Rudvane.h"
#include "framework/win/Texts.h"
#include "resources/resource.h"
#include "tests/support/win/BoxAnswerer.h"
#include "tests/support/win/ScratchImage.h"
#include "tests/support/win/TestDevice.h"
#include "tests/win/blockaccess/GraphTestWorker.h"
#include "tests/win/framework/UITestHost.h"
#include "tests/win/shell/ShellTestTools.h"

namespace {

// Controls of dialog 103.
enum : int {
    ID_STOP = 1004, ID_DEVICES = 1028, ID_LINEAR = 1029, ID_RANDOM = 1030, ID_SEEK = 1032, ID_SAVE_DATA = 1033,
    ID_START = 1034, ID_END = 1035, ID_BLOCKS = 1036, ID_SKIP = 1037, ID_REPEATS = 1038, ID_BUFFER = 1039,
    ID_CRC = 1041, ID_CALC_EVERY = 1043, ID_GRAPH = 1049, ID_CALC_CRC = 1064, ID_READ = 1065, ID_WRITE = 1066,
    ID_DATA_FILE = 1067,
};

using shelltest::WindowText;

std::string TempFolder()
{
    return shelltest::TempFolder("qv-block-page");
}

// Dispatches messages until bDone() or the time is up; bDone() at the end.
bool PumpUntil(const std::function<bool()>& bDone, DWORD dwMilliseconds = 20000)
{
    const DWORD dwEnd = ::GetTickCount() + dwMilliseconds;
    while (!bDone() && static_cast<LONG>(dwEnd - ::GetTickCount()) > 0) {
        uitest::PumpMessages();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    uitest::PumpMessages();
    return bDone();
}

class BlockPageTest : public testing::Test {
protected:
    void SetUp() override
    {
        ::SHDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
        strImageS = ScratchImagePath('S');
        if (!strImageS.empty())
            savedS = ReadScratchImage(strImageS);
    }
    void TearDown() override
    {
        Stop();
        if (!savedS.empty())
            WriteScratchImage(strImageS, 0, savedS);
        ::SHDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
    }

    C_BlockAccess& Start(const std::string& strArguments = "-a")
    {
        Stop();
        pApp = shelltest::StartMainWindow(strArguments, TempFolder());
        EXPECT_NE(pApp, nullptr);
        pPage = pApp ? dynamic_cast<C_BlockAccess*>(pApp->GetPage(C_Quenvale::PAGE_BLOCK)) : nullptr;
        EXPECT_NE(pPage, nullptr);
        return *pPage;
    }
    void Stop()
    {
        shelltest::StopMainWindow(pApp);
        pPage = nullptr;
    }

    HWND Item(int nId) const { return ::GetDlgItem(pPage->GetHandle(), nId); }
    std::string Text(int nId) const { return WindowText(Item(nId)); }
    bool Enabled(int nId) const { return ::IsWindowEnabled(Item(nId)) != FALSE; }
    // A box's text as typing gives it (EN_CHANGE included).
    void Type(int nId, const char* pszText) { ::SetWindowTextA(Item(nId), pszText); }
    // A click on a button, which checks a radio or check box itself.
    void Click(int nId) { ::SendMessageA(Item(nId), BM_CLICK, 0, 0); }

    // The row of the drive letter's volume; -1 when it is not listed.
    int RowOf(char cLetter) const
    {
        C_BlockDeviceList& list = pPage->GetDeviceList();
        for (int nRow = 0; nRow < list.GetCount(); ++nRow) {
            const C_RudvaneDevice* pDevice = list.GetDevice(nRow);
            if (pDevice->ulKind == RUDVANE_KIND_VOLUME && pDevice->strLetters == std::string(1, cLetter))
                return nRow;
        }
        return -1;
    }
    // Selects a row as a click does (the list tells the page).
    void SelectRow(int nRow)
    {
        LVITEMA state = {};
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
        ::SendMessageA(Item(ID_DEVICES), LVM_SETITEMSTATE, static_cast<WPARAM>(nRow), reinterpret_cast<LPARAM>(&state));
    }
    bool SelectDrive(char cLetter)
    {
        const int nRow = RowOf(cLetter);
        if (nRow < 0)
            return false;
        SelectRow(nRow);
        return true;
    }
    void WaitForRun()
    {
        ASSERT_TRUE(pPage->WaitForRun(120000));
        uitest::PumpMessages();
    }

    std::unique_ptr<C_Quenvale> pApp;
    C_BlockAccess* pPage = nullptr;
    std::string strImageS;
    std::vector<uint8_t> savedS;
};

#define REQUIRE_IMAGES()                                                              \
    do {                                                                              \
        if (strImageS.empty() || ScratchImagePath('R').empty())                       \
            GTEST_SKIP() << "no disk images behind R: and S: (QV_DRIVES not set)";   \
    } while (0)

TEST_F(BlockPageTest, OpensListingTheImageDrivesAndSelectingOneSetsTheBoxes)
{
    REQUIRE_IMAGES();
    C_BlockAccess& page = Start();
    EXPECT_EQ(pApp->GetCurrentPage(), C_Quenvale::PAGE_BLOCK);
    EXPECT_EQ(::GetFocus(), Item(ID_DEVICES));
    C_BlockDeviceList& list = page.GetDeviceList();
    const int nR = RowOf('R');
    const int nS = RowOf('S');
    ASSERT_GE(nR, 0);
    ASSERT_GE(nS, 0);
    EXPECT_EQ(list.GetText(nR, C_BlockDeviceList::COLUMN_SIZE), "64.0 MByte");
    EXPECT_EQ(list.GetText(nS, C_BlockDeviceList::COLUMN_SIZE), "16.0 MByte");
    EXPECT_EQ(list.GetText(nR, C_BlockDeviceList::COLUMN_LETTERS), "R");
    EXPECT_EQ(list.GetText(nR, C_BlockDeviceList::COLUMN_INFO), "\\\\.\\R:");
    HIMAGELIST hIcons = reinterpret_cast<HIMAGELIST>(::SendMessageA(Item(ID_DEVICES), LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    EXPECT_EQ(::ImageList_GetImageCount(hIcons), 7);

    // Nothing selected: no buffer size; Read and Write ask for a device.
    EXPECT_EQ(Text(ID_BUFFER), "");
    EXPECT_TRUE(Enabled(ID_READ));
    EXPECT_TRUE(Enabled(ID_WRITE));
    EXPECT_FALSE(Enabled(ID_STOP));
    {
        C_BoxAnswerer answerer(pApp->GetTitle(), {IDOK});
        Click(ID_READ);
        EXPECT_EQ(answerer.Texts(), std::vector<std::string>{Texts().LoadText(BLOCK_TEXT_SELECT_DRIVE)});
    }
    EXPECT_FALSE(page.IsRunning());
    EXPECT_FALSE(pApp->GetOptionWord().Test(FLAG_BA_READ | FLAG_BA_RUN_LINEAR));

    // The device's first block, block count and largest transfer fill the boxes.
    SelectRow(nS);
    EXPECT_EQ(list.GetSelected(), list.GetDevice(nS));
    EXPECT_EQ(Text(ID_START), "0");
    EXPECT_EQ(Text(ID_END), "32768");
    EXPECT_EQ(Text(ID_BLOCKS), BlockNumberText(list.GetDevice(nS)->ulMaxBlocks));
    EXPECT_EQ(Text(ID_BUFFER), BufferSizeText(list.GetDevice(nS)->ulMaxBlocks, 512));
    EXPECT_TRUE(Enabled(ID_READ));
    EXPECT_TRUE(Enabled(ID_WRITE));

    // F5 in the list refreshes it and keeps the selection and what was typed.
    Type(ID_END, "1000");
    ::SendMessageA(Item(ID_DEVICES), WM_KEYDOWN, VK_F5, 0);
    EXPECT_EQ(list.GetSelected(), list.GetDevice(RowOf('S')));
    EXPECT_EQ(Text(ID_END), "1000");
}

TEST_F(BlockPageTest, BoxesAreCorrectedThroughTheChecksOfTheSelectedDevice)
{
    REQUIRE_IMAGES();
    Start();
    ASSERT_TRUE(SelectDrive('S'));
    // Every change of the blocks-per-access box checks all boxes.
    Type(ID_START, "5");
    Type(ID_END, "0");
    Type(ID_BLOCKS, "20");
    EXPECT_EQ(Text(ID_START), "5");
    EXPECT_EQ(Text(ID_END), "6");
    EXPECT_EQ(Text(ID_BUFFER), "10 kBytes");

    Type(ID_START, "99999");
    Type(ID_END, "40000");
    Type(ID_CALC_EVERY, "0");
    Type(ID_BLOCKS, "0");
    EXPECT_EQ(Text(ID_START), "32768");
    EXPECT_EQ(Text(ID_END), "32768");
    EXPECT_EQ(Text(ID_BLOCKS), "1");
    EXPECT_EQ(Text(ID_CALC_EVERY), "1");
    EXPECT_EQ(Text(ID_BUFFER), "512 Bytes");
    EXPECT_EQ(pPage->GetParameters().ullStart, 32768u);

    // An unreadable box keeps the value the last check had.
    Type(ID_START, "abc");
    Type(ID_BLOCKS, "19");
    EXPECT_EQ(Text(ID_START), "32768");
    EXPECT_EQ(Text(ID_BUFFER), "9728 Bytes");
}

TEST_F(BlockPageTest, RadioAndCheckBoxesSetTheirBitsAndTheControlsTheyGovern)
{
    Start();
    C_OptionWord& options = pApp->GetOptionWord();
    Click(ID_RANDOM);
    EXPECT_EQ(options.Get() & FLAG_BA_ACCESS_MODE, uint32_t{FLAG_BA_RANDOM});
    EXPECT_FALSE(Enabled(ID_SKIP));
    EXPECT_FALSE(Enabled(ID_GRAPH));
    EXPECT_FALSE(Enabled(ID_SAVE_DATA));
    EXPECT_TRUE(Enabled(ID_REPEATS));

    Click(ID_LINEAR);
    EXPECT_EQ(options.Get() & FLAG_BA_ACCESS_MODE, uint32_t{FLAG_BA_LINEAR});
    EXPECT_TRUE(Enabled(ID_SKIP));
    EXPECT_FALSE(Enabled(ID_REPEATS));
    EXPECT_FALSE(Enabled(ID_DATA_FILE));   // only with "Save/Read Data"
    const bool bSaving = options.Test(FLAG_SAVE_READ_DATA);
    Click(ID_SAVE_DATA);
    EXPECT_NE(options.Test(FLAG_SAVE_READ_DATA), bSaving);
    EXPECT_EQ(Enabled(ID_DATA_FILE), !bSaving);

    const bool bGraph = options.Test(FLAG_BA_GRAPH);
    Click(ID_GRAPH);
    EXPECT_NE(options.Test(FLAG_BA_GRAPH), bGraph);
    const bool bCrc = options.Test(FLAG_BA_CRC);
    Click(ID_CALC_CRC);
    EXPECT_NE(options.Test(FLAG_BA_CRC), bCrc);
}

TEST_F(BlockPageTest, ARecordThatCanOnlyBeReadKeepsWriteDisabled)
{
    REQUIRE_IMAGES();
    Start();
    C_BlockDeviceList& list = pPage->GetDeviceList();
    const int nRows = list.GetCount();
    // A volume the layer lists while the page hears it; the layer owns it.
    auto* pReadOnly = new C_TestDevice(4096);
    pReadOnly->ulKind = RUDVANE_KIND_VOLUME;
    pReadOnly->ulNumber = 'X';
    pReadOnly->strLetters = "X";
    pReadOnly->ulCaps = RUDVANE_CAP_BLOCKS | RUDVANE_CAP_READ;
    auto* pNoBlocks = new C_TestDevice(4096, 512, "\\\\.\\PhysicalDrive8");
    pNoBlocks->ulCaps = RUDVANE_CAP_BLOCKS;
    ASSERT_EQ(RudvaneAddDevice(pReadOnly), 1);
    ASSERT_EQ(RudvaneAddDevice(pNoBlocks), 1);
    ASSERT_EQ(list.GetCount(), nRows + 1);   // a record that moves no blocks gets no row

    list.Select(nullptr);
    SelectRow(list.FindRow(pReadOnly));
    EXPECT_TRUE(Enabled(ID_READ));
    EXPECT_FALSE(Enabled(ID_WRITE));
    // The mode buttons run the enable routine; the record still cannot be written.
    Click(ID_SEEK);
    EXPECT_FALSE(Enabled(ID_WRITE));
    ASSERT_TRUE(SelectDrive('R'));
    EXPECT_TRUE(Enabled(ID_WRITE));

    // Another page starts the layer with a callback of its own; the page's
    // next refresh still hears the deletion of the record that is gone, so
    // no row is left with a deleted record.
    RudvaneInit(nullptr, nullptr, RUDVANE_OPTIONS_QUICK_ACCESS);
    pPage->RefreshDeviceList();
    EXPECT_EQ(list.FindRow(pReadOnly), -1);
    EXPECT_EQ(list.GetCount(), nRows);
    EXPECT_GE(RowOf('R'), 0);
}

TEST_F(BlockPageTest, StopReadsWaitUntilTheRunHasEnded)
{
    REQUIRE_IMAGES();
    Start();
    ASSERT_TRUE(SelectDrive('R'));
    Click(ID_SEEK);
    // 200000 single-block seeks: long enough to be stopped.
    Type(ID_REPEATS, "200000");
    Type(ID_BLOCKS, "1");
    Click(ID_READ);
    ASSERT_TRUE(PumpUntil([&] { return Enabled(ID_STOP) && pPage->GetEngine().GetLoop() > 10; }));
    EXPECT_TRUE(pApp->GetOptionWord().Test(FLAG_BA_READ));
    EXPECT_TRUE(pApp->GetOptionWord().Test(FLAG_BA_RUN_SEEK));
    for (int nId : {ID_DEVICES, ID_READ, ID_WRITE, ID_REPEATS, ID_START, ID_BLOCKS})
        EXPECT_FALSE(Enabled(nId)) << nId;
    EXPECT_EQ(Text(ID_STOP), Texts().LoadText(21));

    Click(ID_STOP);
    EXPECT_EQ(Text(ID_STOP), Texts().LoadText(46));
    WaitForRun();
    EXPECT_EQ(pPage->GetLastResult().eEnd, E_BlockRunEnd::Stopped);
    EXPECT_EQ(Text(ID_STOP), Texts().LoadText(21));
    EXPECT_FALSE(Enabled(ID_STOP));
    EXPECT_TRUE(Enabled(ID_READ));
    EXPECT_TRUE(Enabled(ID_DEVICES));
    EXPECT_FALSE(pApp->GetOptionWord().Test(FLAG_BA_READ | FLAG_BA_WRITE | FLAG_BA_RUN_LINEAR | FLAG_BA_RUN_RANDOM |
                                            FLAG_BA_RUN_SEEK));
    EXPECT_EQ(::SendMessageA(pApp->GetProgressBar(), PBM_GETPOS, 0, 0), 0);
    const std::string strSpeed = pPage->GetSpeedLine().GetText();
    EXPECT_TRUE(strSpeed.find("/sec - ") != std::string::npos || strSpeed == Texts().LoadText(57)) << strSpeed;
}

TEST_F(BlockPageTest, LinearReadWithGraphDrawsTheCurveAndAnEmptyRunClosesTheGraph)
{
    REQUIRE_IMAGES();
    Start();
    C_OptionWord& options = pApp->GetOptionWord();
    Click(ID_LINEAR);
    if (!options.Test(FLAG_BA_GRAPH))
        Click(ID_GRAPH);
    if (!options.Test(FLAG_BA_CRC))
        Click(ID_CALC_CRC);
    if (options.Test(FLAG_SAVE_READ_DATA))
        Click(ID_SAVE_DATA);
    ASSERT_TRUE(SelectDrive('R'));
    Type(ID_BLOCKS, "2048");   // 1 MiB per access, 64 accesses
    Click(ID_READ);
    C_GraphWindow& graphWindow = pPage->GetGraphWindow();
    HWND hGraphWindow = graphWindow.GetHandle();
    ASSERT_NE(hGraphWindow, nullptr);
    EXPECT_EQ(WindowText(hGraphWindow), pApp->GetTitle() + " " + Texts().LoadText(83));
    WaitForRun();

    const S_BlockRunResult& result = pPage->GetLastResult();
    ASSERT_EQ(result.eEnd, E_BlockRunEnd::Completed);
    EXPECT_EQ(result.record.summary.ullAccesses, 64u);
    EXPECT_EQ(result.record.vGraphValues.size(), 64u);
    EXPECT_TRUE(::IsWindow(hGraphWindow));
    EXPECT_EQ(pPage->GetSpeedLine().GetText(), result.record.strSpeed);
    EXPECT_TRUE(std::regex_match(result.record.strSpeed,
                                 std::regex(R"re(\d+\.\d (Byte|kByte|MByte|GByte)/sec - \d+ msec|\[Too Fast\])re")))
        << result.record.strSpeed;
    // The CRC line holds the CRC of the last MiB of the drive.
    const std::vector<uint8_t> vLast = ReadScratchImage(ScratchImagePath('R'), 63u << 20, 1u << 20);
    ASSERT_EQ(vLast.size(), 1u << 20);
    EXPECT_EQ(Text(ID_CRC), UdmaCrcText(UdmaCrc(vLast.data(), vLast.size())));

    // The curve is drawn over the plot, in the first series' colour.
    const uitest::S_Capture shot = uitest::CaptureClient(graphWindow.GetGraph()->GetHandle());
    const COLORREF crCurve = static_cast<COLORREF>(GraphSeriesColour(0));
    EXPECT_GT(shot.Count(crCurve), shot.nWidth / 2);
    // tools/screenshot --block takes its pictures here, the graph window
    // above the main window.
    if (std::getenv("QV_UI_PAUSE_MS") != nullptr) {
        ::SetWindowPos(pApp->GetHandle(), nullptr, 0, 320, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
        ::SetWindowPos(hGraphWindow, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE);
        graphtest::PauseForScreenshot();
    }

    // A run whose range holds no access closes the graph window it opened.
    Type(ID_START, "131000");
    Click(ID_READ);
    EXPECT_EQ(graphWindow.GetHandle(), hGraphWindow);   // brought forward, not made again
    WaitForRun();
    EXPECT_EQ(pPage->GetLastResult().eEnd, E_BlockRunEnd::NoAccess);
    EXPECT_FALSE(::IsWindow(hGraphWindow));

    // The exit sequence closes an open graph window and keeps its placement.
    Type(ID_START, "0");
    Click(ID_READ);
    WaitForRun();
    hGraphWindow = graphWindow.GetHandle();
    ASSERT_NE(hGraphWindow, nullptr);
    Stop();
    EXPECT_FALSE(::IsWindow(hGraphWindow));
    C_RegistryTextStore store(HKEY_CURRENT_USER, kSettingsKey);
    std::string strPlacement;
    EXPECT_TRUE(store.ReadText(kSettingGraph, strPlacement));
    EXPECT_TRUE(std::regex_match(strPlacement, std::regex(R"(\d+(,-?\d+){4})"))) << strPlacement;
}

TEST_F(BlockPageTest, WriteAsksOnceForADeviceAndTheAnswerIsKept)
{
    REQUIRE_IMAGES();
    Start();
    Click(ID_LINEAR);
    if (pApp->GetOptionWord().Test(FLAG_BA_GRAPH))
        Click(ID_GRAPH);
    if (pApp->GetOptionWord().Test(FLAG_SAVE_READ_DATA))
        Click(ID_SAVE_DATA);
    ASSERT_TRUE(SelectDrive('S'));
    const C_RudvaneDevice& device = *pPage->GetDeviceList().GetSelected();
    const std::string strIdentity = BlockDeviceIdentity(device);
    Type(ID_BLOCKS, "2048");
    Type(ID_END, "8192");
    const std::string strQuestion = Texts().FormatText(BLOCK_TEXT_CONFIRM_WRITE, device.strInfo.c_str());
    {
        // No: nothing is written and nothing kept.
        C_BoxAnswerer answerer(pApp->GetTitle(), {IDNO});
        Click(ID_WRITE);
        WaitForRun();
        ASSERT_EQ(answerer.Texts().size(), 1u);
        EXPECT_EQ(answerer.Texts()[0], strQuestion);
    }
    EXPECT_EQ(pPage->GetLastResult().eEnd, E_BlockRunEnd::Declined);
    EXPECT_EQ(ReadScratchImage(strImageS, 0, 4u << 20), std::vector<uint8_t>(savedS.begin(), savedS.begin() + (4u << 20)));
    {
        C_BoxAnswerer answerer(pApp->GetTitle(), {IDYES});
        Click(ID_WRITE);
        WaitForRun();
        EXPECT_EQ(answerer.Texts().size(), 1u);
    }
    EXPECT_EQ(pPage->GetLastResult().eEnd, E_BlockRunEnd::Completed);
    EXPECT_NE(ReadScratchImage(strImageS, 0, 4u << 20), std::vector<uint8_t>(savedS.begin(), savedS.begin() + (4u << 20)));
    EXPECT_TRUE(IsDeviceWriteAllowed(pApp->GetProgramSettings(), strIdentity));

    // Confirmed before: the next write asks nothing.
    C_BoxAnswerer answerer(pApp->GetTitle(), {IDNO});
    Click(ID_WRITE);
    WaitForRun();
    EXPECT_TRUE(answerer.Texts().empty());
    EXPECT_EQ(pPage->GetLastResult().eEnd, E_BlockRunEnd::Completed);
}

TEST_F(BlockPageTest, BrowsePutsTheChosenFileIntoTheDataFileBox)
{
    Start();
    Click(ID_LINEAR);
    if (!pApp->GetOptionWord().Test(FLAG_SAVE_READ_DATA))
        Click(ID_SAVE_DATA);
    const std::string strChosen = TempFolder() + "chosen.bin";
    // A user who types a name and presses OK in the dialog of that title.
    std::atomic<bool> bEnd{false};
    std::atomic<int> nAnswered{0};
    std::thread user([&] {
        const std::string strTitle = Texts().LoadText(47);
        while (!bEnd && nAnswered == 0) {
            ::Sleep(50);
            HWND hDialog = ::FindWindowA("#32770", strTitle.c_str());
            if (hDialog == nullptr || !::IsWindowVisible(hDialog))
                continue;
            for (int nId : {0x47C, 0x480})   // the name box: combo or edit
                ::SetDlgItemTextA(hDialog, nId, strChosen.c_str());
            ::PostMessageA(hDialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            ++nAnswered;
        }
    });
    Click(1068);
    bEnd = true;
    user.join();
    EXPECT_EQ(nAnswered.load(), 1);
    EXPECT_EQ(Text(ID_DATA_FILE), strChosen);
}

TEST_F(BlockPageTest, BoxTextsAndOptionBitsComeBackAfterARestart)
{
    Start();
    // A new store gives the defaults.
    EXPECT_EQ(Text(ID_START), "0");
    EXPECT_EQ(Text(ID_END), "0");
    EXPECT_EQ(Text(ID_SKIP), "0");
    EXPECT_EQ(Text(ID_CALC_EVERY), "1");
    EXPECT_EQ(Text(ID_REPEATS), "100");
    EXPECT_EQ(Text(ID_DATA_FILE), "_data.bin");

    Type(ID_START, "7");
    Type(ID_END, "900");
    Type(ID_SKIP, "3");
    Type(ID_CALC_EVERY, "4");
    Type(ID_REPEATS, "55");
    Type(ID_DATA_FILE, "C:\\data\\block.bin");
    Click(ID_RANDOM);
    const bool bCrc = pApp->GetOptionWord().Test(FLAG_BA_CRC);
    Click(ID_CALC_CRC);
    Stop();

    // The program's own names for the values.
    C_Settings settings;
    ASSERT_TRUE(settings.Open(SETTINGS_REGISTRY, HKEY_CURRENT_USER, kSettingsKey, nullptr));
    EXPECT_EQ(ReadTextSetting(settings, kSettingBlockStart), "7");
    EXPECT_EQ(ReadTextSetting(settings, kSettingBlockEnd), "900");
    EXPECT_EQ(ReadTextSetting(settings, kSettingBlockSkip), "3");
    EXPECT_EQ(ReadTextSetting(settings, kSettingBlockCalc), "4");
    EXPECT_EQ(ReadTextSetting(settings, kSettingBlockRepeat), "55");
    EXPECT_EQ(ReadTextSetting(settings, kSettingSaveReadData), "C:\\data\\block.bin");

    // "-a" again: the same boxes and check boxes. The mode bits are OR-ed
    // into a start value that holds linear access, which wins.
    Start();
    EXPECT_EQ(Text(ID_START), "7");
    EXPECT_EQ(Text(ID_END), "900");
    EXPECT_EQ(Text(ID_REPEATS), "55");
    EXPECT_EQ(Text(ID_DATA_FILE), "C:\\data\\block.bin");
    EXPECT_EQ(::IsDlgButtonChecked(pPage->GetHandle(), ID_CALC_CRC), bCrc ? BST_UNCHECKED : BST_CHECKED);
    EXPECT_TRUE(pApp->GetOptionWord().Test(FLAG_BA_RANDOM));
    EXPECT_EQ(::IsDlgButtonChecked(pPage->GetHandle(), ID_LINEAR), BST_CHECKED);
}

} // namespace
