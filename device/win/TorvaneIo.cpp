#include "device/win/TorvaneIo.h"

#include <atomic>

#include "device/core/TorvaneRequest.h"

namespace {

std::atomic<C_TorvaneIo*> g_pIo{nullptr};

} // namespace

HANDLE C_TorvaneIo::Open(const char* pszPath)
{
    return ::CreateFileA(pszPath, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
}

BOOL C_TorvaneIo::Request(HANDLE hDriver, uint8_t* pBuffer, DWORD* pdwReturned)
{
    return ::DeviceIoControl(hDriver, kTorvaneControlCode, pBuffer, kTorvaneBufferSize, pBuffer,
                             kTorvaneBufferSize, pdwReturned, nullptr);
}

void C_TorvaneIo::Close(HANDLE hDriver)
{
    if (hDriver != nullptr && hDriver != INVALID_HANDLE_VALUE)
        ::CloseHandle(hDriver);
}

C_TorvaneIo& C_TorvaneIo::System()
{
    static C_TorvaneIo io;
    return io;
}

void RudvaneSetTorvaneIo(C_TorvaneIo* pIo)
{
    g_pIo = pIo;
}

C_TorvaneIo& RudvaneGetTorvaneIo()
{
    C_TorvaneIo* pIo = g_pIo.load();
    return pIo != nullptr ? *pIo : C_TorvaneIo::System();
}
