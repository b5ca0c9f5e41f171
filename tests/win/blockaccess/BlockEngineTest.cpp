// The Block Access run on simulated disks: where the accesses go, what the
// data file and the CRC line get, the graph feed, the block-by-block read
// after a CRC error, the stop, and the runs that end before any access.
#include "blockaccess/win/BlockEngine.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "blockaccess/core/UdmaCrc.h"
#include "blockaccess/win/BlockTextIds.h"
#include "blockaccess/win/BlockWriteGate.h"
#include "device/core/RudvaneTypes.h"
#include "device/win/EnumPasses.h"
#include "device/win/Rudvane.h"
#include "framework/win/ErrorText.h"
#include "framework/win/TestFile.h"
#include "framework/win/Texts.h"
#include "tests/support/win/TempFiles.h"
#include "tests/support/win/TestDevice.h"
#include "tests/win/blockaccess/BlockTestParts.h"

namespace {

std::vector<uint8_t> Image(const C_SimulatedScsiTarget& target, uint64_t ullLba, uint32_t ulCount)
{
    std::vector<uint8_t> v(static_cast<size_t>(ulCount) * target.ulBlockSize);
    target.ReadImage(ullLba, ulCount, v.data());
    return v;
}

std::vector<uint8_t> Bytes(const std::string& strText)
{
    return std::vector<uint8_t>(strText.begin(), strText.end());
}

std::string AccessText(uint64_t ullBlocks, uint64_t ullBlock, DWORD dwError)
{
    char szError[kErrorTextBuffer];
    const char* pszError = GetErrorText(dwError, szError);
    const std::string strHint = dwError == ERROR_INVALID_PARAMETER ? Texts().LoadText(BLOCK_TEXT_HINT_87) : "";
    return Texts().FormatText(BLOCK_TEXT_CANT_ACCESS, ullBlocks, ullBlock, dwError, pszError ? pszError : "",
                              strHint.c_str());
}

class BlockEngine : public C_DeviceLayerTest {
protected:
    // A disk of ullBlocks blocks as the enumeration makes it, written to
    // freely (its identity is confirmed).
    C_RudvaneHandleDevice& UseDisk(uint64_t ullBlocks)
    {
        pDisk = std::make_unique<S_SimulatedDisk>(ullBlocks);
        pDevice = RudvaneProbePhysicalDrive(pDisk->io, "\\\\.\\PhysicalDrive5", 5);
        EXPECT_NE(pDevice, nullptr);
        confirmations.Remember(BlockDeviceIdentity(*pDevice));
        pDisk->io.vOpened.clear();
        pDisk->io.vTransfers.clear();
        return *pDevice;
    }

    S_BlockRunResult Run(const S_BlockRunOptions& options)
    {
        events = C_RecordingBlockEvents();
        graph = C_RecordingGraph();
        return engine.Run(pDevice.get(), options);
    }

    std::vector<uint64_t> AccessedBlocks(bool bWrite) const
    {
        std::vector<uint64_t> v;
        for (const auto& transfer : pDisk->io.vTransfers)
            if (transfer.bWrite == bWrite)
                v.push_back(transfer.ullOffset / 512);
        return v;
    }

