#include "framework/win/TestFile.h"

#include "framework/win/Library.h"
#include "framework/win/TestFileAccessor.h"
#include "framework/win/WholeFileTransfer.h"

namespace {

using T_NtFsControlFile = LONG(NTAPI*)(HANDLE hFile, HANDLE hEvent, PVOID pApcRoutine, PVOID pApcContext,
                                       S_IoStatusBlock* pStatus, ULONG ulCode, PVOID pIn, ULONG ulInLength,
                                       PVOID pOut, ULONG ulOutLength);

T_NtFsControlFile NtFsControlFileFunction()
{
    static C_Library ntdll("ntdll.dll");
    static const T_NtFsControlFile pfn = ntdll.GetAs<T_NtFsControlFile>("NtFsControlFile");
    return pfn;
}

} // namespace

bool C_TestFile::Open(const char* pszPath, int nDirectionIn, DWORD dwFlagsIn)
{
    Close();
    HANDLE hNew = ::CreateFileA(pszPath, nDirectionIn == 1 ? GENERIC_WRITE : GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                nDirectionIn == 1 ? CREATE_ALWAYS : OPEN_EXISTING, dwFlagsIn, nullptr);
    if (hNew == INVALID_HANDLE_VALUE)
        return false;   // GetLastError() still holds the reason
    hFile = hNew;
    strPath = pszPath;
    nDirection = nDirectionIn;
    dwFlags = dwFlagsIn;
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
    return DisableLocalBufferingOf(hFile);
}

LONG DisableLocalBufferingOf(HANDLE hFile)
{
    const T_NtFsControlFile pfnFsControl = NtFsControlFileFunction();
    if (pfnFsControl == nullptr)
        return kStatusUnsuccessful;
    S_IoStatusBlock status = {};
    LONG lResult = pfnFsControl(hFile, nullptr, nullptr, nullptr, &status, kIoctlLmrDisableLocalBuffering,
                                nullptr, 0, nullptr, 0);
    if (lResult == kStatusPending) {
        // Only a handle opened for overlapped transfers answers so; the
        // status block must live until the call is complete.
        ::WaitForSingleObject(hFile, INFINITE);
        lResult = status.lStatus;
    }
    return lResult;
}

bool C_TestFile::Transfer(bool bWrite, void* pBuffer, DWORD dwBytes)
{
    return TransferWholeFile(bWrite, pBuffer, dwBytes, 0,
                             [&](uint8_t* pPiece, uint32_t ulPiece, uint64_t, uint32_t* pulDone) -> uint32_t {
                                 return ReadOrWriteFile(hFile, bWrite, pPiece, ulPiece, nullptr, pulDone);
                             });
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

std::unique_ptr<I_TransferAccessor> C_TestFile::OpenAccessor()
{
    if (hFile == INVALID_HANDLE_VALUE) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    auto pAccessor = std::make_unique<C_TestFileAccessor>();
    if (!pAccessor->Open(strPath.c_str(), nDirection, dwFlags))
        return nullptr;   // GetLastError() still holds the reason
    return pAccessor;
}

bool C_TestFile::GetSize(uint64_t* pullSize)
{
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(hFile, &size))
        return false;
    *pullSize = static_cast<uint64_t>(size.QuadPart);
    return true;
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
