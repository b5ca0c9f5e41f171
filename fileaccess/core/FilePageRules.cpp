#include "fileaccess/core/FilePageRules.h"

#include <cctype>
#include <cinttypes>
#include <cstdio>

#include "fileaccess/core/FileOptions.h"

namespace {

// The decimal number at the start of strText (after blanks and one '+');
// false when there is none or it exceeds ullMax.
bool LeadingNumber(const std::string& strText, uint64_t ullMax, uint64_t& ullNumber)
{
    size_t i = 0;
    while (i < strText.size() && std::isspace(static_cast<unsigned char>(strText[i])))
        ++i;
    if (i < strText.size() && strText[i] == '+')
        ++i;
    ullNumber = 0;
    bool bDigits = false;
    for (; i < strText.size() && std::isdigit(static_cast<unsigned char>(strText[i])); ++i) {
        const uint64_t ullDigit = static_cast<uint64_t>(strText[i] - '0');
        if (ullNumber > (ullMax - ullDigit) / 10)
            return false;
        ullNumber = ullNumber * 10 + ullDigit;
        bDigits = true;
    }
    return bDigits;
}

} // namespace

uint64_t MByteBoxBytes(const std::string& strText)
{
    uint64_t ullMBytes = 0;
    if (!LeadingNumber(strText, UINT64_MAX / kFileMByte, ullMBytes))
        return 0;
    return ullMBytes * kFileMByte;
}

uint32_t ByteBoxNumber(const std::string& strText)
{
    uint64_t ullNumber = 0;
    if (!LeadingNumber(strText, UINT32_MAX, ullNumber))
        return 0;
    return static_cast<uint32_t>(ullNumber);
}

std::string MByteBoxText(uint64_t ullBytes)
{
    char szText[32];
    std::snprintf(szText, sizeof(szText), "%" PRIu64, ullBytes / kFileMByte);
    return szText;
}

char DriveLetterOf(const std::string& strPath)
{
    return strPath.size() >= 2 && strPath[1] == ':' ? strPath[0] : '\0';
}

std::string ExpertCaption(const std::string& strText, bool bExpert)
{
    return strText + (bExpert ? " <" : " >");
}
