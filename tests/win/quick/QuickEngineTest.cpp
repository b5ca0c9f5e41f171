#include "quick/win/QuickEngine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "framework/win/Texts.h"
#include "quick/core/QuickResults.h"
#include "quick/core/QuickTextIds.h"
#include "framework/win/TestFile.h"
#include "tests/support/win/FaultyQuickFile.h"
#include "tests/support/win/QuickTestClock.h"
#include "tests/support/win/QuickTestEvents.h"
#include "tests/support/win/QuickTestFiles.h"

namespace {

using L = C_QuickAccessLog;
constexpr E_QuickPass kSeqWrite = E_QuickPass::SequentialWrite;
constexpr E_QuickPass kSeqRead = E_QuickPass::SequentialRead;
constexpr E_QuickPass kRandomWrite = E_QuickPass::Qd32Write;
constexpr E_QuickPass kRandomRead = E_QuickPass::Qd32Read;

// Device answers a test decides.
class C_TestDevices : public I_QuickDeviceInfo {
public:
    int GetUsbSpeedCode(char cLetter) override { return cLetter == cUsbLetter ? nUsbCode : USB_SPEED_NONE; }
    bool DescribeDrive(char cLetter, S_QuickDriveInfo& infoOut) override
    {
        if (cLetter != cUsbLetter)
            return false;
        infoOut.strName = "14.9 GB STICK (" + std::string(1, cLetter) + ":)";
        infoOut.strDescription = "Acme - Stick & Co - 1.0";
        infoOut.ulBusBits = QUICK_BUS_USB;
        return true;
    }
    char cUsbLetter = 0;
    int nUsbCode = USB_SPEED_NONE;
};

class QuickEngine : public ::testing::Test {
protected:
    void SetUp() override { engine.State().SetAccessPeriods(2, 30); }

    S_QuickRunOptions Options(bool bSkipRandom = true)
    {
        S_QuickRunOptions options;
        options.ullFileSize = 1048576;
        options.ulBlockSize = 65536;
        options.bSkipRandom = bSkipRandom;
        options.bSaveResultsFile = false;
        return options;
    }

    std::vector<S_QuickDrive> Drives(const std::string& strLetters)
    {
        std::vector<S_QuickDrive> vDrives;
        for (const char cLetter : strLetters)
            vDrives.push_back(MakeQuickDrive(cLetter, devices));
        return vDrives;
    }

