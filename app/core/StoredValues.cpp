#include "app/core/StoredValues.h"

#include <cinttypes>
#include <cstdio>

#include "app/core/NumberScan.h"
#include "framework/core/OptionFlags.h"

std::string DeviceWriteValueName(const std::string& strVendor, const std::string& strProduct,
                                 const std::string& strRevision, const std::string& strSerial,
                                 const std::string& strInfo, const std::string& strLetters)
{
    return strVendor + " " + strProduct + " " + strRevision + " " + strSerial + " " + strInfo + " " +
           strLetters;
}

S_FileAccessTexts FileAccessTextsOf(const S_FileAccessValues& values)
{
    char szNumber[32];
    S_FileAccessTexts texts;
    std::snprintf(szNumber, sizeof(szNumber), "%" PRIu64, values.ullFileSize);
    texts.strFileSize = szNumber;
    std::snprintf(szNumber, sizeof(szNumber), "%" PRIu32, values.ulBlockSize);
    texts.strBlockSize = szNumber;
    std::snprintf(szNumber, sizeof(szNumber), "%" PRIu64, values.ullPreReadSize);
    texts.strPreReadSize = szNumber;
    texts.strTestFile = values.strTestFile;
    return texts;
}

void ApplyFileAccessTexts(const S_FileAccessTexts& texts, S_FileAccessValues& values)
{
    // The scans leave a value untouched when they find no number.
    ScanUnsigned64(texts.strFileSize, values.ullFileSize);
    ScanUnsigned32(texts.strBlockSize, values.ulBlockSize);
    ScanUnsigned64(texts.strPreReadSize, values.ullPreReadSize);
    if (!texts.strTestFile.empty())
        values.strTestFile = texts.strTestFile;
}

uint32_t StoredFlagBits(uint64_t ullStoredFlags)
{
    return static_cast<uint32_t>(ullStoredFlags) & kStoredFlagsMask;
}
