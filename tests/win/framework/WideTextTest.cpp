// Text between the 8-bit strings and UTF-16.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "framework/win/WideText.h"

namespace {

TEST(WideText, ConvertsWholeStringsAndStopsAtTheZeroOnlyWhenAsked)
{
    // The A functions treat text as code page 1252 here: Ä is U+00C4, in UTF-8 C3 84.
    EXPECT_EQ(WideText("A\xC4"), std::wstring(L"A\u00C4"));
    EXPECT_EQ(NarrowText(WideText("A\xC4"), CP_UTF8), "A\xC3\x84");
    EXPECT_EQ(NarrowText(L"A\u00C4"), "A\xC4");

    // A whole string keeps what follows a zero; a pointer with -1 ends there.
    const std::string strZero("a\0b", 3);
    EXPECT_EQ(WideText(strZero), std::wstring(L"a\0b", 3));
    EXPECT_EQ(NarrowText(std::wstring(L"a\0b", 3)), strZero);
    EXPECT_EQ(NarrowText(L"a\0b"), "a");
    EXPECT_EQ(NarrowText(L"abc", 2), "ab");

    EXPECT_EQ(WideText(""), std::wstring());
    EXPECT_EQ(NarrowText(nullptr), "");
    EXPECT_EQ(NarrowText(L""), "");
    EXPECT_EQ(NarrowText(L"abc", 0), "");
    // Invalid UTF-8 is refused where the caller asks, converted where it does not.
    EXPECT_EQ(WideText("\xC3(", CP_UTF8, MB_ERR_INVALID_CHARS), std::wstring());
    EXPECT_FALSE(WideText("\xC3(", CP_UTF8).empty());
}

} // namespace
