// The console runner's control handler, called as the system would call it
// (Wine sends no close, logoff or shutdown events), while a run goes on in
// this process on a temporary folder.
#include "app/cli/QuickConsoleRun.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "tests/support/win/TempFiles.h"

namespace {

class ConsoleControl : public ::testing::Test {
protected:
    // Starts "quick <folder> --size 1 --block 4k" (random passes on, so the
    // run lasts about 12 s) and returns once its test file exists.
    void StartRun()
    {
        S_QuickCommand command;
        command.vTargets.push_back(folder.Path().substr(0, folder.Path().size() - 1));
        command.ullFileSizeMBytes = 1;
        command.ulBlockSize = 4096;
        runner = std::thread([this, command]() { nExitCode.store(RunQuickCommand(command)); });
        const DWORD dwEnd = ::GetTickCount() + 20000;
        while (!PathExists(strTestFile)) {
            ASSERT_LT(static_cast<LONG>(::GetTickCount() - dwEnd), 0) << "the run made no test file";
            ::Sleep(1);
        }
    }
    void TearDown() override
    {
        if (runner.joinable())
            runner.join();
    }

    C_TempFolder folder;
    const std::string strTestFile = folder / "QuenvaleTest\\QuenvaleTest.bin";
    std::thread runner;
    std::atomic<int> nExitCode{-1};
};

TEST_F(ConsoleControl, NoRunNoHandling)
{
    for (const DWORD dwType : {CTRL_C_EVENT, CTRL_BREAK_EVENT, CTRL_CLOSE_EVENT, CTRL_LOGOFF_EVENT,
                               CTRL_SHUTDOWN_EVENT}) {
        SCOPED_TRACE(dwType);
        EXPECT_FALSE(QuickConsoleControl(dwType));
    }
}

TEST_F(ConsoleControl, CloseReturnsOnlyAfterTheRunHasCleanedUp)
{
    for (const DWORD dwType : {CTRL_CLOSE_EVENT, CTRL_LOGOFF_EVENT, CTRL_SHUTDOWN_EVENT}) {
        SCOPED_TRACE(dwType);
        StartRun();
        const DWORD dwStart = ::GetTickCount();
        EXPECT_TRUE(QuickConsoleControl(dwType));
        // The system ends the process now: the test file must be gone.
        EXPECT_FALSE(PathExists(strTestFile));
        EXPECT_FALSE(PathExists(folder / "QuenvaleTest"));
        EXPECT_LT(::GetTickCount() - dwStart, 5000u);
        runner.join();
        EXPECT_EQ(nExitCode.load(), CLI_EXIT_STOPPED);
    }
}

TEST_F(ConsoleControl, CtrlCStopsTheRun)
{
    StartRun();
    EXPECT_TRUE(QuickConsoleControl(CTRL_C_EVENT));
    runner.join();
    EXPECT_EQ(nExitCode.load(), CLI_EXIT_STOPPED);
    EXPECT_FALSE(PathExists(folder / "QuenvaleTest"));
    // Once the run is over the handler leaves the events to the system.
    EXPECT_FALSE(QuickConsoleControl(CTRL_C_EVENT));
}

} // namespace
