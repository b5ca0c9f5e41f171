#include "device/core/IdentityText.h"

namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

void TrimRight(std::string& strText)
{
    size_t nEnd = strText.size();
    while (nEnd > 0 && IsSpace(strText[nEnd - 1]))
        --nEnd;
    strText.erase(nEnd);
}

void TrimLeft(std::string& strText)
{
    size_t nStart = 0;
    while (nStart < strText.size() && IsSpace(strText[nStart]))
        ++nStart;
    strText.erase(0, nStart);
}

std::string FieldText(const uint8_t* pData, size_t nAvailable, size_t nOffset, size_t nWidth)
{
    std::string strText;
    if (pData == nullptr || nOffset >= nAvailable)
        return strText;
    const size_t nEnd = nAvailable - nOffset < nWidth ? nAvailable : nOffset + nWidth;
    for (size_t i = nOffset; i < nEnd && pData[i] != 0; ++i)
        strText += static_cast<char>(pData[i]);
    return strText;
}

bool StartsWithNoCase(const std::string& strText, const char* pszPrefix)
{
    size_t i = 0;
    for (; pszPrefix[i] != '\0'; ++i) {
        if (i >= strText.size() || Lower(strText[i]) != Lower(pszPrefix[i]))
            return false;
    }
    return true;
}

bool EqualsNoCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    }
    return true;
}

size_t FindNoCase(const std::string& strText, const char* pszNeedle, size_t nFrom)
{
    const std::string strNeedle(pszNeedle);
    if (strNeedle.size() > strText.size())
        return std::string::npos;
    for (size_t i = nFrom; i + strNeedle.size() <= strText.size(); ++i) {
        size_t j = 0;
        while (j < strNeedle.size() && Lower(strText[i + j]) == Lower(strNeedle[j]))
            ++j;
        if (j == strNeedle.size())
            return i;
    }
    return std::string::npos;
}

bool ParseHexDigits(const char* pszText, size_t nDigits, uint32_t& ulValue)
{
    uint32_t ulResult = 0;
    for (size_t i = 0; i < nDigits; ++i) {
        const int nDigit = HexValue(pszText[i]);
        if (nDigit < 0)
            return false;
        ulResult = (ulResult << 4) | static_cast<uint32_t>(nDigit);
    }
    ulValue = ulResult;
    return true;
}
