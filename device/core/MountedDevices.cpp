#include "device/core/MountedDevices.h"

#include "device/core/ByteOrder.h"
#include "device/core/IdentityText.h"

namespace {

// Leading hexadecimal digits at nAt (at most nMaxDigits); false without any.
bool LeadingHex(const std::string& strText, size_t nAt, size_t nMaxDigits, uint64_t& ullValue)
{
    uint64_t ullResult = 0;
    size_t nDigits = 0;
    for (; nAt + nDigits < strText.size() && nDigits < nMaxDigits; ++nDigits) {
        uint32_t ulDigit = 0;
        if (!ParseHexDigits(strText.c_str() + nAt + nDigits, 1, ulDigit))
            break;
        ullResult = (ullResult << 4) | ulDigit;
    }
    if (nDigits == 0)
        return false;
    ullValue = ullResult;
    return true;
}

} // namespace

S_VolumeKey VolumeKeyFromInstanceId(const std::string& strInstanceId)
{
    S_VolumeKey key;
    const size_t nSignature = FindNoCase(strInstanceId, "ignature");
    const size_t nOffset = FindNoCase(strInstanceId, "ffset");
    uint64_t ullSignature = 0, ullOffset = 0;
    if (nSignature != std::string::npos && nOffset != std::string::npos &&
        LeadingHex(strInstanceId, nSignature + 8, 8, ullSignature) &&
        LeadingHex(strInstanceId, nOffset + 5, 16, ullOffset)) {
        key.bSignature = true;
        key.ulSignature = static_cast<uint32_t>(ullSignature);
        key.ullOffset = ullOffset;
    }
    key.strDeviceName = strInstanceId;
    for (char& c : key.strDeviceName) {
        if (c == '\\')
            c = '#';
    }
    return key;
}

bool MountedDataMatches(const uint8_t* pData, size_t nLength, const S_VolumeKey& key)
{
    if (pData == nullptr)
        return false;
    if (nLength == 12)
        return key.bSignature && GetLe32(pData) == key.ulSignature &&
               GetLe64(pData + 4) == key.ullOffset;
    if (key.strDeviceName.empty() || nLength < 2)
        return false;
    // UTF-16 device names of the mount manager are ASCII.
    std::string strName;
    for (size_t i = 0; i + 1 < nLength; i += 2) {
        const uint16_t wChar = GetLe16(pData + i);
        if (wChar == 0)
            break;
        strName += wChar < 0x80 ? static_cast<char>(wChar) : '?';
    }
    return FindNoCase(strName, key.strDeviceName.c_str()) != std::string::npos;
}

char LetterFromMountedName(const std::string& strName)
{
    static const char kPrefix[] = "\\DosDevices\\";
    const size_t nPrefix = sizeof(kPrefix) - 1;
    if (strName.size() != nPrefix + 2 || !StartsWithNoCase(strName, kPrefix) ||
        strName[nPrefix + 1] != ':')
        return 0;
    char c = strName[nPrefix];
    if (c >= 'a' && c <= 'z')
        c = static_cast<char>(c - 'a' + 'A');
    return c >= 'A' && c <= 'Z' ? c : 0;
}

std::string VolumePathFromMountedName(const std::string& strName)
{
    static const char kPrefix[] = "\\??\\Volume";
    const size_t nPrefix = sizeof(kPrefix) - 1;
    if (!StartsWithNoCase(strName, kPrefix) || strName.size() <= nPrefix ||
        strName[nPrefix] != '{')
        return std::string();
    return "\\\\?\\Volume" + strName.substr(nPrefix) + "\\";
}
