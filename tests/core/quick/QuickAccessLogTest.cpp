#include "quick/core/QuickAccessLog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

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
