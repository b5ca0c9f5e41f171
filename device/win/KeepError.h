#ifndef QUENVALE_DEVICE_KEEPERROR_H
#define QUENVALE_DEVICE_KEEPERROR_H

#include <windows.h>

// The layer's operations return 0 on failure and leave the reason in the
// thread's last error; these helpers keep that promise in one place.
// Include them from .cpp files only.

// Keeps the thread's last error across the cleanup that follows a call.
class C_KeepError {
public:
    C_KeepError() : dwError(::GetLastError()) {}
    ~C_KeepError() { ::SetLastError(dwError); }
    C_KeepError(const C_KeepError&) = delete;
    C_KeepError& operator=(const C_KeepError&) = delete;

private:
    DWORD dwError;
};

// Sets the last error and returns the failure flag.
inline int Fail(DWORD dwError)
{
    ::SetLastError(dwError);
    return 0;
}

// Whether a handle from CreateFile or SetupDiGetClassDevs can be used.
inline bool IsValid(HANDLE h)
{
    return h != nullptr && h != INVALID_HANDLE_VALUE;
}

#endif
