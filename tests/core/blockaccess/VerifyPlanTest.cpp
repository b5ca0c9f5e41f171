#include "blockaccess/core/VerifyPlan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

struct Shape {
    uint64_t ullBlocks;
    uint32_t ulBlockSize;
    uint64_t ullLow;    // the interval in question, offsets from the first block
    uint64_t ullHigh;
};

std::string Describe(const Shape& s)
{
    return std::to_string(s.ullBlocks) + " blocks of " + std::to_string(s.ulBlockSize) + ", [" +
           std::to_string(s.ullLow) + ", " + std::to_string(s.ullHigh) + ")";
}

// What every round must hold, whatever the device's shape.
void CheckRound(const S_VerifyArea& area, const S_VerifyLimits& limits, uint64_t ullLow, uint64_t ullHigh)
{
    const S_VerifyRound round = PlanVerifyRound(area, limits, ullLow, ullHigh);
    const uint64_t ullRegion = VerifyRegionBlocks(area, limits);
    ASSERT_FALSE(round.vProbes.empty());
    EXPECT_EQ(round.vProbes.front().ullFirst, ullLow);
    EXPECT_LE(round.vProbes.back().End(), ullHigh);
    if (ullHigh == area.End()) {
        EXPECT_EQ(round.vProbes.back().End(), ullHigh);   // the last blocks
    }
    for (size_t i = 1; i < round.vProbes.size(); ++i)
        ASSERT_GT(round.vProbes[i].ullFirst, round.vProbes[i - 1].End()) << "probes overlap or touch";
    EXPECT_LE(round.vProbes.size(), std::max<uint64_t>(limits.ulMaxRegions + 1, 1));
    EXPECT_EQ(round.bTiled, round.ProbeBlocks() == ullHigh - ullLow);
    EXPECT_EQ(round.window.ullFirst, area.ullFirstBlock);
    EXPECT_EQ(round.window.ullCount, std::min(round.ullSpacing, area.ullBlocks));
    if (!round.bTiled) {
        EXPECT_GE(round.ullSpacing, ullRegion);
    }

    // Whatever the real size R in the interval, the first probe block at or
    // beyond R lies less than one window beyond it, so a device that wraps
    // at R puts that block's stamp inside the window.
    std::mt19937_64 random(ullLow ^ ullHigh);
    for (int n = 0; n < 200; ++n) {
        const uint64_t ullReal = ullLow + random() % (ullHigh - ullLow);
        const auto it = std::find_if(round.vProbes.begin(), round.vProbes.end(),
                                     [&](const S_BlockSpan& span) { return span.End() > ullReal; });
        if (it == round.vProbes.end()) {
            // Beyond the last region: the interval's end is known bad and the
            // next interval is no wider than the window.
            EXPECT_LT(ullHigh, area.End());
            EXPECT_LE(ullHigh - round.vProbes.back().End(), round.ullSpacing);
            continue;
        }
        const uint64_t ullFirstBeyond = std::max(it->ullFirst, ullReal);
        ASSERT_LT(ullFirstBeyond - ullReal, round.window.ullCount) << "real size " << ullReal;
    }

    // Before any read-back: the smaller of the minimum and the area written,
    // the filler outside the probes and never block 0.
    const uint64_t ullWanted = (limits.ullMinWriteBytes + area.ulBlockSize - 1) / area.ulBlockSize;
    EXPECT_GE(round.ProbeBlocks() + round.FillerBlocks(),
              std::min<uint64_t>(ullWanted, area.ullBlocks - (area.ullFirstBlock == 0 ? 1 : 0)));
    std::vector<S_BlockSpan> vAll = round.vProbes;
    vAll.insert(vAll.end(), round.vFiller.begin(), round.vFiller.end());
    EXPECT_EQ(MergeSpans(vAll).size() <= vAll.size(), true);
    uint64_t ullUnion = 0;
    for (const S_BlockSpan& span : MergeSpans(vAll))
        ullUnion += span.ullCount;
    EXPECT_EQ(ullUnion, round.ProbeBlocks() + round.FillerBlocks()) << "filler overlaps a probe";
    for (const S_BlockSpan& filler : round.vFiller) {
        EXPECT_GE(filler.ullFirst, std::max<uint64_t>(area.ullFirstBlock, 1));
        EXPECT_LE(filler.End(), area.End());
    }
}

