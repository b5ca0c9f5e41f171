#include "quick/core/QuickRate.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

TEST(QuickRate, TooFastUpToTenMicroseconds)
{
    EXPECT_TRUE(IsTooFast(0));
    EXPECT_TRUE(IsTooFast(10));
    EXPECT_FALSE(IsTooFast(11));
}

TEST(QuickRate, CountsToMicroseconds)
{
    struct S_Case {
        uint64_t ullCounts;
        uint64_t ullFrequency;
        uint64_t ullMicroseconds;
    };
    for (const S_Case& c : std::vector<S_Case>{{0, 10000000, 0},
                                               {9, 10000000, 0},            // below one microsecond
                                               {10, 10000000, 1},
                                               {60000000, 10000000, 6000000},
                                               {3579545, 3579545, 1000000},
                                               {5, 0, 0}}) {
        SCOPED_TRACE(c.ullCounts);
        EXPECT_EQ(CountsToMicroseconds(c.ullCounts, c.ullFrequency), c.ullMicroseconds);
    }
}

TEST(QuickRate, SequentialRateInSinglePrecision)
{
    struct S_Case {
        uint64_t ullBytes;
        uint64_t ullMicroseconds;
        uint32_t ulMBytes;
        std::string strText;
    };
    for (const S_Case& c : std::vector<S_Case>{
             {1048576, 1000000, 1, "1024.0 kByte/sec"},
             {4000 * kMByte, 10000000, 400, "400.0 MByte/sec"},
             {250 * kMByte, 7100000, 35, "35.2 MByte/sec"},
             {1048576, 11, 90909, "88.8 GByte/sec"},
             {2 * kMByte, 2000001, 0, "1024.0 kByte/sec"},   // just below 1 MByte/sec: truncated to 0
             // 10000 MByte: the product 1.0e16 is beyond a float's exact integers, still near
             {10000 * kMByte, 100000000, 100, "100.0 MByte/sec"},
         }) {
        SCOPED_TRACE(c.strText);
        const float fRate = TransferRate(c.ullBytes, c.ullMicroseconds);
        const float fExpected = static_cast<float>(c.ullBytes * 1000000) / static_cast<float>(c.ullMicroseconds);
        EXPECT_EQ(fRate, fExpected);
        EXPECT_EQ(WholeMBytesPerSecond(fRate), c.ulMBytes);
        EXPECT_EQ(RateText(fRate), c.strText);
    }
    EXPECT_EQ(TransferRate(1, 0), 0.0f);
}

TEST(QuickRate, RandomResultText)
{
    // 18898 accesses in six seconds: 12.3 MByte/sec, 3149.7 accesses per second, 0.32 ms each.
    EXPECT_EQ(AccessResultText(18898, 6000000), "12.3 MByte/sec, 3149.7 IOPS, 0.32 ms");
    EXPECT_EQ(AccessResultText(1, 6000000), "682 Byte/sec, 0.2 IOPS, 6000.00 ms");
    // Each step of the rate is rounded to single precision.
    float fExpected = 300000.0f;
    fExpected *= 4096.0f;
    fExpected *= 1000.0f;
    fExpected *= 1000.0f;
    EXPECT_EQ(AccessRate(300000, 6000123), fExpected / 6000123.0f);
    EXPECT_EQ(AccessMeanMs(0, 6000000), 0.0f);
}

} // namespace
