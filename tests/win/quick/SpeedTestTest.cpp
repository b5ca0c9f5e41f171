#include "quick/win/SpeedTest.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "framework/win/Texts.h"
#include "quick/core/QuickTextIds.h"
#include "quick/core/UsbRating.h"
#include "framework/win/TransferBuffer.h"
#include "tests/support/win/FaultyQuickFile.h"
#include "tests/support/win/QuickTestClock.h"
#include "tests/support/win/QuickTestEvents.h"

namespace {

constexpr const char* kFolder = "T:\\QuenvaleTest";
constexpr const char* kPath = "T:\\QuenvaleTest\\QuenvaleTest.bin";
constexpr uint64_t kFileSize = 1048576;
constexpr uint32_t kBlock = 65536;
constexpr UINT kExclamation = MB_OK | MB_ICONEXCLAMATION;

class SpeedTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        file.folders.insert(kFolder);
        state.ullFileSize.store(kFileSize);
        C_QuickTestClock::Attach(state.stopwatch);
        ASSERT_TRUE(buffer.Allocate(4 * 1048576));
        for (uint32_t i = 0; i < buffer.Size(); ++i)
            buffer.Data()[i] = static_cast<uint8_t>(i * 7 + i / 4096);
    }

    void Fresh()
    {
        file.Reset();
        file.folders.insert(kFolder);
    }

    int Run(int nDirection, uint32_t ulBlockSize = kBlock, int nUsbCode = USB_SPEED_NONE)
    {
        return WorkerDoSpeedtest(context, nDirection, kPath, buffer.Data(), ulBlockSize, strResult, nUsbCode,
                                 strWarning, ulRate, &figures);
    }

    C_FaultyQuickFile file;
    C_QuickTestEvents events;
    C_QuickState state;
    C_TransferBuffer buffer;
    S_QuickPassContext context{state, file, events};
    std::string strResult = "before";
    std::string strWarning;
    uint32_t ulRate = 99;
    S_QuickPassFigures figures;
};

TEST_F(SpeedTest, WritePassOrderAndResult)
{
    // Each block takes 1 ms on the test clock: 16 blocks of 64 KiB in 16 ms.
    file.onTransfer = [](uint64_t) { C_QuickTestClock::Advance(1000); };
    ASSERT_EQ(Run(1), 1);
    EXPECT_TRUE(events.vMessages.empty());
    std::string strExpected = "open, fsctl, close, open, seek 1048576, setend, seek 0";
    for (int i = 0; i < 16; ++i)
        strExpected += ", write 65536";
    strExpected += ", flush, close";
    EXPECT_EQ(file.TraceText(), strExpected);
    ASSERT_EQ(file.vOpens.size(), 2u);
    EXPECT_EQ(file.vOpens[0].dwFlags, static_cast<DWORD>(FILE_FLAG_SEQUENTIAL_SCAN));
    EXPECT_EQ(file.vOpens[1].dwFlags, static_cast<DWORD>(FILE_FLAG_SEQUENTIAL_SCAN | FILE_FLAG_NO_BUFFERING));
    EXPECT_EQ(file.vOpens[1].nDirection, 1);
    EXPECT_EQ(file.nAlignmentFaults, 0u);
    ASSERT_EQ(file.vData.size(), kFileSize);
    EXPECT_EQ(std::memcmp(file.vData.data() + 15 * kBlock, buffer.Data(), kBlock), 0);

    // 1 MiB in 16 ms: 62.5 MiB/s.
    EXPECT_EQ(strResult, "62.5 MByte/sec");
    EXPECT_EQ(ulRate, 62u);
    EXPECT_EQ(strWarning, "");
    EXPECT_EQ(state.ullBytesDone.load(), kFileSize);
    EXPECT_EQ(figures.ullMicroseconds, 16000u);
    EXPECT_EQ(figures.ullTransfers, 16u);
    EXPECT_TRUE(figures.bSuccess);
}

TEST_F(SpeedTest, LocalBufferingProbe)
{
    // Only an error status (both top bits set) makes the pass reopen the file unbuffered.
    struct S_Case {
        ULONG ulStatus;
        bool bReopen;
    };
    for (const S_Case& c : std::vector<S_Case>{{0xC00000BB, true},     // a local file system refuses
                                               {0xC0000001, true},     // no such call in the system
                                               {0x00000000, false},    // a network redirector accepts
                                               {0x00000103, false},
                                               {0x80000005, false}}) {
        SCOPED_TRACE(c.ulStatus);
        Fresh();
        file.lFsControlStatus = static_cast<LONG>(c.ulStatus);
        ASSERT_EQ(Run(1), 1);
        ASSERT_EQ(file.vOpens.size(), c.bReopen ? 2u : 1u);
        EXPECT_EQ(file.vOpens.back().dwFlags & FILE_FLAG_NO_BUFFERING,
                  c.bReopen ? static_cast<DWORD>(FILE_FLAG_NO_BUFFERING) : 0u);
    }
}

