#ifndef QUENVALE_BLOCKACCESS_VERIFYRUNNER_H
#define QUENVALE_BLOCKACCESS_VERIFYRUNNER_H

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "blockaccess/core/VerifyPlan.h"
#include "blockaccess/core/VerifyReport.h"
#include "blockaccess/core/VerifyStamp.h"
#include "blockaccess/core/VerifyTally.h"
#include "blockaccess/win/VerifyEvents.h"
#include "blockaccess/win/VerifyIo.h"
#include "framework/win/Stopwatch.h"

class C_RudvaneDevice;

struct S_VerifyOptions {
    bool bFull = false;
    bool bRestore = false;          // quick only
    S_VerifyLimits limits;          // tests shrink them
    uint32_t ulAccessBytes = 1u << 20;
    uint32_t ulMaxRounds = 8;
    bool bKeyGiven = false;         // tests: this key instead of a random one
    S_VerifyKey key;
};

// The capacity check on one device record: in quick mode rounds of probe
// regions (blockaccess/core/VerifyPlan.h), in full mode every block. The
// stamps are written from the highest address down, the device's block 0
// first of all (writing it may make the system clean the disk, which wipes
// the first and last megabyte), and read back from the lowest up; see
// C_VerifyTally for why.
//
// With bRestore, each round first reads its probe regions into memory
// (blocks that cannot be read are left out of the round) and writes them
// back when the round ends, before the next round reads anything, so every
// round starts on the device's own contents; a stop request ends the
// round's writes and the restore still runs. Filler blocks are always
// rewritten with what they held.
//
// The caller refreshes and checks the record, asks for the write
// permission and opens it for writing; the runner only transfers blocks.
// Run blocks on the caller's thread; RequestStop and Progress may be called
// from any other.
class C_VerifyRunner {
public:
    C_VerifyRunner(C_RudvaneDevice& deviceIn, I_VerifyEvents& eventsIn);
    C_VerifyRunner(const C_VerifyRunner&) = delete;
    C_VerifyRunner& operator=(const C_VerifyRunner&) = delete;

    S_VerifyRunRecord Run(const S_VerifyOptions& options);

    // The access under way finishes; a restore is never cut short.
    void RequestStop() { bStopRequested.store(true); }
    bool IsStopRequested() const { return bStopRequested.load(); }
    S_VerifyProgress Progress() const;

private:
    struct S_Saved {
        S_BlockSpan span;
        std::vector<uint8_t> vData;
    };

    bool RunQuick(const S_VerifyOptions& options, S_VerifyRunRecord& record);
    bool RunFull(S_VerifyRunRecord& record);
    // The phases. False when the run cannot go on (the device is gone);
    // the phases that are cut short by a stop request return true.
    bool Save(const std::vector<S_BlockSpan>& vProbes, std::vector<S_Saved>& vSaved);
    bool WriteStamps(const std::vector<S_BlockSpan>& vSpans, S_VerifyRunRecord& record);
    bool Fill(const std::vector<S_BlockSpan>& vFiller);
    bool ReadBack(const std::vector<S_BlockSpan>& vSpans, S_VerifyRunRecord& record);
    bool Restore(const std::vector<S_Saved>& vSaved, S_VerifyRunRecord& record);
    // Reads the spans piece by piece until a stop request and hands each
    // run of blocks that could be read, with its bytes, to use; the others
    // are reported for ePhase. The progress moves ullSteps times the blocks.
    // False when the run cannot go on or use says so.
    bool ReadPieces(const std::vector<S_BlockSpan>& vSpans, E_VerifyPhase ePhase, uint64_t ullSteps,
                    const std::function<bool(const S_BlockSpan&, const uint8_t*)>& use);
    // One access through the transfers; false, with the error kept, when
    // the device is gone.
    bool Transfer(bool bWrite, uint64_t ullLba, uint64_t ullCount, const uint8_t* pData,
                  std::vector<S_BlockSpan>& vFailed, uint32_t& ulError);
    // One piece written or read; updates the progress and the tally.
    bool WritePiece(uint64_t ullLba, uint32_t ulCount, S_VerifyRunRecord& record);
    void Failed(E_VerifyPhase ePhase, const std::vector<S_BlockSpan>& vFailed, uint32_t ulError);
    void StartPhase(uint32_t ulRound, E_VerifyPhase ePhase, uint64_t ullBytes);
    void Advance(uint64_t ullBlocks);
    bool Gone(uint32_t ulError, S_VerifyRunRecord& record);

    C_RudvaneDevice& device;
    I_VerifyEvents& events;
    std::unique_ptr<C_VerifyIo> pIo;
    std::unique_ptr<C_VerifyTally> pTally;
    S_VerifyArea area;
    S_VerifyKey key;
    uint32_t ulRound = 0;
    uint32_t ulGoneError = 0;

    std::atomic<bool> bStopRequested{false};
    // Progress, written by the running thread and read by any other.
    std::atomic<uint32_t> ulProgressRound{0};
    std::atomic<int> nProgressPhase{0};
    std::atomic<uint64_t> ullDoneBytes{0};
    std::atomic<uint64_t> ullTotalBytes{0};
    C_Stopwatch progressClock;   // started with each progress total
};

#endif
