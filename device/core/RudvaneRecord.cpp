#include "device/core/RudvaneRecord.h"

#include <cctype>

#include "device/core/RudvaneTypes.h"

bool IsSameRecord(const S_RudvaneRecord& a, const S_RudvaneRecord& b)
{
    return (a.ulCaps.load() & 0xFFFF) == (b.ulCaps.load() & 0xFFFF) && a.ulKind == b.ulKind &&
           a.ulMediaClass == b.ulMediaClass && a.ullBlockCount == b.ullBlockCount &&
           a.ullFreeBlocks == b.ullFreeBlocks && a.ullFirstBlock == b.ullFirstBlock &&
           a.ullPartitionStart == b.ullPartitionStart && a.ulBlockSize == b.ulBlockSize &&
           a.ulMaxBlocks == b.ulMaxBlocks && a.strVendor == b.strVendor &&
           a.strProduct == b.strProduct && a.strRevision == b.strRevision &&
           a.strSerial == b.strSerial && a.strDisplayName == b.strDisplayName &&
           a.strInfo == b.strInfo && a.strLetters == b.strLetters;
}

std::string FormatRecordIdentity(const S_RudvaneRecord& record)
{
    return record.strVendor + "-" + record.strProduct + "-" + record.strRevision + "-" +
           record.strSerial;
}

bool HasLetter(const std::string& strLetters, char cLetter)
{
    if (cLetter == '\0')
        return false;
    const int nWanted = std::toupper(static_cast<unsigned char>(cLetter));
    for (char c : strLetters) {
        if (std::toupper(static_cast<unsigned char>(c)) == nWanted)
            return true;
    }
    return false;
}

bool IsSystemRecord(const S_RudvaneRecord& record, char cSystemLetter,
                    const std::string& strSystemIdentity, bool bStrict)
{
    if (HasLetter(record.strLetters, cSystemLetter))
        return true;
    const std::string strIdentity = FormatRecordIdentity(record);
    if (strIdentity != FormatRecordIdentity(S_RudvaneRecord()) && strIdentity == strSystemIdentity)
        return true;
    return bStrict && record.strLetters.empty();
}

bool IsSameIdentity(const S_RudvaneRecord& a, const S_RudvaneRecord& b)
{
    return a.strVendor == b.strVendor && a.strProduct == b.strProduct &&
           a.strRevision == b.strRevision && a.strSerial == b.strSerial &&
           a.strInfo == b.strInfo && a.strLetters == b.strLetters &&
           a.ullBlockCount == b.ullBlockCount && a.ulBlockSize == b.ulBlockSize;
}

uint32_t BlockRangeError(const S_RudvaneRecord& record, uint64_t ullLba, uint32_t ulCount,
                         bool bFromFirstBlock)
{
    if (record.ulBlockSize == 0)
        return rudvane_error::kNotReady;
    if ((bFromFirstBlock && ullLba < record.ullFirstBlock) || ullLba > record.ullBlockCount ||
        ulCount > record.ullBlockCount - ullLba)
        return rudvane_error::kSectorNotFound;
    return 0;
}
