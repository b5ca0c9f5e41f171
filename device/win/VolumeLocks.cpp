#include "device/win/VolumeLocks.h"

#include "device/win/DeviceIo.h"
#include "device/win/IoCodes.h"
#include "device/win/KeepError.h"

C_VolumeLocks::C_VolumeLocks()
{
    ::InitializeCriticalSection(&cs);
}

C_VolumeLocks::~C_VolumeLocks()
{
    ::DeleteCriticalSection(&cs);
}

void C_VolumeLocks::Lock(C_DeviceIo& io, const std::string& strLetters, DWORD dwAccess)
{
    ::EnterCriticalSection(&cs);
    for (char cLetter : strLetters) {
        const char szVolume[7] = {'\\', '\\', '.', '\\', cLetter, ':', '\0'};
        const HANDLE h = io.Open(szVolume, dwAccess);
        if (!IsValid(h))
            continue;
        vHandles.push_back(h);
        DWORD dwReturned = 0;
        io.Control(h, FSCTL_LOCK_VOLUME, nullptr, 0, nullptr, 0, &dwReturned);
    }
    ::LeaveCriticalSection(&cs);
}

void C_VolumeLocks::Unlock(C_DeviceIo& io)
{
    ::EnterCriticalSection(&cs);
    for (HANDLE h : vHandles) {
        DWORD dwReturned = 0;
        io.Control(h, FSCTL_UNLOCK_VOLUME, nullptr, 0, nullptr, 0, &dwReturned);
        io.Close(h);
    }
    vHandles.clear();
    ::LeaveCriticalSection(&cs);
}

void C_VolumeLocks::CloseAll(C_DeviceIo& io)
{
    ::EnterCriticalSection(&cs);
    for (HANDLE h : vHandles)
        io.Close(h);
    vHandles.clear();
    ::LeaveCriticalSection(&cs);
}

size_t C_VolumeLocks::GetCount() const
{
    ::EnterCriticalSection(&cs);
    const size_t nCount = vHandles.size();
    ::LeaveCriticalSection(&cs);
    return nCount;
}
