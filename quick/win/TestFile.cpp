#include "quick/win/TestFile.h"

#include "framework/win/Library.h"
#include "quick/core/WholeTransfer.h"

namespace {

struct S_IoStatusBlock {
    union {
        LONG lStatus;
        PVOID pPointer;
    };
    ULONG_PTR ulInformation;
};

using T_NtFsControlFile = LONG(NTAPI*)(HANDLE hFile, HANDLE hEvent, PVOID pApcRoutine, PVOID pApcContext,
                                       S_IoStatusBlock* pStatus, ULONG ulCode, PVOID pIn, ULONG ulInLength,
                                       PVOID pOut, ULONG ulOutLength);

constexpr LONG kStatusPending = 0x00000103;

T_NtFsControlFile NtFsControlFileFunction()
{
    static C_Library ntdll("ntdll.dll");
    static const T_NtFsControlFile pfn = ntdll.GetAs<T_NtFsControlFile>("NtFsControlFile");
    return pfn;
}

} // namespace

bool C_TestFile::Open(const char* pszPath, int nDirection, DWORD dwFlags)
{
    Close();
    HANDLE hNew = ::CreateFileA(pszPath, nDirection == 1 ? GENERIC_WRITE : GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                nDirection == 1 ? CREATE_ALWAYS : OPEN_EXISTING, dwFlags, nullptr);
    if (hNew == INVALID_HANDLE_VALUE)
        return false;   // GetLastError() still holds the reason
    hFile = hNew;
    return true;
}

void C_TestFile::Close()
{
    if (hFile != INVALID_HANDLE_VALUE) {
        ::CloseHandle(hFile);
        hFile = INVALID_HANDLE_VALUE;
    }
}

LONG C_TestFile::DisableLocalBuffering()
{
    const T_NtFsControlFile pfnFsControl = NtFsControlFileFunction();
    if (pfnFsControl == nullptr)
        return kStatusUnsuccessful;
    // A handle opened for overlapped transfers may answer "pending"; the
    // status block must then live until the call is complete.
    HANDLE hEvent = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    S_IoStatusBlock status = {};
    LONG lResult = pfnFsControl(hFile, hEvent, nullptr, nullptr, &status, kIoctlLmrDisableLocalBuffering,
                                nullptr, 0, nullptr, 0);
    if (lResult == kStatusPending) {
        if (hEvent != nullptr)
            ::WaitForSingleObject(hEvent, INFINITE);
        else
            ::WaitForSingleObject(hFile, INFINITE);
        lResult = status.lStatus;
    }
    if (hEvent != nullptr)
        ::CloseHandle(hEvent);
    return lResult;
}

bool C_TestFile::Transfer(bool bWrite, void* pBuffer, DWORD dwBytes)
{
    const uint32_t ulError = TransferWhole(
        static_cast<uint8_t*>(pBuffer), dwBytes, 0, bWrite ? kErrorDiskFull : kErrorHandleEof,
        [&](uint8_t* pPiece, uint32_t ulPiece, uint64_t, uint32_t* pulDone) -> uint32_t {
            DWORD dwDone = 0;
            const BOOL bOk = bWrite ? ::WriteFile(hFile, pPiece, ulPiece, &dwDone, nullptr)
                                    : ::ReadFile(hFile, pPiece, ulPiece, &dwDone, nullptr);
            if (!bOk)
                return ::GetLastError();
            *pulDone = dwDone;
            return 0;
        });
    if (ulError != 0) {
        ::SetLastError(ulError);
        return false;
    }
    return true;
}

bool C_TestFile::TransferAt(bool bWrite, uint64_t ullOffset, void* pBuffer, DWORD dwBytes, HANDLE hEvent)
{
    const uint32_t ulError = TransferWhole(
        static_cast<uint8_t*>(pBuffer), dwBytes, ullOffset, bWrite ? kErrorDiskFull : kErrorHandleEof,
        [&](uint8_t* pPiece, uint32_t ulPiece, uint64_t ullPieceOffset, uint32_t* pulDone) -> uint32_t {
            OVERLAPPED overlapped = {};
            overlapped.Offset = static_cast<DWORD>(ullPieceOffset);
            overlapped.OffsetHigh = static_cast<DWORD>(ullPieceOffset >> 32);
            // The event's low bit tells the system to queue no completion
            // packet for the transfer (no completion port is used), which
            // saves a round trip per access on some systems.
            overlapped.hEvent =
                hEvent != nullptr ? reinterpret_cast<HANDLE>(reinterpret_cast<ULONG_PTR>(hEvent) | 1) : nullptr;
            const BOOL bOk = bWrite ? ::WriteFile(hFile, pPiece, ulPiece, nullptr, &overlapped)
                                    : ::ReadFile(hFile, pPiece, ulPiece, nullptr, &overlapped);
            if (!bOk) {
                const DWORD dwError = ::GetLastError();
                if (dwError != ERROR_IO_PENDING)
                    return dwError;
            }
            DWORD dwDone = 0;
            if (!::GetOverlappedResult(hFile, &overlapped, &dwDone, TRUE))
                return ::GetLastError();
            *pulDone = dwDone;
            return 0;
        });
    if (ulError != 0) {
        ::SetLastError(ulError);
        return false;
    }
    return true;
}

bool C_TestFile::Read(void* pBuffer, DWORD dwBytes)
{
    return Transfer(false, pBuffer, dwBytes);
}

bool C_TestFile::Write(const void* pBuffer, DWORD dwBytes)
{
    // WriteFile only reads the buffer.
    return Transfer(true, const_cast<void*>(pBuffer), dwBytes);
}

bool C_TestFile::ReadAt(uint64_t ullOffset, void* pBuffer, DWORD dwBytes, HANDLE hEvent)
{
    return TransferAt(false, ullOffset, pBuffer, dwBytes, hEvent);
}

bool C_TestFile::WriteAt(uint64_t ullOffset, const void* pBuffer, DWORD dwBytes, HANDLE hEvent)
{
    return TransferAt(true, ullOffset, const_cast<void*>(pBuffer), dwBytes, hEvent);
}

bool C_TestFile::Seek(uint64_t ullOffset)
{
    LONG lHigh = static_cast<LONG>(ullOffset >> 32);
    ::SetLastError(NO_ERROR);
    const DWORD dwLow = ::SetFilePointer(hFile, static_cast<LONG>(ullOffset & 0xFFFFFFFF), &lHigh, FILE_BEGIN);
    // INVALID_SET_FILE_POINTER is also the low half of valid positions.
    return dwLow != INVALID_SET_FILE_POINTER || ::GetLastError() == NO_ERROR;
}

bool C_TestFile::SetEnd()
{
    return ::SetEndOfFile(hFile) != FALSE;
}

bool C_TestFile::Flush()
{
    return ::FlushFileBuffers(hFile) != FALSE;
}

bool C_TestFile::CreateFolder(const char* pszPath)
{
    return ::CreateDirectoryA(pszPath, nullptr) != FALSE;
}

bool C_TestFile::RemoveFolder(const char* pszPath)
{
    return ::RemoveDirectoryA(pszPath) != FALSE;
}

bool C_TestFile::RemoveFile(const char* pszPath)
{
    ::SetFileAttributesA(pszPath, FILE_ATTRIBUTE_NORMAL);
    return ::DeleteFileA(pszPath) != FALSE;
}
