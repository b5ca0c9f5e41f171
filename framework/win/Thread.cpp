#include "framework/win/Thread.h"

// How a run ends. The running bit is taken away exactly once per run, either
// by the thread entry (the function returned) or by Terminate (the thread is
// killed); whoever clears it owns the end of the run:
// - The entry stores the exit code, then in one atomic step clears running
//   and sets the ending bit, takes the handle out of the object, sets the
//   ended event and clears the ending bit; after that it no longer touches
//   the object and closes the handle it took.
// - Terminate kills the thread and waits until it is gone before it resets
//   the exit code and closes the ended event.
// Start and Terminate wait while the ending bit is set, so a finishing thread
// never sets or closes handles that a new run or Terminate has replaced.
// Start creates the thread suspended and stores its handle before letting it
// run, so the entry always finds the handle it has to close.

C_Thread::~C_Thread()
{
    Terminate();
}

bool C_Thread::Start(ThreadFunction pFunctionIn, void* pFirstIn, uint32_t ulSecondIn)
{
    if (pFunctionIn == nullptr) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    if (ulFlags.load() & FLAG_RUNNING) {
        ::SetLastError(ERROR_BUSY);
        return false;
    }
    WaitUntilNotEnding();

    uint32_t ulOld = ulFlags.load();
    do {
        if (ulOld & FLAG_RUNNING) {
            ::SetLastError(ERROR_BUSY);
            return false;
        }
    } while (!ulFlags.compare_exchange_weak(ulOld, (ulOld & ~FLAG_STOP_REQUESTED) | FLAG_RUNNING));

    pFunction = pFunctionIn;
    pFirst = pFirstIn;
    ulSecond = ulSecondIn;

    if (!eventEnded.Create(true, false, nullptr, 0)) {
        ulFlags.fetch_and(~uint32_t{FLAG_RUNNING});
        return false;
    }

    DWORD dwId = 0;
    HANDLE hNew = ::CreateThread(nullptr, 0, ThreadEntry, this, CREATE_SUSPENDED, &dwId);
    if (hNew == nullptr) {
        ulFlags.fetch_and(~uint32_t{FLAG_RUNNING});
        return false;  // GetLastError() still holds the reason
    }
    hThread.store(hNew);
    dwThreadId = dwId;

    if (::ResumeThread(hNew) == static_cast<DWORD>(-1)) {
        const DWORD dwError = ::GetLastError();
        hThread.store(nullptr);
        ::TerminateThread(hNew, 0);
        ::WaitForSingleObject(hNew, INFINITE);
        ::CloseHandle(hNew);
        ulFlags.fetch_and(~uint32_t{FLAG_RUNNING});
        ::SetLastError(dwError);
        return false;
    }
    return true;
}

DWORD WINAPI C_Thread::ThreadEntry(void* pParameter)
{
    C_Thread* pThis = static_cast<C_Thread*>(pParameter);
    const DWORD dwCode = pThis->pFunction(pThis->pFirst, pThis->ulSecond);

    // Stored before running is cleared, so that GetExitCode never sees an
    // ended run with the code of the one before.
    pThis->dwExitCode.store(dwCode);

    uint32_t ulOld = pThis->ulFlags.load();
    do {
        // Terminate took this run over and is about to kill this thread.
        if (!(ulOld & FLAG_RUNNING))
            return dwCode;
    } while (!pThis->ulFlags.compare_exchange_weak(
        ulOld, (ulOld & ~uint32_t{FLAG_RUNNING}) | FLAG_ENDING));

    HANDLE hOwn = pThis->hThread.exchange(nullptr);
    pThis->eventEnded.Set();
    pThis->ulFlags.fetch_and(~uint32_t{FLAG_ENDING});
    // The object may be gone or running the next thread from here on.
    if (hOwn != nullptr)
        ::CloseHandle(hOwn);
    return dwCode;
}

void C_Thread::WaitUntilNotEnding() const
{
    // Only a few system calls without any waiting remain for the finishing
    // thread, so a short spin is enough.
    for (unsigned n = 0; ulFlags.load() & FLAG_ENDING; ++n) {
        if (n < 16)
            ::SwitchToThread();
        else
            ::Sleep(1);
    }
}

bool C_Thread::RequestStop()
{
    uint32_t ulOld = ulFlags.load();
    do {
        if (!(ulOld & FLAG_RUNNING))
            return false;
    } while (!ulFlags.compare_exchange_weak(ulOld, ulOld | FLAG_STOP_REQUESTED));
    return true;
}

bool C_Thread::IsStopRequested() const
{
    const uint32_t ulNow = ulFlags.load();
    return (ulNow & (FLAG_RUNNING | FLAG_STOP_REQUESTED)) == (FLAG_RUNNING | FLAG_STOP_REQUESTED);
}

bool C_Thread::IsRunning() const
{
    return (ulFlags.load() & FLAG_RUNNING) != 0;
}

bool C_Thread::WaitForEnd(DWORD dwMilliseconds)
{
    if (!(ulFlags.load() & FLAG_RUNNING)) {
        // A run that has already ended on its own counts as ended, so that a
        // worker finishing between RequestStop and this call is not taken
        // for one that failed to stop. Nothing started, or killed: false.
        WaitUntilNotEnding();
        return eventEnded.IsValid() && ::WaitForSingleObject(eventEnded.GetHandle(), 0) == WAIT_OBJECT_0;
    }
    return eventEnded.WaitPumping(dwMilliseconds == 0 ? INFINITE : dwMilliseconds);
}

void C_Thread::WaitForEndHoldingQuit()
{
    bool bQuit = false;
    WPARAM wQuitCode = 0;
    while (IsRunning() && !WaitForEnd(0)) {
        // WaitForEnd gave up on a WM_QUIT and posted it again: take it out
        // of the queue until the thread has ended.
        MSG msg;
        if (::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
            bQuit = true;
            wQuitCode = msg.wParam;
        } else {
            ::Sleep(1);   // the wait itself failed; try again
        }
    }
    if (bQuit)
        ::PostQuitMessage(static_cast<int>(wQuitCode));
}

bool C_Thread::GetExitCode(DWORD* pdwCode) const
{
    if (ulFlags.load() & FLAG_RUNNING)
        return false;
    if (pdwCode != nullptr)
        *pdwCode = dwExitCode.load();
    return true;
}

void C_Thread::Terminate()
{
    const uint32_t ulOld = ulFlags.fetch_and(~uint32_t{FLAG_RUNNING});
    if (ulOld & FLAG_RUNNING) {
        HANDLE hKill = hThread.exchange(nullptr);
        if (hKill != nullptr) {
            ::TerminateThread(hKill, 0);
            // TerminateThread only starts the end; the thread must be gone
            // before its event and exit code are touched.
            ::WaitForSingleObject(hKill, INFINITE);
            ::CloseHandle(hKill);
        }
    } else {
        WaitUntilNotEnding();
    }
    dwExitCode.store(0);
    eventEnded.Close();
}
