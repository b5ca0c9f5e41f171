#include "framework/win/FileVersion.h"

#include <cstdio>
#include <cstring>
#include <vector>

bool ReadFileVersion(HMODULE hModule, S_FileVersion& version)
{
    char szPath[MAX_PATH];
    const DWORD dwLength = ::GetModuleFileNameA(hModule, szPath, MAX_PATH);
    if (dwLength == 0 || dwLength >= MAX_PATH)
        return false;
    DWORD dwHandle = 0;
    const DWORD dwSize = ::GetFileVersionInfoSizeA(szPath, &dwHandle);
    if (dwSize == 0)
        return false;
    std::vector<char> data(dwSize);
    if (!::GetFileVersionInfoA(szPath, 0, dwSize, data.data()))
        return false;

    for (const char* pszBlock : {"\\StringFileInfo\\040704B0\\FileVersion",
                                 "\\StringFileInfo\\040904B0\\FileVersion"}) {
        char* pText = nullptr;
        UINT uLength = 0;
        if (::VerQueryValueA(data.data(), pszBlock, reinterpret_cast<void**>(&pText), &uLength) &&
            pText != nullptr && uLength > 0) {
            version.strText.assign(pText, strnlen(pText, uLength));
            unsigned uMajor = 0, uMinor = 0;
            if (std::sscanf(pText, "%u.%u", &uMajor, &uMinor) == 2) {
                version.uMajor = uMajor;
                version.uMinor = uMinor;
            }
            return true;
        }
    }
    VS_FIXEDFILEINFO* pFixed = nullptr;
    UINT uLength = 0;
    if (!::VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&pFixed), &uLength) ||
        pFixed == nullptr || uLength < sizeof(VS_FIXEDFILEINFO))
        return false;
    version.uMajor = HIWORD(pFixed->dwFileVersionMS);
    version.uMinor = LOWORD(pFixed->dwFileVersionMS);
    char szText[32];
    std::snprintf(szText, sizeof(szText), "%u.%u", version.uMajor, version.uMinor);
    version.strText = szText;
    return true;
}
