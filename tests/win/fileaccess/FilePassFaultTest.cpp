// The File Access pass against a test file in memory that fails where a
// test asks and holds unbuffered transfers to the sector rules.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "device/win/DeviceIo.h"
#include "fileaccess/core/FileTextIds.h"
#include "fileaccess/win/FileEngine.h"
#include "framework/win/ErrorText.h"
#include "framework/win/Texts.h"
#include "tests/support/win/TempFiles.h"
#include "tests/win/fileaccess/FileTestParts.h"

namespace {

constexpr uint64_t kMiB = 1048576;

class FilePassFaults : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The stand-in's files live in the real temporary folder's name
        // space, so that the engine's existence checks see them.
        strFile = folder / "_test.bin";
        ASSERT_TRUE(MakeFile(strFile, 1));
        file.CreateFolder(folder.Path().substr(0, folder.Path().size() - 1).c_str());
        file.vTrace.clear();
    }

    S_FileRunOptions Options(uint32_t ulFlags, uint64_t ullSize = 4 * kMiB, uint32_t ulBlock = 1048576)
    {
        S_FileRunOptions options;
        options.strPath = strFile;
        options.ullFileSize = ullSize;
        options.ulBlockSize = ulBlock;
        options.ulFlags = ulFlags;
        return options;
    }

    C_TempFolder folder;
    std::string strFile;
    C_FaultyFileAccessFile file;
    C_FaultyFileAccessFile readDataFile;
    C_FileTestVolume volume;
    C_FileTestEvents events;
    C_FileEngine engine{file, readDataFile, volume, events, C_DeviceIo::System()};
};

TEST_F(FilePassFaults, OpenFlagsOfTheNetworkRule)
{
    struct S_Case {
        const char* pszWhat;
        LONG lFsControl;         // the answer to "no local buffering"
        uint32_t ulFlags;
        std::vector<DWORD> vOpenFlags;
    };
    const DWORD dwScan = FILE_FLAG_SEQUENTIAL_SCAN;
    const DWORD dwDirect = FILE_FLAG_SEQUENTIAL_SCAN | FILE_FLAG_NO_BUFFERING;
    const LONG lRefused = static_cast<LONG>(0xC00000BB);
    for (const S_Case& c : std::vector<S_Case>{
             {"network file keeps its first handle", 0, FILE_OPT_NO_BUFFERING, {dwScan}},
             {"local file, simple mode: always unbuffered", lRefused, 0, {dwScan, dwDirect}},
             {"local file, Expert Mode: buffered", lRefused, FILE_OPT_EXPERT, {dwScan, dwScan}},
             {"local file, Expert Mode, unbuffered", lRefused, FILE_OPT_EXPERT | FILE_OPT_NO_BUFFERING,
              {dwScan, dwDirect}},
             {"write through", lRefused, FILE_OPT_EXPERT | FILE_OPT_WRITE_THROUGH,
              {dwScan | FILE_FLAG_WRITE_THROUGH, dwScan | FILE_FLAG_WRITE_THROUGH}},
         }) {
        SCOPED_TRACE(c.pszWhat);
        file.vOpens.clear();
        file.lFsControlStatus = c.lFsControl;
        ASSERT_TRUE(engine.Run(Options(FILE_OPT_WRITE | c.ulFlags)));
        std::vector<DWORD> vFlags;
        for (const auto& open : file.vOpens)
            vFlags.push_back(open.dwFlags);
        EXPECT_EQ(vFlags, c.vOpenFlags);
        EXPECT_EQ(engine.GetFigures(FILE_PASS_WRITE).ulOpenFlags, c.vOpenFlags.back());
        EXPECT_EQ(file.nAlignmentFaults, 0u);
    }
}

TEST_F(FilePassFaults, BlockSizeRoundedToTheSectorForUnbufferedTransfers)
{
    volume.ulSectorSize = 4096;
    file.ulSectorSize = 4096;
    events.vAnswers = {false};
    EXPECT_FALSE(engine.Run(Options(FILE_OPT_EXPERT | FILE_OPT_NO_BUFFERING | FILE_OPT_WRITE, kMiB, 10000)));
    ASSERT_EQ(events.vQuestions.size(), 1u);
    EXPECT_EQ(events.vQuestions[0].strText,
              Texts().FormatText(FILE_TEXT_SECTOR_ROUNDING, 10000u, 4096u, 12288u));
    EXPECT_TRUE(file.vOpens.empty());

    events = C_FileTestEvents();
    ASSERT_TRUE(engine.Run(Options(FILE_OPT_EXPERT | FILE_OPT_NO_BUFFERING | FILE_OPT_WRITE, kMiB, 10000)));
    EXPECT_EQ(engine.GetBlockSize(), 12288u);
    EXPECT_EQ(events.vCalls[2], "block 12288");
    EXPECT_EQ(engine.GetFigures(FILE_PASS_WRITE).ullTransfers, kMiB / 12288);
    EXPECT_EQ(file.nAlignmentFaults, 0u);
}

