#include "framework/core/SizeText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

struct S_SizeCase {
    uint64_t ullBytes;
    int nShortUnit;
    const char* pszText;
};

TEST(SizeText, FormatSizeChoosesUnitAbove2048OfTheSmallerOne)
{
    const std::vector<S_SizeCase> cases = {
        {0, 0, "0 Byte"},
        {2048, 0, "2048 Byte"},
        {2049, 0, "2.0 kByte"},
        {1048576, 0, "1024.0 kByte"},
        {2097152, 0, "2048.0 kByte"},
        {2098176, 0, "2.0 MByte"},
        {2147483648ull, 0, "2048.0 MByte"},
        {4294967296ull, 0, "4.0 GByte"},
        {3ull << 40, 0, "3.0 TByte"},
        {1ull << 62, 0, "4096.0 PByte"},
        {0x7FFFFFFFFFFFFFFFull, 0, "8192.0 PByte"},
        {0xFFFFFFFFFFFFFFFFull, 0, "16384.0 PByte"},
        {1500000000, 1, "1430.5 MB"},
        {2147483648ull, 1, "2048.0 MB"},
        {3221225472ull, 1, "3.0 GB"},
        {1000, 1, "1000 Byte"},
        {0, 1, "0 Byte"},
    };
    for (const S_SizeCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.ullBytes << " short=" << c.nShortUnit);
        char szText[kFormatSizeBuffer];
        std::memset(szText, 'x', sizeof(szText));
        const int nLength = FormatSize(c.ullBytes, szText, c.nShortUnit, 1);
        EXPECT_STREQ(szText, c.pszText);
        EXPECT_EQ(nLength, static_cast<int>(std::strlen(c.pszText)));
        EXPECT_EQ(FormatSize(c.ullBytes, c.nShortUnit, 1), c.pszText);
    }
}

TEST(SizeText, FormatSizeDecimalsAffectOnlyScaledValues)
{
    EXPECT_EQ(FormatSize(1500000000, 0, 0), "1431 MByte");
    EXPECT_EQ(FormatSize(1500000000, 0, 3), "1430.511 MByte");
    EXPECT_EQ(FormatSize(2000, 0, 3), "2000 Byte");
    // Absurd decimal counts still fit the documented buffer.
    char szText[kFormatSizeBuffer];
    EXPECT_LT(FormatSize(0xFFFFFFFFFFFFFFFFull, szText, 0, 1000), kFormatSizeBuffer);
    EXPECT_STREQ(szText, "16384.000000000 PByte");
    EXPECT_EQ(FormatSize(4096, 0, -5), "4 kByte");
}

TEST(SizeText, ParseSizeNeedsTheUnitAfterABlank)
{
    struct S_ParseCase {
        const char* pszText;
        bool bSize;
        double dBytes;
    };
    const std::vector<S_ParseCase> cases = {
        {"1.5 MByte", true, 1572864.0},
        {"1.5 MB", true, 1572864.0},
        {"1.5 MB/sec", true, 1572864.0},
        {"12 Byte", true, 12.0},
        {"0 Byte", true, 0.0},
        {"2048.0 kByte", true, 2097152.0},
        {"3.0 GB", true, 3221225472.0},
        {"2 TByte", true, 2199023255552.0},
        {"4096.0 PByte", true, 4611686018427387904.0},
        {"12 bytes", false, 0},
        {"2.0kByte", false, 0},
        {"Byte", false, 0},
        {"n/a Byte", false, 0},
        {"nan MB", false, 0},
        {"", false, 0},
        {"1:30", false, 0},
    };
    for (const S_ParseCase& c : cases) {
        SCOPED_TRACE(c.pszText);
        double dBytes = -1;
        EXPECT_EQ(ParseSize(c.pszText, &dBytes), c.bSize);
        EXPECT_DOUBLE_EQ(dBytes, c.bSize ? c.dBytes : -1.0);
    }
    double dBytes = 0;
    EXPECT_FALSE(ParseSize(nullptr, &dBytes));
}

TEST(SizeText, FormattedSizesReadBackWithinTheirLastDecimal)
{
    const uint64_t ullValues[] = {0, 1, 2048, 2049, 123456789, 1ull << 40, (1ull << 62) + 12345,
                                  0xFFFFFFFFFFFFFFFFull};
    for (uint64_t ullValue : ullValues) {
        for (int nShort = 0; nShort <= 1; ++nShort) {
            const std::string strText = FormatSize(ullValue, nShort, 1);
            SCOPED_TRACE(strText);
            double dBytes = 0;
            ASSERT_TRUE(ParseSize(strText.c_str(), &dBytes));
            // One decimal of a unit that is at least 2048 of the next one.
            EXPECT_NEAR(dBytes, static_cast<double>(ullValue), static_cast<double>(ullValue) / 40.0);
        }
    }
}

TEST(SizeText, PrepareSortTextDropsSeparatorsAndColons)
{
    EXPECT_EQ(PrepareSortText("1.234.567", "."), "1234567");
    EXPECT_EQ(PrepareSortText("1:30:05", "."), "13005");
    EXPECT_EQ(PrepareSortText("1,234 x,y", ","), "1234 xy");
    EXPECT_EQ(PrepareSortText("1 234 567", "\xA0"), "1 234 567");
    EXPECT_EQ(PrepareSortText("1'''234", "''"), "1'234");
    EXPECT_EQ(PrepareSortText("a.b", ""), "a.b");
    EXPECT_EQ(PrepareSortText("a:b", nullptr), "ab");
    EXPECT_EQ(PrepareSortText(nullptr, "."), "");
}

int PlainCompare(const std::string& a, const std::string& b)
{
    return a.compare(b);
}

TEST(SizeText, MixedColumnSortsSizesByValueAndTheRestByText)
{
    // Pairs of sizes by bytes, every other pair by its prepared text.
    struct S_OrderCase {
        const char* pszFirst;
        const char* pszSecond;
        int nAscending;
    };
    const std::vector<S_OrderCase> cases = {
        {"2.0 MByte", "1024.0 kByte", 1},
        {"1024.0 kByte", "2.0 MByte", -1},
        {"1.0 MByte", "1024.0 kByte", 0},
        {"999 Byte", "1.0 kB", -1},
        {"2.0 MByte", "Not Tested", -1},        // "2.0 MByte" < "Not Tested" as text
        {"1.239", "1234", 1},                   // "1239" > "1234" once the point is gone
        {"1:30", "1:05", 1},
        {"abc", "abc", 0},
    };
    for (const S_OrderCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.pszFirst << " vs " << c.pszSecond);
        auto sign = [](int n) { return n > 0 ? 1 : (n < 0 ? -1 : 0); };
        EXPECT_EQ(sign(CompareColumnTexts(c.pszFirst, c.pszSecond, true, ".", PlainCompare)),
                  c.nAscending);
        EXPECT_EQ(sign(CompareColumnTexts(c.pszFirst, c.pszSecond, false, ".", PlainCompare)),
                  -c.nAscending);
    }

    std::vector<std::string> column = {"Not Tested", "3.0 GByte", "12 Byte", "2048.0 MByte",
                                       "1.5 MByte"};
    std::stable_sort(column.begin(), column.end(), [](const std::string& a, const std::string& b) {
        return CompareColumnTexts(a.c_str(), b.c_str(), true, ".", PlainCompare) < 0;
    });
    const std::vector<std::string> expected = {"12 Byte", "1.5 MByte", "2048.0 MByte",
                                               "3.0 GByte", "Not Tested"};
    EXPECT_EQ(column, expected);
}

} // namespace
