#include "framework/core/OsVersion.h"

#include <cstring>

namespace {

// NT systems from oldest to newest, by their own bit (without the NT bit).
const uint32_t kNtOrder[] = {0x200000, 0x80, 0x100, 0x200, 0x1000, 0x2000,
                             0x4000, 0x40000, 0x80000, 0x100000, 0x400000};
const int kNtCount = static_cast<int>(sizeof(kNtOrder) / sizeof(kNtOrder[0]));

// Rank of an NT classification; an NT system of no known version ranks as
// the newest, since every NT release before 3.51 predates Win32 programs.
int NtRank(uint32_t ulLow)
{
    for (int i = 0; i < kNtCount; ++i)
        if (ulLow & kNtOrder[i])
            return i;
    return kNtCount;
}

// NT releases by major and minor version; 10.0 is told apart by its build.
struct S_NtRelease {
    uint32_t dwMajor;
    uint32_t dwMinor;
    uint32_t ulBits;
};
const S_NtRelease kNtReleases[] = {
    {3, 51, OS_NT351}, {4, 0, OS_NT4}, {5, 0, OS_WIN2000}, {5, 1, OS_WINXP}, {5, 2, OS_WIN2003},
    {6, 0, OS_VISTA},  {6, 1, OS_WIN7}, {6, 2, OS_WIN8},    {6, 3, OS_WIN81},
};

uint64_t ServicePackBits(const char* pszCsd)
{
    if (pszCsd == nullptr)
        return 0;
    if (std::strstr(pszCsd, "Service Pack 1") != nullptr)
        return 2;
    if (std::strstr(pszCsd, "Service Pack 2") != nullptr)
        return 4;
    if (std::strstr(pszCsd, "Service Pack 3") != nullptr)
        return 8;
    return 0;
}

} // namespace

uint64_t ClassifyOs(const S_OsVersionInfo& info, bool bVersionKnown)
{
    if (!bVersionKnown)
        return 0;
    const char cCsdLetter = (info.pszCsd != nullptr && info.pszCsd[0] != '\0') ? info.pszCsd[1] : '\0';
    switch (info.dwPlatformId) {
    case 0:
        return OS_WIN32S;
    case 1:
        if (info.dwMajor == 4 && info.dwMinor == 0)
            return (cCsdLetter == 'B' || cCsdLetter == 'C') ? OS_WIN95_OSR2 : OS_WIN95;
        if (info.dwMajor == 4 && info.dwMinor == 10)
            return cCsdLetter == 'A' ? OS_WIN98_SE : OS_WIN98;
        if (info.dwMajor == 4 && info.dwMinor == 90)
            return OS_WINME;
        return OS_WIN9X;
    case 2: {
        uint32_t ulLow = OS_NT;
        for (const S_NtRelease& release : kNtReleases)
            if (info.dwMajor == release.dwMajor && info.dwMinor == release.dwMinor)
                ulLow = release.ulBits;
        if (info.dwMajor == 10 && info.dwMinor == 0)
            ulLow = info.dwBuild >= 22000 ? OS_WIN11 : OS_WIN10;
        return (ServicePackBits(info.pszCsd) << 32) | ulLow;
    }
    default:
        return 0;
    }
}

bool IsOsAtLeast(uint64_t ullOsWord, uint32_t ulBits)
{
    const uint32_t ulLow = static_cast<uint32_t>(ullOsWord);
    if (ulLow == 0)
        return false;
    // One of the named systems (the family bits alone do not count).
    if ((ulLow & ulBits & ~static_cast<uint32_t>(OS_NT | OS_WIN9X)) != 0)
        return true;
    if ((ulLow & OS_NT) == 0)
        return false;
    // A newer NT system than the oldest NT system named.
    int nOldest = kNtCount + 1;
    for (int i = 0; i < kNtCount; ++i)
        if (ulBits & kNtOrder[i]) {
            nOldest = i;
            break;
        }
    if (nOldest > kNtCount) {
        // Only family bits asked: any NT system answers the NT family bit.
        return (ulBits & OS_NT) != 0;
    }
    return NtRank(ulLow) > nOldest;
}
