#include "blockaccess/core/GraphValues.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>

namespace {

uint32_t BitsOf(float fValue)
{
    uint32_t ulBits;
    std::memcpy(&ulBits, &fValue, sizeof(ulBits));
    return ulBits;
}

TEST(GraphValues, StartMakesEmptySlotsAndTheRange)
{
    C_GraphValues values;
    ASSERT_TRUE(values.Reset(7, 2, 0, 10));
    EXPECT_EQ(BitsOf(C_GraphValues::NoValue()), 0x00800000u);
    for (uint32_t x = 0; x < 7; ++x)
        for (uint32_t s = 0; s < 2; ++s)
            EXPECT_EQ(BitsOf(values.Get(x, s)), 0x00800000u);
    EXPECT_EQ(values.GetSeriesNames().size(), 2u);
    EXPECT_EQ(values.GetPointLabels().size(), 7u);
    EXPECT_EQ(values.GetRange().nMinimum, 0);
    EXPECT_EQ(values.GetRange().nMaximum, 10);

    // The range is [smaller of both, second]: from above gives a flat range.
    ASSERT_TRUE(values.Reset(3, 1, 20, 10));
    EXPECT_EQ(values.GetRange().nMinimum, 10);
    EXPECT_EQ(values.GetRange().nMaximum, 10);
    EXPECT_TRUE(values.GetRange().IsFlat());

    // Point-major: series 1 of point 2 sits right after series 0 of point 2.
    ASSERT_TRUE(values.Reset(4, 3, 0, 100));
    EXPECT_TRUE(values.AddPoint(2, 50.0f, 1, true));
    EXPECT_EQ(values.Get(2, 1), 50.0f);
    EXPECT_EQ(values.CountValues(1), 1u);
    EXPECT_EQ(values.CountValues(0), 0u);
    EXPECT_EQ(values.CountValues(2), 0u);
}

TEST(GraphValues, GrowingScaleRisesByAThirdAboveEachNewPeak)
{
    C_GraphValues values;
    ASSERT_TRUE(values.Reset(10, 1, 0, 10));
    EXPECT_TRUE(values.AddPoint(0, 25.0f, 0, true));
    EXPECT_EQ(values.GetRange().nMaximum, 33);
    EXPECT_TRUE(values.AddPoint(1, 40.0f, 0, true));
    EXPECT_EQ(values.GetRange().nMaximum, 53);
    // Never falls during a run; a value at the maximum does not raise it.
    EXPECT_TRUE(values.AddPoint(2, 12.0f, 0, true));
    EXPECT_TRUE(values.AddPoint(3, 53.0f, 0, true));
    EXPECT_EQ(values.GetRange().nMaximum, 53);
    EXPECT_EQ(values.GetRange().nMinimum, 0);
    EXPECT_EQ(values.Get(1, 0), 40.0f);   // the value itself is kept
    EXPECT_EQ(values.CountValues(0), 4u);

    // A new start begins again at 0..10 with nothing drawn.
    ASSERT_TRUE(values.Reset(10, 1, 0, 10));
    EXPECT_EQ(values.GetRange().nMaximum, 10);
    EXPECT_EQ(values.CountValues(0), 0u);

    // Peaks beyond what 32 bits hold saturate instead of wrapping.
    EXPECT_EQ(GrownGraphMaximum(3.0e9f), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(GrownGraphMaximum(1.7e9f), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(GrownGraphMaximum(-3.0e9f), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(GrownGraphMaximum(0.75f), 1);
}

TEST(GraphValues, FixedScaleClampsIntoTheRange)
{
    C_GraphValues values;
    ASSERT_TRUE(values.Reset(3, 1, 0, 10));
    EXPECT_TRUE(values.AddPoint(0, 25.0f, 0, false));
    EXPECT_TRUE(values.AddPoint(1, -3.0f, 0, false));
    EXPECT_TRUE(values.AddPoint(2, 4.5f, 0, false));
    EXPECT_EQ(values.Get(0, 0), 10.0f);
    EXPECT_EQ(values.Get(1, 0), 0.0f);
    EXPECT_EQ(values.Get(2, 0), 4.5f);
    EXPECT_EQ(values.GetRange().nMaximum, 10);
}

TEST(GraphValues, PointsOutsideTheArrayAreIgnoredAndLeaveTheScale)
{
    C_GraphValues values;
    // Before any start, and with no series, there is nothing to store into.
    EXPECT_FALSE(values.AddPoint(0, 1.0f, 0, true));
    ASSERT_TRUE(values.Reset(5, 0, 0, 10));
    EXPECT_FALSE(values.HasValues());
    EXPECT_FALSE(values.AddPoint(0, 1.0f, 0, true));

    ASSERT_TRUE(values.Reset(5, 2, 0, 10));
    EXPECT_FALSE(values.AddPoint(5, 1000.0f, 0, true));   // index == points
    EXPECT_FALSE(values.AddPoint(0, 1000.0f, 2, true));   // series == series count
    EXPECT_FALSE(values.AddPoint(0, std::numeric_limits<float>::quiet_NaN(), 0, true));
    EXPECT_FALSE(values.AddPoint(0, std::numeric_limits<float>::infinity(), 0, true));
    EXPECT_EQ(values.GetRange().nMaximum, 10);
    EXPECT_EQ(values.CountValues(0) + values.CountValues(1), 0u);
    EXPECT_EQ(BitsOf(values.Get(5, 0)), 0x00800000u);

    // The last slot is still inside.
    EXPECT_TRUE(values.AddPoint(4, 2.0f, 1, true));
    EXPECT_EQ(values.Get(4, 1), 2.0f);

    // Too many slots: refused like a failed allocation, and then nothing is stored.
    EXPECT_FALSE(values.Reset(0xFFFFFFFFu, 0xFFFFFFFFu, 0, 10));
    EXPECT_FALSE(values.HasValues());
    EXPECT_FALSE(values.AddPoint(0, 1.0f, 0, true));
    EXPECT_FALSE(values.Reset(static_cast<uint32_t>(C_GraphValues::kMaxValues / 2 + 1), 2, 0, 10));

    // Clearing (the window went away) drops the values but keeps the scale.
    ASSERT_TRUE(values.Reset(5, 1, 0, 10));
    ASSERT_TRUE(values.AddPoint(0, 25.0f, 0, true));
    values.Clear();
    EXPECT_FALSE(values.AddPoint(1, 1.0f, 0, true));
    EXPECT_EQ(values.GetRange().nMaximum, 33);
}

} // namespace
