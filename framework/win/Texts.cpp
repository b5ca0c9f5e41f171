#include "framework/win/Texts.h"

#include <cstring>

#include "framework/win/Library.h"

namespace {

using T_GetSystemDefaultUILanguage = LANGID(WINAPI*)(void);

LANGID SystemUiLanguage()
{
    static const C_Library kernel32("kernel32.dll");
    static const T_GetSystemDefaultUILanguage pfnGet =
        kernel32.GetAs<T_GetSystemDefaultUILanguage>("GetSystemDefaultUILanguage");
    if (pfnGet == nullptr)
        return MAKELANGID(LANG_ENGLISH, SUBLANG_NEUTRAL);
    return pfnGet();
}

// Copies at most nLimit - 1 bytes of strText into pszOut without splitting
// a double-byte character, and terminates it.
void CopyCut(const std::string& strText, char* pszOut, int nLimit)
{
    size_t nKeep = 0;
    while (nKeep < strText.size()) {
        const size_t nStep = ::IsDBCSLeadByte(static_cast<BYTE>(strText[nKeep])) ? 2 : 1;
        if (nKeep + nStep > static_cast<size_t>(nLimit - 1) || nKeep + nStep > strText.size())
            break;
        nKeep += nStep;
    }
    std::memcpy(pszOut, strText.data(), nKeep);
    pszOut[nKeep] = '\0';
}

// The UTF-16 entry nEntry of a string-table block, null when it is missing
// or empty (or the block is malformed).
const WCHAR* FindEntry(const void* pBlock, DWORD dwSize, int nEntry, int* pnLength)
{
    const WORD* pWord = static_cast<const WORD*>(pBlock);
    const WORD* pEnd = pWord + dwSize / sizeof(WORD);
    for (int i = 0; i < nEntry; ++i) {
        if (pWord >= pEnd)
            return nullptr;
        pWord += 1 + *pWord;
    }
    if (pWord >= pEnd || *pWord == 0 || *pWord > pEnd - pWord - 1)
        return nullptr;
    *pnLength = *pWord;
    return reinterpret_cast<const WCHAR*>(pWord + 1);
}

} // namespace

WORD ResolveLanguageWord(WORD wLanguageWord)
{
    switch (wLanguageWord) {
    case TEXT_LANGUAGE_UI:
        return SystemUiLanguage();
    case TEXT_LANGUAGE_USER: {
        const LANGID wId = ::GetUserDefaultLangID();
        if (PRIMARYLANGID(wId) == 0 && wId > 6143)
            return MAKELANGID(LANG_ENGLISH, SUBLANG_NEUTRAL);
        return wId;
    }
    case TEXT_LANGUAGE_SYSTEM:
        return ::GetSystemDefaultLangID();
    default:
        return wLanguageWord;
    }
}

const void* LoadResourceByLanguage(HMODULE hModule, LPCSTR pszType, LPCSTR pszName,
                                   WORD wLanguageWord, DWORD* pdwSize)
{
    const WORD wId = ResolveLanguageWord(wLanguageWord);
    const WORD wPrimary = PRIMARYLANGID(wId);
    const WORD wOrder[] = {
        wId,
        MAKELANGID(wPrimary, SUBLANG_DEFAULT),
        MAKELANGID(wPrimary, SUBLANG_NEUTRAL),
        MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
        MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_UK),
        MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
        MAKELANGID(LANG_ENGLISH, SUBLANG_NEUTRAL),
        MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN),
    };
    for (WORD wLanguage : wOrder) {
        HRSRC hInfo = ::FindResourceExA(hModule, pszType, pszName, wLanguage);
        if (hInfo == nullptr)
            continue;
        HGLOBAL hData = ::LoadResource(hModule, hInfo);
        const void* pData = hData != nullptr ? ::LockResource(hData) : nullptr;
        if (pData == nullptr)
            return nullptr;
        if (pdwSize != nullptr)
            *pdwSize = ::SizeofResource(hModule, hInfo);
        return pData;
    }
    return nullptr;
}

char* C_Texts::LoadText(int nId, char* pszOut) const
{
    std::strcpy(pszOut, "?");
    if (nId < 0 || nId > 0xFFFF)
        return pszOut;
    const HMODULE hFrom = hModule.load();
    DWORD dwSize = 0;
    const void* pBlock =
        LoadResourceByLanguage(hFrom, MAKEINTRESOURCEA(6) /* RT_STRING */,
                               MAKEINTRESOURCEA(nId / 16 + 1), wLanguageWord.load(), &dwSize);
    if (pBlock == nullptr)
        return pszOut;
    int nLength = 0;
    const WCHAR* pszEntry = FindEntry(pBlock, dwSize, nId % 16, &nLength);
    if (pszEntry == nullptr)
        return pszOut;
    const int nBytes =
        ::WideCharToMultiByte(CP_ACP, 0, pszEntry, nLength, nullptr, 0, nullptr, nullptr);
    if (nBytes <= 0)
        return pszOut;
    std::string strText(static_cast<size_t>(nBytes), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, pszEntry, nLength, &strText[0], nBytes, nullptr, nullptr);
    CopyCut(strText, pszOut, kTextBuffer);
    return pszOut;
}

std::string C_Texts::LoadText(int nId) const
{
    char szText[kTextBuffer];
    return LoadText(nId, szText);
}

std::string C_Texts::FormatTextV(int nId, va_list args) const
{
    char szText[kTextBuffer];
    LoadText(nId, szText);
    char* pszFormatted = nullptr;
    va_list argsCopy;
    va_copy(argsCopy, args);
    const DWORD dwLength = ::FormatMessageA(
        FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ALLOCATE_BUFFER, szText, 0, 0,
        reinterpret_cast<LPSTR>(&pszFormatted), 0, &argsCopy);
    va_end(argsCopy);
    if (dwLength == 0 || pszFormatted == nullptr)
        return szText;
    char szResult[kTextBuffer];
    CopyCut(std::string(pszFormatted, dwLength), szResult, kTextBuffer);
    ::LocalFree(pszFormatted);
    return szResult;
}

std::string C_Texts::FormatText(int nId, ...) const
{
    va_list args;
    va_start(args, nId);
    std::string strText = FormatTextV(nId, args);
    va_end(args);
    return strText;
}

C_Texts& Texts()
{
    static C_Texts texts;
    return texts;
}
