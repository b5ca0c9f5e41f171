#include "framework/core/DurationText.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct S_Fields {
    unsigned uHour, uMinute, uSecond;
    const char* pszPicture;
    const char* pszText;
};

TEST(DurationText, UnderADayFollowsThePictureOfTheLargestNonzeroField)
{
    const std::vector<S_Fields> cases = {
        {0, 0, 0, "s 'sec'", "0 sec"},
        {0, 0, 59, "s 'sec'", "59 sec"},
        {0, 1, 30, "m:ss", "1:30"},
        {0, 59, 5, "m:ss", "59:05"},
        {1, 0, 0, "H:mm:ss", "1:00:00"},
        {23, 59, 59, "H:mm:ss", "23:59:59"},
    };
    for (const S_Fields& c : cases) {
        SCOPED_TRACE(c.pszText);
        EXPECT_STREQ(DurationPicture(c.uHour, c.uMinute, c.uSecond), c.pszPicture);
        EXPECT_EQ(FormatShortDuration(c.uHour, c.uMinute, c.uSecond), c.pszText);
    }
}

TEST(DurationText, FromADayOnHoursCountPast24)
{
    struct S_Long {
        uint64_t ullSeconds;
        const char* pszText;
    };
    const std::vector<S_Long> cases = {
        {0, "0 sec"},
        {59, "59 sec"},
        {60, "1:00"},
        {3599, "59:59"},
        {3600, "1:00:00"},
        {26 * 3600, "26:00:00"},
        {90061, "25:01:01"},
        {1000ull * 3600 * 24 * 365, "8760000:00:00"},
    };
    for (const S_Long& c : cases) {
        SCOPED_TRACE(c.pszText);
        EXPECT_EQ(FormatLongDuration(c.ullSeconds), c.pszText);
    }
}

TEST(DurationText, FieldsCountDaysFromOne)
{
    EXPECT_EQ(DurationSecondsFromFields(1, 0, 0, 0), 0u);
    EXPECT_EQ(DurationSecondsFromFields(0, 0, 0, 7), 7u);
    EXPECT_EQ(DurationSecondsFromFields(2, 2, 0, 0), 26u * 3600);
    EXPECT_EQ(DurationSecondsFromFields(31, 23, 59, 59), 31u * 86400 - 1);
}

} // namespace
