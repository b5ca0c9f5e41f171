#include "framework/win/OsWord.h"

#include <windows.h>

namespace {

uint64_t ComputeOsWord()
{
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof(info);
#if defined(_MSC_VER)
#pragma warning(suppress : 4996)
#elif defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
    const BOOL bKnown = ::GetVersionExA(&info);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
    S_OsVersionInfo os;
    os.dwPlatformId = info.dwPlatformId;
    os.dwMajor = info.dwMajorVersion;
    os.dwMinor = info.dwMinorVersion;
    os.dwBuild = info.dwBuildNumber & 0xFFFF;
    os.pszCsd = info.szCSDVersion;
    return ClassifyOs(os, bKnown != FALSE);
}

} // namespace

uint64_t GetOsWord()
{
    static const uint64_t ullOsWord = ComputeOsWord();
    return ullOsWord;
}

bool IsWindowsAtLeast(uint32_t ulBits)
{
    return IsOsAtLeast(GetOsWord(), ulBits);
}
