#include "quick/core/LatencyHistogram.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

TEST(LatencyHistogram, BucketsCoverEveryValueOnce)
{
    uint64_t ullNext = 0;
    for (int nBucket = 0; nBucket < C_LatencyHistogram::kBuckets; ++nBucket) {
        SCOPED_TRACE(nBucket);
        const uint64_t ullLow = C_LatencyHistogram::BucketLow(nBucket);
        ASSERT_EQ(ullLow, ullNext);
        const uint64_t ullHigh = ullLow + C_LatencyHistogram::BucketWidth(nBucket) - 1;
        EXPECT_EQ(C_LatencyHistogram::BucketOf(ullLow), nBucket);
        EXPECT_EQ(C_LatencyHistogram::BucketOf(ullHigh), nBucket);
        // Each bucket holds at most 1/32 of its smallest value.
        if (ullLow >= 64) {
            EXPECT_LE(C_LatencyHistogram::BucketWidth(nBucket) * 32, ullLow);
        }
        ullNext = ullHigh + 1;
    }
    EXPECT_EQ(C_LatencyHistogram::BucketOf(UINT64_MAX), C_LatencyHistogram::kBuckets - 1);
}

TEST(LatencyHistogram, FiguresOfKnownSamples)
{
    C_LatencyHistogram histogram;
    EXPECT_EQ(histogram.Percentile(50), 0u);
    EXPECT_EQ(histogram.Mean(), 0.0);
    // 1..1000 µs, once each.
    for (uint64_t i = 1; i <= 1000; ++i)
        histogram.Record(i * 1000);
    EXPECT_EQ(histogram.Count(), 1000u);
    EXPECT_DOUBLE_EQ(histogram.Mean(), 500500.0);
    EXPECT_EQ(histogram.Max(), 1000000u);
    EXPECT_EQ(histogram.Min(), 1000u);
    struct S_Case {
        double dPercent;
        double dExpected;
    };
    for (const S_Case& c : std::vector<S_Case>{{50, 500000}, {99, 990000}, {0, 1000}, {100, 1000000}}) {
        SCOPED_TRACE(c.dPercent);
        const double dValue = static_cast<double>(histogram.Percentile(c.dPercent));
        EXPECT_NEAR(dValue, c.dExpected, c.dExpected / 32);
    }
}

TEST(LatencyHistogram, ThreadsAddUp)
{
    C_LatencyHistogram first;
    C_LatencyHistogram second;
    for (int i = 0; i < 99; ++i)
        first.Record(100000);           // 0.1 ms
    second.Record(50000000);            // one slow access: 50 ms
    C_LatencyHistogram total;
    total.Add(first);
    total.Add(second);
    EXPECT_EQ(total.Count(), 100u);
    EXPECT_EQ(total.Max(), 50000000u);
    EXPECT_EQ(total.Min(), 100000u);
    EXPECT_NEAR(static_cast<double>(total.Percentile(50)), 100000.0, 100000.0 / 32);
    EXPECT_NEAR(static_cast<double>(total.Percentile(99)), 100000.0, 100000.0 / 32);
    EXPECT_NEAR(static_cast<double>(total.Percentile(99.5)), 50000000.0, 50000000.0 / 32);
    total.Clear();
    EXPECT_EQ(total.Count(), 0u);
    EXPECT_EQ(total.Min(), 0u);
}

} // namespace
