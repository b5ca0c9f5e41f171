#include "framework/win/WideText.h"

std::wstring WideText(const std::string& strText, UINT uCodePage, DWORD dwFlags)
{
    if (strText.empty())
        return std::wstring();
    const int nText = static_cast<int>(strText.size());
    const int nWide = ::MultiByteToWideChar(uCodePage, dwFlags, strText.data(), nText, nullptr, 0);
    if (nWide <= 0)
        return std::wstring();
    std::wstring strWide(static_cast<size_t>(nWide), L'\0');
    ::MultiByteToWideChar(uCodePage, dwFlags, strText.data(), nText, &strWide[0], nWide);
    return strWide;
}

std::string NarrowText(const wchar_t* pszWide, int nLength, UINT uCodePage)
{
    if (pszWide == nullptr || nLength == 0)
        return std::string();
    const int nBytes = ::WideCharToMultiByte(uCodePage, 0, pszWide, nLength, nullptr, 0, nullptr, nullptr);
    if (nBytes <= 0)
        return std::string();
    std::string strText(static_cast<size_t>(nBytes), '\0');
    ::WideCharToMultiByte(uCodePage, 0, pszWide, nLength, &strText[0], nBytes, nullptr, nullptr);
    // With -1 the terminating zero is converted too.
    if (nLength < 0 && strText.back() == '\0')
        strText.pop_back();
    return strText;
}

std::string NarrowText(const std::wstring& strWide, UINT uCodePage)
{
    return NarrowText(strWide.data(), static_cast<int>(strWide.size()), uCodePage);
}
