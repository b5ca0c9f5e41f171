#ifndef QUENVALE_DEVICE_TORVANEIO_H
#define QUENVALE_DEVICE_TORVANEIO_H

#include <windows.h>

#include <cstdint>

// The calls through which the layer reaches the Torvane driver, when it is
// installed: open "\\.\Torvane%u" (GENERIC_READ|GENERIC_WRITE, no sharing,
// OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL), one request of the driver's control
// code with its 4124-byte buffer in and out (device/core/TorvaneRequest.h),
// close. A test answers them from a simulated driver; System() is the real
// thing.
class C_TorvaneIo {
public:
    C_TorvaneIo() = default;
    virtual ~C_TorvaneIo() = default;
    C_TorvaneIo(const C_TorvaneIo&) = delete;
    C_TorvaneIo& operator=(const C_TorvaneIo&) = delete;

    // INVALID_HANDLE_VALUE on failure.
    virtual HANDLE Open(const char* pszPath);
    virtual BOOL Request(HANDLE hDriver, uint8_t* pBuffer, DWORD* pdwReturned);
    virtual void Close(HANDLE hDriver);

    static C_TorvaneIo& System();
};

// The calls used by driver records made from now on; null restores the system's.
void RudvaneSetTorvaneIo(C_TorvaneIo* pIo);
C_TorvaneIo& RudvaneGetTorvaneIo();

#endif