struct S_FailureCase {
    const char* pszName;
    int nDirection;
    std::function<void(C_FaultyQuickFile&)> inject;
    int nMessageId;
    UINT uStyle;
    int nReturn;
    DWORD dwError;          // %2 of the open, write and read messages
    uint64_t ullPosition;   // %5 of the write and read messages
    bool bFileLeft;
    size_t nLengthLeft;
};

TEST_F(SpeedTest, FailureTable)
{
    const std::vector<S_FailureCase> cases = {
        {"open fails", 1, [](C_FaultyQuickFile& f) { f.openFault = {1, ERROR_ACCESS_DENIED}; },
         TEXT_CANT_OPEN, kExclamation, 0, ERROR_ACCESS_DENIED, 0, false, 0},
        {"unbuffered reopen fails", 1, [](C_FaultyQuickFile& f) { f.openFault = {2, ERROR_SHARING_VIOLATION}; },
         TEXT_CANT_OPEN, kExclamation, 0, ERROR_SHARING_VIOLATION, 0, true, 0},
        {"seek to the new end fails", 1, [](C_FaultyQuickFile& f) { f.seekFault = {1, ERROR_INVALID_PARAMETER}; },
         TEXT_CANT_SEEK_END, MB_OK, 0, 0, 0, true, 0},
        {"set end of file fails, the pass goes on", 1,
         [](C_FaultyQuickFile& f) { f.setEndFault = {1, ERROR_DISK_FULL}; }, TEXT_CANT_SET_END, MB_OK, 1, 0, 0,
         true, kFileSize},
        {"seek back to the start fails", 1, [](C_FaultyQuickFile& f) { f.seekFault = {2, ERROR_INVALID_PARAMETER}; },
         TEXT_CANT_SEEK_START, MB_OK, 0, 0, 0, true, 0},
        {"third block cannot be written", 1, [](C_FaultyQuickFile& f) { f.writeFault = {3, ERROR_CRC}; },
         TEXT_CANT_WRITE, kExclamation, 0, ERROR_CRC, 2 * kBlock, true, 0},
        {"second block comes back short", 1, [](C_FaultyQuickFile& f) { f.nShortWriteAt = 2; }, TEXT_CANT_WRITE,
         kExclamation, 0, ERROR_DISK_FULL, kBlock, true, 0},
        {"no system resources, then a piece fails", 1,
         [](C_FaultyQuickFile& f) {
             f.nNoResourcesAt = 1;
             f.writeFault = {2, ERROR_NOT_READY};
         },
         TEXT_CANT_WRITE, kExclamation, 0, ERROR_NOT_READY, 0, true, 0},
        {"flush fails", 1, [](C_FaultyQuickFile& f) { f.flushFault = {1, ERROR_WRITE_FAULT}; }, TEXT_CANT_FLUSH,
         kExclamation, 0, 0, 0, true, 0},
        {"read: open fails", 0, [](C_FaultyQuickFile& f) { f.openFault = {1, ERROR_FILE_NOT_FOUND}; },
         TEXT_CANT_OPEN, kExclamation, 0, ERROR_FILE_NOT_FOUND, 0, true, kFileSize},
        {"read: fifth block cannot be read", 0, [](C_FaultyQuickFile& f) { f.readFault = {5, ERROR_CRC}; },
         TEXT_CANT_READ, kExclamation, 0, ERROR_CRC, 4 * kBlock, true, kFileSize},
        {"read: the file is shorter", 0, [](C_FaultyQuickFile& f) { f.vData.resize(kFileSize / 2); },
         TEXT_CANT_READ, kExclamation, 0, ERROR_HANDLE_EOF, kFileSize / 2, true, kFileSize / 2},
    };
    for (const S_FailureCase& c : cases) {
        SCOPED_TRACE(c.pszName);
        Fresh();
        if (c.nDirection == 0)
            file.PlaceFile(kPath, kFileSize, 0x5A);
        events.vMessages.clear();
        strResult = "before";
        strWarning.clear();
        c.inject(file);

        EXPECT_EQ(Run(c.nDirection), c.nReturn);
        ASSERT_EQ(events.vMessages.size(), 1u);
        const S_PassMessage& message = events.vMessages[0];
        EXPECT_EQ(message.nMessageId, c.nMessageId);
        EXPECT_EQ(message.uStyle, c.uStyle);
        switch (c.nMessageId) {
        case TEXT_CANT_OPEN:
            EXPECT_EQ(message.strPath, kPath);
            EXPECT_EQ(message.dwError, c.dwError);
            EXPECT_FALSE(message.strErrorText.empty());
            break;
        case TEXT_CANT_SEEK_END:
        case TEXT_CANT_SET_END:
            EXPECT_EQ(message.ullMBytes, 1u);
            break;
        case TEXT_CANT_WRITE:
        case TEXT_CANT_READ:
            EXPECT_EQ(message.strPath, kPath);
            EXPECT_EQ(message.dwError, c.dwError);
            EXPECT_FALSE(message.strErrorText.empty());
            EXPECT_EQ(message.ulBlockSize, kBlock);
            EXPECT_EQ(message.ullPosition, c.ullPosition);
            EXPECT_EQ(message.ullFileSize, kFileSize);
            break;
        default:
            break;
        }
        EXPECT_EQ(file.bExists, c.bFileLeft);
        EXPECT_EQ(file.vData.size(), c.nLengthLeft);
        EXPECT_EQ(file.nOpenFiles, 0u);   // closed in every case
        if (c.nReturn == 0) {
            EXPECT_EQ(strResult, "");
            EXPECT_EQ(ulRate, 0u);
        } else {
            EXPECT_NE(strResult, "");
        }
    }
}

