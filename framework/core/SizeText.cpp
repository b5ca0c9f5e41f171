#include "framework/core/SizeText.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

struct S_SizeUnit {
    int nShift;         // the unit is 2^nShift bytes
    char cLetter;
};

// Largest first; a unit is taken when the count in the next smaller unit
// exceeds 2048.
const S_SizeUnit kUnits[] = {{50, 'P'}, {40, 'T'}, {30, 'G'}, {20, 'M'}, {10, 'k'}};

struct S_UnitText {
    const char* pszLong;
    const char* pszShort;
    double dFactor;
};

// Searched in this order; the leading blank is part of the unit.
const S_UnitText kUnitTexts[] = {
    {" PByte", " PB", 1125899906842624.0},
    {" TByte", " TB", 1099511627776.0},
    {" GByte", " GB", 1073741824.0},
    {" MByte", " MB", 1048576.0},
    {" kByte", " kB", 1024.0},
    {" Byte", nullptr, 1.0},
};

} // namespace

int FormatSize(uint64_t ullBytes, char* pszOut, int nShortUnit, int nDecimals)
{
    if (nDecimals < 0)
        nDecimals = 0;
    if (nDecimals > 9)
        nDecimals = 9;
    const char* pszSuffix = nShortUnit == 1 ? "B" : "Byte";
    int nWritten = -1;
    for (const S_SizeUnit& unit : kUnits) {
        if ((ullBytes >> (unit.nShift - 10)) > 2048) {
            // Converted as unsigned, so counts of 2^63 and more stay positive.
            const double dValue = std::ldexp(static_cast<double>(ullBytes), -unit.nShift);
            nWritten = std::snprintf(pszOut, kFormatSizeBuffer, "%.*f %c%s", nDecimals, dValue,
                                     unit.cLetter, pszSuffix);
            break;
        }
    }
    if (nWritten < 0)
        nWritten = std::snprintf(pszOut, kFormatSizeBuffer, "%" PRIu64 " Byte", ullBytes);
    if (nWritten < 0) {
        pszOut[0] = '\0';
        return 0;
    }
    return nWritten < kFormatSizeBuffer ? nWritten : kFormatSizeBuffer - 1;
}

std::string FormatSize(uint64_t ullBytes, int nShortUnit, int nDecimals)
{
    char szText[kFormatSizeBuffer];
    const int nLength = FormatSize(ullBytes, szText, nShortUnit, nDecimals);
    return std::string(szText, static_cast<size_t>(nLength));
}

bool ParseSize(const char* pszText, double* pdBytes)
{
    if (pszText == nullptr)
        return false;
    const S_UnitText* pUnit = nullptr;
    for (const S_UnitText& unit : kUnitTexts) {
        if (std::strstr(pszText, unit.pszLong) != nullptr ||
            (unit.pszShort != nullptr && std::strstr(pszText, unit.pszShort) != nullptr)) {
            pUnit = &unit;
            break;
        }
    }
    if (pUnit == nullptr)
        return false;
    char* pEnd = nullptr;
    const double dNumber = std::strtod(pszText, &pEnd);
    if (pEnd == pszText || std::isnan(dNumber))
        return false;               // "Byte" alone or "nan MB" orders as text
    *pdBytes = dNumber * pUnit->dFactor;
    return true;
}

std::string PrepareSortText(const char* pszText, const char* pszThousands)
{
    std::string strText = pszText != nullptr ? pszText : "";
    if (pszThousands != nullptr && pszThousands[0] != '\0') {
        const size_t nSeparator = std::strlen(pszThousands);
        size_t nAt = 0;
        while ((nAt = strText.find(pszThousands, nAt, nSeparator)) != std::string::npos)
            strText.erase(nAt, nSeparator);
    }
    size_t nOut = 0;
    for (char c : strText)
        if (c != ':')
            strText[nOut++] = c;
    strText.resize(nOut);
    return strText;
}

int CompareColumnTexts(const char* pszFirst, const char* pszSecond, bool bAscending,
                       const char* pszThousands, const T_TextCompare& compareText)
{
    double dFirst = 0;
    double dSecond = 0;
    if (ParseSize(pszFirst, &dFirst) && ParseSize(pszSecond, &dSecond)) {
        const int nOrder = dFirst > dSecond ? 1 : (dFirst < dSecond ? -1 : 0);
        return bAscending ? nOrder : -nOrder;
    }
    const std::string strFirst = PrepareSortText(pszFirst, pszThousands);
    const std::string strSecond = PrepareSortText(pszSecond, pszThousands);
    return bAscending ? compareText(strFirst, strSecond) : compareText(strSecond, strFirst);
}
