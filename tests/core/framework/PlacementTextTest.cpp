#include <gtest/gtest.h>

#include "framework/core/PlacementText.h"

namespace {

TEST(PlacementText, FormatAndParseRoundTrip)
{
    S_Placement p;
    p.nShowCommand = 3;
    p.rect = {-1920, 10, -100, 1000};
    EXPECT_EQ(FormatPlacement(p), "3,-1920,10,-100,1000");
    S_Placement back;
    ASSERT_TRUE(ParsePlacement(FormatPlacement(p).c_str(), back));
    EXPECT_EQ(back.nShowCommand, 3);
    EXPECT_EQ(back.rect.nLeft, -1920);
    EXPECT_EQ(back.rect.nBottom, 1000);
}

TEST(PlacementText, FewerThanFiveNumbersIsAFailureThatChangesNothing)
{
    S_Placement p;
    p.nShowCommand = 9;
    for (const char* psz : {"", "1,2,3,4", "1;2;3;4;5", "abc", "1,2,3,4,x"}) {
        SCOPED_TRACE(psz);
        EXPECT_FALSE(ParsePlacement(psz, p));
        EXPECT_EQ(p.nShowCommand, 9);
    }
    EXPECT_FALSE(ParsePlacement(nullptr, p));
    // "%i" also reads hexadecimal numbers.
    ASSERT_TRUE(ParsePlacement("1,0x10,2,3,4", p));
    EXPECT_EQ(p.rect.nLeft, 16);
}

TEST(PlacementText, ShowCommandRules)
{
    EXPECT_EQ(AdjustShowCommand(2, 0), 1);
    EXPECT_EQ(AdjustShowCommand(2, PLACEMENT_ALLOW_MINIMIZED), 2);
    EXPECT_EQ(AdjustShowCommand(0, 0), 1);
    EXPECT_EQ(AdjustShowCommand(0, PLACEMENT_ALLOW_HIDDEN), 0);
    EXPECT_EQ(AdjustShowCommand(3, 0), 3);
    EXPECT_EQ(AdjustShowCommand(3, PLACEMENT_FORCE_HIDDEN), 0);
    EXPECT_EQ(AdjustShowCommand(1, PLACEMENT_FORCE_MINNOACTIVE), 7);
    EXPECT_EQ(AdjustShowCommand(1, PLACEMENT_FORCE_HIDDEN | PLACEMENT_FORCE_MINNOACTIVE), 7);
}

TEST(PlacementText, KeepSizeKeepPositionAndWorkArea)
{
    const S_Rect saved = {100, 200, 500, 400};
    const S_Rect current = {10, 20, 110, 70};
    S_Rect r = KeepSizeOrPosition(saved, current, PLACEMENT_KEEP_SIZE);
    EXPECT_EQ(r.nLeft, 100);
    EXPECT_EQ(r.nTop, 200);
    EXPECT_EQ(r.Width(), 100);
    EXPECT_EQ(r.Height(), 50);
    r = KeepSizeOrPosition(saved, current, PLACEMENT_KEEP_POSITION);
    EXPECT_EQ(r.nLeft, 10);
    EXPECT_EQ(r.nTop, 20);
    EXPECT_EQ(r.Width(), 400);
    EXPECT_EQ(r.Height(), 200);
    r = MoveIntoWorkArea({-5000, -5000, -4600, -4800}, {0, 30, 1920, 1050});
    EXPECT_EQ(r.nLeft, 10);
    EXPECT_EQ(r.nTop, 40);
    EXPECT_EQ(r.Width(), 400);
    EXPECT_EQ(r.Height(), 200);
}

} // namespace
