#ifndef QUENVALE_FRAMEWORK_WHOLEFILETRANSFER_H
#define QUENVALE_FRAMEWORK_WHOLEFILETRANSFER_H

#include <windows.h>

#include <cstdint>

#include "framework/core/WholeTransfer.h"

// The I/O status block of the native file calls.
struct S_IoStatusBlock {
    union {
        LONG lStatus;
        PVOID pPointer;
    };
    ULONG_PTR ulInformation;
};

// STATUS_PENDING: the native call goes on; the status block gets its result.
constexpr LONG kStatusPending = 0x00000103;

// One ReadFile or WriteFile call as a raw transfer of TransferWhole: the
// error number, or 0 with *pulDone set. pOverlapped carries the position;
// null moves at the file position.
inline uint32_t ReadOrWriteFile(HANDLE hFile, bool bWrite, uint8_t* pPiece, uint32_t ulPiece,
                                OVERLAPPED* pOverlapped, uint32_t* pulDone)
{
    DWORD dwDone = 0;
    const BOOL bOk = bWrite ? ::WriteFile(hFile, pPiece, ulPiece, &dwDone, pOverlapped)
                            : ::ReadFile(hFile, pPiece, ulPiece, &dwDone, pOverlapped);
    if (!bOk)
        return ::GetLastError();
    *pulDone = dwDone;
    return 0;
}

// TransferWhole of a read or a write: a short transfer ends a read with
// ERROR_HANDLE_EOF and a write with ERROR_DISK_FULL. On failure the error
// is left for GetLastError().
template <typename T_Raw>
bool TransferWholeFile(bool bWrite, void* pBuffer, DWORD dwBytes, uint64_t ullOffset, T_Raw&& rawTransfer)
{
    const uint32_t ulError = TransferWhole(static_cast<uint8_t*>(pBuffer), dwBytes, ullOffset,
                                           bWrite ? kErrorDiskFull : kErrorHandleEof, rawTransfer);
    if (ulError != 0) {
        ::SetLastError(ulError);
        return false;
    }
    return true;
}

#endif
