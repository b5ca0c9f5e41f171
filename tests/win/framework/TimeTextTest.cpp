#include "framework/win/TimeText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

constexpr uint64_t kSecond = 10000000;

SYSTEMTIME MakeTime(WORD wYear, WORD wMonth, WORD wDay, WORD wHour, WORD wMinute, WORD wSecond)
{
    SYSTEMTIME st = {};
    st.wYear = wYear;
    st.wMonth = wMonth;
    st.wDay = wDay;
    st.wHour = wHour;
    st.wMinute = wMinute;
    st.wSecond = wSecond;
    return st;
}

// The UTC file time of a local time.
FILETIME FileTimeOfLocal(const SYSTEMTIME& stLocal)
{
    FILETIME ftLocal;
    FILETIME ftUtc = {};
    EXPECT_TRUE(::SystemTimeToFileTime(&stLocal, &ftLocal));
    EXPECT_TRUE(::LocalFileTimeToFileTime(&ftLocal, &ftUtc));
    return ftUtc;
}

TEST(TimeText, DurationWithoutSystemFormat)
{
    struct S_Case {
        uint64_t ullSeconds;
        const char* pszText;
    };
    const std::vector<S_Case> cases = {
        {0, "0 sec"},
        {59, "59 sec"},
        {90, "1:30"},
        {3723, "1:02:03"},
        {86399, "23:59:59"},
        {86400, "24:00:00"},
        {26 * 3600, "26:00:00"},
        {40ull * 86400 + 3600 + 61, "961:01:01"},    // past the first month
    };
    for (const S_Case& c : cases) {
        SCOPED_TRACE(c.pszText);
        std::string strText = "old";
        EXPECT_TRUE(FormatDuration(strText, c.ullSeconds * kSecond + 4999999, nullptr, true, nullptr));
        EXPECT_EQ(strText, c.pszText);

        // The same duration as a date counted from 1 January 1601.
        const FILETIME ft = {static_cast<DWORD>(c.ullSeconds * kSecond),
                             static_cast<DWORD>((c.ullSeconds * kSecond) >> 32)};
        SYSTEMTIME st;
        ASSERT_TRUE(::FileTimeToSystemTime(&ft, &st));
        strText.clear();
        EXPECT_TRUE(FormatDuration(strText, 0, &st, true, nullptr));
        EXPECT_EQ(strText, c.pszText);
    }
}

TEST(TimeText, DurationWithSystemFormatAlwaysGivesAText)
{
    // Systems without a duration format (Wine among them) take the fallback.
    std::string strText;
    EXPECT_TRUE(FormatDuration(strText, 90 * kSecond, nullptr, false, nullptr));
    EXPECT_FALSE(strText.empty());
    SYSTEMTIME st = MakeTime(1601, 1, 2, 2, 0, 0);
    strText.clear();
    EXPECT_TRUE(FormatDuration(strText, 0, &st, false, nullptr));
    EXPECT_FALSE(strText.empty());
    EXPECT_EQ(st.wDay, 2);      // the caller's time is left as it was
}

TEST(TimeText, FileDateAndTimeAreFixedNumericForms)
{
    struct S_Case {
        SYSTEMTIME stLocal;
        const char* pszDate;
        const char* pszTime;
    };
    const std::vector<S_Case> cases = {
        {MakeTime(2024, 3, 1, 12, 0, 0), " 1.03.2024", "12:00:00"},
        {MakeTime(1999, 12, 31, 9, 5, 7), "31.12.1999", " 9:05:07"},
        {MakeTime(2024, 2, 29, 0, 0, 59), "29.02.2024", " 0:00:59"},
    };
    for (const S_Case& c : cases) {
        SCOPED_TRACE(c.pszDate);
        const FILETIME ft = FileTimeOfLocal(c.stLocal);
        char szText[kFileTimeTextBuffer];
        EXPECT_NE(FormatFileDate(&ft, szText), 0);
        EXPECT_STREQ(szText, c.pszDate);
        EXPECT_NE(FormatFileTime(&ft, szText), 0);
        EXPECT_STREQ(szText, c.pszTime);
    }
    // A time no SYSTEMTIME can hold leaves the buffer untouched.
    const FILETIME ftInvalid = {0xFFFFFFFF, 0xFFFFFFFF};
    char szText[kFileTimeTextBuffer] = "untouched";
    EXPECT_EQ(FormatFileDate(&ftInvalid, szText), 0);
    EXPECT_EQ(FormatFileTime(&ftInvalid, szText), 0);
    EXPECT_STREQ(szText, "untouched");
}