TEST_F(FilePassFaults, TransferFailuresNameTheirPlace)
{
    struct S_Case {
        const char* pszWhat;
        int nPass;
        C_FaultyQuickFile::S_Fault C_FaultyQuickFile::*pFault;
        uint32_t nAt;
        int nTextId;
        UINT uStyle;
        bool bComplete;
    };
    const UINT uExclamation = MB_OK | MB_ICONEXCLAMATION;
    for (const S_Case& c : std::vector<S_Case>{
             {"third write", FILE_PASS_WRITE, &C_FaultyQuickFile::writeFault, 3, FILE_TEXT_CANT_WRITE, uExclamation, false},
             {"third read", FILE_PASS_READ, &C_FaultyQuickFile::readFault, 3, FILE_TEXT_CANT_READ, uExclamation, false},
             {"flush", FILE_PASS_WRITE, &C_FaultyQuickFile::flushFault, 1, FILE_TEXT_CANT_FLUSH, uExclamation, false},
             {"seek to the end", FILE_PASS_WRITE, &C_FaultyQuickFile::seekFault, 1, FILE_TEXT_CANT_SEEK_END, MB_OK, false},
             {"seek to the start", FILE_PASS_WRITE, &C_FaultyQuickFile::seekFault, 2, FILE_TEXT_CANT_SEEK_START, MB_OK, false},
             {"set end only warns", FILE_PASS_WRITE, &C_FaultyQuickFile::setEndFault, 1, FILE_TEXT_CANT_SET_END, MB_OK, true},
             {"open", FILE_PASS_READ, &C_FaultyQuickFile::openFault, 1, FILE_TEXT_CANT_OPEN, uExclamation, false},
         }) {
        SCOPED_TRACE(c.pszWhat);
        file.Reset();
        file.CreateFolder(folder.Path().substr(0, folder.Path().size() - 1).c_str());
        if (c.nPass == FILE_PASS_READ)
            file.PlaceFile(strFile.c_str(), 4 * kMiB, 0x11);
        (file.*c.pFault).nAt = c.nAt;
        (file.*c.pFault).dwError = ERROR_CRC;
        events = C_FileTestEvents();
        const bool bWrite = c.nPass == FILE_PASS_WRITE;
        EXPECT_EQ(engine.Run(Options(FILE_OPT_EXPERT | (bWrite ? FILE_OPT_WRITE : FILE_OPT_READ))), c.bComplete);
        ASSERT_EQ(events.vMessages.size(), 1u);
        const S_FileMessage& message = events.vMessages[0];
        EXPECT_EQ(message.nTextId, c.nTextId);
        EXPECT_EQ(message.uStyle, c.uStyle);
        char szError[kErrorTextBuffer];
        const std::string strError = GetErrorText(ERROR_CRC, szError) != nullptr ? szError : "";
        if (c.nTextId == FILE_TEXT_CANT_WRITE || c.nTextId == FILE_TEXT_CANT_READ) {
            EXPECT_EQ(message.strText, Texts().FormatText(c.nTextId, strFile.c_str(), ERROR_CRC, strError.c_str(),
                                                          1048576u, 2 * kMiB, 4 * kMiB));
        }
        if (c.nTextId == FILE_TEXT_CANT_OPEN) {
            EXPECT_EQ(message.strText, Texts().FormatText(c.nTextId, strFile.c_str(), ERROR_CRC, strError.c_str()));
        }
        EXPECT_EQ(engine.GetFigures(c.nPass).strResult.empty(), !c.bComplete);
        EXPECT_EQ(file.nOpenFiles, 0u);   // closed in every case
        // The file list follows every write that reached its blocks.
        const bool bReachedBlocks = c.pFault == &C_FaultyQuickFile::writeFault ||
                                    c.pFault == &C_FaultyQuickFile::flushFault || c.bComplete;
        EXPECT_EQ(std::count(events.vCalls.begin(), events.vCalls.end(), "written " + strFile),
                  bWrite && bReachedBlocks ? 1 : 0);
    }
}

// A clock that a test moves: each reading is g_llStep counts (microseconds)
// after the one before.
std::atomic<int64_t> g_llNow{0};
std::atomic<int64_t> g_llStep{0};
int64_t SteppingClock()
{
    return g_llNow.fetch_add(g_llStep.load()) + g_llStep.load();
}

TEST_F(FilePassFaults, ResultLinesOfTheRateAndTheOpticalFactor)
{
    engine.Stopwatch().UseCounter(SteppingClock, 1000000);
    file.PlaceFile(strFile.c_str(), 4 * kMiB, 0x33);
    struct S_Case {
        int64_t llStep;          // the pass's microseconds
        uint64_t ullCapacity;    // of a CD-ROM drive's medium; 0 = a hard disk
        const char* pszResult;
    };
    for (const S_Case& c : std::vector<S_Case>{
             {11, 0, "355.1 GByte/sec"},
             {1000000, 0, "4.0 MByte/sec"},
             {1000000, 700 * kMiB, "4.0 MByte/sec - 27.3x cd-rom"},
             {4000000, 4000 * kMiB, "1024.0 kByte/sec - 0.8x dvd"},
             {10, 0, nullptr},    // 10 µs or less is too fast to rate
         }) {
        SCOPED_TRACE(c.llStep);
        g_llStep.store(c.llStep);
        volume = C_FileTestVolume();
        if (c.ullCapacity != 0)
            volume.MakeOptical(c.ullCapacity);
        events = C_FileTestEvents();
        ASSERT_TRUE(engine.Run(Options(FILE_OPT_EXPERT | FILE_OPT_READ)));
        const std::string strExpected = c.pszResult != nullptr ? c.pszResult : Texts().LoadText(FILE_TEXT_TOO_FAST);
        EXPECT_EQ(engine.GetFigures(FILE_PASS_READ).strResult, strExpected);
        EXPECT_EQ(events.vResults, (std::vector<std::string>{"", strExpected}));
    }
}

TEST_F(FilePassFaults, BlockSizeZeroIsRefusedInsteadOfLoopingForever)
{
    file.PlaceFile(strFile.c_str(), kMiB, 0x22);
    EXPECT_FALSE(engine.Run(Options(FILE_OPT_EXPERT | FILE_OPT_READ, 0, 0)));
    ASSERT_EQ(events.vMessages.size(), 1u);
    EXPECT_EQ(events.vMessages[0].nTextId, FILE_TEXT_CANT_OPEN);
    EXPECT_TRUE(file.vOpens.empty());
}

} // namespace
