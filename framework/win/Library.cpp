#include "framework/win/Library.h"

int C_Library::Load(const char* pszFileName)
{
    Free();
    // No "missing module" box from the system while we probe.
    UINT uOldMode = ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    hModule = ::LoadLibraryA(pszFileName);
    DWORD dwError = ::GetLastError();
    ::SetErrorMode(uOldMode);
    if (hModule == nullptr) {
        ::SetLastError(dwError);
        return 0;
    }
    return 1;
}

FARPROC C_Library::Get(const char* pszProcName) const
{
    if (hModule == nullptr)
        return nullptr;
    return ::GetProcAddress(hModule, pszProcName);
}

void C_Library::Free()
{
    if (hModule != nullptr) {
        ::FreeLibrary(hModule);
        hModule = nullptr;
    }
}
