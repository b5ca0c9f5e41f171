#include "blockaccess/core/BlockSequence.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

S_BlockParameters Range(uint64_t ullStart, uint64_t ullEnd, uint64_t ullBlocks, uint64_t ullSkip = 0,
                        uint64_t ullRepeats = 1)
{
    S_BlockParameters params;
    params.ullStart = ullStart;
    params.ullEnd = ullEnd;
    params.ullBlocks = ullBlocks;
    params.ullSkip = ullSkip;
    params.ullRepeats = ullRepeats;
    return params;
}

// The addresses a worker loop visits, with rand() values from aRandom.
std::vector<uint64_t> Visit(E_BlockMode mode, const S_BlockParameters& params,
                            const std::vector<uint32_t>& vRandom = {})
{
    C_BlockSequence sequence(mode, params);
    std::vector<uint64_t> vAddresses;
    for (uint64_t ullLoop = 0; ullLoop < sequence.LoopMax(); ++ullLoop) {
        vAddresses.push_back(sequence.Current());
        sequence.Advance(vRandom.empty() ? 0 : vRandom[ullLoop % vRandom.size()]);
    }
    return vAddresses;
}

TEST(BlockSequence, LinearSteps)
{
    EXPECT_EQ(Visit(E_BlockMode::Linear, Range(0, 10000, 1000)),
              (std::vector<uint64_t>{0, 1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000}));
    EXPECT_EQ(Visit(E_BlockMode::Linear, Range(0, 10000, 1000, 1000)),
              (std::vector<uint64_t>{0, 2000, 4000, 6000, 8000}));
    EXPECT_EQ(Visit(E_BlockMode::Linear, Range(16, 26, 4, 1)), (std::vector<uint64_t>{16, 21}));

    // A range smaller than one step makes no access.
    C_BlockSequence tooSmall(E_BlockMode::Linear, Range(0, 1999, 1000, 1000));
    EXPECT_EQ(tooSmall.LoopMax(), 0u);
    EXPECT_EQ(tooSmall.Problem(), E_BlockRunProblem::LinearDoesNotFit);
    // A step beyond 64 bits is larger than any range; it must not wrap to a
    // small step (or to 0 and a division by it).
    for (const uint64_t ullSkip : {UINT64_MAX, UINT64_MAX - 999}) {
        C_BlockSequence huge(E_BlockMode::Linear, Range(0, 1ull << 40, 1000, ullSkip));
        EXPECT_EQ(huge.LoopMax(), 0u);
        EXPECT_EQ(huge.Problem(), E_BlockRunProblem::LinearDoesNotFit);
    }
}

TEST(BlockSequence, SeekAlternatesBetweenStartAndTheLastAddressThatFits)
{
    EXPECT_EQ(Visit(E_BlockMode::Seek, Range(100, 10000, 1000, 0, 4)), (std::vector<uint64_t>{100, 9000, 100, 9000}));
    // Exactly one access wide: every access at the start.
    EXPECT_EQ(Visit(E_BlockMode::Seek, Range(100, 1100, 1000, 0, 3)), (std::vector<uint64_t>{100, 100, 100}));
}

TEST(BlockSequence, RandomAddressesStayInsideTheRange)
{
    struct S_Case {
        uint64_t ullStart, ullEnd, ullBlocks;
    };
    for (const S_Case& c : std::vector<S_Case>{{0, 10000, 1000},
                                               {16, 2097152, 2048},
                                               {5, 6, 1},
                                               {0, 32767 * 3 + 7, 2},
                                               // r × span overflows 64 bits here.
                                               {1000, 1ull << 63, 1ull << 20},
                                               {0, UINT64_MAX, 1}}) {
        SCOPED_TRACE(testing::Message() << c.ullStart << ".." << c.ullEnd << " by " << c.ullBlocks);
        const S_BlockParameters params = Range(c.ullStart, c.ullEnd, c.ullBlocks, 0, 10);
        const C_BlockSequence sequence(E_BlockMode::Random, params);
        ASSERT_EQ(sequence.Problem(), E_BlockRunProblem::None);
        const uint64_t ullLast = c.ullEnd - c.ullBlocks;
        EXPECT_EQ(sequence.Current(), c.ullStart);
        EXPECT_EQ(sequence.RandomAddress(0), c.ullStart);
        EXPECT_EQ(sequence.RandomAddress(kBlockRandomMax), ullLast);
        EXPECT_EQ(sequence.RandomAddress(1000000), ullLast);
        uint64_t ullPrevious = c.ullStart;
        for (uint32_t r = 0; r <= kBlockRandomMax; ++r) {
            const uint64_t ullAddress = sequence.RandomAddress(r);
            ASSERT_GE(ullAddress, ullPrevious) << r;
            ASSERT_LE(ullAddress, ullLast) << r;
            ullPrevious = ullAddress;
        }
        // Half way, where r × span would have wrapped in 64 bits.
        const double dSpan = static_cast<double>(ullLast - c.ullStart);
        EXPECT_NEAR(static_cast<double>(sequence.RandomAddress(16384) - c.ullStart), dSpan * 16384 / kBlockRandomMax,
                    1.0 + dSpan * 1e-12);
    }
    // The first access is at the start block, then the drawn ones.
    EXPECT_EQ(Visit(E_BlockMode::Random, Range(0, 32768, 1, 0, 3), {32767, 1}), (std::vector<uint64_t>{0, 32767, 1}));
}

TEST(BlockSequence, RandomAndSeekRunsWithoutRoomForOneAccessMakeNone)
{
    for (const E_BlockMode mode : {E_BlockMode::Random, E_BlockMode::Seek}) {
        SCOPED_TRACE(static_cast<int>(mode));
        const C_BlockSequence tooSmall(mode, Range(100, 1099, 1000, 0, 50));
        EXPECT_EQ(tooSmall.LoopMax(), 0u);
        EXPECT_EQ(tooSmall.Problem(), E_BlockRunProblem::RangeSmallerThanAccess);
        const C_BlockSequence noRepeats(mode, Range(0, 5000, 1000, 0, 0));
        EXPECT_EQ(noRepeats.LoopMax(), 0u);
        EXPECT_EQ(noRepeats.Problem(), E_BlockRunProblem::NoRepeats);
        EXPECT_EQ(C_BlockSequence(mode, Range(0, 5000, 1000, 7, 12)).LoopMax(), 12u);
    }
}

TEST(BlockSequence, GraphStepKeepsAtMostAbout5000Points)
{
    struct S_Case {
        uint64_t ullLoopMax, ullStep, ullPoints;
    };
    for (const S_Case& c : std::vector<S_Case>{{0, 1, 0},
                                               {5000, 1, 5000},
                                               {5001, 1, 5001},
                                               {12000, 2, 6000},
                                               {12001, 2, 6000},
                                               {UINT64_MAX, UINT64_MAX / 5000, 5000}}) {
        SCOPED_TRACE(c.ullLoopMax);
        EXPECT_EQ(GraphStep(c.ullLoopMax), c.ullStep);
        EXPECT_EQ(GraphPoints(c.ullLoopMax), c.ullPoints);
    }
}

} // namespace
