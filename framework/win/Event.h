#ifndef QUENVALE_FRAMEWORK_EVENT_H
#define QUENVALE_FRAMEWORK_EVENT_H

#include <windows.h>

#include <cstdint>

// One Win32 event. The object closes the handle in its destructor when it
// owns it (Create always owns; Attach says). Move-only.
//
// Operations return false on failure with GetLastError() holding the reason.
class C_Event {
public:
    C_Event();
    ~C_Event();
    C_Event(const C_Event&) = delete;
    C_Event& operator=(const C_Event&) = delete;
    C_Event(C_Event&& other) noexcept;
    C_Event& operator=(C_Event&& other) noexcept;

    // Closes any earlier handle, then creates a new event. A named event with
    // nGlobal 1 on an NT-family system from Windows 2000 on is created as
    // "Global\<name>" with a null DACL, so that every user may open it from
    // any logon session; when that descriptor cannot be built, the plain name
    // and default security are used. On success GetLastError() tells
    // ERROR_ALREADY_EXISTS apart, as with CreateEventA.
    bool Create(bool bManualReset, bool bInitialState, const char* pszName = nullptr,
                int nGlobal = 0);

    // Adopts an existing handle (closing any earlier one); with bOwn the
    // object closes it.
    void Attach(HANDLE hEventIn, bool bOwn);
    // Gives the handle up without closing it.
    HANDLE Detach();
    void Close();

    bool Set();
    bool Reset();

    // Alertable wait on the event and, when phSecond points to a non-null
    // handle, that handle too; queued APCs run and the wait goes on for the
    // rest of the time. True when either object is signalled. On time-out
    // *pbTimedOut becomes true (it is set false otherwise) and the result is
    // false; an abandoned mutex as the second handle also gives false.
    bool Wait(DWORD dwMilliseconds, bool* pbTimedOut = nullptr, HANDLE* phSecond = nullptr);

    // Waits like Wait but keeps dispatching the calling thread's window
    // messages. False on time-out (GetLastError() = WAIT_TIMEOUT), on
    // WM_QUIT (re-posted for the caller's own loop; GetLastError() =
    // ERROR_CANCELLED) and on a failed wait. In MSVC builds a structured
    // exception raised while one message is dispatched is swallowed and the
    // pump goes on; GCC has no __try, so there the exception takes its normal
    // course (the process's unhandled-exception filter).
    bool WaitPumping(DWORD dwMilliseconds, HANDLE* phSecond = nullptr);

    HANDLE GetHandle() const { return hEvent; }
    bool IsValid() const { return hEvent != nullptr; }

private:
    HANDLE hEvent = nullptr;
    bool bOwnsHandle = false;
    // Operating-system word taken at construction; decides global names.
    uint64_t ullOsWord = 0;
};

#endif
