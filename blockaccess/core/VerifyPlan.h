#ifndef QUENVALE_BLOCKACCESS_VERIFYPLAN_H
#define QUENVALE_BLOCKACCESS_VERIFYPLAN_H

#include <cstdint>
#include <vector>

// Where the quick capacity check writes and reads.
//
// A counterfeit device keeps only its first R blocks: a write beyond them
// vanishes, or lands on block (address mod R) of the real ones. The check
// searches R in rounds. Each round stamps probe regions spread over the
// interval still in question, then rewrites filler blocks with their own
// contents until enough has been written that no drive cache can still
// hold the probes, then reads back the probes and the alias window: the
// first blocks of the device, where a region written beyond R lands. The
// probe regions are spaced no more than the window's length apart, so the
// first region beyond R always lands inside the window and is caught, and
// the next round searches the space between the last region that held and
// the first that did not. An interval that a round's regions would cover,
// or whose covering writes no more than a round writes anyway, is tiled
// completely, which finds R to the block.
//
// All addresses are device block addresses.

struct S_BlockSpan {
    uint64_t ullFirst = 0;
    uint64_t ullCount = 0;
    uint64_t End() const { return ullFirst + ullCount; }
};

// The blocks the check may use, and how it places its regions.
struct S_VerifyArea {
    uint64_t ullFirstBlock = 0;     // the record's first usable block
    uint64_t ullBlocks = 0;         // blocks from there on: the claimed capacity
    uint32_t ulBlockSize = 512;

    uint64_t End() const { return ullFirstBlock + ullBlocks; }
};

struct S_VerifyLimits {
    uint64_t ullRegionBytes = 1ull << 20;    // one probe region
    uint32_t ulMinRegions = 64;              // per round, unless the interval is smaller
    uint32_t ulMaxRegions = 1024;            // per round
    uint64_t ullMinWriteBytes = 1ull << 30;  // written in each round before any read-back
};

struct S_VerifyRound {
    std::vector<S_BlockSpan> vProbes;  // stamped and read back; ascending, disjoint
    S_BlockSpan window;                // read back as well; may overlap probes
    std::vector<S_BlockSpan> vFiller;  // rewritten with their own contents; ascending, no probe
    uint64_t ullSpacing = 0;           // from one region's start to the next (the window's length)
    bool bTiled = false;               // every block of the interval is a probe

    uint64_t ProbeBlocks() const;
    uint64_t FillerBlocks() const;
};

// Blocks of one probe region on this area (at least 1).
uint64_t VerifyRegionBlocks(const S_VerifyArea& area, const S_VerifyLimits& limits);

// The round that searches [ullLow, ullHigh), a non-empty interval inside the
// area. Regions start at ullLow and are spread to the interval's end; when
// the interval ends at the area's end, the last region ends there too. The
// filler is taken from the area's lowest blocks that are not probes, as
// much as brings the round's writes to ullMinWriteBytes (or to the whole
// area), but never block 0 (writing it may make the system clean the disk).
S_VerifyRound PlanVerifyRound(const S_VerifyArea& area, const S_VerifyLimits& limits,
                              uint64_t ullLow, uint64_t ullHigh);

// Splits spans into pieces of at most ullPieceBlocks (at least 1), in order.
std::vector<S_BlockSpan> SplitSpans(const std::vector<S_BlockSpan>& vSpans,
                                    uint64_t ullPieceBlocks);

// The spans' union, ascending and merged.
std::vector<S_BlockSpan> MergeSpans(std::vector<S_BlockSpan> vSpans);

#endif
