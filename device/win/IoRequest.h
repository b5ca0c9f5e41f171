#ifndef QUENVALE_DEVICE_IOREQUEST_H
#define QUENVALE_DEVICE_IOREQUEST_H

#include <windows.h>

// One caller-built device control request for Query(RUDVANE_Q_IO_REQUEST),
// passed as pOut.
struct S_RudvaneIoRequest {
    DWORD dwCode = 0;
    void* pIn = nullptr;
    DWORD dwInSize = 0;
    void* pOut = nullptr;
    DWORD dwOutSize = 0;
    DWORD* pdwReturned = nullptr;
    OVERLAPPED* pOverlapped = nullptr;
};

#endif
