#include "framework/win/ErrorText.h"

#include <gtest/gtest.h>

#include <cstring>

#include "framework/win/Library.h"

namespace {

void ExpectOneLine(const char* pszText)
{
    ASSERT_NE(pszText, nullptr);
    const size_t nLength = std::strlen(pszText);
    EXPECT_GT(nLength, 0u);
    EXPECT_LT(nLength, static_cast<size_t>(kErrorTextBuffer));
    EXPECT_EQ(std::strpbrk(pszText, "\r\n"), nullptr) << pszText;
    EXPECT_NE(pszText[nLength - 1], ' ') << pszText;
}

TEST(ErrorText, SystemErrorsGiveOneLineOfText)
{
    for (DWORD dwError : {ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED, ERROR_DISK_FULL,
                          ERROR_INVALID_PARAMETER}) {
        SCOPED_TRACE(dwError);
        char szText[kErrorTextBuffer];
        EXPECT_EQ(GetErrorText(dwError, szText), szText);
        ExpectOneLine(szText);
    }
}

TEST(ErrorText, InternetErrorsComeFromWininetOnceLoaded)
{
    C_Library wininet("wininet.dll");
    ASSERT_TRUE(wininet.IsLoaded());
    char szText[kErrorTextBuffer];
    EXPECT_EQ(GetErrorText(12029, szText), szText);   // cannot connect
    ExpectOneLine(szText);
}

TEST(ErrorText, UnknownNumbersGiveNull)
{
    char szText[kErrorTextBuffer] = "untouched";
    EXPECT_EQ(GetErrorText(0x2FFFFFFF, szText), nullptr);
}

} // namespace