TEST_F(SpeedTest, MessageTextsCarryTheirInserts)
{
    S_PassMessage message;
    message.nMessageId = TEXT_CANT_WRITE;
    message.strPath = kPath;
    message.dwError = ERROR_CRC;
    message.strErrorText = "Data error";
    message.ulBlockSize = 0x10000;
    message.ullPosition = 0x123456789ull;
    message.ullFileSize = 0x2FA000000ull;
    const std::string strText = PassMessageText(message);
    for (const char* pszPart : {kPath, "23", "Data error", "0x10000", "0x123456789", "0x2FA000000"}) {
        SCOPED_TRACE(pszPart);
        EXPECT_NE(strText.find(pszPart), std::string::npos) << strText;
    }
    message = S_PassMessage();
    message.nMessageId = TEXT_CANT_SEEK_END;
    message.ullMBytes = 10000;
    EXPECT_NE(PassMessageText(message).find("10000"), std::string::npos);
    message.nMessageId = TEXT_CANT_FLUSH;
    EXPECT_EQ(PassMessageText(message), Texts().LoadText(TEXT_CANT_FLUSH));
}

TEST_F(SpeedTest, NoSystemResourcesRetriesInPieces)
{
    // A 3 MiB block that the system refuses whole moves as three 1 MiB pieces.
    state.ullFileSize.store(6 * 1048576);
    file.nNoResourcesAt = 1;
    ASSERT_EQ(Run(1, 3 * 1048576), 1);
    EXPECT_TRUE(events.vMessages.empty());
    ASSERT_EQ(file.vData.size(), 6u * 1048576);
    for (int nBlock = 0; nBlock < 2; ++nBlock) {
        SCOPED_TRACE(nBlock);
        EXPECT_EQ(std::memcmp(file.vData.data() + nBlock * 3 * 1048576, buffer.Data(), 3 * 1048576), 0);
    }
}

TEST_F(SpeedTest, StopDuringWriteLeavesEmptyFileAndNoMessage)
{
    file.onTransfer = [this](uint64_t ullTransfers) {
        if (ullTransfers == 4)
            state.RequestStop();
    };
    EXPECT_EQ(Run(1), 0);
    EXPECT_TRUE(events.vMessages.empty());
    EXPECT_TRUE(file.bExists);
    EXPECT_EQ(file.vData.size(), 0u);
    EXPECT_EQ(strResult, "");
    EXPECT_EQ(ulRate, 0u);
    EXPECT_EQ(state.ullBytesDone.load(), 4u * kBlock);
    // Four blocks, then the file is emptied and closed without a flush.
    EXPECT_EQ(file.TraceText(), "open, fsctl, close, open, seek 1048576, setend, seek 0, write 65536, "
                                "write 65536, write 65536, write 65536, seek 0, setend, close");
}

TEST_F(SpeedTest, StopDuringReadKeepsFile)
{
    file.PlaceFile(kPath, kFileSize, 0x5A);
    file.onTransfer = [this](uint64_t ullTransfers) {
        if (ullTransfers == 2)
            state.RequestStop();
    };
    EXPECT_EQ(Run(0), 0);
    EXPECT_TRUE(events.vMessages.empty());
    EXPECT_EQ(file.vData.size(), kFileSize);
    EXPECT_EQ(strResult, "");
}

