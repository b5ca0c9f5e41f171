#ifndef QUENVALE_TESTS_APPTESTFILES_H
#define QUENVALE_TESTS_APPTESTFILES_H

#include <windows.h>

#include "tests/support/win/TempFiles.h"

inline bool KeyExists(HKEY hRoot, const char* pszKey)
{
    HKEY hKey = nullptr;
    if (::RegOpenKeyExA(hRoot, pszKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(hKey);
    return true;
}

#endif
