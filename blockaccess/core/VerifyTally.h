#ifndef QUENVALE_BLOCKACCESS_VERIFYTALLY_H
#define QUENVALE_BLOCKACCESS_VERIFYTALLY_H

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "blockaccess/core/VerifyPlan.h"
#include "blockaccess/core/VerifyStamp.h"

// What the probed blocks came to. A block is bad when it did not hold its
// own stamp; wrapped, stale and unreadable blocks are bad blocks of a kind.
struct S_VerifyCounts {
    uint64_t ullProbed = 0;      // probe blocks whose fate is known
    uint64_t ullBad = 0;
    uint64_t ullWrapped = 0;     // held a lower address's stamp, or turned up on a lower block's storage
    uint64_t ullStale = 0;       // held a stamp of another run
    uint64_t ullUnreadable = 0;  // the device refused to read them
    uint64_t ullUnwritten = 0;   // the device refused to write them
};

struct S_VerifyFindings {
    S_VerifyArea area;
    bool bAnyBad = false;
    uint64_t ullFirstBad = 0;    // the lowest block that did not hold (with bAnyBad)
    // Blocks from the area's first one to the highest block that held below
    // the first bad one; the whole area when nothing was bad.
    uint64_t ullGoodBlocks = 0;
    bool bResolved = false;      // nothing was bad, or every block below the first bad one held
    S_VerifyCounts counts;

    uint64_t ClaimedBytes() const { return area.ullBlocks * area.ulBlockSize; }
    uint64_t GoodBytes() const { return ullGoodBlocks * area.ulBlockSize; }
};

// Classifies the blocks that rounds of the capacity check read back, and
// says which interval the next round searches.
//
// The runner writes a round's probes from the highest address down, so on
// a device that wraps, the lower (real) address of two that share storage
// is written last and keeps it: the higher one reads back the lower one's
// stamp. Only the early block (block 0, written first because writing it
// may make the system clean the disk) can be overwritten by a higher
// address; a block that holds a higher address's stamp tells that the
// higher address has no storage of its own, so that address is wrapped
// whatever it reads later. The blocks of a round are therefore read in
// ascending order.
class C_VerifyTally {
public:
    explicit C_VerifyTally(const S_VerifyArea& areaIn);

    // A round over these probes (ascending, disjoint). ullEarlyBlock was
    // written before every other probe; UINT64_MAX when none was.
    void BeginRound(const std::vector<S_BlockSpan>& vProbesIn, uint64_t ullEarlyBlock);
    // One block read back (a probe or a block of the alias window), in
    // ascending order of address within the round.
    void BlockRead(uint64_t ullAddress, const S_StampCheck& check);
    // Blocks that could not be read, or whose write failed: those of them
    // that are probes count as bad and leave the round's probes, so they
    // are neither written nor read back any more.
    void BlocksUnreadable(uint64_t ullFirst, uint64_t ullCount);
    void BlocksUnwritten(uint64_t ullFirst, uint64_t ullCount);
    void EndRound();

    // The round's probes, without those that left it; ascending.
    std::vector<S_BlockSpan> Probes() const;

    // The interval the next round searches: from the block after the
    // highest one that held below the first bad block, to the first bad
    // block. False when nothing was bad or that interval is empty.
    bool NextInterval(uint64_t& ullLow, uint64_t& ullHigh) const;
    S_VerifyFindings Findings() const;

private:
    bool IsProbe(uint64_t ullAddress) const;
    void Good(uint64_t ullAddress);
    void Bad(uint64_t ullFirst, uint64_t ullCount);
    // Takes the probes out of [ullFirst, ullFirst + ullCount) and returns
    // how many blocks they held and the first of them.
    uint64_t TakeProbes(uint64_t ullFirst, uint64_t ullCount, uint64_t& ullLowest);
    // The highest block that held below ullLimit, or false.
    bool HighestGoodBelow(uint64_t ullLimit, uint64_t& ullOut) const;

    S_VerifyArea area;
    std::map<uint64_t, uint64_t> mapProbes;   // the round's probes: first block -> end
    uint64_t ullEarly = UINT64_MAX;
    std::set<uint64_t> setFlagged;    // probes found on a lower block's storage, not read yet
    std::vector<S_BlockSpan> vGood;   // blocks that held, merged at each round's end
    bool bAnyBad = false;
    uint64_t ullFirstBad = 0;
    S_VerifyCounts counts;
};

// "capacity holds", or "only the first N GB hold: counterfeit or damaged"
// with N in decimal gigabytes (as capacities are sold), as many decimals as
// keep it from reading 0 when something held.
std::string VerifyVerdictText(const S_VerifyFindings& findings);

// The gigabyte figure of the verdict: "15.9", "0.52", "0.017", "0".
std::string VerifyGigabyteText(uint64_t ullBytes);

#endif
