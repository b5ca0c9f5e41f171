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

TEST(GraphValues, ScaleGrowsByAThirdAboveEachPeakOrClampsWithoutGrowing)
{
    C_GraphValues values;
    ASSERT_TRUE(values.Reset(10, 1, 0, 10));
    EXPECT_TRUE(values.AddPoint(0, 25.0f, 0, true));
    EXPECT_EQ(values.GetRange().nMaximum, 33);
    EXPECT_TRUE(values.AddPoint(1, 40.0f, 0, true));
    EXPECT_EQ(values.GetRange().nMaximum, 53);
    EXPECT_TRUE(values.AddPoint(2, 53.0f, 0, true));   // at the maximum: no growth, and never down
    EXPECT_TRUE(values.AddPoint(3, 12.0f, 0, true));
    EXPECT_EQ(values.GetRange().nMaximum, 53);
    EXPECT_EQ(values.Get(1, 0), 40.0f);
    // Peaks beyond 32 bits saturate instead of wrapping.
    EXPECT_EQ(GrownGraphMaximum(1.7e9f), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(GrownGraphMaximum(-3.0e9f), std::numeric_limits<int32_t>::min());

    // A new start is 0..10 and empty again; without growing, values are clamped.
    ASSERT_TRUE(values.Reset(10, 1, 0, 10));
    EXPECT_EQ(values.CountValues(0), 0u);
    EXPECT_TRUE(values.AddPoint(0, 25.0f, 0, false));
    EXPECT_TRUE(values.AddPoint(1, -3.0f, 0, false));
    EXPECT_EQ(values.Get(0, 0), 10.0f);
    EXPECT_EQ(values.Get(1, 0), 0.0f);
    EXPECT_EQ(values.GetRange().nMaximum, 10);

    // The range is [smaller of both, second]; from above that is flat.
    ASSERT_TRUE(values.Reset(3, 1, 20, 10));
    EXPECT_TRUE(values.GetRange().IsFlat());
    EXPECT_EQ(values.GetRange().nMinimum, 10);
}

TEST(GraphValues, SlotsArePointMajorAndPointsOutsideThemAreIgnored)
{
    C_GraphValues values;
    EXPECT_FALSE(values.AddPoint(0, 1.0f, 0, true));   // before any start
    ASSERT_TRUE(values.Reset(5, 0, 0, 10));            // no series: nothing to store into
    EXPECT_FALSE(values.AddPoint(0, 1.0f, 0, true));

    ASSERT_TRUE(values.Reset(5, 2, 0, 10));
    EXPECT_EQ(BitsOf(values.Get(4, 1)), 0x00800000u);
    EXPECT_FALSE(values.AddPoint(5, 1000.0f, 0, true));   // index == points
    EXPECT_FALSE(values.AddPoint(0, 1000.0f, 2, true));   // series == series count
    EXPECT_FALSE(values.AddPoint(0, std::numeric_limits<float>::quiet_NaN(), 0, true));
    EXPECT_FALSE(values.AddPoint(0, std::numeric_limits<float>::infinity(), 0, true));
    EXPECT_EQ(values.GetRange().nMaximum, 10);   // an ignored point does not grow the scale
    EXPECT_TRUE(values.AddPoint(4, 2.0f, 1, true));
    EXPECT_EQ(values.Get(4, 1), 2.0f);
    EXPECT_EQ(values.CountValues(0), 0u);
    EXPECT_EQ(values.CountValues(1), 1u);

    // Slot counts whose product passes 32 bits are refused, not wrapped into a small array.
    EXPECT_FALSE(values.Reset(0x10000u, 0x10001u, 0, 10));
    EXPECT_FALSE(values.HasValues());
    EXPECT_FALSE(values.AddPoint(0xFFFFu, 1.0f, 0x10000u, true));

    // Clearing (the window went away) drops the values but keeps the scale.
    ASSERT_TRUE(values.Reset(5, 1, 0, 10));
    ASSERT_TRUE(values.AddPoint(0, 25.0f, 0, true));
    values.Clear();
    EXPECT_FALSE(values.AddPoint(1, 1.0f, 0, true));
    EXPECT_EQ(values.GetRange().nMaximum, 33);
}

} // namespace
