#include "quick/core/AccessPosition.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <vector>

namespace {

TEST(AccessPosition, RuntimeLibrarySequence)
{
    // The run-time library's rand() after srand(1).
    C_CrtRandom random(1);
    const std::vector<uint32_t> expected = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358};
    for (const uint32_t ulExpected : expected)
        EXPECT_EQ(random.Next(), ulExpected);
    C_CrtRandom other(2);
    EXPECT_NE(other.Next(), 41u);
}

TEST(AccessPosition, OneMByteFile)
{
    const uint64_t ullFileSize = 1048576;   // 256 blocks
    struct S_Case {
        uint32_t ulRandom;
        uint64_t ullPosition;
    };
    for (const S_Case& c : std::vector<S_Case>{{0, 0},
                                               {128, 0},             // 128 × 255 / 32767 = 0
                                               {129, 4096},
                                               {16384, 127 * 4096},
                                               {32766, 254 * 4096},  // the last block only for 32767
                                               {32767, 255 * 4096}}) {
        SCOPED_TRACE(c.ulRandom);
        EXPECT_EQ(AccessPosition(c.ulRandom, ullFileSize), c.ullPosition);
    }
    std::set<uint64_t> positions;
    for (uint32_t r = 0; r <= kCrtRandomMax; ++r) {
        const uint64_t ullPosition = AccessPosition(r, ullFileSize);
        ASSERT_EQ(ullPosition % 4096, 0u) << r;
        ASSERT_LE(ullPosition + 4096, ullFileSize) << r;
        positions.insert(ullPosition);
    }
    EXPECT_EQ(positions.size(), 256u);
}

TEST(AccessPosition, EdgesOfTheFileSize)
{
    EXPECT_EQ(AccessPosition(32767, 0), 0u);
    EXPECT_EQ(AccessPosition(32767, 4095), 0u);
    EXPECT_EQ(AccessPosition(32767, 4096), 0u);          // one block: always the first
    EXPECT_EQ(AccessPosition(32767, 8191), 0u);
    EXPECT_EQ(AccessPosition(32767, 8192), 4096u);
    // 10000 MByte: positions reach the last block, in steps of at most 32768 positions.
    const uint64_t ullLarge = 10000ull * 1048576;
    EXPECT_EQ(AccessPosition(32767, ullLarge), ullLarge - 4096);
    EXPECT_EQ(AccessPosition(1, ullLarge), (ullLarge / 4096 - 1) / 32767 * 4096);
}

} // namespace
