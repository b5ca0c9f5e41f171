// The capacity check on simulated disks: true ones, counterfeits that wrap
// or drop what lies beyond their real size, one that keeps an earlier run's
// data where it drops writes, damaged and vanishing ones, and one whose
// clean (asked for by a write to block 0) wipes the disk's first and last
// MiB. The regions are shrunk (64 KiB, 2 MiB written per round) so that a
// claimed 128 MiB needs several rounds.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "blockaccess/core/VerifyStamp.h"
#include "blockaccess/win/VerifyRunner.h"
#include "device/win/Rudvane.h"
#include "tests/support/win/TestDevice.h"

namespace {

constexpr uint64_t kClaimed = 1ull << 18;   // 128 MiB of 512-byte blocks

class C_RecordingVerifyEvents : public I_VerifyEvents {
public:
    struct S_Phase {
        uint32_t ulRound;
        E_VerifyPhase ePhase;
        uint64_t ullBytes;
    };
    void PhaseStarting(uint32_t ulRound, E_VerifyPhase ePhase, uint64_t ullBytes) override
    {
        vPhases.push_back({ulRound, ePhase, ullBytes});
        if (onPhase)
            onPhase(ePhase);
    }
    void AccessFailed(E_VerifyPhase ePhase, uint64_t ullLba, uint64_t ullCount, uint32_t ulError) override
    {
        vFailures.push_back({ullLba, ullCount});
        vFailurePhases.push_back(ePhase);
        dwLastError = ulError;
    }

