#include "quick/win/AccessTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "tests/support/win/FaultyQuickFile.h"
#include "tests/support/win/QuickTestEvents.h"

namespace {

constexpr const char* kFolder = "T:\\QuenvaleTest";
constexpr const char* kPath = "T:\\QuenvaleTest\\QuenvaleTest.bin";
constexpr uint64_t kFileSize = 1048576;   // 256 blocks of 4 kiB

const std::regex kResultPattern(R"(^\d+(\.\d)? [kMGTP]?Byte/sec, \d+\.\d IOPS, \d+\.\d\d ms$)");

class AccessTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        file.folders.insert(kFolder);
        state.ullFileSize.store(kFileSize);
        state.SetAccessPeriods(3, 40);
    }

    int Run(int nDirection)
    {
        return WorkerDoAccesstest(context, nDirection, kPath, strResult, &figures);
    }

    C_FaultyQuickFile file;
    C_QuickTestEvents events;
    C_QuickState state;
    S_QuickPassContext context{state, file, events};
    std::string strResult = "untouched";
    S_QuickPassFigures figures;
};

TEST_F(AccessTest, WritePassPreparesTheFileAndCountsAccesses)
{
    ASSERT_EQ(Run(1), 1);
    // Full length and the last block written and flushed before any thread
    // starts; then each thread gets a handle of its own, unbuffered as the file.
    EXPECT_EQ(file.TraceText(),
              "open, fsctl, close, open, seek 1048576, setend, seek 1044480, write 4096, flush, close");
    ASSERT_EQ(file.vOpens.size(), 2u);
    EXPECT_EQ(file.vOpens[0].dwFlags, 0u);
    EXPECT_EQ(file.vOpens[1].dwFlags, static_cast<DWORD>(FILE_FLAG_NO_BUFFERING));
    EXPECT_EQ(file.nAccessorOpens, 32u);
    EXPECT_EQ(file.dwAccessorFlags, static_cast<DWORD>(FILE_FLAG_NO_BUFFERING));
    EXPECT_EQ(file.nOpenAccessors, 0u);
    EXPECT_TRUE(file.bExists);
    EXPECT_EQ(file.vData.size(), kFileSize);
    EXPECT_EQ(file.nAlignmentFaults, 0u);
    // The prepared last block and every block the threads wrote carry the
    // pass's own 4096 random bytes.
    const uint8_t* pLast = file.vData.data() + kFileSize - 4096;
    EXPECT_LT(std::count(pLast, pLast + 4096, 0), 64);
    for (const auto& position : file.accessPositions)
        ASSERT_EQ(std::memcmp(file.vData.data() + position.first, pLast, 4096), 0) << position.first;

    EXPECT_TRUE(std::regex_match(strResult, kResultPattern)) << strResult;
    EXPECT_EQ(state.ulSecondsElapsed.load(), 3u);
    const uint32_t ulCount = state.ulAccessCount.load();
    EXPECT_GT(ulCount, 0u);
    // The accesses after the stop flag are made but not counted.
    EXPECT_GE(file.ullAccesses, ulCount);
    EXPECT_LE(file.ullAccesses, ulCount + 32);
    // The figures take the count when the run ends; a thread past its last
    // look at the stop flag may still add its access.
    EXPECT_LE(figures.ullTransfers, ulCount);
    EXPECT_GE(figures.ullTransfers + 32, ulCount);
    EXPECT_TRUE(figures.bSuccess);
    ASSERT_TRUE(figures.bHasLatency);
    EXPECT_EQ(figures.latency.ullSamples, ulCount);
    EXPECT_GT(figures.latency.dMaxMs, 0.0);
    EXPECT_LE(figures.latency.dMedianMs, figures.latency.dP99Ms);
    EXPECT_LE(figures.latency.dP99Ms, figures.latency.dMaxMs);
}

