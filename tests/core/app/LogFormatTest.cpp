#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/core/LogFormat.h"

namespace {

TEST(LogFormat, LinesByOption)
{
    struct S_Case {
        uint32_t ulOptions;
        const char* pszMessage;
        const char* pszLine;
    };
    const std::vector<S_Case> cases = {
        {LOG_DATE_TIME, "Start", "1.2.2024 10:00:00: Start\r\n"},
        {LOG_DATE_TIME, "Start\n", "1.2.2024 10:00:00: Start\r\n"},
        {LOG_DATE_TIME, "Start\r\n", "1.2.2024 10:00:00: Start\r\n"},
        {LOG_DATE_TIME, "a\nb", "1.2.2024 10:00:00: a\nb\r\n"},
        {LOG_DATE_TIME, "", "1.2.2024 10:00:00: \r\n"},
        {0, "plain", "plain\r\n"},
        {0, "", "\r\n"},
        {0, "\n", "\r\n"},
        {LOG_DATE_TIME | LOG_NO_COLON, "Start", "1.2.2024 10:00:00 Start\r\n"},
        {LOG_NUMBERED, "Start", "17 Start\r\n"},
        {LOG_NUMBERED | LOG_DATE_TIME, "Start", "17 Start\r\n"},
        {LOG_DATE_TIME | LOG_QUOTED, "say \"hi\"\r\n", "\"1.2.2024 10:00:00\",\"say \"\"hi\"\"\"\r\n"},
        {LOG_QUOTED, "x", "\"x\"\r\n"},
    };
    for (const S_Case& c : cases) {
        SCOPED_TRACE(c.pszLine);
        EXPECT_EQ(ComposeLogLine(c.ulOptions, "1.2.2024", "10:00:00", 17, c.pszMessage), c.pszLine);
    }
}

} // namespace
