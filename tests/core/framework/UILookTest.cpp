#include "framework/core/UILook.h"

#include <gtest/gtest.h>

#include <vector>

#include "framework/core/UIFlags.h"

namespace {

TEST(UILook, TabIconIsSeventyPercentRoundedToEight)
{
    struct S_Case {
        int nHeight;
        int nSize;
    };
    // 25 dialog units are 40 to 50 pixels at 96 DPI, 100 at 192 DPI.
    for (const S_Case& c : std::vector<S_Case>{{0, 0}, {10, 8}, {34, 24}, {40, 32}, {46, 32}, {50, 32},
                                               {51, 32}, {52, 40}, {100, 72}}) {
        SCOPED_TRACE(c.nHeight);
        EXPECT_EQ(TabButtonIconSize(c.nHeight), c.nSize);
    }
}

TEST(UILook, TextColourByState)
{
    struct S_Case {
        uint32_t ulFlags;
        int nColor;
    };
    const std::vector<S_Case> cases = {
        {0, UITEXT_COLOR_NORMAL},
        {UITEXT_HOT, UITEXT_COLOR_NORMAL},   // hot without tracking does not count
        {UITEXT_HOT | UITEXT_TRACK_MOUSE, UITEXT_COLOR_HOT},
        {UITEXT_HOT | UITEXT_TRACK_MOUSE | UITEXT_DISABLED, UITEXT_COLOR_DISABLED},
        {UITEXT_KEEP_TEXT_COLOR, UITEXT_COLOR_NONE},
        {UITEXT_KEEP_TEXT_COLOR | UITEXT_HOT | UITEXT_TRACK_MOUSE, UITEXT_COLOR_HOT},
        {UITEXT_KEEP_TEXT_COLOR | UITEXT_DISABLED, UITEXT_COLOR_DISABLED},
    };
    for (const S_Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.ulFlags);
        EXPECT_EQ(SelectTextColor(c.ulFlags), c.nColor);
    }
}

TEST(UILook, HitSpanFollowsTheAlignment)
{
    struct S_Case {
        int nClient;
        int nText;
        int nAlign;
        bool bWhole;
        int nLeft;
        int nRight;
    };
    const std::vector<S_Case> cases = {
        {100, 40, UI_ALIGN_LEFT, false, 0, 40},
        {100, 40, UI_ALIGN_RIGHT, false, 60, 100},
        {100, 40, UI_ALIGN_CENTER, false, 30, 70},
        {100, 40, UI_ALIGN_CENTER, true, 0, 100},
        {100, 250, UI_ALIGN_RIGHT, false, 0, 100},   // a text wider than the control
        {100, 0, UI_ALIGN_LEFT, false, 0, 0},        // nothing to hit
    };
    for (const S_Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.nText << " align " << c.nAlign);
        const S_Span span = HitSpan(c.nClient, c.nText, c.nAlign, c.bWhole);
        EXPECT_EQ(span.nLeft, c.nLeft);
        EXPECT_EQ(span.nRight, c.nRight);
    }
    EXPECT_FALSE(HitSpan(100, 40, UI_ALIGN_LEFT, false).Contains(40));
    EXPECT_TRUE(HitSpan(100, 40, UI_ALIGN_LEFT, false).Contains(39));
}

} // namespace
