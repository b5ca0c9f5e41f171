#include "device/win/Vwin32.h"

#include "device/win/RudvaneState.h"

int Vwin32Call(DWORD dwFunction, S_Vwin32Registers& regs)
{
    // The driver belongs to Windows 9x; emulations of it elsewhere do not
    // reach the disks.
    if (!RudvaneIsWin9x()) {
        ::SetLastError(ERROR_NOT_SUPPORTED);
        return 0;
    }
    const HANDLE h = ::CreateFileA("\\\\.\\vwin32", 0, 0, nullptr, 0, FILE_FLAG_DELETE_ON_CLOSE,
                                   nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        ::SetLastError(ERROR_NOT_SUPPORTED);
        return 0;
    }
    regs.dwFlags |= 1;  // carry set: a driver that does nothing reports failure
    DWORD dwReturned = 0;
    const BOOL bOk = ::DeviceIoControl(h, dwFunction, &regs, sizeof(regs), &regs, sizeof(regs),
                                       &dwReturned, nullptr);
    const DWORD dwError = ::GetLastError();
    ::CloseHandle(h);
    if (!bOk) {
        ::SetLastError(dwError);
        return 0;
    }
    if ((regs.dwFlags & 1) != 0) {
        // AX holds the DOS error, whose numbers are the Win32 ones.
        const DWORD dwDosError = regs.dwEax & 0xFFFF;
        ::SetLastError(dwDosError != 0 ? dwDosError : ERROR_IO_DEVICE);
        return 0;
    }
    return 1;
}

bool Vwin32Address(const void* p, DWORD& dwOut)
{
    const uintptr_t address = reinterpret_cast<uintptr_t>(p);
    if (address > 0xFFFFFFFFu)
        return false;
    dwOut = static_cast<DWORD>(address);
    return true;
}