    std::function<void(E_VerifyPhase)> onPhase;
    std::vector<S_Phase> vPhases;
    std::vector<S_BlockSpan> vFailures;
    std::vector<E_VerifyPhase> vFailurePhases;
    DWORD dwLastError = 0;
};

S_VerifyOptions SmallRegions(bool bFull = false, bool bRestore = false)
{
    S_VerifyOptions options;
    options.bFull = bFull;
    options.bRestore = bRestore;
    options.limits.ullRegionBytes = 64 * 1024;
    options.limits.ulMinRegions = 16;
    options.limits.ulMaxRegions = 64;
    options.limits.ullMinWriteBytes = 2u << 20;
    options.ulAccessBytes = 64 * 1024;
    return options;
}

// Every block the device shows, as it was before the run: blocks never
// written read as the target's fill pattern of the block they land on.
void ExpectUntouched(const C_SimulatedScsiTarget& target)
{
    std::vector<uint8_t> vSeen(128 * 512), vWas(512);
    for (uint64_t ullLba = 0; ullLba < target.ullBlocks; ullLba += 128) {
        target.ReadImage(ullLba, 128, vSeen.data());
        for (uint32_t i = 0; i < 128; ++i) {
            uint64_t ullPlace = ullLba + i;
            if (target.ullRealBlocks != 0 && ullPlace >= target.ullRealBlocks) {
                if (target.eFake == FAKE_DROP)
                    continue;
                ullPlace %= target.ullRealBlocks;
            }
            C_SimulatedScsiTarget::FillPattern(ullPlace, 512, vWas.data());
            if (std::memcmp(vSeen.data() + i * 512, vWas.data(), 512) != 0) {
                ADD_FAILURE() << "block " << ullLba + i << " changed";
                return;
            }
        }
    }
}

using VerifyRunnerTest = C_DeviceLayerTest;

TEST_F(VerifyRunnerTest, CounterfeitsAreFoundToTheBlockInQuickAndFullMode)
{
    struct Case {
        E_FakeCapacity eFake;
        uint64_t ullReal;
    };
    const std::vector<Case> cases = {
        {FAKE_WRAP, 37 * 1024 + 5},   // between two regions of the first round
        {FAKE_WRAP, 1ull << 16},      // a power of two, as flash comes
        {FAKE_WRAP, 300},             // less than one window
        {FAKE_WRAP, kClaimed - 129},  // inside the last region
        {FAKE_DROP, 37 * 1024 + 5},
        {FAKE_DROP, 1ull << 16},
    };
    for (const Case& c : cases) {
        for (const bool bFull : {false, true}) {
            SCOPED_TRACE((c.eFake == FAKE_WRAP ? "wrap at " : "drop at ") + std::to_string(c.ullReal) +
                         (bFull ? ", full" : ", quick"));
            C_TestDevice device(kClaimed);
            device.target.ullRealBlocks = c.ullReal;
            device.target.eFake = c.eFake;
            C_RecordingVerifyEvents events;
            C_VerifyRunner runner(device, events);
            const S_VerifyRunRecord record = runner.Run(SmallRegions(bFull));
            const S_VerifyFindings& f = record.findings;
            ASSERT_TRUE(record.bFinished) << record.strError;
            EXPECT_TRUE(f.bAnyBad);
            EXPECT_EQ(f.ullFirstBad, c.ullReal);
            EXPECT_EQ(f.ullGoodBlocks, c.ullReal);
            EXPECT_TRUE(f.bResolved);
            EXPECT_EQ(VerifyRunVerdict(record),
                      "only the first " + VerifyGigabyteText(c.ullReal * 512) + " GB hold: counterfeit or damaged");
            EXPECT_GT(f.counts.ullBad, 0u);
            EXPECT_EQ(f.counts.ullWrapped > 0, c.eFake == FAKE_WRAP);
            EXPECT_EQ(f.counts.ullUnreadable + f.counts.ullStale + f.counts.ullUnwritten, 0u);
            if (bFull) {
                EXPECT_EQ(f.counts.ullBad, kClaimed - c.ullReal);
                EXPECT_EQ(record.ullWrittenBytes, kClaimed * 512);
            } else {
                EXPECT_GE(record.ulRounds, 2u);
                EXPECT_LT(record.ullWrittenBytes, kClaimed * 512 / 4);
            }
        }
    }
}

TEST_F(VerifyRunnerTest, TrueDeviceHoldsAndEachRoundWritesEnoughBeforeReading)
{
    C_TestDevice device(kClaimed);
    device.io.RefusePassThrough();   // every transfer through the handle, so vTransfers shows it
    C_RecordingVerifyEvents events;
    C_VerifyRunner runner(device, events);
    S_VerifyOptions options = SmallRegions();
    options.ulAccessBytes = 1u << 20;
    options.limits.ullMinWriteBytes = 8u << 20;   // more than the regions: filler makes up the rest
    const S_VerifyRunRecord record = runner.Run(options);
    ASSERT_TRUE(record.bFinished);
    EXPECT_FALSE(record.findings.bAnyBad);
    EXPECT_EQ(record.findings.GoodBytes(), kClaimed * 512);
    EXPECT_EQ(VerifyRunVerdict(record), "capacity holds");
    EXPECT_EQ(record.ulRounds, 1u);
    EXPECT_GT(record.ullWriteMicroseconds, 0u);

    // Writing, then filling, then reading; the stamps and the filler
    // together reach the minimum before anything is read back.
    ASSERT_EQ(events.vPhases.size(), 3u);
    EXPECT_EQ(events.vPhases[0].ePhase, E_VerifyPhase::Writing);
    EXPECT_EQ(events.vPhases[1].ePhase, E_VerifyPhase::Filling);
    EXPECT_EQ(events.vPhases[2].ePhase, E_VerifyPhase::Reading);
    EXPECT_GE(events.vPhases[0].ullBytes + events.vPhases[1].ullBytes / 2, options.limits.ullMinWriteBytes);
    // Block 0 alone first, asking for the clean once; the other stamps from
    // the top down.
    std::vector<uint64_t> vWrites;
    for (const auto& transfer : device.io.vTransfers)
        if (transfer.bWrite)
            vWrites.push_back(transfer.ullOffset / 512);
    ASSERT_GE(vWrites.size(), 3u);
    EXPECT_EQ(vWrites[0], 0u);
    EXPECT_EQ(vWrites[1], kClaimed - 128);
    EXPECT_EQ(device.io.vCleaned.size(), 1u);
}

TEST_F(VerifyRunnerTest, RestoreLeavesEveryBlockAsItWasAlsoAfterAStop)
{
    struct Case {
        const char* pszName;
        uint64_t ullReal;
        bool bStopAtWriting;
        bool bCleanWipes;
    };
    const std::vector<Case> cases = {
        {"true device", 0, false, false},
        {"wrapping counterfeit", 37 * 1024 + 5, false, false},
        {"stopped while writing", 0, true, false},
        {"a clean that wipes", 0, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        C_TestDevice device(kClaimed);
        device.target.ullRealBlocks = c.ullReal;
        device.io.bCleanWipes = c.bCleanWipes;
        C_RecordingVerifyEvents events;
        C_VerifyRunner runner(device, events);
        if (c.bStopAtWriting)
            events.onPhase = [&runner](E_VerifyPhase ePhase) {
                if (ePhase == E_VerifyPhase::Writing)
                    runner.RequestStop();
            };
        S_VerifyOptions options = SmallRegions(false, true);
        if (c.bCleanWipes)
            options.limits.ullRegionBytes = 1u << 20;   // what the system's clean wipes at each end
        const S_VerifyRunRecord record = runner.Run(options);
        EXPECT_TRUE(record.bRestored);
        EXPECT_EQ(record.ullUnrestoredBlocks, 0u);
        EXPECT_EQ(record.bStopped, c.bStopAtWriting);
        EXPECT_EQ(record.bFinished, !c.bStopAtWriting);
        if (c.bStopAtWriting) {
            EXPECT_EQ(VerifyRunVerdict(record), "");
            EXPECT_EQ(events.vPhases.back().ePhase, E_VerifyPhase::Restoring);
            EXPECT_GT(device.target.WrittenBlocks(), 0u);   // block 0 went out before the stop was seen
        } else {
            EXPECT_EQ(record.findings.ullGoodBlocks, c.ullReal ? c.ullReal : kClaimed);
        }
        if (c.bCleanWipes) {
            EXPECT_EQ(device.io.vCleaned.size(), 2u);   // the stamp of block 0, its restore
        }
        ExpectUntouched(device.target);
    }
}

// A counterfeit that drops the writes beyond its real size but reads back
// whatever those blocks held: an earlier run's stamps.
class C_ForgetfulDevice : public C_TestDevice {
public:
    using C_TestDevice::C_TestDevice;
    int WriteBlocks(uint64_t ullLba, uint32_t ulCount, const void* pBuffer) override
    {
        if (ullDropFrom != 0 && ullLba + ulCount > ullDropFrom) {
            if (ullLba >= ullDropFrom)
                return 1;
            ulCount = static_cast<uint32_t>(ullDropFrom - ullLba);
        }
        return C_TestDevice::WriteBlocks(ullLba, ulCount, pBuffer);
    }
    uint64_t ullDropFrom = 0;
};

TEST_F(VerifyRunnerTest, StampsOfAnEarlierRunDoNotPass)
{
    C_ForgetfulDevice device(1ull << 15);
    C_RecordingVerifyEvents events;
    S_VerifyOptions options = SmallRegions(true);
    options.bKeyGiven = true;
    options.key = {1, 2};
    {
        C_VerifyRunner first(device, events);
        ASSERT_FALSE(first.Run(options).findings.bAnyBad);
    }
    device.ullDropFrom = 20000;
    for (const bool bFull : {true, false}) {
        SCOPED_TRACE(bFull ? "full" : "quick");
        S_VerifyOptions again = SmallRegions(bFull);
        again.bKeyGiven = true;
        again.key = {1, 3};
        C_VerifyRunner second(device, events);
        const S_VerifyRunRecord record = second.Run(again);
        EXPECT_EQ(record.findings.ullFirstBad, 20000u);
        EXPECT_EQ(record.findings.ullGoodBlocks, 20000u);
        EXPECT_GT(record.findings.counts.ullStale, 0u);
        EXPECT_EQ(record.findings.counts.ullStale, record.findings.counts.ullBad);
        if (bFull) {
            EXPECT_EQ(record.findings.counts.ullStale, (1u << 15) - 20000u);
        }
    }
}

TEST_F(VerifyRunnerTest, DamagedBlocksCountAloneAndAVanishedDeviceEndsTheRun)
{
    C_TestDevice damaged(1ull << 15);
    damaged.io.mapReadErrors[5000] = ERROR_CRC;
    C_RecordingVerifyEvents events;
    C_VerifyRunner runner(damaged, events);
    const S_VerifyRunRecord record = runner.Run(SmallRegions(true));
    ASSERT_TRUE(record.bFinished);
    EXPECT_EQ(record.findings.ullFirstBad, 5000u);
    EXPECT_EQ(record.findings.counts.ullBad, 1u);
    EXPECT_EQ(record.findings.counts.ullUnreadable, 1u);
    ASSERT_EQ(events.vFailures.size(), 1u);
    EXPECT_EQ(events.vFailures[0].ullFirst, 5000u);
    EXPECT_EQ(events.vFailures[0].ullCount, 1u);
    EXPECT_EQ(events.dwLastError, static_cast<DWORD>(ERROR_CRC));

    // A device that is gone, or that refuses every write, is no verdict
    // (not a counterfeit of 0 bytes), and a restore that could not be done
    // is said.
    for (const DWORD dwError : {ERROR_DEVICE_NOT_CONNECTED, ERROR_WRITE_PROTECT, ERROR_ACCESS_DENIED}) {
        const bool bRestore = dwError != ERROR_WRITE_PROTECT;
        SCOPED_TRACE(dwError);
        C_TestDevice gone(1ull << 15);
        gone.io.RefusePassThrough();
        gone.io.dwTransferError = dwError;
        C_RecordingVerifyEvents goneEvents;
        C_VerifyRunner goneRunner(gone, goneEvents);
        const S_VerifyRunRecord goneRecord = goneRunner.Run(SmallRegions(false, bRestore));
        EXPECT_FALSE(goneRecord.bFinished);
        EXPECT_FALSE(goneRecord.bStopped);
        EXPECT_EQ(goneRecord.ulError, static_cast<uint32_t>(dwError));
        EXPECT_EQ(VerifyRunVerdict(goneRecord), "");
        EXPECT_FALSE(goneRecord.bRestored);
        EXPECT_EQ(gone.target.WrittenBlocks(), 0u);
    }
}

} // namespace
