#include "device/win/DeviceIo.h"

#include "device/win/DiskCleaner.h"

HANDLE C_DeviceIo::Open(const char* pszPath, DWORD dwAccess)
{
    return ::CreateFileA(pszPath, dwAccess, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
}

void C_DeviceIo::Close(HANDLE hDevice)
{
    if (hDevice != nullptr && hDevice != INVALID_HANDLE_VALUE)
        ::CloseHandle(hDevice);
}

BOOL C_DeviceIo::Control(HANDLE hDevice, DWORD dwCode, void* pIn, DWORD dwInSize, void* pOut,
                         DWORD dwOutSize, DWORD* pdwReturned, OVERLAPPED* pOverlapped)
{
    DWORD dwReturned = 0;
    const BOOL bOk = ::DeviceIoControl(hDevice, dwCode, pIn, dwInSize, pOut, dwOutSize,
                                       pdwReturned != nullptr ? pdwReturned : &dwReturned,
                                       pOverlapped);
    return bOk;
}

namespace {

// SetFilePointer with a 64-bit position (SetFilePointerEx is missing on
// Windows 9x). Nonzero on success; *pullNew receives the new position.
int Seek(HANDLE hDevice, int64_t llDistance, DWORD dwMethod, uint64_t* pullNew)
{
    LONG lHigh = static_cast<LONG>(llDistance >> 32);
    ::SetLastError(NO_ERROR);
    const DWORD dwLow = ::SetFilePointer(hDevice, static_cast<LONG>(llDistance & 0xFFFFFFFF),
                                         &lHigh, dwMethod);
    if (dwLow == INVALID_SET_FILE_POINTER && ::GetLastError() != NO_ERROR)
        return 0;
    if (pullNew != nullptr)
        *pullNew = (static_cast<uint64_t>(static_cast<DWORD>(lHigh)) << 32) | dwLow;
    return 1;
}

} // namespace

int C_DeviceIo::Transfer(HANDLE hDevice, bool bWrite, uint64_t ullOffset, void* pBuffer,
                         uint32_t ulBytes)
{
    if (!Seek(hDevice, static_cast<int64_t>(ullOffset), FILE_BEGIN, nullptr))
        return 0;
    ::SetLastError(ERROR_SUCCESS);
    DWORD dwMoved = 0;
    const BOOL bOk = bWrite ? ::WriteFile(hDevice, pBuffer, ulBytes, &dwMoved, nullptr)
                            : ::ReadFile(hDevice, pBuffer, ulBytes, &dwMoved, nullptr);
    if (!bOk)
        return 0;
    if (dwMoved != ulBytes) {
        // A read at the end of a device succeeds with fewer bytes and no error.
        if (::GetLastError() == ERROR_SUCCESS)
            ::SetLastError(ERROR_HANDLE_EOF);
        return 0;
    }
    return 1;
}

int C_DeviceIo::GetEnd(HANDLE hDevice, uint64_t* pullEnd)
{
    return Seek(hDevice, 0, FILE_END, pullEnd);
}

int C_DeviceIo::Flush(HANDLE hDevice)
{
    return ::FlushFileBuffers(hDevice) ? 1 : 0;
}

void C_DeviceIo::CleanDisk(const std::string& strDevicePath)
{
    CleanDiskThroughVds(strDevicePath);
}

C_DeviceIo& C_DeviceIo::System()
{
    static C_DeviceIo io;
    return io;
}
