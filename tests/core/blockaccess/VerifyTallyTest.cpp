#include "blockaccess/core/VerifyTally.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

S_StampCheck Good()
{
    S_StampCheck check;
    check.eResult = E_StampCheck::Good;
    return check;
}

S_StampCheck Names(uint64_t ullAddress, E_StampCheck eResult = E_StampCheck::WrongAddress)
{
    S_StampCheck check;
    check.eResult = eResult;
    check.ullNamedAddress = ullAddress;
    return check;
}

S_VerifyArea Area(uint64_t ullBlocks)
{
    S_VerifyArea area;
    area.ullBlocks = ullBlocks;
    return area;
}

// A device that wraps at 1000, read back after the probes were written
// from the top down with block 0 first.
TEST(VerifyTally, TheHigherOfTwoAddressesOnOneStorageIsTheWrappedOne)
{
    C_VerifyTally tally(Area(4000));
    tally.BeginRound({{0, 3}, {999, 4}}, 0);
    tally.BlockRead(0, Names(1000));    // written first, then overwritten by its alias: real
    tally.BlockRead(1, Names(1001));    // written after 1001 and still holding it: its own write was lost
    tally.BlockRead(2, Good());
    tally.BlockRead(500, Names(1001));  // a window block, no probe: only tells of 1001
    tally.BlockRead(999, Good());
    tally.BlockRead(1000, Good());      // its own stamp, but it was found on block 0's storage
    tally.BlockRead(1001, Good());
    tally.BlockRead(1002, Names(2));
    tally.EndRound();
    const S_VerifyFindings f = tally.Findings();
    EXPECT_TRUE(f.bAnyBad);
    EXPECT_EQ(f.ullFirstBad, 1u);
    EXPECT_EQ(f.ullGoodBlocks, 1u);
    EXPECT_TRUE(f.bResolved);
    EXPECT_EQ(f.counts.ullProbed, 7u);
    EXPECT_EQ(f.counts.ullBad, 4u);
    EXPECT_EQ(f.counts.ullWrapped, 4u);
}

TEST(VerifyTally, RoundsNarrowTheIntervalAndFailuresCountOnce)
{
    C_VerifyTally tally(Area(1000));
    tally.BeginRound({{0, 10}, {500, 10}, {990, 10}}, 0);
    tally.BlocksUnwritten(995, 100);   // beyond the probes: 5 count
    for (uint64_t ull = 0; ull < 10; ++ull)
        tally.BlockRead(ull, Good());
    tally.BlocksUnreadable(500, 2);
    for (uint64_t ull = 502; ull < 510; ++ull)
        tally.BlockRead(ull, ull == 505 ? Names(505, E_StampCheck::StaleKey) : S_StampCheck());
    for (uint64_t ull = 990; ull < 997; ++ull)
        tally.BlockRead(ull, Good());   // 995 and 996 left the round: not counted again
    tally.EndRound();
    S_VerifyFindings f = tally.Findings();
    EXPECT_EQ(f.ullFirstBad, 500u);
    EXPECT_EQ(f.ullGoodBlocks, 10u);
    EXPECT_FALSE(f.bResolved);
    uint64_t ullLow = 0, ullHigh = 0;
    ASSERT_TRUE(tally.NextInterval(ullLow, ullHigh));
    EXPECT_EQ(ullLow, 10u);
    EXPECT_EQ(ullHigh, 500u);

    tally.BeginRound({{ullLow, ullHigh - ullLow}}, UINT64_MAX);
    for (uint64_t ull = ullLow; ull < ullHigh; ++ull)
        tally.BlockRead(ull, ull == 300 ? Names(5) : Good());
    tally.EndRound();
    f = tally.Findings();
    EXPECT_EQ(f.ullFirstBad, 300u);
    EXPECT_EQ(f.ullGoodBlocks, 300u);
    EXPECT_TRUE(f.bResolved);
    EXPECT_FALSE(tally.NextInterval(ullLow, ullHigh));
    EXPECT_EQ(f.counts.ullProbed, 520u);
    EXPECT_EQ(f.counts.ullBad, 16u);
    EXPECT_EQ(f.counts.ullUnwritten, 5u);
    EXPECT_EQ(f.counts.ullUnreadable, 2u);
    EXPECT_EQ(f.counts.ullStale, 1u);
    EXPECT_EQ(f.counts.ullWrapped, 1u);
}

TEST(VerifyTally, VerdictNamesTheGigabytesThatHold)
{
    struct Case {
        uint64_t ullBytes;
        const char* pszText;
    };
    for (const Case& c : std::vector<Case>{{0, "0"},
                                           {1, "0.000000001"},
                                           {512, "0.000001"},
                                           {16u << 20, "0.017"},
                                           {500000000, "0.50"},
                                           {15931539456ull, "15.9"},
                                           {256000000000ull, "256"}}) {
        SCOPED_TRACE(c.ullBytes);
        EXPECT_EQ(VerifyGigabyteText(c.ullBytes), c.pszText);
    }
    C_VerifyTally holds(Area(1000));
    EXPECT_EQ(VerifyVerdictText(holds.Findings()), "capacity holds");
    EXPECT_EQ(holds.Findings().GoodBytes(), 512000u);
    C_VerifyTally fails(Area(1ull << 25));
    fails.BeginRound({{0, 1ull << 25}}, UINT64_MAX);
    fails.BlockRead(0, Good());
    fails.BlocksUnreadable(1, (1ull << 25) - 1);
    EXPECT_EQ(VerifyVerdictText(fails.Findings()), "only the first 0.000001 GB hold: counterfeit or damaged");
}

} // namespace
