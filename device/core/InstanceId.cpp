#include "device/core/InstanceId.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>

#include "device/core/IdentityText.h"

namespace {

std::string LastComponent(const std::string& strId)
{
    const size_t nSlash = strId.rfind('\\');
    return nSlash == std::string::npos ? strId : strId.substr(nSlash + 1);
}

std::string AfterLastAmpersand(const std::string& strId)
{
    const size_t nAmp = strId.rfind('&');
    return nAmp == std::string::npos ? std::string() : strId.substr(nAmp + 1);
}

void StorageSerial(const std::string& strId, S_InstanceIdentity& identity)
{
    const std::string strLast = LastComponent(strId);
    if (FindNoCase(strLast, "USB&VID_") != std::string::npos) {
        identity.strUsbSerial = AfterLastAmpersand(strId);
        TrimRight(identity.strUsbSerial);
        return;
    }
    const size_t nAmp = strLast.find('&');
    if (nAmp == std::string::npos) {
        identity.strUsbSerial.clear();
        return;
    }
    std::string strSerial = strLast.substr(0, nAmp);
    for (char& c : strSerial) {
        if (c == '_')
            c = ' ';
    }
    TrimRight(strSerial);
    identity.strUsbSerial = strSerial;
    if (strLast.size() == nAmp + 2 && strLast[nAmp + 1] >= '0' && strLast[nAmp + 1] <= '9') {
        identity.ulLun = static_cast<uint32_t>(strLast[nAmp + 1] - '0');
        identity.bLunFound = true;
    }
}

void UsbDeviceId(const std::string& strId, size_t nVendorAt, size_t nProductAt,
                 S_InstanceIdentity& identity)
{
    if (identity.ulUsbVendorId == 0 || identity.ulUsbProductId == 0) {
        uint32_t ulVendor = 0, ulProduct = 0;
        if (strId.size() >= nProductAt + 4 && ParseHexDigits(strId.c_str() + nVendorAt, 4, ulVendor) &&
            ParseHexDigits(strId.c_str() + nProductAt, 4, ulProduct)) {
            identity.ulUsbVendorId = ulVendor;
            identity.ulUsbProductId = ulProduct;
        }
    }
    AddHardwareId(identity.strHardwareIds, strId);
    const size_t nSlash = strId.rfind('\\');
    const std::string strLast = LastComponent(strId);
    // An id without a serial ends in a generated instance ("6&2a3b&0&1").
    if (nSlash == std::string::npos || strLast.find('&') != std::string::npos)
        return;
    std::string strSerial = strLast;
    if (strSerial.find("MSFT30") != std::string::npos)
        strSerial.erase(0, 6);
    TrimRight(strSerial);
    identity.strUsbSerial = strSerial;
}

void HidPath(const std::string& strId, S_InstanceIdentity& identity)
{
    static const char kPrefix[] = "\\\\?\\hid#vid_";
    const size_t nVendorAt = sizeof(kPrefix) - 1;
    uint32_t ulVendor = 0, ulProduct = 0;
    if (strId.size() < nVendorAt + 13 || !ParseHexDigits(strId.c_str() + nVendorAt, 4, ulVendor) ||
        !StartsWithNoCase(strId.substr(nVendorAt + 4), "&pid_") ||
        !ParseHexDigits(strId.c_str() + nVendorAt + 9, 4, ulProduct))
        return;
    identity.ulUsbVendorId = ulVendor;
    identity.ulUsbProductId = ulProduct;
}

// The 64-bit number of a unique id text with the bytes of each 32-bit half
// swapped, as 16 hexadecimal digits; the text itself when it is no number.
std::string SwappedUniqueId(const std::string& strText)
{
    uint64_t ullValue = 0;
    size_t nDigits = 0;
    for (; nDigits < strText.size(); ++nDigits) {
        uint32_t ulDigit = 0;
        if (!ParseHexDigits(strText.c_str() + nDigits, 1, ulDigit))
            break;
        ullValue = (ullValue << 4) | ulDigit;
    }
    if (nDigits == 0 || nDigits > 16)
        return strText;
    auto swap32 = [](uint32_t ul) {
        return (ul >> 24) | ((ul >> 8) & 0xFF00u) | ((ul << 8) & 0xFF0000u) | (ul << 24);
    };
    const uint64_t ullSwapped =
        (static_cast<uint64_t>(swap32(static_cast<uint32_t>(ullValue >> 32))) << 32) |
        swap32(static_cast<uint32_t>(ullValue));
    char szText[24];
    std::snprintf(szText, sizeof(szText), "%016" PRIX64, ullSwapped);
    return szText;
}

void Ieee1394Id(const std::string& strId, bool bWindows7, S_InstanceIdentity& identity)
{
    AddHardwareId(identity.strHardwareIds, strId);
    const std::string strRest = strId.substr(5);
    const size_t nAmp = strRest.find('&');
    identity.str1394Vendor = strRest.substr(0, nAmp);
    TrimRight(identity.str1394Vendor);
    if (nAmp == std::string::npos)
        return;
    const std::string strAfter = strRest.substr(nAmp + 1);
    const size_t nSlash = strAfter.find('\\');
    identity.str1394Model = strAfter.substr(0, nSlash);
    TrimRight(identity.str1394Model);
    if (nSlash == std::string::npos || !identity.str1394UniqueId.empty())
        return;
    std::string strUnique = strAfter.substr(nSlash + 1);
    TrimRight(strUnique);
    if (strUnique.empty())
        return;
    identity.str1394UniqueId = bWindows7 ? strUnique : SwappedUniqueId(strUnique);
}

// The text after pszKey up to cEnd, or up to the "\" that begins the
// instance part, when the id has the key.
bool KeyText(const std::string& strId, const char* pszKey, char cEnd, std::string& strOut)
{
    const size_t nAt = FindNoCase(strId, pszKey);
    if (nAt == std::string::npos)
        return false;
    const size_t nStart = nAt + std::string(pszKey).size();
    const size_t nEnd = strId.find_first_of(std::string(1, cEnd) + "\\", nStart);
    strOut = strId.substr(nStart, nEnd == std::string::npos ? std::string::npos : nEnd - nStart);
    TrimRight(strOut);
    return true;
}

// nWidth characters from nStart, within the device part of the id (up to
// the "\" that begins the instance part).
std::string FixedText(const std::string& strId, size_t nStart, size_t nWidth)
{
    const size_t nEnd = std::min(strId.find('\\', 4), strId.size());
    if (nStart >= nEnd)
        return std::string();
    std::string strText = strId.substr(nStart, std::min(nWidth, nEnd - nStart));
    TrimRight(strText);
    return strText;
}

} // namespace

