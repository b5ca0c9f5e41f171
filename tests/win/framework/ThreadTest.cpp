#include "framework/win/Thread.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>

#include "tests/win/framework/ActionWindow.h"

namespace {

using uitest::C_ActionWindow;

// What a worker function sees: its thread object, a gate it waits on, and
// what it found.
struct S_Job {
    C_Thread* pThread = nullptr;
    HANDLE hGate = nullptr;                      // manual-reset; the worker waits for it
    const C_ActionWindow* pWindow = nullptr;     // PingAndWait posts onPing to it
    C_ActionWindow::T_Action onPing;
    std::atomic<bool> bStarted{false};
};

DWORD ReturnSecond(void*, uint32_t ulSecond)
{
    return ulSecond;
}

// Waits for the gate, then returns the second argument.
DWORD WaitForGate(void* pFirst, uint32_t ulSecond)
{
    auto* pJob = static_cast<S_Job*>(pFirst);
    pJob->bStarted = true;
    ::WaitForSingleObject(pJob->hGate, INFINITE);
    return ulSecond;
}

// Polls the stop request like a test pass between its accesses.
DWORD RunUntilStopped(void* pFirst, uint32_t)
{
    auto* pJob = static_cast<S_Job*>(pFirst);
    pJob->bStarted = true;
    while (!pJob->pThread->IsStopRequested())
        ::Sleep(1);
    return 7;
}

// Asks the test thread's window for something and waits for the answer.
DWORD PingAndWait(void* pFirst, uint32_t)
{
    auto* pJob = static_cast<S_Job*>(pFirst);
    pJob->pWindow->Post(&pJob->onPing);
    ::WaitForSingleObject(pJob->hGate, INFINITE);
    return 5;
}

DWORD SleepForever(void* pFirst, uint32_t)
{
    static_cast<S_Job*>(pFirst)->bStarted = true;
    for (;;)
        ::Sleep(5);
}

void WaitStarted(const S_Job& job)
{
    while (!job.bStarted)
        ::Sleep(1);
}

class ThreadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        job.hGate = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
        ASSERT_NE(job.hGate, nullptr);
        job.pThread = &thread;
    }
    void TearDown() override
    {
        ::SetEvent(job.hGate);
        thread.WaitForEnd(30000);
        ::CloseHandle(job.hGate);
    }

    S_Job job;
    C_Thread thread;
};

TEST_F(ThreadTest, IdleThreadRefusesStopAndWait)
{
    EXPECT_FALSE(thread.RequestStop());
    EXPECT_FALSE(thread.IsStopRequested());
    EXPECT_FALSE(thread.IsRunning());
    // No limit, yet it must return at once: nothing runs.
    EXPECT_FALSE(thread.WaitForEnd(0));
    DWORD dwCode = 99;
    EXPECT_TRUE(thread.GetExitCode(&dwCode));
    EXPECT_EQ(dwCode, 0u);
    EXPECT_FALSE(thread.Start(nullptr, nullptr, 0));
}

TEST_F(ThreadTest, ExitCodeOnlyAfterTheEnd)
{
    ASSERT_TRUE(thread.Start(WaitForGate, &job, 42));
    EXPECT_TRUE(thread.IsRunning());
    DWORD dwCode = 99;
    EXPECT_FALSE(thread.GetExitCode(&dwCode));
    EXPECT_EQ(dwCode, 99u);
    EXPECT_FALSE(thread.Start(WaitForGate, &job, 1)) << "started twice";

    // Times out while the gate is closed.
    EXPECT_FALSE(thread.WaitForEnd(50));
    EXPECT_TRUE(thread.IsRunning());

    ::SetEvent(job.hGate);
    EXPECT_TRUE(thread.WaitForEnd(0));
    EXPECT_FALSE(thread.IsRunning());
    EXPECT_TRUE(thread.GetExitCode(&dwCode));
    EXPECT_EQ(dwCode, 42u);
    EXPECT_TRUE(thread.GetExitCode(nullptr));

    // Runs again after the end, with the new arguments.
    ASSERT_TRUE(thread.Start(ReturnSecond, nullptr, 0xFFFFFFF0u));
    EXPECT_TRUE(thread.WaitForEnd(0));
    EXPECT_TRUE(thread.GetExitCode(&dwCode));
    EXPECT_EQ(dwCode, 0xFFFFFFF0u);
}

TEST_F(ThreadTest, StopRequestReachesTheWorkerAndIsClearedByStart)
{
    ASSERT_TRUE(thread.Start(RunUntilStopped, &job, 0));
    WaitStarted(job);
    EXPECT_FALSE(thread.IsStopRequested());
    EXPECT_TRUE(thread.RequestStop());
    EXPECT_TRUE(thread.WaitForEnd(30000));
    DWORD dwCode = 0;
    ASSERT_TRUE(thread.GetExitCode(&dwCode));
    EXPECT_EQ(dwCode, 7u);
    EXPECT_FALSE(thread.IsStopRequested()) << "reported for an ended thread";

    job.bStarted = false;
    ASSERT_TRUE(thread.Start(RunUntilStopped, &job, 0));
    WaitStarted(job);
    EXPECT_FALSE(thread.IsStopRequested()) << "Start kept the old stop request";
    EXPECT_TRUE(thread.IsRunning());
    EXPECT_TRUE(thread.RequestStop());
    EXPECT_TRUE(thread.WaitForEnd(30000));
}

