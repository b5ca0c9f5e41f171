#ifndef QUENVALE_DEVICE_VWIN32_H
#define QUENVALE_DEVICE_VWIN32_H

#include <windows.h>

#include <cstdint>

// Requests to the Windows 9x vwin32 driver ("\\.\vwin32"), which runs DOS
// interrupts for 32-bit programs. The registers go in and come back; bit 0
// of dwFlags is the carry flag (set: the call failed).
struct S_Vwin32Registers {
    DWORD dwEbx = 0;
    DWORD dwEdx = 0;
    DWORD dwEcx = 0;
    DWORD dwEax = 0;
    DWORD dwEdi = 0;
    DWORD dwEsi = 0;
    DWORD dwFlags = 0;
};

enum : DWORD {
    VWIN32_DOS_IOCTL = 1,       // int 21h function 44xxh
    VWIN32_DOS_DRIVEINFO = 6,   // int 21h function 73xxh
};

// Sends one request; nonzero when the driver answered and the carry flag is
// clear. Fails with ERROR_NOT_SUPPORTED outside the Windows 9x family.
int Vwin32Call(DWORD dwFunction, S_Vwin32Registers& regs);

// A pointer as the driver's 32-bit register value; false when the address
// does not fit (never on the systems that have the driver).
bool Vwin32Address(const void* p, DWORD& dwOut);

#endif