TEST(TimeText, TimeDifferenceWritesTheDurationBack)
{
    SYSTEMTIME stLater = MakeTime(2024, 3, 2, 2, 0, 0);
    const SYSTEMTIME stEarlier = MakeTime(2024, 3, 1, 0, 0, 0);
    EXPECT_EQ(TimeDifference(&stLater, &stEarlier), 26 * 3600 * kSecond);
    EXPECT_EQ(stLater.wYear, 1601);
    EXPECT_EQ(stLater.wMonth, 1);
    EXPECT_EQ(stLater.wDay, 2);
    EXPECT_EQ(stLater.wHour, 2);
    std::string strText;
    FormatDuration(strText, 0, &stLater, true, nullptr);
    EXPECT_EQ(strText, "26:00:00");

    // An earlier time after the later one gives no negative duration.
    SYSTEMTIME stBefore = MakeTime(2024, 1, 1, 0, 0, 0);
    EXPECT_EQ(TimeDifference(&stBefore, &stEarlier), 0u);
    EXPECT_EQ(stBefore.wYear, 1601);
    EXPECT_EQ(stBefore.wDay, 1);
    EXPECT_EQ(stBefore.wHour, 0);

    // An invalid time changes nothing.
    SYSTEMTIME stInvalid = MakeTime(2024, 13, 1, 0, 0, 0);
    EXPECT_EQ(TimeDifference(&stInvalid, &stEarlier), 0u);
    EXPECT_EQ(stInvalid.wMonth, 13);
}

TEST(TimeText, TickCountAdvances)
{
    const uint64_t ullStart = TickCount64();
    ::Sleep(50);
    const uint64_t ullEnd = TickCount64();
    EXPECT_GE(ullEnd - ullStart, 30u);
    EXPECT_LT(ullEnd - ullStart, 5000u);
}

TEST(TimeText, DateAndTimeFollowTheLocale)
{
    const SYSTEMTIME st = MakeTime(2024, 3, 1, 13, 45, 30);
    std::string strDate;
    ASSERT_NE(FormatDate(strDate, DATE_SHORTDATE, &st, false), 0);
    EXPECT_NE(strDate.find("2024"), std::string::npos) << strDate;
    std::string strTime;
    ASSERT_NE(FormatTime(strTime, TIME_NOSECONDS, &st, false), 0);
    EXPECT_NE(strTime.find("45"), std::string::npos) << strTime;
    EXPECT_EQ(strTime.find("30"), std::string::npos) << strTime;

    // Shell short date and short time hold the same date and time.
    std::string strBoth;
    ASSERT_NE(FormatDateTime(strBoth, 0x2 | 0x1, &st, false), 0);
    EXPECT_NE(strBoth.find(strDate), std::string::npos) << strBoth;
    EXPECT_NE(strBoth.find(strTime), std::string::npos) << strBoth;

    // Failures leave the text as it was.
    const SYSTEMTIME stInvalid = MakeTime(2024, 13, 1, 0, 0, 0);
    std::string strKept = "kept";
    EXPECT_EQ(FormatDate(strKept, DATE_SHORTDATE, &stInvalid, false), 0);
    EXPECT_EQ(strKept, "kept");

    // Now, in UTC.
    SYSTEMTIME stNow;
    ::GetSystemTime(&stNow);
    ASSERT_NE(FormatDate(strDate, DATE_SHORTDATE, nullptr, true), 0);
    EXPECT_NE(strDate.find(std::to_string(stNow.wYear)), std::string::npos) << strDate;
}

} // namespace
