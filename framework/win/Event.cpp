#include "framework/win/Event.h"

#include <string>
#include <utility>

#include "framework/win/OsWord.h"
#include "framework/win/TimeText.h"

namespace {

// Time left until ullDeadline, never more than dwLimit: a 32-bit tick count
// that wraps around makes "now" jump back, and the wait must not grow then.
DWORD Remaining(uint64_t ullDeadline, DWORD dwLimit)
{
    const uint64_t ullNow = TickCount64();
    if (ullNow >= ullDeadline)
        return 0;
    const uint64_t ullLeft = ullDeadline - ullNow;
    return ullLeft < dwLimit ? static_cast<DWORD>(ullLeft) : dwLimit;
}

// Builds the wait set: the event and, when given and not null, the second
// handle. Returns the number of handles.
DWORD WaitSet(HANDLE hEvent, const HANDLE* phSecond, HANDLE (&ahSet)[2])
{
    ahSet[0] = hEvent;
    if (phSecond != nullptr && *phSecond != nullptr) {
        ahSet[1] = *phSecond;
        return 2;
    }
    return 1;
}

#if defined(_MSC_VER)
// A structured exception in one message handler must not end the wait; the
// pump goes on with the next message.
void DispatchGuarded(const MSG* pMsg)
{
    __try {
        ::TranslateMessage(pMsg);
        ::DispatchMessageA(pMsg);
    } __except (EXCEPTION_EXECUTE_HANDLER) {
    }
}
#else
// GCC has no __try/__except: the message is dispatched directly, and a
// structured exception reaches the process's unhandled-exception filter.
void DispatchGuarded(const MSG* pMsg)
{
    ::TranslateMessage(pMsg);
    ::DispatchMessageA(pMsg);
}
#endif

} // namespace

C_Event::C_Event() : ullOsWord(GetOsWord()) {}

C_Event::~C_Event()
{
    Close();
}

C_Event::C_Event(C_Event&& other) noexcept
    : hEvent(std::exchange(other.hEvent, nullptr)),
      bOwnsHandle(std::exchange(other.bOwnsHandle, false)),
      ullOsWord(other.ullOsWord)
{
}

C_Event& C_Event::operator=(C_Event&& other) noexcept
{
    if (this != &other) {
        Close();
        hEvent = std::exchange(other.hEvent, nullptr);
        bOwnsHandle = std::exchange(other.bOwnsHandle, false);
        ullOsWord = other.ullOsWord;
    }
    return *this;
}

bool C_Event::Create(bool bManualReset, bool bInitialState, const char* pszName, int nGlobal)
{
    Close();

    SECURITY_DESCRIPTOR descriptor;
    SECURITY_ATTRIBUTES attributes = {};
    SECURITY_ATTRIBUTES* pAttributes = nullptr;
    std::string strName;
    const char* pszUsedName = pszName;

    // NT family other than NT 4.0 (0x81): the "Global\" namespace exists.
    if (pszName != nullptr && nGlobal == 1 && (ullOsWord & 0x81) == 1) {
        if (::InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) &&
            ::SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE)) {
            attributes.nLength = sizeof(attributes);
            attributes.lpSecurityDescriptor = &descriptor;
            attributes.bInheritHandle = FALSE;
            pAttributes = &attributes;
            strName = "Global\\";
            strName += pszName;
            pszUsedName = strName.c_str();
        }
    }

    HANDLE hNew = ::CreateEventA(pAttributes, bManualReset ? TRUE : FALSE,
                                 bInitialState ? TRUE : FALSE, pszUsedName);
    if (hNew == nullptr)
        return false;  // GetLastError() still holds the reason
    hEvent = hNew;
    bOwnsHandle = true;
    return true;
}

void C_Event::Attach(HANDLE hEventIn, bool bOwn)
{
    Close();
    hEvent = hEventIn;
    bOwnsHandle = hEventIn != nullptr && bOwn;
}

HANDLE C_Event::Detach()
{
    bOwnsHandle = false;
    return std::exchange(hEvent, nullptr);
}

void C_Event::Close()
{
    if (hEvent != nullptr && bOwnsHandle) {
        const DWORD dwError = ::GetLastError();
        ::CloseHandle(hEvent);
        ::SetLastError(dwError);
    }
    hEvent = nullptr;
    bOwnsHandle = false;
}

bool C_Event::Set()
{
    if (hEvent == nullptr) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    return ::SetEvent(hEvent) != FALSE;
}

bool C_Event::Reset()
{
    if (hEvent == nullptr) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    return ::ResetEvent(hEvent) != FALSE;
}

bool C_Event::Wait(DWORD dwMilliseconds, bool* pbTimedOut, HANDLE* phSecond)
{
    if (pbTimedOut != nullptr)
        *pbTimedOut = false;
    if (hEvent == nullptr) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }

    HANDLE ahSet[2];
    const DWORD dwCount = WaitSet(hEvent, phSecond, ahSet);
    const uint64_t ullDeadline =
        dwMilliseconds == INFINITE ? 0 : TickCount64() + dwMilliseconds;

    DWORD dwWait = dwMilliseconds;
    for (;;) {
        const DWORD dwResult = ::WaitForMultipleObjectsEx(dwCount, ahSet, FALSE, dwWait, TRUE);
        if (dwResult == WAIT_IO_COMPLETION) {
            // An APC ran; wait again for whatever time is left.
            if (dwMilliseconds != INFINITE)
                dwWait = Remaining(ullDeadline, dwMilliseconds);
            continue;
        }
        if (dwResult < WAIT_OBJECT_0 + dwCount)
            return true;
        if (dwResult == WAIT_TIMEOUT) {
            if (pbTimedOut != nullptr)
                *pbTimedOut = true;
            ::SetLastError(WAIT_TIMEOUT);
            return false;
        }
        if (dwResult != WAIT_FAILED)
            ::SetLastError(ERROR_ABANDONED_WAIT_0);
        return false;
    }
}

bool C_Event::WaitPumping(DWORD dwMilliseconds, HANDLE* phSecond)
{
    if (hEvent == nullptr) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }

    const uint64_t ullDeadline =
        dwMilliseconds == INFINITE ? 0 : TickCount64() + dwMilliseconds;

    for (;;) {
        // The set is rebuilt each round: a handler run below may have changed
        // the second handle.
        HANDLE ahSet[2];
        const DWORD dwCount = WaitSet(hEvent, phSecond, ahSet);

        // Past the deadline one last look is taken without waiting, so an
        // object signalled just in time still counts.
        DWORD dwRemaining = INFINITE;
        if (dwMilliseconds != INFINITE)
            dwRemaining = Remaining(ullDeadline, dwMilliseconds);

        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                // The caller's own message loop must see it too.
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                ::SetLastError(ERROR_CANCELLED);
                return false;
            }
            DispatchGuarded(&msg);
        }

        // QS_ALLINPUT | QS_ALLPOSTMESSAGE.
        const DWORD dwResult =
            ::MsgWaitForMultipleObjects(dwCount, ahSet, FALSE, dwRemaining, 0x5FF);
        if (dwResult < WAIT_OBJECT_0 + dwCount)
            return true;
        if (dwResult == WAIT_OBJECT_0 + dwCount) {
            if (dwRemaining == 0) {
                ::SetLastError(WAIT_TIMEOUT);
                return false;
            }
            continue;  // input arrived
        }
        if (dwResult == WAIT_TIMEOUT)
            ::SetLastError(WAIT_TIMEOUT);
        else if (dwResult != WAIT_FAILED)
            ::SetLastError(ERROR_ABANDONED_WAIT_0);
        return false;
    }
}