void AddHardwareId(std::string& strList, const std::string& strId)
{
    if (strId.empty())
        return;
    // The list is compared as text, so that an id holding the separator
    // itself is still found.
    const std::string strPadded = ", " + strList + ", ";
    if (FindNoCase(strPadded, (", " + strId + ", ").c_str()) != std::string::npos)
        return;
    if (!strList.empty())
        strList += ", ";
    strList += strId;
}

void ApplyInstanceId(const std::string& strId, bool bWindows7, S_InstanceIdentity& identity)
{
    if (StartsWithNoCase(strId, "TPPIOSTB\\") || StartsWithNoCase(strId, "CY_IOSTB\\") ||
        StartsWithNoCase(strId, "USBSTOR\\")) {
        StorageSerial(strId, identity);
    } else if (StartsWithNoCase(strId, "PU20SYSD\\") || StartsWithNoCase(strId, "NECUSB\\")) {
        if (strId.find('&') != std::string::npos) {
            identity.strUsbSerial = AfterLastAmpersand(strId);
            TrimRight(identity.strUsbSerial);
        }
    } else if (StartsWithNoCase(strId, "USB\\VID")) {
        UsbDeviceId(strId, 8, 17, identity);
    } else if (StartsWithNoCase(strId, "USB_ASMEDIA\\VID")) {
        UsbDeviceId(strId, 16, 25, identity);
    } else if (StartsWithNoCase(strId, "\\\\?\\hid#vid_")) {
        HidPath(strId, identity);
    } else if (StartsWithNoCase(strId, "1394\\")) {
        Ieee1394Id(strId, bWindows7, identity);
    } else if (StartsWithNoCase(strId, "SBP2\\")) {
        if (FindNoCase(strId, "&LUN") != std::string::npos) {
            identity.str1394UniqueId = LastComponent(strId);
            TrimRight(identity.str1394UniqueId);
        }
    }
}

bool ParseStorageIds(const std::string& strId, std::string& strVendor, std::string& strProduct,
                     std::string& strRevision)
{
    if (StartsWithNoCase(strId, "USBSTOR\\")) {
        KeyText(strId, "&VEN_", '&', strVendor);
        KeyText(strId, "&PROD_", '&', strProduct);
        KeyText(strId, "&REV_", '\\', strRevision);
        return true;
    }
    if (StartsWithNoCase(strId, "IDE\\CDROM")) {
        strVendor = FixedText(strId, 9, 8);
        strProduct = FixedText(strId, 17, 32);
        strRevision = FixedText(strId, 49, 8);
        return true;
    }
    if (StartsWithNoCase(strId, "IDE\\")) {
        strVendor = FixedText(strId, 8, 8);
        strProduct = FixedText(strId, 16, 32);
        strRevision = FixedText(strId, 48, 8);
        return true;
    }
    return false;
}