TEST_F(SpeedTest, BlockSizeThatDoesNotDivideTheFile)
{
    // 1 MiB in blocks of 12 kiB: 85 whole blocks, the last 4 kiB are left out,
    // and the rate still counts the whole file.
    file.onTransfer = [](uint64_t) { C_QuickTestClock::Advance(1000); };
    ASSERT_EQ(Run(1, 12288), 1);
    EXPECT_EQ(file.vData.size(), kFileSize);   // the full length from the preparation
    size_t nWrites = 0;
    for (const std::string& strEntry : file.vTrace)
        nWrites += strEntry == "write 12288";
    EXPECT_EQ(nWrites, 85u);
    EXPECT_EQ(state.ullBytesDone.load(), 85u * 12288);
    // 1048576 bytes in 85 ms
    EXPECT_EQ(strResult, "11.8 MByte/sec");
    EXPECT_EQ(ulRate, 11u);
    EXPECT_EQ(file.nAlignmentFaults, 0u);

    ASSERT_EQ(Run(0, 12288), 1);
    EXPECT_EQ(state.ullBytesDone.load(), 85u * 12288);
}

TEST_F(SpeedTest, BlockLongerThanTheFileMovesTheFileOnce)
{
    // 4 MiB blocks on a 1 MiB file: one transfer of the file's length each
    // way, rated as the file, and the file keeps its length.
    file.onTransfer = [](uint64_t) { C_QuickTestClock::Advance(10000); };
    ASSERT_EQ(Run(1, 4 * 1048576), 1);
    EXPECT_EQ(file.TraceText(), "open, fsctl, close, open, seek 1048576, setend, seek 0, write 1048576, flush, close");
    EXPECT_EQ(file.vData.size(), kFileSize);
    EXPECT_EQ(state.ullBytesDone.load(), kFileSize);
    EXPECT_EQ(strResult, "100.0 MByte/sec");   // 1 MiB in 10 ms
    ASSERT_EQ(Run(0, 4 * 1048576), 1);
    EXPECT_EQ(state.ullBytesDone.load(), kFileSize);
}

TEST_F(SpeedTest, TooFast)
{
    // The test clock stands still: 0 µs.
    ASSERT_EQ(Run(1, kBlock, USB_SPEED_HIGH), 1);
    EXPECT_EQ(strResult, Texts().LoadText(TEXT_TOO_FAST));
    EXPECT_EQ(ulRate, 0u);
    EXPECT_EQ(strWarning, "");   // no rating without a rate
    // 11 µs are rated.
    bool bFirst = true;
    file.onTransfer = [&bFirst](uint64_t) {
        if (bFirst)
            C_QuickTestClock::Advance(11);
        bFirst = false;
    };
    ASSERT_EQ(Run(0, kBlock, USB_SPEED_HIGH), 1);
    EXPECT_NE(strResult, Texts().LoadText(TEXT_TOO_FAST));
}

TEST_F(SpeedTest, UsbRemarkOfASlowPass)
{
    // 1 MiB in 100 ms: 10 MiB/s, slow for USB2 in both directions and for USB3.
    file.onTransfer = [](uint64_t) { C_QuickTestClock::Advance(6250); };
    ASSERT_EQ(Run(1, kBlock, USB_SPEED_SUPER_ON_HIGH), 1);
    EXPECT_EQ(strResult, "10.0 MByte/sec");
    EXPECT_EQ(strWarning, Texts().LoadText(TEXT_SLOW_USB2) + " " + Texts().LoadText(TEXT_USB3_ON_USB2));
    strWarning.clear();
    ASSERT_EQ(Run(0, kBlock, USB_SPEED_SUPER), 1);
    EXPECT_EQ(strWarning, Texts().LoadText(TEXT_SLOW_USB3));
}

TEST_F(SpeedTest, StandInRefusesUnalignedUnbufferedTransfers)
{
    // What real Windows refuses and Wine allows: the stand-in catches it.
    EXPECT_EQ(WorkerDoSpeedtest(context, 1, kPath, buffer.Data() + 512, kBlock, strResult, USB_SPEED_NONE,
                                strWarning, ulRate),
              0);
    ASSERT_EQ(events.vMessages.size(), 1u);
    EXPECT_EQ(events.vMessages[0].dwError, static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(file.nAlignmentFaults, 1u);
}

} // namespace
