#include "app/core/NumberScan.h"

namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int DigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 99;
}

} // namespace

bool ScanInteger(std::string_view text, int nBase, uint64_t& ullValue)
{
    size_t i = 0;
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    bool bNegative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        bNegative = text[i] == '-';
        ++i;
    }

    // A "0x" prefix counts only when a hexadecimal digit follows; otherwise
    // the '0' alone is the number.
    const bool bHexPrefix = i + 2 < text.size() && text[i] == '0' &&
                            (text[i + 1] == 'x' || text[i + 1] == 'X') && DigitValue(text[i + 2]) < 16;
    if (nBase == 0) {
        if (bHexPrefix)
            nBase = 16;
        else if (i < text.size() && text[i] == '0')
            nBase = 8;
        else
            nBase = 10;
    }
    if (nBase == 16 && bHexPrefix)
        i += 2;

    uint64_t ullNumber = 0;
    size_t nDigits = 0;
    for (; i < text.size(); ++i) {
        const int nDigit = DigitValue(text[i]);
        if (nDigit >= nBase)
            break;
        ullNumber = ullNumber * static_cast<uint64_t>(nBase) + static_cast<uint64_t>(nDigit);
        ++nDigits;
    }
    if (nDigits == 0)
        return false;
    ullValue = bNegative ? 0 - ullNumber : ullNumber;
    return true;
}

bool ScanSigned64(std::string_view text, int nBase, int64_t& llValue)
{
    uint64_t ullValue = 0;
    if (!ScanInteger(text, nBase, ullValue))
        return false;
    llValue = static_cast<int64_t>(ullValue);
    return true;
}

bool ScanUnsigned64(std::string_view text, uint64_t& ullValue)
{
    return ScanInteger(text, 10, ullValue);
}

bool ScanUnsigned32(std::string_view text, uint32_t& ulValue)
{
    uint64_t ullValue = 0;
    if (!ScanInteger(text, 10, ullValue))
        return false;
    ulValue = static_cast<uint32_t>(ullValue);
    return true;
}