TEST_F(AccessTest, EveryHandleTurnsOffTheLocalCacheOfANetworkDrive)
{
    // A redirector accepts the control: the file stays buffered by the
    // server, and each thread's handle asks for the same as the first.
    file.lFsControlStatus = 0;
    ASSERT_EQ(Run(1), 1);
    ASSERT_EQ(file.vOpens.size(), 1u);
    EXPECT_EQ(file.vOpens[0].dwFlags, 0u);
    EXPECT_EQ(file.dwAccessorFlags, 0u);
    EXPECT_EQ(file.nAccessorFsControls, 32u);

    // A local file system refuses it on every handle; the pass goes on.
    file.Reset();
    file.folders.insert(kFolder);
    file.PlaceFile(kPath, kFileSize, 0x11);
    ASSERT_EQ(Run(0), 1);
    EXPECT_EQ(file.nAccessorFsControls, 32u);
    EXPECT_EQ(file.dwAccessorFlags, static_cast<DWORD>(FILE_FLAG_NO_BUFFERING));
}

TEST_F(AccessTest, PositionsOnAOneMByteFile)
{
    file.PlaceFile(kPath, kFileSize, 0x11);
    ASSERT_EQ(Run(0), 1);
    ASSERT_FALSE(file.accessPositions.empty());
    for (const auto& position : file.accessPositions) {
        ASSERT_EQ(position.first % 4096, 0u) << position.first;
        ASSERT_LE(position.first, 255u * 4096) << position.first;
    }
    EXPECT_GT(file.accessPositions.size(), 16u);
    EXPECT_EQ(file.nAlignmentFaults, 0u);
    // Many threads took part.
    EXPECT_GT(file.accessesPerThread.size(), 1u);
}

TEST_F(AccessTest, ReadPassDeletesTheFile)
{
    file.PlaceFile(kPath, kFileSize, 0x11);
    ASSERT_EQ(Run(0), 1);
    EXPECT_FALSE(file.bExists);
    EXPECT_EQ(file.vTrace.back(), "delete");
    EXPECT_EQ(file.nRemovalsWhileOpen, 0u);   // the threads' handles were closed first
    EXPECT_TRUE(std::regex_match(strResult, kResultPattern)) << strResult;
}

TEST_F(AccessTest, NoAccessBeforeTheStopwatchStarts)
{
    ASSERT_TRUE(state.stopwatch.UsesPerformanceCounter());
    std::atomic<int64_t> llFirst{INT64_MAX};
    file.onAccess = [&llFirst]() {
        LARGE_INTEGER now;
        ::QueryPerformanceCounter(&now);
        int64_t llSeen = llFirst.load();
        while (now.QuadPart < llSeen && !llFirst.compare_exchange_weak(llSeen, now.QuadPart)) {
        }
    };
    file.PlaceFile(kPath, kFileSize, 0x11);
    ASSERT_EQ(Run(0), 1);
    ASSERT_NE(llFirst.load(), INT64_MAX);
    EXPECT_GE(llFirst.load(), state.stopwatch.StartCount());
    // All 32 threads were released together and each found work.
    EXPECT_EQ(file.accessesPerThread.size(), 32u);
}

TEST_F(AccessTest, FailingAccessEndsOnlyItsOwnThread)
{
    file.PlaceFile(kPath, kFileSize, 0x11);
    file.readFault = {20, ERROR_CRC};
    EXPECT_EQ(Run(0), 0);
    ASSERT_NE(file.dwFailedThread, 0u);
    EXPECT_EQ(file.ullAccessesAfterFailureSameThread, 0u);
    EXPECT_GT(file.ullAccessesAfterFailureOtherThreads, 0u);
    EXPECT_GT(state.ulAccessCount.load(), 19u);   // the other threads went on and were counted
    EXPECT_EQ(state.ulSecondsElapsed.load(), 3u);  // to the end of the run
    EXPECT_EQ(strResult, "untouched");
    EXPECT_EQ(figures.ulError, static_cast<uint32_t>(ERROR_CRC));
    EXPECT_FALSE(file.bExists);                    // a read pass deletes the file also when it failed
}