TEST_F(ThreadTest, WaitForEndDispatchesMessagesAndStopsAtQuit)
{
    C_ActionWindow window;
    ASSERT_NE(window.GetHandle(), nullptr);
    job.pWindow = &window;
    int nPings = 0;
    // The worker can only end after the window of this thread has handled
    // its message, so the wait must dispatch it.
    job.onPing = [&] {
        ++nPings;
        ::SetEvent(job.hGate);
    };
    ASSERT_TRUE(thread.Start(PingAndWait, &job, 0));
    EXPECT_TRUE(thread.WaitForEnd(30000));
    EXPECT_EQ(nPings, 1);
    DWORD dwCode = 0;
    EXPECT_TRUE(thread.GetExitCode(&dwCode));
    EXPECT_EQ(dwCode, 5u);

    // WM_QUIT ends the wait and is posted again for the caller's loop.
    ::ResetEvent(job.hGate);
    job.onPing = [&] {
        ++nPings;
        ::PostQuitMessage(3);
    };
    ASSERT_TRUE(thread.Start(PingAndWait, &job, 0));
    EXPECT_FALSE(thread.WaitForEnd(0));
    EXPECT_EQ(nPings, 2);
    EXPECT_TRUE(thread.IsRunning());
    MSG msg;
    ASSERT_NE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE), 0);
    EXPECT_EQ(msg.wParam, 3u);
    ::SetEvent(job.hGate);
    EXPECT_TRUE(thread.WaitForEnd(0));
}

TEST_F(ThreadTest, TerminateKillsARunningThread)
{
    ASSERT_TRUE(thread.Start(SleepForever, &job, 0));
    WaitStarted(job);
    HANDLE hWatch = ::OpenThread(SYNCHRONIZE, FALSE, thread.GetThreadId());
    ASSERT_NE(hWatch, nullptr);
    thread.Terminate();
    EXPECT_EQ(::WaitForSingleObject(hWatch, 0), WAIT_OBJECT_0) << "still alive after Terminate";
    ::CloseHandle(hWatch);
    EXPECT_FALSE(thread.IsRunning());
    EXPECT_FALSE(thread.WaitForEnd(0));
    DWORD dwCode = 99;
    EXPECT_TRUE(thread.GetExitCode(&dwCode));
    EXPECT_EQ(dwCode, 0u);

    // Usable again afterwards.
    ASSERT_TRUE(thread.Start(ReturnSecond, nullptr, 9));
    EXPECT_TRUE(thread.WaitForEnd(0));
    EXPECT_TRUE(thread.GetExitCode(&dwCode));
    EXPECT_EQ(dwCode, 9u);
}

TEST_F(ThreadTest, DestructorKillsARunningThread)
{
    S_Job other;
    HANDLE hWatch = nullptr;
    {
        C_Thread scoped;
        ASSERT_TRUE(scoped.Start(SleepForever, &other, 0));
        WaitStarted(other);
        hWatch = ::OpenThread(SYNCHRONIZE, FALSE, scoped.GetThreadId());
        ASSERT_NE(hWatch, nullptr);
    }
    EXPECT_EQ(::WaitForSingleObject(hWatch, 0), WAIT_OBJECT_0);
    ::CloseHandle(hWatch);
}

// A new run, or Terminate, right after a run ended on its own must neither
// leak handles nor let the finished thread touch the new run's event or
// handle.
TEST_F(ThreadTest, RestartAndTerminateRightAfterTheEnd)
{
    DWORD dwHandlesBefore = 0;
    ASSERT_NE(::GetProcessHandleCount(::GetCurrentProcess(), &dwHandlesBefore), 0);

    for (uint32_t ul = 0; ul < 200; ++ul) {
        SCOPED_TRACE(ul);
        ASSERT_TRUE(thread.Start(ReturnSecond, nullptr, ul));
        while (thread.IsRunning())
            ::SwitchToThread();
        if (ul % 4 == 2) {
            // The run is over: that is an end, not a time-out.
            EXPECT_TRUE(thread.WaitForEnd(0));
            EXPECT_TRUE(thread.WaitForEnd(1));
        }
        if (ul % 2 == 0) {
            thread.Terminate();
            // Killed (here after its end) is not an end to report.
            EXPECT_FALSE(thread.WaitForEnd(0));
            DWORD dwCode = 99;
            ASSERT_TRUE(thread.GetExitCode(&dwCode));
            EXPECT_EQ(dwCode, 0u);
            continue;
        }
        // Not running any more: the code of this run is there.
        DWORD dwFirst = 99;
        ASSERT_TRUE(thread.GetExitCode(&dwFirst));
        EXPECT_EQ(dwFirst, ul);
        // The ended event of the next run must stay clear until it ends.
        ::ResetEvent(job.hGate);
        ASSERT_TRUE(thread.Start(WaitForGate, &job, ul + 1000));
        EXPECT_FALSE(thread.WaitForEnd(1));
        EXPECT_TRUE(thread.IsRunning());
        ::SetEvent(job.hGate);
        ASSERT_TRUE(thread.WaitForEnd(30000));
        DWORD dwCode = 0;
        ASSERT_TRUE(thread.GetExitCode(&dwCode));
        EXPECT_EQ(dwCode, ul + 1000);
    }

    DWORD dwHandlesAfter = 0;
    ASSERT_NE(::GetProcessHandleCount(::GetCurrentProcess(), &dwHandlesAfter), 0);
    EXPECT_LT(dwHandlesAfter, dwHandlesBefore + 20) << "handles leak";
}

} // namespace
