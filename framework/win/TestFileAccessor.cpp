#include "framework/win/TestFileAccessor.h"

#include "framework/win/Library.h"
#include "framework/win/TestFile.h"
#include "framework/win/WholeFileTransfer.h"

namespace {

using T_NtTransferFile = LONG(NTAPI*)(HANDLE hFile, HANDLE hEvent, PVOID pApcRoutine, PVOID pApcContext,
                                      S_IoStatusBlock* pStatus, PVOID pBuffer, ULONG ulLength,
                                      PLARGE_INTEGER pOffset, PULONG pKey);
using T_RtlNtStatusToDosError = ULONG(NTAPI*)(LONG lStatus);

struct S_NativeCalls {
    C_Library ntdll{"ntdll.dll"};
    T_NtTransferFile pfnRead = ntdll.GetAs<T_NtTransferFile>("NtReadFile");
    T_NtTransferFile pfnWrite = ntdll.GetAs<T_NtTransferFile>("NtWriteFile");
    T_RtlNtStatusToDosError pfnToError = ntdll.GetAs<T_RtlNtStatusToDosError>("RtlNtStatusToDosError");
    bool Usable() const { return pfnRead != nullptr && pfnWrite != nullptr && pfnToError != nullptr; }
};

const S_NativeCalls& NativeCalls()
{
    static const S_NativeCalls calls;
    return calls;
}

} // namespace

C_TestFileAccessor::~C_TestFileAccessor()
{
    if (hFile != INVALID_HANDLE_VALUE)
        ::CloseHandle(hFile);
}

bool C_TestFileAccessor::Open(const char* pszPath, int nDirection, DWORD dwFlags)
{
    NativeCalls();   // looked up now, not in the first timed transfer
    HANDLE hNew = ::CreateFileA(pszPath, nDirection == 1 ? GENERIC_WRITE : GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                dwFlags & ~static_cast<DWORD>(FILE_FLAG_OVERLAPPED), nullptr);
    if (hNew == INVALID_HANDLE_VALUE)
        return false;   // GetLastError() still holds the reason
    if (hFile != INVALID_HANDLE_VALUE)
        ::CloseHandle(hFile);
    hFile = hNew;
    return true;
}

bool C_TestFileAccessor::TransferAt(bool bWrite, uint64_t ullOffset, void* pBuffer, DWORD dwBytes)
{
    const S_NativeCalls& native = NativeCalls();
    return TransferWholeFile(
        bWrite, pBuffer, dwBytes, ullOffset,
        [&](uint8_t* pPiece, uint32_t ulPiece, uint64_t ullPieceOffset, uint32_t* pulDone) -> uint32_t {
            if (native.Usable()) {
                S_IoStatusBlock status = {};
                LARGE_INTEGER offset;
                offset.QuadPart = static_cast<LONGLONG>(ullPieceOffset);
                LONG lResult = (bWrite ? native.pfnWrite : native.pfnRead)(hFile, nullptr, nullptr, nullptr,
                                                                           &status, pPiece, ulPiece, &offset,
                                                                           nullptr);
                if (lResult == kStatusPending) {
                    // Not on a synchronous handle; wait all the same.
                    ::WaitForSingleObject(hFile, INFINITE);
                    lResult = status.lStatus;
                }
                if (lResult < 0)
                    return native.pfnToError(lResult);
                *pulDone = static_cast<uint32_t>(status.ulInformation);
                return 0;
            }
            OVERLAPPED overlapped = {};
            overlapped.Offset = static_cast<DWORD>(ullPieceOffset);
            overlapped.OffsetHigh = static_cast<DWORD>(ullPieceOffset >> 32);
            return ReadOrWriteFile(hFile, bWrite, pPiece, ulPiece, &overlapped, pulDone);
        });
}

bool C_TestFileAccessor::ReadAt(uint64_t ullOffset, void* pBuffer, DWORD dwBytes)
{
    return TransferAt(false, ullOffset, pBuffer, dwBytes);
}

LONG C_TestFileAccessor::DisableLocalBuffering()
{
    return DisableLocalBufferingOf(hFile);
}

bool C_TestFileAccessor::WriteAt(uint64_t ullOffset, const void* pBuffer, DWORD dwBytes)
{
    // The write only reads the buffer.
    return TransferAt(true, ullOffset, const_cast<void*>(pBuffer), dwBytes);
}