    C_FaultyQuickFile file;
    C_TestDevices devices;
    C_QuickTestEvents events;
    C_QuickTestLog log;
    C_QuickEngine engine{file, devices, events, &log};
};

TEST_F(QuickEngine, FullSequenceWritesTheLineFamily)
{
    ASSERT_TRUE(engine.Run(Drives("T"), Options(false)));
    ASSERT_EQ(engine.GetReports().size(), 1u);
    const S_QuickDriveReport& report = engine.GetReports()[0];
    for (size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_FALSE(report.aResults[i].empty());
        EXPECT_TRUE(report.aFigures[i].bSuccess);
    }
    const char* pszSw = report.aResults[0].c_str();
    const char* pszSr = report.aResults[1].c_str();
    const char* pszRw = report.aResults[2].c_str();
    const char* pszRr = report.aResults[3].c_str();
    EXPECT_EQ(log.vLines, (std::vector<std::string>{
                              L::DriveStartText('T', ""),
                              L::PassStartText(kSeqWrite, 'T'), L::PassResultText(kSeqWrite, 'T', pszSw),
                              L::PassStartText(kSeqRead, 'T'), L::PassResultText(kSeqRead, 'T', pszSr),
                              L::PassStartText(kRandomWrite, 'T'), L::PassResultText(kRandomWrite, 'T', pszRw),
                              L::PassStartText(kRandomRead, 'T'), L::PassResultText(kRandomRead, 'T', pszRr),
                              L::DriveFinishText('T'),
                          }));
    EXPECT_EQ(log.vLines[0], "Quick Access: Start test on T:\\ .");
    // The test file and its folder are gone.
    EXPECT_FALSE(file.bExists);
    EXPECT_TRUE(file.folders.empty());
    EXPECT_EQ(file.nAlignmentFaults, 0u);

    // Results text: the date line, then the drive's line.
    const std::string& strResults = engine.GetResultsText();
    const size_t nFirstLine = strResults.find("\r\n");
    ASSERT_NE(nFirstLine, std::string::npos);
    EXPECT_EQ(strResults.substr(nFirstLine + 2), ResultsLine("T:", pszSr, pszRr, pszSw, pszRw));
    // The summary of a drive the device layer does not know.
    ASSERT_EQ(events.vSummaries.size(), 1u);
    EXPECT_EQ(events.vSummaries[0], std::string("T: : ") + pszSr + " read, " + pszSw + " write");
    EXPECT_EQ(engine.MakeSummary(), events.vSummaries[0]);
    EXPECT_EQ(events.vPassEnds.size(), 4u);
    EXPECT_EQ(engine.State().ulStateBits.load(), 0u);
}

TEST_F(QuickEngine, SkippedRandomPassesAreLoggedAsResults)
{
    ASSERT_TRUE(engine.Run(Drives("T"), Options(true)));
    const std::string strNotTested = Texts().LoadText(TEXT_NOT_TESTED);
    const S_QuickDriveReport& report = engine.GetReports()[0];
    EXPECT_EQ(report.aResults[2], strNotTested);
    EXPECT_EQ(report.aResults[3], strNotTested);
    EXPECT_FALSE(report.aFigures[2].bRan);
    ASSERT_EQ(log.vLines.size(), 8u);
    EXPECT_EQ(log.vLines[5], L::PassResultText(kRandomWrite, 'T', strNotTested.c_str()));
    EXPECT_EQ(log.vLines[6], L::PassResultText(kRandomRead, 'T', strNotTested.c_str()));
    EXPECT_EQ(log.vLines[7], L::DriveFinishText('T'));
    // The sequential passes left the file; the sequence deletes it.
    EXPECT_FALSE(file.bExists);
}

TEST_F(QuickEngine, FailedWriteEndsTheSequence)
{
    file.writeFault = {2, ERROR_CRC};
    EXPECT_FALSE(engine.Run(Drives("T"), Options(false)));
    EXPECT_EQ(log.vLines, (std::vector<std::string>{L::DriveStartText('T', ""), L::PassStartText(kSeqWrite, 'T'),
                                                    L::PassFailedText(kSeqWrite, 'T'), L::DriveFinishText('T')}));
    const S_QuickDriveReport& report = engine.GetReports()[0];
    for (const std::string& strResult : report.aResults)
        EXPECT_EQ(strResult, "");
    EXPECT_FALSE(report.aFigures[1].bRan);
    ASSERT_EQ(events.vMessages.size(), 1u);
    EXPECT_EQ(events.vMessages[0].nMessageId, TEXT_CANT_WRITE);
    EXPECT_FALSE(file.bExists);
    EXPECT_TRUE(file.folders.empty());
    EXPECT_TRUE(events.vSummaries.empty());
    EXPECT_EQ(engine.GetWriteRate(), 0u);
}

TEST_F(QuickEngine, StopVisitsTheRemainingDrives)
{
    file.onTransfer = [this](uint64_t ullTransfers) {
        if (ullTransfers == 3)
            engine.State().RequestStop();
    };
    EXPECT_FALSE(engine.Run(Drives("TUV"), Options(false)));
    EXPECT_TRUE(events.vMessages.empty());
    // T: stopped after its third block; U: and V: each write one block,
    // empty the file and remove it.
    size_t nWrites = 0;
    for (const std::string& strEntry : file.vTrace)
        nWrites += strEntry == "write 65536";
    EXPECT_EQ(nWrites, 5u);
    EXPECT_FALSE(file.bExists);
    EXPECT_TRUE(file.folders.empty());
    ASSERT_EQ(log.vLines.size(), 12u);
    for (size_t nDrive = 0; nDrive < 3; ++nDrive) {
        const char cLetter = "TUV"[nDrive];
        SCOPED_TRACE(cLetter);
        EXPECT_EQ(log.vLines[nDrive * 4 + 2], L::PassFailedText(kSeqWrite, cLetter));
        EXPECT_EQ(log.vLines[nDrive * 4 + 3], L::DriveFinishText(cLetter));
    }
    EXPECT_EQ(engine.GetReports().size(), 3u);
}

TEST_F(QuickEngine, UsbDriveWarningsAndSummary)
{
    // 1 MiB in 100 ms: 10 MiB/s on a USB 2.0 stick draws a remark in both directions.
    C_QuickTestClock::Attach(engine.State().stopwatch);
    file.onTransfer = [](uint64_t) { C_QuickTestClock::Advance(6250); };
    devices.cUsbLetter = 'E';
    devices.nUsbCode = USB_SPEED_HIGH;
    ASSERT_TRUE(engine.Run(Drives("E"), Options(true)));
    const std::string strSlow = Texts().LoadText(TEXT_SLOW_USB2);
    EXPECT_EQ(log.vLines[0], L::DriveStartText('E', "High Speed - USB 2.0 [480Mb/s] Device"));
    EXPECT_EQ(log.vLines[3], L::PassWarningText(kSeqWrite, 'E', strSlow.c_str()));
    EXPECT_EQ(log.vLines[6], L::PassWarningText(kSeqRead, 'E', strSlow.c_str()));
    ASSERT_EQ(events.vSummaries.size(), 1u);
    EXPECT_EQ(events.vSummaries[0],
              "Acme - Stick & Co - 1.0 14.9 GB STICK (E:): 10.0 MByte/sec read, 10.0 MByte/sec write USB");
    EXPECT_EQ(engine.GetReadRate(), 10u);
    EXPECT_EQ(engine.GetWriteRate(), 10u);
    EXPECT_EQ(engine.ComparisonPageAddress("CPU"),
              "https://www.ternwick.com/products/quenvale/benchmark.php"
              "?r=10&w=10&d=Acme%20-%20Stick%20%26%20Co%20-%201.0&c=usb%20&o=CPU");
    bool bFoundWarning = false;
    for (const auto& end : events.vPassEnds)
        bFoundWarning |= end.ePass == kSeqWrite && end.strWarning == strSlow;
    EXPECT_TRUE(bFoundWarning);
}

TEST_F(QuickEngine, ResultsFileOnlyForSeveralDrives)
{
    C_TempFolder folder;
    S_QuickRunOptions options = Options(true);
    options.bSaveResultsFile = true;
    options.strResultsFolder = folder.Path();
    ASSERT_TRUE(engine.Run(Drives("T"), options));
    EXPECT_FALSE(PathExists(folder / "Quenvale.txt"));

    EXPECT_TRUE(events.vResultsFiles.empty());

    ASSERT_TRUE(engine.Run(Drives("TU"), options));
    const std::string strFirst = engine.GetResultsText();
    EXPECT_EQ(ReadWholeFile(folder / "Quenvale.txt"), strFirst);
    ASSERT_TRUE(engine.Run(Drives("UT"), options));   // appended, never truncated
    EXPECT_EQ(ReadWholeFile(folder / "Quenvale.txt"), strFirst + engine.GetResultsText());
    // The page opens the file after each run that wrote it...
    EXPECT_EQ(events.vResultsFiles, std::vector<std::string>(2, folder / "Quenvale.txt"));

    // ...and not after one that could not write it.
    options.strResultsFolder = folder / "missing\\";
    ASSERT_TRUE(engine.Run(Drives("TU"), options));
    EXPECT_EQ(events.vResultsFiles.size(), 2u);
}

TEST_F(QuickEngine, BlocksShorterThanAnAccessWriteOnlyWhatTheRunFilled)
{
    // The run's buffer holds one 512-byte block; what lies behind it is not
    // the run's (here a marker that no pass may write).
    std::vector<uint8_t> vMemory(3 * 4096, 0xEE);
    uint8_t* pBuffer = vMemory.data() + (4096 - reinterpret_cast<uintptr_t>(vMemory.data()) % 4096) % 4096;
    for (size_t i = 0; i < 512; ++i)
        pBuffer[i] = static_cast<uint8_t>(i * 13 + 1);
    file.ulSectorSize = 512;
    std::once_flag checked;
    bool bChecked = false;
    std::string strMarkerAt;
    // At the random read pass, before it deletes the file: the file as the
    // write passes left it (nothing writes it now).
    file.onAccess = [&]() {
        if (file.vOpens.back().nDirection != 0)
            return;
        std::call_once(checked, [&]() {
        bChecked = true;
        const std::vector<uint8_t> vMarker(64, 0xEE);
        const auto itFound = std::search(file.vData.begin(), file.vData.end(), vMarker.begin(), vMarker.end());
        if (itFound != file.vData.end())
            strMarkerAt = std::to_string(itFound - file.vData.begin());
        });
    };
    engine.State().ullFileSize.store(1048576);
    S_QuickDriveReport report;
    ASSERT_TRUE(engine.RunDriveSequence(MakeQuickDrive('T', devices), false, pBuffer, 512, report));
    EXPECT_TRUE(bChecked);
    EXPECT_EQ(strMarkerAt, "") << "bytes from behind the block were written";
    EXPECT_EQ(report.aFigures[PassIndex(kSeqWrite)].ullTransfers, 2048u);
    EXPECT_GT(report.aFigures[PassIndex(kRandomWrite)].ullTransfers, 0u);
    EXPECT_EQ(file.nAlignmentFaults, 0u);
}

TEST_F(QuickEngine, NothingToRun)
{
    // No drive: only the date line, no summary.
    EXPECT_FALSE(engine.Run({}, Options(true)));
    const std::string& strResults = engine.GetResultsText();
    EXPECT_FALSE(strResults.empty());
    EXPECT_EQ(strResults.find("\r\n"), strResults.size() - 2);
    EXPECT_TRUE(events.vSummaries.empty());
    EXPECT_TRUE(log.vLines.empty());
    // A file size of 0 ends the run at once.
    S_QuickRunOptions options = Options(true);
    options.ullFileSize = 0;
    EXPECT_FALSE(engine.Run(Drives("T"), options));
    EXPECT_TRUE(log.vLines.empty());
    EXPECT_TRUE(file.vTrace.empty());
}

TEST_F(QuickEngine, ProgressAndLiveRate)
{
    C_QuickState& state = engine.State();
    C_QuickTestClock::Attach(state.stopwatch);
    state.ullFileSize.store(1048576);
    EXPECT_EQ(state.ProgressPercent(), 0);
    EXPECT_EQ(state.LiveRateText(), "");

    state.ulStateBits.store(QUICK_STATE_SEQ_WRITE);
    state.stopwatch.Start();
    EXPECT_EQ(state.LiveRateText(), "");   // nothing to rate in the first 10 µs
    state.ullBytesDone.store(524288);
    C_QuickTestClock::Advance(500000);
    EXPECT_EQ(state.ProgressPercent(), 50);
    uint32_t ulBits = 0;
    EXPECT_EQ(state.LiveRateText(&ulBits), "1024.0 kByte/sec");
    EXPECT_EQ(ulBits, static_cast<uint32_t>(QUICK_STATE_SEQ_WRITE));

    state.ulStateBits.store(QUICK_STATE_RANDOM_READ);
    state.ulSecondsElapsed.store(1);
    state.ulAccessCount.store(0);
    state.stopwatch.Start();
    EXPECT_EQ(state.LiveRateText(), "...");
    EXPECT_EQ(state.ProgressPercent(), 50);   // of the two test periods
    state.ulAccessCount.store(256);
    C_QuickTestClock::Advance(1000000);
    EXPECT_EQ(state.LiveRateText(), "1024.0 kByte/sec ");
}

// The whole sequence on the scratch drive Q: with the real test file.
TEST(QuickEngineOnDisk, RunsOnTheScratchDrive)
{
    if (!HasScratchDriveQ())
        GTEST_SKIP() << "no scratch drive Q:";
    C_TestFile file;
    C_NoQuickDeviceInfo devices;
    C_QuickTestEvents events;
    C_QuickTestLog log;
    C_QuickEngine engine(file, devices, events, &log);
    engine.State().SetAccessPeriods(2, 50);
    S_QuickRunOptions options;
    options.ullFileSize = 2 * 1048576;
    options.ulBlockSize = 65536;
    options.bSaveResultsFile = false;
    ASSERT_TRUE(engine.Run({MakeQuickDrive('Q', devices)}, options));
    EXPECT_TRUE(events.vMessages.empty());
    EXPECT_EQ(log.vLines.size(), 10u);
    const S_QuickDriveReport& report = engine.GetReports()[0];
    for (size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(report.aFigures[i].bSuccess);
        EXPECT_FALSE(report.aResults[i].empty());
    }
    EXPECT_GT(report.aFigures[3].ullTransfers, 0u);
    EXPECT_FALSE(PathExists("Q:\\QuenvaleTest"));
}

} // namespace