TEST(VerifyPlan, RoundsOverEveryShapeCatchTheFirstBlockBeyondTheRealSize)
{
    const std::vector<Shape> shapes = {
        {1, 512, 0, 1},                        // one block
        {100, 512, 0, 100},                    // less than a region
        {131072, 512, 0, 131072},              // 64 MiB: tiled in one round
        {2048 * 1024 + 17, 512, 0, 2048 * 1024 + 17},   // just above 1 GiB
        {500000000, 512, 0, 500000000},        // 256 GB, sold as such
        {1ull << 33, 512, 0, 1ull << 33},      // 4 TiB: more regions than the limit
        {62500000, 4096, 0, 62500000},         // 256 GB of 4 KiB blocks
        {500000000, 512, 7812500, 15625000},   // a later round: between two regions
        {500000000, 512, 7813000, 7815001},    // a later round that is tiled
        {500000000, 512, 499990000, 500000000},
    };
    const S_VerifyLimits limits;
    for (const Shape& s : shapes) {
        SCOPED_TRACE(Describe(s));
        for (const uint64_t ullFirst : {0ull, 16ull}) {
            S_VerifyArea area;
            area.ullFirstBlock = ullFirst;
            area.ullBlocks = s.ullBlocks;
            area.ulBlockSize = s.ulBlockSize;
            CheckRound(area, limits, ullFirst + s.ullLow, ullFirst + s.ullHigh);
        }
    }
    S_VerifyArea small;
    small.ullBlocks = 1ull << 18;
    S_VerifyLimits tight;
    tight.ullRegionBytes = 64 * 1024;
    tight.ulMinRegions = 16;
    tight.ulMaxRegions = 64;
    tight.ullMinWriteBytes = 2u << 20;
    CheckRound(small, tight, 0, small.ullBlocks);
    CheckRound(small, tight, 4097, 8192);
}

TEST(VerifyPlan, AFirstRoundOnAStickPlacesFewRegionsAndTheWindowStaysSmall)
{
    S_VerifyArea area;
    area.ullBlocks = 500000000;   // 256 GB
    const S_VerifyRound round = PlanVerifyRound(area, S_VerifyLimits(), 0, area.ullBlocks);
    // The square root of its 244141 regions, and the last one.
    EXPECT_EQ(round.vProbes.size(), 495u + 1u);
    EXPECT_FALSE(round.bTiled);
    // About 1 GiB written with the filler, half a GiB read in the window.
    EXPECT_EQ((round.ProbeBlocks() + round.FillerBlocks()) * 512, 1ull << 30);
    EXPECT_LT(round.window.ullCount * 512, 600ull << 20);

    // The next round, between two regions, is tiled: the boundary to the block.
    const S_VerifyRound next =
        PlanVerifyRound(area, S_VerifyLimits(), 8 * round.ullSpacing + 2048, 9 * round.ullSpacing);
    EXPECT_TRUE(next.bTiled);
    EXPECT_EQ(next.ullSpacing, 2048u);
    // With --restore a round keeps at most 256 regions: two more rounds.
    S_VerifyLimits restore;
    restore.ulMaxRegions = 256;
    EXPECT_FALSE(PlanVerifyRound(area, restore, 8 * round.ullSpacing + 2048, 9 * round.ullSpacing).bTiled);
}

TEST(VerifyPlan, SpansSplitAndMerge)
{
    const std::vector<S_BlockSpan> vPieces = SplitSpans({{10, 5}, {100, 2}}, 2);
    ASSERT_EQ(vPieces.size(), 4u);
    EXPECT_EQ(vPieces[2].ullFirst, 14u);
    EXPECT_EQ(vPieces[2].ullCount, 1u);
    EXPECT_EQ(vPieces[3].ullFirst, 100u);
    const std::vector<S_BlockSpan> vMerged = MergeSpans({{20, 5}, {10, 10}, {24, 1}, {40, 0}, {30, 2}});
    ASSERT_EQ(vMerged.size(), 2u);
    EXPECT_EQ(vMerged[0].ullFirst, 10u);
    EXPECT_EQ(vMerged[0].ullCount, 15u);
    EXPECT_EQ(vMerged[1].ullFirst, 30u);
}

} // namespace
