// The console runner, started as its own process on the scratch drive.
#include <gtest/gtest.h>

#include <windows.h>

#include <regex>
#include <string>
#include <vector>

#include "quick/core/QuickAccessLog.h"
#include "framework/win/Texts.h"
#include "quick/core/QuickTextIds.h"
#include "tests/support/win/CliProcess.h"
#include "tests/support/win/QuickTestFiles.h"

namespace {

class QuickCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!PathExists(CliProgramPath()))
            GTEST_SKIP() << "quenvale-cli.exe is not built";
        if (!HasScratchDriveQ())
            GTEST_SKIP() << "no scratch drive Q:";
    }
    C_TempFolder folder;
};

TEST_F(QuickCli, RunsOnTheScratchDriveAndLogs)
{
    const std::string strLog = folder / "run.log";
    const S_CliRun run = RunCli("quick Q --size 2 --block 64k --skip-random --log \"" + strLog + "\"", folder);
    ASSERT_EQ(run.dwExitCode, 0u) << run.strErr;

    using L = C_QuickAccessLog;
    const std::string strNotTested = Texts().LoadText(TEXT_NOT_TESTED);
    const std::vector<std::string> vMessages = QuickLogMessages(strLog);
    ASSERT_EQ(vMessages.size(), 8u) << ReadWholeFile(strLog);
    EXPECT_EQ(vMessages[0], L::DriveStartText('Q', ""));
    EXPECT_EQ(vMessages[1], L::PassStartText(E_QuickPass::SequentialWrite, 'Q'));
    EXPECT_EQ(vMessages[2].rfind("Quick Access Sequential Write: Test result on Q:\\: ", 0), 0u);
    EXPECT_EQ(vMessages[3], L::PassStartText(E_QuickPass::SequentialRead, 'Q'));
    EXPECT_EQ(vMessages[4].rfind("Quick Access Sequential Read: Test result on Q:\\: ", 0), 0u);
    EXPECT_EQ(vMessages[5], L::PassResultText(E_QuickPass::Qd32Write, 'Q', strNotTested.c_str()));
    EXPECT_EQ(vMessages[6], L::PassResultText(E_QuickPass::Qd32Read, 'Q', strNotTested.c_str()));
    EXPECT_EQ(vMessages[7], L::DriveFinishText('Q'));

    // The drive's list text, the page's rows and the summary line.
    const std::string strFirstLine = run.strOut.substr(0, run.strOut.find('\n'));
    EXPECT_NE(strFirstLine.find("Q:"), std::string::npos) << run.strOut;
    EXPECT_NE(run.strOut.find("\n  " + Texts().LoadText(TEXT_SEQ_WRITE_LABEL)), std::string::npos);
    EXPECT_NE(run.strOut.find(Texts().LoadText(TEXT_NOT_TESTED)), std::string::npos);
    const size_t nSummary = run.strOut.rfind("\n", run.strOut.size() - 2);
    ASSERT_NE(nSummary, std::string::npos);
    const std::string strSummary = run.strOut.substr(nSummary + 1);
    EXPECT_NE(strSummary.find(" read, "), std::string::npos) << run.strOut;
    EXPECT_NE(strSummary.find(" write"), std::string::npos) << run.strOut;
    EXPECT_FALSE(PathExists("Q:\\QuenvaleTest"));
}

TEST_F(QuickCli, JsonOnAFolder)
{
    // Without the trailing '\', which would escape the closing quote.
    const std::string strFolder = folder.Path().substr(0, folder.Path().size() - 1);
    const S_CliRun run = RunCli("quick \"" + strFolder + "\" --size 1 --block 4k --skip-random --json", folder);
    ASSERT_EQ(run.dwExitCode, 0u) << run.strErr;
    for (const char* pszPart : {"\"file_size\": 1048576,", "\"block_size\": 4096,", "\"success\": true,",
                                "\"sequential_read\": {", "\"ran\": false,"}) {
        SCOPED_TRACE(pszPart);
        EXPECT_NE(run.strOut.find(pszPart), std::string::npos) << run.strOut;
    }
    EXPECT_FALSE(PathExists(folder / "QuenvaleTest"));
}

TEST_F(QuickCli, JsonOfTheRandomPassesCarriesTheirLatency)
{
    const std::string strFolder = folder.Path().substr(0, folder.Path().size() - 1);
    const S_CliRun run = RunCli("quick \"" + strFolder + "\" --size 1 --block 4k --json", folder);
    ASSERT_EQ(run.dwExitCode, 0u) << run.strErr;
    const std::regex latency(
        R"("latency_ms": \{"samples": ([1-9]\d*), "mean": (\d+\.\d{4}), "median": \d+\.\d{4}, )"
        R"("p99": \d+\.\d{4}, "max": \d+\.\d{4}\})");
    size_t nFound = 0;
    for (std::sregex_iterator it(run.strOut.begin(), run.strOut.end(), latency), end; it != end; ++it) {
        ++nFound;
        EXPECT_GT(std::stod((*it)[2].str()), 0.0) << it->str();
    }
    // The two random passes; the sequential ones have no latency record.
    EXPECT_EQ(nFound, 2u) << run.strOut;
    for (const char* pszPart : {"\"qd32_write\": {\n          \"ran\": true,\n          \"success\": true,",
                                "\"qd32_read\": {\n          \"ran\": true,\n          \"success\": true,"}) {
        SCOPED_TRACE(pszPart);
        EXPECT_NE(run.strOut.find(pszPart), std::string::npos) << run.strOut;
    }
}

TEST_F(QuickCli, AFailedPassGivesExitCodeOne)
{
    // A file where the test folder would go: the write pass cannot open its file.
    ASSERT_TRUE(WriteWholeFile(folder / "QuenvaleTest", "in the way"));
    const std::string strFolder = folder.Path().substr(0, folder.Path().size() - 1);
    const S_CliRun run = RunCli("quick \"" + strFolder + "\" --size 1 --block 64k --json", folder);
    EXPECT_EQ(run.dwExitCode, 1u) << run.strErr;
    EXPECT_NE(run.strErr.find("error: "), std::string::npos) << run.strErr;   // the open failure
    EXPECT_NE(run.strOut.find("\"success\": false,"), std::string::npos) << run.strOut;
    EXPECT_EQ(ReadWholeFile(folder / "QuenvaleTest"), "in the way");
}

TEST_F(QuickCli, BadArgumentsGiveUsage)
{
    for (const char* pszArguments : {"", "quick", "quick Q --size 0", "quick Q --block 8k", "quick Q --frob",
                                     "slow Q", "quick \"Q:\\no such folder\\\""}) {
        SCOPED_TRACE(pszArguments);
        const S_CliRun run = RunCli(pszArguments, folder);
        EXPECT_EQ(run.dwExitCode, 2u);
        EXPECT_NE(run.strErr.find("quenvale-cli: "), std::string::npos) << run.strErr;
        EXPECT_TRUE(run.strOut.empty());
    }
    const S_CliRun help = RunCli("--help", folder);
    EXPECT_EQ(help.dwExitCode, 0u);
    EXPECT_EQ(help.strOut.rfind("usage: quenvale-cli quick", 0), 0u) << help.strOut;
    // The runner's only help names its other command too.
    EXPECT_NE(help.strOut.find("\n       quenvale-cli devices "), std::string::npos) << help.strOut;
}

} // namespace
