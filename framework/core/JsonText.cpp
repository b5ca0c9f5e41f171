#include "framework/core/JsonText.h"

#include <cinttypes>
#include <cstdio>

namespace {

// Code points of the bytes 0x80..0x9F in Windows-1252; bytes that it leaves
// undefined keep their value, as the system's conversion does.
constexpr uint16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void AppendUtf8(std::string& strOut, uint32_t ulCode)
{
    if (ulCode < 0x80) {
        strOut += static_cast<char>(ulCode);
    } else if (ulCode < 0x800) {
        strOut += static_cast<char>(0xC0 | (ulCode >> 6));
        strOut += static_cast<char>(0x80 | (ulCode & 0x3F));
    } else {
        strOut += static_cast<char>(0xE0 | (ulCode >> 12));
        strOut += static_cast<char>(0x80 | ((ulCode >> 6) & 0x3F));
        strOut += static_cast<char>(0x80 | (ulCode & 0x3F));
    }
}

void AppendEscape(std::string& strOut, uint32_t ulUnit)
{
    char szEscape[8];
    std::snprintf(szEscape, sizeof(szEscape), "\\u%04X", static_cast<unsigned>(ulUnit));
    strOut += szEscape;
}

// Decodes one UTF-8 sequence at nPos; a malformed one gives U+FFFD and
// moves one byte on.
uint32_t DecodeUtf8(const std::string& strText, size_t& nPos)
{
    const unsigned char b0 = static_cast<unsigned char>(strText[nPos]);
    int nMore = 0;
    uint32_t ulCode = 0;
    uint32_t ulMin = 0;
    if (b0 < 0x80) {
        ++nPos;
        return b0;
    } else if ((b0 & 0xE0) == 0xC0) {
        nMore = 1, ulCode = b0 & 0x1F, ulMin = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        nMore = 2, ulCode = b0 & 0x0F, ulMin = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        nMore = 3, ulCode = b0 & 0x07, ulMin = 0x10000;
    } else {
        ++nPos;
        return 0xFFFD;
    }
    if (nPos + static_cast<size_t>(nMore) >= strText.size()) {
        ++nPos;
        return 0xFFFD;
    }
    for (int i = 1; i <= nMore; ++i) {
        const unsigned char b = static_cast<unsigned char>(strText[nPos + static_cast<size_t>(i)]);
        if ((b & 0xC0) != 0x80) {
            ++nPos;
            return 0xFFFD;
        }
        ulCode = (ulCode << 6) | (b & 0x3F);
    }
    if (ulCode < ulMin || ulCode > 0x10FFFF || (ulCode >= 0xD800 && ulCode <= 0xDFFF)) {
        ++nPos;
        return 0xFFFD;
    }
    nPos += static_cast<size_t>(nMore) + 1;
    return ulCode;
}

} // namespace

std::string Cp1252ToUtf8(const std::string& strText)
{
    std::string strOut;
    for (const char c : strText) {
        const unsigned char b = static_cast<unsigned char>(c);
        AppendUtf8(strOut, b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : b);
    }
    return strOut;
}

std::string JsonString(const std::string& strUtf8)
{
    std::string strOut = "\"";
    for (size_t nPos = 0; nPos < strUtf8.size();) {
        const uint32_t ulCode = DecodeUtf8(strUtf8, nPos);
        if (ulCode == '"' || ulCode == '\\') {
            strOut += '\\';
            strOut += static_cast<char>(ulCode);
        } else if (ulCode >= 0x20 && ulCode < 0x7F) {
            strOut += static_cast<char>(ulCode);
        } else if (ulCode >= 0x10000) {
            const uint32_t ulV = ulCode - 0x10000;
            AppendEscape(strOut, 0xD800 + (ulV >> 10));
            AppendEscape(strOut, 0xDC00 + (ulV & 0x3FF));
        } else {
            AppendEscape(strOut, ulCode);
        }
    }
    return strOut + "\"";
}

std::string JsonNumber(uint64_t ullValue)
{
    char szText[32];
    std::snprintf(szText, sizeof(szText), "%" PRIu64, ullValue);
    return szText;
}

std::string JsonDecimal(double dValue, int nDecimals)
{
    if (!(dValue == dValue) || dValue > 1e300 || dValue < -1e300)
        return "null";
    char szText[64];
    std::snprintf(szText, sizeof(szText), "%.*f", nDecimals, dValue);
    return szText;
}