    C_TempFolder folder;
    std::unique_ptr<S_SimulatedDisk> pDisk;
    std::unique_ptr<C_RudvaneHandleDevice> pDevice;
    C_RecordingBlockEvents events;
    C_MemoryConfirmations confirmations;
    C_TestFile dataFile;
    C_RecordingGraph graph;
    C_BlockEngine engine{events, confirmations, dataFile, &graph};
};

TEST_F(BlockEngine, ALinearReadStepsOverTheSkippedBlocksAndCapturesEveryBuffer)
{
    ASSERT_EQ(BitwiseUdmaCrc(reinterpret_cast<const uint8_t*>("abcd"), 4), 0x92F3);
    UseDisk(20000);
    S_BlockRunOptions options = BlockOptions(E_BlockMode::Linear, false, 0, 10000, 1000, 1000);
    options.bGraph = options.bCrc = options.bSaveData = true;
    options.strDataFile = folder / "_data.bin";

    const S_BlockRunResult result = Run(options);
    EXPECT_EQ(result.eEnd, E_BlockRunEnd::Completed);
    EXPECT_EQ(AccessedBlocks(false), (std::vector<uint64_t>{0, 2000, 4000, 6000, 8000}));
    std::vector<uint8_t> expected;
    for (uint64_t ullLba = 0; ullLba < 10000; ullLba += 2000) {
        const std::vector<uint8_t> block = Image(pDisk->target, ullLba, 1000);
        expected.insert(expected.end(), block.begin(), block.end());
    }
    EXPECT_TRUE(Bytes(ReadWholeFile(options.strDataFile)) == expected);
    const std::vector<uint8_t> last = Image(pDisk->target, 8000, 1000);
    ASSERT_EQ(events.vCrcs.size(), 6u);
    EXPECT_EQ(events.vCrcs.front(), "");
    EXPECT_EQ(events.vCrcs.back(), UdmaCrcText(BitwiseUdmaCrc(last.data(), last.size())));
    EXPECT_EQ(result.record.strCrc, events.vCrcs.back());

    EXPECT_EQ(events.vCalls, (std::vector<std::string>{"starting", "checked", "progress", "ended"}));
    EXPECT_EQ(events.check.strBufferSize, "500 kBytes");
    EXPECT_EQ(events.vSpeeds.size(), 6u);  // emptied, then one line per access
    EXPECT_EQ(graph.vStarts, std::vector<uint32_t>{5});
    ASSERT_EQ(graph.vPoints.size(), 5u);
    for (uint32_t i = 0; i < 5; ++i)
        EXPECT_EQ(graph.vPoints[i].first, i);
    EXPECT_EQ(graph.nCloses, 0);
    EXPECT_EQ(engine.GetLoop(), 5u);
    EXPECT_EQ(engine.ProgressPercent(), 100);
    EXPECT_EQ(result.record.summary.ullAccesses, 5u);
    EXPECT_EQ(result.record.summary.ullBytes, 5u * 512000);
    // One handle for the whole run, closed at its end.
    EXPECT_EQ(pDisk->io.vOpened.size(), 1u);
    EXPECT_EQ(pDisk->io.OpenHandles(), 0);
    EXPECT_EQ(pDevice->GetOpenCount(), 0);

    // Rates over pairs of accesses: the graph starts at 0 and gets each
    // pair's rate at the pair's last access; the fifth access closes no group.
    options.boxes.strCalcEvery = "2";
    options.bSaveData = false;
    const S_BlockRunResult paired = Run(options);
    EXPECT_EQ(paired.eEnd, E_BlockRunEnd::Completed);
    ASSERT_EQ(graph.vPoints.size(), 3u);
    EXPECT_EQ(graph.vPoints[0], std::make_pair(0u, 0.0f));
    EXPECT_EQ(graph.vPoints[1].first, 1u);
    EXPECT_EQ(graph.vPoints[2].first, 3u);
    EXPECT_EQ(events.vSpeeds.size(), 3u);
    EXPECT_EQ(paired.record.summary.ullGroups, 2u);
}

TEST_F(BlockEngine, WritesLandOnTheirBlocksAndNowhereElseInEveryMode)
{
    struct Case {
        const char* pszName;
        S_BlockRunOptions options;
        std::vector<uint64_t> vBlocks;   // empty: anywhere that fits
    };
    const std::vector<Case> cases = {
        {"linear", BlockOptions(E_BlockMode::Linear, true, 100, 400, 100, 50), {100, 250}},
        {"seek", BlockOptions(E_BlockMode::Seek, true, 100, 400, 100, 0, 1, 4), {100, 300, 100, 300}},
        {"random", BlockOptions(E_BlockMode::Random, true, 100, 400, 100, 0, 1, 300), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        UseDisk(1000);
        S_BlockRunOptions options = c.options;
        std::string strSource(3 * 51200, '\0');
        for (size_t i = 0; i < strSource.size(); ++i)
            strSource[i] = static_cast<char>(i * 7 + i / 51200);
        if (options.mode == E_BlockMode::Linear) {
            options.bSaveData = true;
            options.strDataFile = folder / "source.bin";
            ASSERT_TRUE(WriteWholeFile(options.strDataFile, strSource));
        }
        const S_BlockRunResult result = Run(options);
        EXPECT_EQ(result.eEnd, E_BlockRunEnd::Completed);
        const std::vector<uint64_t> vWritten = AccessedBlocks(true);
        EXPECT_TRUE(AccessedBlocks(false).empty());
        if (!c.vBlocks.empty()) {
            EXPECT_EQ(vWritten, c.vBlocks);
        }
        ASSERT_FALSE(vWritten.empty());
        EXPECT_GE(*std::min_element(vWritten.begin(), vWritten.end()), 100u);
        EXPECT_LE(*std::max_element(vWritten.begin(), vWritten.end()), 300u);
        for (uint64_t ullLba = 0; ullLba < 1000; ++ullLba) {
            if (ullLba < 100 || ullLba >= 400) {
                ASSERT_FALSE(pDisk->target.IsWritten(ullLba)) << ullLba;
            }
        }
        if (options.mode == E_BlockMode::Linear) {
            // Every access sends the file's first buffer.
            const std::vector<uint8_t> first(strSource.begin(), strSource.begin() + 51200);
            EXPECT_EQ(Image(pDisk->target, 100, 100), first);
            EXPECT_EQ(Image(pDisk->target, 250, 100), first);
            EXPECT_EQ(pDisk->target.WrittenBlocks(), 200u);
        }
    }
}

TEST_F(BlockEngine, ACrcErrorIsReadAgainBlockByBlockAndOnlyDamagedBlocksBecomeZeros)
{
    struct Case {
        const char* pszName;
        std::vector<std::pair<uint64_t, DWORD>> vDamage;
        uint64_t ullZeroed;        // blocks read as zeros
        DWORD dwFailure;           // 0: the run completes
        uint64_t ullFailedBlock;
    };
    const std::vector<Case> cases = {
        {"CRC error on block 5 of 8", {{5, ERROR_CRC}}, 1, 0, 0},
        {"and a device error beside it", {{5, ERROR_CRC}, {6, ERROR_IO_DEVICE}}, 2, 0, 0},
        {"another error in the retry", {{5, ERROR_CRC}, {6, ERROR_NOT_READY}}, 1, ERROR_NOT_READY, 0},
        {"a device error alone is no CRC error", {{11, ERROR_IO_DEVICE}}, 0, ERROR_IO_DEVICE, 8},
        {"error 87 adds the hint", {{9, ERROR_INVALID_PARAMETER}}, 0, ERROR_INVALID_PARAMETER, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        UseDisk(64);
        for (const auto& damage : c.vDamage)
            pDisk->io.mapReadErrors[damage.first] = damage.second;
        S_BlockRunOptions options = BlockOptions(E_BlockMode::Linear, false, 0, 16, 8);
        options.bSaveData = options.bGraph = true;
        options.strDataFile = folder / "_data.bin";
        const S_BlockRunResult result = Run(options);
        EXPECT_EQ(result.ullZeroedBlocks, c.ullZeroed);

        std::vector<uint8_t> expected = Image(pDisk->target, 0, 16);
        for (const auto& damage : c.vDamage)
            if (damage.second == ERROR_CRC || damage.second == ERROR_IO_DEVICE)
                std::memset(&expected[damage.first * 512], 0, 512);
        if (c.dwFailure == 0) {
            EXPECT_EQ(result.eEnd, E_BlockRunEnd::Completed);
            EXPECT_TRUE(events.vMessages.empty());
            EXPECT_EQ(graph.nCloses, 0);
            EXPECT_TRUE(Bytes(ReadWholeFile(options.strDataFile)) == expected);
            continue;
        }
        EXPECT_EQ(result.eEnd, E_BlockRunEnd::AccessFailed);
        EXPECT_EQ(result.record.ulError, c.dwFailure);
        EXPECT_EQ(result.record.ullFailedBlock, c.ullFailedBlock);
        ASSERT_EQ(events.vMessages.size(), 1u);
        EXPECT_EQ(events.vMessages[0].strText, AccessText(8, c.ullFailedBlock, c.dwFailure));
        EXPECT_EQ(graph.nCloses, 1);
        // The accesses before the failed one are in the file, nothing of it.
        expected.resize(c.ullFailedBlock * 512);
        EXPECT_TRUE(Bytes(ReadWholeFile(options.strDataFile)) == expected);
    }
}

TEST_F(BlockEngine, AStopIsSeenBeforeTheNextAccessAndTheNextRunStartsAfresh)
{
    UseDisk(20000);
    S_BlockRunOptions options = BlockOptions(E_BlockMode::Linear, false, 0, 10000, 100);
    options.bGraph = options.bSaveData = true;
    options.strDataFile = folder / "_data.bin";
    int nSpeeds = 0;
    events.onSpeed = [&] {
        if (++nSpeeds == 3)   // the emptied line, then two accesses
            engine.RequestStop();
    };
    const S_BlockRunResult stopped = engine.Run(pDevice.get(), options);
    EXPECT_EQ(stopped.eEnd, E_BlockRunEnd::Stopped);
    EXPECT_TRUE(stopped.record.bStopped);
    EXPECT_EQ(AccessedBlocks(false).size(), 2u);
    EXPECT_EQ(engine.GetLoop(), 2u);
    EXPECT_EQ(engine.ProgressPercent(), 2);
    EXPECT_EQ(graph.nCloses, 0);  // the last access succeeded: the graph stays
    EXPECT_EQ(events.vCalls.back(), "ended");
    // The data file is closed: it can be deleted at once.
    EXPECT_EQ(ReadWholeFile(options.strDataFile).size(), 2u * 51200);
    EXPECT_TRUE(::DeleteFileA(options.strDataFile.c_str()));
    EXPECT_EQ(pDevice->GetOpenCount(), 0);

    pDisk->io.vTransfers.clear();
    const S_BlockRunResult again = Run(options);
    EXPECT_EQ(again.eEnd, E_BlockRunEnd::Completed);
    EXPECT_EQ(AccessedBlocks(false).size(), 100u);
}

TEST_F(BlockEngine, ParametersThatLeaveNoRoomMakeNoAccess)
{
    struct Case {
        const char* pszName;
        S_BlockRunOptions options;
        E_BlockRunProblem problem;
        bool bMessage;
    };
    const std::vector<Case> cases = {
        {"random in a range smaller than one access", BlockOptions(E_BlockMode::Random, false, 0, 50, 100, 0, 1, 10),
         E_BlockRunProblem::RangeSmallerThanAccess, true},
        {"seek likewise", BlockOptions(E_BlockMode::Seek, true, 10, 60, 100, 0, 1, 10),
         E_BlockRunProblem::RangeSmallerThanAccess, true},
        {"linear without one whole step", BlockOptions(E_BlockMode::Linear, false, 0, 150, 100, 60),
         E_BlockRunProblem::LinearDoesNotFit, false},
        {"a buffer of 4 GiB", BlockOptions(E_BlockMode::Linear, false, 0, 1ull << 26, 1ull << 23),
         E_BlockRunProblem::BufferTooLarge, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        UseDisk(1ull << 26);
        S_BlockRunOptions options = c.options;
        options.bGraph = true;
        const S_BlockRunResult result = Run(options);
        EXPECT_EQ(result.eEnd, E_BlockRunEnd::NoAccess);
        EXPECT_EQ(result.record.problem, c.problem);
        EXPECT_TRUE(pDisk->io.vTransfers.empty());
        EXPECT_EQ(events.vCalls.back(), "ended");
        EXPECT_EQ(std::count(events.vCalls.begin(), events.vCalls.end(), "progress"), 0);
        ASSERT_EQ(events.vMessages.size(), c.bMessage ? 1u : 0u);
        if (c.bMessage) {
            EXPECT_EQ(events.vMessages[0].strText,
                      AccessText(100, result.record.params.ullStart, ERROR_SECTOR_NOT_FOUND));
        }
        // A linear graph run that made no access closes the graph.
        EXPECT_EQ(graph.nCloses, options.mode == E_BlockMode::Linear ? 1 : 0);
        EXPECT_TRUE(graph.vPoints.empty());
    }
}

TEST_F(BlockEngine, RefusalsEndTheRunBeforeAnythingIsWritten)
{
    UseDisk(1000);
    S_BlockRunOptions write = BlockOptions(E_BlockMode::Linear, true, 0, 100, 10);
    write.bGraph = true;

    // No device selected.
    C_BlockEngine idle(events, confirmations, dataFile, &graph);
    EXPECT_EQ(idle.Run(nullptr, write).eEnd, E_BlockRunEnd::NoDevice);
    EXPECT_EQ(events.vCalls, std::vector<std::string>{"ended"});

    // Asked and answered No: quietly nothing.
    confirmations.setConfirmed.clear();
    events.bAnswerYes = false;
    C_BlockEngine asking(events, confirmations, dataFile, &graph);
    events.vCalls.clear();
    EXPECT_EQ(asking.Run(pDevice.get(), write).eEnd, E_BlockRunEnd::Declined);
    EXPECT_EQ(events.vCalls, (std::vector<std::string>{"question", "ended"}));
    EXPECT_EQ(graph.nCloses, 1);
    EXPECT_TRUE(confirmations.setConfirmed.empty());
    confirmations.Remember(BlockDeviceIdentity(*pDevice));

    // The data file of a write must exist and hold a whole buffer; that of a
    // read must be creatable.
    struct Case {
        const char* pszName;
        bool bWrite;
        std::string strFile;
        std::string strContent;   // written first when not empty
        int nTextId;
    };
    const std::vector<Case> cases = {
        {"missing source", true, folder / "missing.bin", "", BLOCK_TEXT_CANT_OPEN_DATA},
        {"short source", true, folder / "short.bin", std::string(5119, 'x'), BLOCK_TEXT_CANT_READ_DATA},
        {"no folder for the capture", false, folder / "none\\_data.bin", "", BLOCK_TEXT_CANT_CREATE_DATA},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        if (!c.strContent.empty()) {
            ASSERT_TRUE(WriteWholeFile(c.strFile, c.strContent));
        }
        S_BlockRunOptions options = BlockOptions(E_BlockMode::Linear, c.bWrite, 0, 100, 10);
        options.bSaveData = true;
        options.strDataFile = c.strFile;
        EXPECT_EQ(Run(options).eEnd, E_BlockRunEnd::Refused);
        ASSERT_EQ(events.vMessages.size(), 1u);
        EXPECT_EQ(events.vMessages[0].strText, Texts().FormatText(c.nTextId, c.strFile.c_str()));
        EXPECT_TRUE(pDisk->io.vTransfers.empty());
    }

    // The system volume, confirmed or not, is never written.
    const char cSystem = RudvaneGetSystemLetter();
    S_SimulatedDisk system(1000);
    system.io.strLetters.assign(1, cSystem);
    std::unique_ptr<C_RudvaneHandleDevice> pSystem = RudvaneProbeVolume(system.io, cSystem);
    ASSERT_NE(pSystem, nullptr);
    confirmations.Remember(BlockDeviceIdentity(*pSystem));
    events = C_RecordingBlockEvents();
    EXPECT_EQ(engine.Run(pSystem.get(), write).eEnd, E_BlockRunEnd::Refused);
    ASSERT_EQ(events.vMessages.size(), 1u);
    EXPECT_EQ(events.vMessages[0].dwError, static_cast<DWORD>(RUDVANE_ERROR_SYSTEM_DEVICE));
    EXPECT_EQ(events.vCalls, (std::vector<std::string>{"starting", "checked", "message 0", "ended"}));
    EXPECT_EQ(system.target.WrittenBlocks(), 0u);
    EXPECT_EQ(system.io.OpenHandles(), 0);
}

} // namespace
