#include "framework/win/VersionStrings.h"

#include <cstdio>
#include <cstring>

bool C_VersionStrings::Read(HMODULE hModule)
{
    vData.clear();
    char szPath[MAX_PATH];
    const DWORD dwLength = ::GetModuleFileNameA(hModule, szPath, MAX_PATH);
    if (dwLength == 0 || dwLength >= MAX_PATH)
        return false;
    return ReadPath(szPath);
}

bool C_VersionStrings::ReadPath(const char* pszPath)
{
    vData.clear();
    DWORD dwHandle = 0;
    const DWORD dwSize = ::GetFileVersionInfoSizeA(pszPath, &dwHandle);
    if (dwSize == 0)
        return false;
    std::vector<char> vRead(dwSize);
    if (!::GetFileVersionInfoA(pszPath, 0, dwSize, vRead.data()))
        return false;
    vData.swap(vRead);
    return true;
}

std::string C_VersionStrings::Get(const char* pszName) const
{
    if (vData.empty())
        return std::string();
    char szBlocks[3][16] = {"", "040904B0", "040704B0"};
    struct S_Translation {
        WORD wLanguage;
        WORD wCodePage;
    };
    S_Translation* pTranslation = nullptr;
    UINT uLength = 0;
    if (::VerQueryValueA(vData.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&pTranslation),
                         &uLength) &&
        pTranslation != nullptr && uLength >= sizeof(S_Translation))
        std::snprintf(szBlocks[0], sizeof(szBlocks[0]), "%04X%04X", pTranslation->wLanguage,
                      pTranslation->wCodePage);
    for (const char* pszBlock : szBlocks) {
        if (pszBlock[0] == '\0')
            continue;
        const std::string strQuery = std::string("\\StringFileInfo\\") + pszBlock + "\\" + pszName;
        char* pText = nullptr;
        UINT uTextLength = 0;
        if (::VerQueryValueA(vData.data(), strQuery.c_str(), reinterpret_cast<void**>(&pText), &uTextLength) &&
            pText != nullptr && uTextLength > 0)
            return std::string(pText, strnlen(pText, uTextLength));
    }
    return std::string();
}

std::string C_VersionStrings::Get(const char* pszName, const char* pszDefault) const
{
    const std::string strValue = Get(pszName);
    return strValue.empty() ? std::string(pszDefault) : strValue;
}

const VS_FIXEDFILEINFO* C_VersionStrings::GetFixed() const
{
    if (vData.empty())
        return nullptr;
    VS_FIXEDFILEINFO* pFixed = nullptr;
    UINT uLength = 0;
    if (!::VerQueryValueA(vData.data(), "\\", reinterpret_cast<void**>(&pFixed), &uLength) ||
        pFixed == nullptr || uLength < sizeof(VS_FIXEDFILEINFO))
        return nullptr;
    return pFixed;
}
