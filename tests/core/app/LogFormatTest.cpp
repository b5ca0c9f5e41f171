#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/core/LogFormat.h"
#include "app/core/QuickAccessLog.h"

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

class C_Lines : public I_LogSink {
public:
    std::vector<std::string> lines;
    void WriteMessage(const char* pszMessage) override { lines.push_back(pszMessage); }
};

TEST(QuickAccessLog, LinesOfARunOnOneDrive)
{
    C_Lines sink;
    C_QuickAccessLog log(&sink);
    log.DriveStart('E', "USB 3.0");
    log.PassStart(E_QuickPass::SequentialWrite, 'E');
    log.PassResult(E_QuickPass::SequentialWrite, 'E', "120.5 MB/sec");
    log.PassWarning(E_QuickPass::SequentialWrite, 'E', "");
    log.PassWarning(E_QuickPass::SequentialRead, 'E', "slow");
    log.PassFailed(E_QuickPass::Qd32Write, 'E');
    log.PassResult(E_QuickPass::Qd32Read, 'E', "");
    log.DriveFinish('E');
    const std::vector<std::string> expected = {
        "Quick Access: Start test on E:\\ USB 3.0.",
        "Quick Access Sequential Write: Start test on E:\\.",
        "Quick Access Sequential Write: Test result on E:\\: 120.5 MB/sec.",
        "Quick Access Sequential Read: Warning on E:\\: slow.",
        "Quick Access QD32 Write: Test failed on E:\\.",
        "Quick Access QD32 Read: Test result on E:\\: .",
        "Quick Access: Finish test on E:\\.",
    };
    EXPECT_EQ(sink.lines, expected);

    // Without a log file nothing is written, and nothing breaks.
    C_QuickAccessLog none(nullptr);
    none.DriveStart('E', nullptr);
    none.PassResult(E_QuickPass::Qd32Read, 'E', nullptr);
}

} // namespace
