#ifndef QUENVALE_FRAMEWORK_THREAD_H
#define QUENVALE_FRAMEWORK_THREAD_H

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "framework/win/Event.h"

// One worker thread with a stop request, run again and again by its owner
// (a page keeps one as a member).
//
// Start, RequestStop, WaitForEnd, GetExitCode and Terminate are called by the
// owner's thread (the user-interface thread); IsStopRequested is polled by
// the worker between its accesses. The state is one atomic word, so both
// sides may look at it at any time.
class C_Thread {
public:
    // Called on the new thread with Start's two arguments; its result is the
    // exit code. pFirst is usually the page object, ulSecond a job word.
    using ThreadFunction = DWORD (*)(void* pFirst, uint32_t ulSecond);

    C_Thread() = default;
    // Kills a thread that still runs (see Terminate).
    ~C_Thread();
    C_Thread(const C_Thread&) = delete;
    C_Thread& operator=(const C_Thread&) = delete;

    // Starts pFunction(pFirst, ulSecond) on a new thread. Fails when a thread
    // of this object still runs, or when the ended event or the thread cannot
    // be created (GetLastError() holds the reason; the object stays idle).
    // Clears an earlier stop request.
    bool Start(ThreadFunction pFunctionIn, void* pFirstIn, uint32_t ulSecondIn);

    // Asks the running thread to stop; false when no thread runs.
    bool RequestStop();
    // The stop request while a thread runs; false when none runs.
    bool IsStopRequested() const;
    bool IsRunning() const;

    // Waits for the thread to end while the calling thread keeps dispatching
    // its window messages (handlers may run meanwhile). 0 waits without
    // limit. True when the thread ended, at once when the last run has
    // already ended on its own; false at once when nothing was started or the
    // last run was killed, on time-out and on WM_QUIT (which is re-posted).
    bool WaitForEnd(DWORD dwMilliseconds);

    // Waits without limit for a running thread to end while dispatching
    // messages, as WaitForEnd does, but goes on waiting past a WM_QUIT: the
    // quit request is held back and posted again once the thread has ended.
    // For an owner that is about to release what the thread still uses.
    void WaitForEndHoldingQuit();

    // False while the thread runs; otherwise stores the exit code of the last
    // run (0 before the first and after Terminate) when pdwCode is not null.
    bool GetExitCode(DWORD* pdwCode) const;

    // Kills a running thread with TerminateThread (exit code 0) and waits
    // until it is gone; then the exit code is 0 and the ended event closed.
    // A thread that is just finishing on its own is let finish instead.
    // Last resort only: a killed thread may leave locks and memory behind.
    void Terminate();

    // Id of the last thread started, 0 before the first.
    DWORD GetThreadId() const { return dwThreadId; }

private:
    enum : uint32_t {
        FLAG_RUNNING = 0x1,
        FLAG_STOP_REQUESTED = 0x2,
        // The thread has left its function and is finishing (setting the
        // ended event, closing its handle); Start and Terminate wait for it.
        FLAG_ENDING = 0x8,
    };

    static DWORD WINAPI ThreadEntry(void* pParameter);
    // Returns once no finishing thread touches the object any more.
    void WaitUntilNotEnding() const;

    ThreadFunction pFunction = nullptr;
    void* pFirst = nullptr;
    uint32_t ulSecond = 0;
    std::atomic<DWORD> dwExitCode{0};
    std::atomic<uint32_t> ulFlags{0};
    C_Event eventEnded;
    // Taken out and closed by the thread itself when it ends normally.
    std::atomic<HANDLE> hThread{nullptr};
    DWORD dwThreadId = 0;
};

#endif
