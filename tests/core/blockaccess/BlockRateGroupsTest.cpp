#include "blockaccess/core/BlockRateGroups.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(BlockRateGroups, GroupRateAndSpeedText)
{
    // 1 MiB in 10 ms: 100 MiB/s.
    S_BlockGroupRate rate = BlockGroupRate(1048576, 1, 10000);
    EXPECT_FALSE(rate.bTooFast);
    EXPECT_FLOAT_EQ(rate.fBytesPerSecond, 104857600.0f);
    EXPECT_FLOAT_EQ(rate.fMBytesPerSecond, 100.0f);
    EXPECT_EQ(rate.strSpeed, "100.0 MByte/sec - 10 msec");

    // Whole KiB/s times 1024: 1000 bytes in 1 s reads 0 Byte, 3 KiB in 1.5 s 2048 Byte.
    EXPECT_EQ(BlockGroupRate(1000, 1, 1000000).strSpeed, "0 Byte/sec - 1000 msec");
    EXPECT_EQ(BlockGroupRate(1024, 3, 1500000).strSpeed, "2048 Byte/sec - 1500 msec");
    EXPECT_EQ(BlockGroupRate(512, 1, 999).strSpeed, "500.0 kByte/sec - 0 msec");

    // The group's bytes are counted in 64 bits: 1 MiB × 8192 is 8 GiB, which
    // 32 bits would have wrapped to 0.
    rate = BlockGroupRate(1048576, 8192, 1000000);
    EXPECT_EQ(rate.strSpeed, "8.0 GByte/sec - 1000 msec");
    EXPECT_FLOAT_EQ(rate.fMBytesPerSecond, 8192.0f);

    // 0 µs: no rate, the too-fast text as given.
    rate = BlockGroupRate(1048576, 4, 0, "[Trop rapide]");
    EXPECT_TRUE(rate.bTooFast);
    EXPECT_EQ(rate.fMBytesPerSecond, 0.0f);
    EXPECT_EQ(rate.strSpeed, "[Trop rapide]");
    EXPECT_EQ(BlockGroupRate(512, 1, 0).strSpeed, "[Too Fast]");
}

// Runs a worker loop of ullLoopMax accesses; group k (0-based) takes
// vMicroseconds[k % size] µs.
struct S_Run {
    std::vector<uint64_t> vGroupStarts;
    std::vector<S_BlockGroupRate> vRates;
};

S_Run RunGroups(C_BlockRateGroups& groups, uint64_t ullLoopMax, const std::vector<uint64_t>& vMicroseconds)
{
    S_Run run;
    for (uint64_t ullLoop = 0; ullLoop < ullLoopMax; ++ullLoop) {
        if (groups.StartsGroup())
            run.vGroupStarts.push_back(ullLoop);
        if (groups.AccessDone())
            run.vRates.push_back(groups.CloseGroup(ullLoop, vMicroseconds[run.vRates.size() % vMicroseconds.size()]));
    }
    return run;
}

TEST(BlockRateGroups, GroupsOfARunAndTheirGraphPoints)
{
    // 10 accesses of 512 bytes, rated every 3: groups end at accesses 2, 5
    // and 8; the tenth access opens a group that never closes.
    C_BlockRateGroups groups(10, 3, 512);
    const S_Run run = RunGroups(groups, 10, {1000, 3000, 0});
    EXPECT_EQ(run.vGroupStarts, (std::vector<uint64_t>{0, 3, 6, 9}));
    ASSERT_EQ(run.vRates.size(), 3u);
    EXPECT_EQ(run.vRates[1].ullPoint, 5u);
    EXPECT_TRUE(run.vRates[2].bTooFast);

    // Point 0 starts at 0 (the rate is not known before the first group).
    const std::vector<float>& vGraph = groups.GraphValues();
    ASSERT_EQ(vGraph.size(), 10u);
    const float fFirst = 1536.0f * 1000 / 1024 / 1024;
    EXPECT_EQ(vGraph[0], 0.0f);
    EXPECT_FLOAT_EQ(vGraph[2], fFirst);
    EXPECT_FLOAT_EQ(vGraph[5], fFirst / 3);
    EXPECT_EQ(vGraph[8], 0.0f);
    for (const size_t nEmpty : {1, 3, 4, 6, 7, 9})
        EXPECT_EQ(vGraph[nEmpty], kNoGraphPoint) << nEmpty;

    // The too-fast group counts as a group but not in the rate figures.
    const S_BlockRateSummary summary = groups.Summary();
    EXPECT_EQ(summary.ullAccesses, 10u);
    EXPECT_EQ(summary.ullBytes, 5120u);
    EXPECT_EQ(summary.ullGroups, 3u);
    EXPECT_EQ(summary.ullTooFastGroups, 1u);
    EXPECT_EQ(summary.ullMicroseconds, 4000u);
    EXPECT_EQ(summary.ullTimedBytes, 3072u);
    EXPECT_DOUBLE_EQ(summary.dBytesPerSecond, 768000.0);
    EXPECT_FLOAT_EQ(summary.fMinBytesPerSecond, 512000.0f);
    EXPECT_FLOAT_EQ(summary.fMaxBytesPerSecond, 1536000.0f);
    EXPECT_FLOAT_EQ(summary.fMedianBytesPerSecond, 1536000.0f);
}

TEST(BlockRateGroups, MergedGraphPointsKeepTheLaterGroup)
{
    // 12001 accesses: step 2, 6000 points; the last access's point (6000)
    // lies past the graph and is left out, not written past its end.
    C_BlockRateGroups groups(12001, 1, 4096);
    EXPECT_EQ(groups.GraphStep(), 2u);
    ASSERT_EQ(groups.GraphValues().size(), 6000u);
    std::vector<uint64_t> vMicroseconds(12001);
    for (size_t i = 0; i < vMicroseconds.size(); ++i)
        vMicroseconds[i] = 1 + i % 2;
    const S_Run run = RunGroups(groups, 12001, vMicroseconds);
    ASSERT_EQ(run.vRates.size(), 12001u);
    EXPECT_FALSE(run.vRates.back().bPointInGraph);
    EXPECT_TRUE(run.vRates[11999].bPointInGraph);
    // Each point shows its second access, the one of 2 µs.
    const float fSlow = run.vRates[1].fMBytesPerSecond;
    for (const float fPoint : groups.GraphValues())
        ASSERT_EQ(fPoint, fSlow);
    // With calc-every 1 nothing is set before the first group.
    EXPECT_EQ(C_BlockRateGroups(3, 1, 512).GraphValues()[0], kNoGraphPoint);
}

TEST(BlockRateGroups, MedianOfAVeryLongRun)
{
    // More groups than are kept one by one: the median comes from bins. The
    // rates alternate between two values with one group of a third in
    // between every 16; the median is the faster value (a run that kept
    // every second group would see only one of the two).
    C_BlockRateGroups groups(1, 1, 1048576, "[Too Fast]", 4096);
    const uint64_t ullGroups = 100000;
    for (uint64_t i = 0; i < ullGroups; ++i)
        groups.CloseGroup(0, i % 16 == 15 ? 50 : (i % 2 == 0 ? 1000 : 2000));
    const S_BlockRateSummary summary = groups.Summary();
    EXPECT_EQ(summary.ullGroups, ullGroups);
    EXPECT_NEAR(summary.fMedianBytesPerSecond, 1048576000.0f, 1048576000.0f * 0.006f);
    EXPECT_FLOAT_EQ(summary.fMaxBytesPerSecond, 1048576.0f * 20000);
    EXPECT_FLOAT_EQ(summary.fMinBytesPerSecond, 524288000.0f);
}

} // namespace
