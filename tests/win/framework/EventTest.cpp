#include "framework/win/Event.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>

#include "framework/win/OsWord.h"
#include "tests/win/framework/ActionWindow.h"

namespace {

using uitest::C_ActionWindow;

std::string UniqueName(const char* pszWhat)
{
    char sz[96];
    std::snprintf(sz, sizeof(sz), "QvEventTest_%s_%lu_%lu", pszWhat, ::GetCurrentProcessId(),
                  ::GetTickCount());
    return sz;
}

TEST(EventTest, SetResetAndWaitFollowTheResetMode)
{
    bool bTimedOut = false;

    C_Event manual;
    ASSERT_TRUE(manual.Create(true, false));
    EXPECT_FALSE(manual.Wait(0, &bTimedOut));
    EXPECT_TRUE(bTimedOut);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(WAIT_TIMEOUT));
    ASSERT_TRUE(manual.Set());
    EXPECT_TRUE(manual.Wait(0, &bTimedOut));
    EXPECT_FALSE(bTimedOut);
    EXPECT_TRUE(manual.Wait(0));  // manual reset: still signalled
    EXPECT_TRUE(manual.WaitPumping(0));   // a last look at the deadline
    ASSERT_TRUE(manual.Reset());
    EXPECT_FALSE(manual.Wait(0));
    EXPECT_FALSE(manual.WaitPumping(0));

    C_Event automatic;
    ASSERT_TRUE(automatic.Create(false, true));
    EXPECT_TRUE(automatic.Wait(0));
    EXPECT_FALSE(automatic.Wait(0, &bTimedOut));  // the first wait consumed it
    EXPECT_TRUE(bTimedOut);
}