TEST_F(AccessTest, StopDuringTheRun)
{
    file.onTransfer = [this](uint64_t ullTransfers) {
        if (ullTransfers == 50)
            state.RequestStop();
    };
    EXPECT_EQ(Run(1), 0);
    EXPECT_EQ(strResult, "untouched");
    EXPECT_LT(state.ulSecondsElapsed.load(), 3u);
    EXPECT_TRUE(file.bExists);   // a write pass keeps its file

    state.ClearStop();
    file.Reset();
    file.PlaceFile(kPath, kFileSize, 0x11);
    file.onTransfer = [this](uint64_t ullTransfers) {
        if (ullTransfers == 100)
            state.RequestStop();
    };
    EXPECT_EQ(Run(0), 0);
    EXPECT_EQ(strResult, "untouched");
    EXPECT_FALSE(file.bExists);
}

TEST_F(AccessTest, StopBeforeTheThreadsStart)
{
    // The first thread is started, the rest are not; the one started is
    // released and ends at once.
    file.PlaceFile(kPath, kFileSize, 0x11);
    state.RequestStop();
    EXPECT_EQ(Run(0), 0);
    EXPECT_LE(file.accessesPerThread.size(), 1u);
    EXPECT_EQ(state.ulSecondsElapsed.load(), 0u);
    EXPECT_EQ(strResult, "untouched");
    EXPECT_FALSE(file.bExists);
}

TEST_F(AccessTest, FailuresBeforeTheThreadsStart)
{
    struct S_Case {
        const char* pszName;
        int nDirection;
        std::function<void(C_FaultyQuickFile&)> inject;
        bool bFileLeft;
    };
    for (const S_Case& c : std::vector<S_Case>{
             {"open", 1, [](C_FaultyQuickFile& f) { f.openFault = {1, ERROR_ACCESS_DENIED}; }, false},
             {"read open", 0, [](C_FaultyQuickFile& f) { f.openFault = {1, ERROR_ACCESS_DENIED}; }, false},
             {"seek to the end", 1, [](C_FaultyQuickFile& f) { f.seekFault = {1, ERROR_INVALID_PARAMETER}; }, true},
             {"seek to the last block", 1, [](C_FaultyQuickFile& f) { f.seekFault = {2, ERROR_INVALID_PARAMETER}; },
              true},
             {"write of the last block", 1, [](C_FaultyQuickFile& f) { f.writeFault = {1, ERROR_DISK_FULL}; }, true},
             {"a thread's handle", 0, [](C_FaultyQuickFile& f) { f.accessorFault = {5, ERROR_TOO_MANY_OPEN_FILES}; },
              false},
             {"flush", 1, [](C_FaultyQuickFile& f) { f.flushFault = {1, ERROR_WRITE_FAULT}; }, true},
             {"set end of file is not checked", 1, [](C_FaultyQuickFile& f) { f.setEndFault = {1, ERROR_DISK_FULL}; },
              true},
         }) {
        SCOPED_TRACE(c.pszName);
        file.Reset();
        file.folders.insert(kFolder);
        if (c.nDirection == 0)
            file.PlaceFile(kPath, kFileSize, 0x11);
        c.inject(file);
        const bool bSetEndOnly = std::string(c.pszName).find("set end") == 0;
        EXPECT_EQ(Run(c.nDirection), bSetEndOnly ? 1 : 0);
        if (!bSetEndOnly) {
            EXPECT_EQ(file.ullAccesses, 0u);   // no thread ran
            EXPECT_EQ(strResult, "untouched");
        } else {
            EXPECT_GT(file.ullAccesses, 0u);
        }
        EXPECT_EQ(file.nOpenAccessors, 0u);
        EXPECT_EQ(file.bExists, c.bFileLeft);
        EXPECT_EQ(file.nOpenFiles, 0u);
        EXPECT_TRUE(events.vMessages.empty());   // random passes show no message
    }
}

} // namespace
