#ifndef QUENVALE_FRAMEWORK_OSVERSION_H
#define QUENVALE_FRAMEWORK_OSVERSION_H

#include <cstdint>

// The operating-system word: the low 32 bits classify the system, the high
// 32 bits hold service-pack bits (2 = SP1, 4 = SP2, 8 = SP3, NT family only).
// Bit 0 of the low word marks the NT family.
enum : uint32_t {
    OS_WIN32S      = 0x4,
    OS_WIN9X       = 0x2,
    OS_WIN95       = 0x12,
    OS_WIN95_OSR2  = 0x402,
    OS_WIN98       = 0x22,
    OS_WIN98_SE    = 0x802,
    OS_WINME       = 0x42,
    OS_NT          = 0x1,
    OS_NT351       = 0x200001,
    OS_NT4         = 0x81,
    OS_WIN2000     = 0x101,
    OS_WINXP       = 0x201,
    OS_WIN2003     = 0x1001,
    OS_VISTA       = 0x2001,
    OS_WIN7        = 0x4001,
    OS_WIN8        = 0x40001,
    OS_WIN81       = 0x80001,
    OS_WIN10       = 0x100001,
    OS_WIN11       = 0x400001,
};

// What GetVersionExA reported; pszCsd may be null.
struct S_OsVersionInfo {
    uint32_t dwPlatformId = 0;   // 0 Win32s, 1 Windows 9x, 2 NT
    uint32_t dwMajor = 0;
    uint32_t dwMinor = 0;
    uint32_t dwBuild = 0;
    const char* pszCsd = nullptr;
};

// Classifies a system; bVersionKnown false (GetVersionExA failed) gives 0.
uint64_t ClassifyOs(const S_OsVersionInfo& info, bool bVersionKnown = true);

// True when the system of ullOsWord is one of the systems whose bits are in
// ulBits, or a newer NT system (0x2000 asks for Vista or later).
bool IsOsAtLeast(uint64_t ullOsWord, uint32_t ulBits);

#endif