TEST(EventTest, OperationsWithoutHandleFail)
{
    C_Event none;
    bool bTimedOut = true;
    EXPECT_FALSE(none.Set());
    EXPECT_FALSE(none.Reset());
    EXPECT_FALSE(none.Wait(0, &bTimedOut));
    EXPECT_FALSE(bTimedOut);
    EXPECT_FALSE(none.WaitPumping(0));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(EventTest, WaitWakesForTheSecondHandle)
{
    C_Event event, second;
    ASSERT_TRUE(event.Create(true, false));
    ASSERT_TRUE(second.Create(true, true));
    HANDLE hSecond = second.GetHandle();
    EXPECT_TRUE(event.Wait(0, nullptr, &hSecond));
    EXPECT_TRUE(event.WaitPumping(0, &hSecond));

    // A null second handle is left out of the set.
    HANDLE hNone = nullptr;
    bool bTimedOut = false;
    EXPECT_FALSE(event.Wait(0, &bTimedOut, &hNone));
    EXPECT_TRUE(bTimedOut);

    // Signalled later by another thread while waiting without limit.
    ASSERT_TRUE(second.Reset());
    std::thread setter([&] {
        ::Sleep(50);
        second.Set();
    });
    EXPECT_TRUE(event.Wait(INFINITE, nullptr, &hSecond));
    setter.join();
}

void CALLBACK CountApc(ULONG_PTR ulpCounter)
{
    ++*reinterpret_cast<std::atomic<int>*>(ulpCounter);
}

void CALLBACK SetEventApc(ULONG_PTR ulpEvent)
{
    reinterpret_cast<C_Event*>(ulpEvent)->Set();
}

TEST(EventTest, WaitRunsQueuedApcsAndGoesOn)
{
    C_Event event;
    ASSERT_TRUE(event.Create(true, false));

    // An APC alone does not end the wait: it goes on to the time-out.
    std::atomic<int> nApcs{0};
    ASSERT_NE(::QueueUserAPC(CountApc, ::GetCurrentThread(), reinterpret_cast<ULONG_PTR>(&nApcs)),
              0u);
    bool bTimedOut = false;
    EXPECT_FALSE(event.Wait(300, &bTimedOut));
    EXPECT_TRUE(bTimedOut);
    EXPECT_EQ(nApcs.load(), 1);

    // An APC that signals the event ends an unlimited wait.
    ASSERT_NE(::QueueUserAPC(SetEventApc, ::GetCurrentThread(), reinterpret_cast<ULONG_PTR>(&event)),
              0u);
    EXPECT_TRUE(event.Wait(INFINITE, &bTimedOut));
    EXPECT_FALSE(bTimedOut);
}

TEST(EventTest, AttachOwnsOnlyWhenTold)
{
    HANDLE hRaw = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(hRaw, nullptr);
    DWORD dwInfo = 0;
    {
        C_Event borrowed;
        borrowed.Attach(hRaw, false);
        EXPECT_TRUE(borrowed.Set());
    }
    EXPECT_NE(::GetHandleInformation(hRaw, &dwInfo), 0) << "a borrowed handle was closed";
    EXPECT_EQ(::WaitForSingleObject(hRaw, 0), WAIT_OBJECT_0);
    {
        C_Event owner;
        owner.Attach(hRaw, true);
        C_Event moved(std::move(owner));
        EXPECT_FALSE(owner.IsValid());
        EXPECT_EQ(moved.GetHandle(), hRaw);
    }
    EXPECT_EQ(::GetHandleInformation(hRaw, &dwInfo), 0) << "an owned handle was left open";
}

TEST(EventTest, GlobalNamesAreOpenableInTheGlobalNamespace)
{
    if ((GetOsWord() & 0x81) != 1)
        GTEST_SKIP() << "no global namespace on this system";

    const std::string strName = UniqueName("global");
    C_Event global;
    ASSERT_TRUE(global.Create(true, false, strName.c_str(), 1));
    HANDLE hOpened = ::OpenEventA(EVENT_MODIFY_STATE | SYNCHRONIZE, FALSE,
                                  ("Global\\" + strName).c_str());
    ASSERT_NE(hOpened, nullptr) << "error " << ::GetLastError();
    ASSERT_NE(::SetEvent(hOpened), 0);
    EXPECT_TRUE(global.Wait(0)) << "the opened event is another object";
    ::CloseHandle(hOpened);

    // Creating the same name again opens the existing event.
    C_Event again;
    ASSERT_TRUE(again.Create(true, false, strName.c_str(), 1));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_TRUE(again.Wait(0));

    // Without the global request the plain name is used.
    const std::string strLocal = UniqueName("local");
    C_Event local;
    ASSERT_TRUE(local.Create(true, true, strLocal.c_str(), 0));
    hOpened = ::OpenEventA(SYNCHRONIZE, FALSE, strLocal.c_str());
    ASSERT_NE(hOpened, nullptr);
    EXPECT_EQ(::WaitForSingleObject(hOpened, 0), WAIT_OBJECT_0);
    ::CloseHandle(hOpened);
}

TEST(EventTest, WaitPumpingDispatchesMessagesUntilTheEventIsSet)
{
    C_ActionWindow window;
    ASSERT_NE(window.GetHandle(), nullptr);
    C_Event event;
    ASSERT_TRUE(event.Create(true, false));

    // Messages are dispatched, and without the event the wait times out.
    int nCounted = 0;
    const C_ActionWindow::T_Action count = [&] { ++nCounted; };
    ASSERT_TRUE(window.Post(&count));
    EXPECT_FALSE(event.WaitPumping(200));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(nCounted, 1);

    // A handler run during an unlimited wait may end it.
    const C_ActionWindow::T_Action set = [&] {
        ++nCounted;
        event.Set();
    };
    ASSERT_TRUE(window.Post(&set));
    EXPECT_TRUE(event.WaitPumping(INFINITE));
    EXPECT_EQ(nCounted, 2);

    // Set by another thread; a message posted from there is handled too.
    ASSERT_TRUE(event.Reset());
    std::thread worker([&] {
        window.Post(&count);
        ::Sleep(100);
        event.Set();
    });
    EXPECT_TRUE(event.WaitPumping(30000));
    worker.join();
    EXPECT_EQ(nCounted, 3);
}

TEST(EventTest, WaitPumpingEndsOnQuitAndPostsItAgain)
{
    C_ActionWindow window;
    ASSERT_NE(window.GetHandle(), nullptr);
    C_Event event;
    ASSERT_TRUE(event.Create(true, false));

    int nHandled = 0;
    const C_ActionWindow::T_Action quit = [&] {
        ++nHandled;
        ::PostQuitMessage(7);
    };
    ASSERT_TRUE(window.Post(&quit));
    EXPECT_FALSE(event.WaitPumping(INFINITE));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_CANCELLED));
    EXPECT_EQ(nHandled, 1);

    MSG msg;
    ASSERT_NE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE), 0) << "WM_QUIT was swallowed";
    EXPECT_EQ(msg.wParam, 7u);
}

} // namespace
