#include "app/win/VersionInfo.h"

#include <cstdio>

#include "framework/win/FileVersion.h"

bool ReadProgramVersion(HMODULE hModule, S_ProgramVersion& version)
{
    S_FileVersion read;
    read.uMajor = version.uMajor;
    read.uMinor = version.uMinor;
    const bool bFound = ReadFileVersion(hModule, read);
    version.uMajor = read.uMajor;
    version.uMinor = read.uMinor;
    if (bFound)
        version.strText = read.strText;
    return bFound;
}

std::string FormatTitle(const char* pszName, const S_ProgramVersion& version)
{
    char szTitle[128];
    std::snprintf(szTitle, sizeof(szTitle), "%s [%u.%02u]", pszName, version.uMajor, version.uMinor);
    return szTitle;
}
