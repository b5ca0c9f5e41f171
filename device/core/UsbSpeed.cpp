#include "device/core/UsbSpeed.h"

#include <cctype>

#include "device/core/IdentityText.h"

namespace {

// Four hexadecimal digits at nOffset.
bool Hex4(const std::string& str, size_t nOffset, uint32_t& ulOut)
{
    return str.size() >= nOffset + 4 && ParseHexDigits(str.c_str() + nOffset, 4, ulOut);
}

// Leading hexadecimal digits at nOffset (at least one).
bool HexRun(const std::string& str, size_t nOffset, uint32_t& ulOut)
{
    uint32_t ul = 0;
    size_t i = nOffset;
    for (; i < str.size() && std::isxdigit(static_cast<unsigned char>(str[i])); ++i) {
        const int c = std::toupper(static_cast<unsigned char>(str[i]));
        ul = ul * 16 + static_cast<uint32_t>(c <= '9' ? c - '0' : c - 'A' + 10);
    }
    if (i == nOffset)
        return false;
    ulOut = ul;
    return true;
}

} // namespace

uint32_t UsbHubClassOfPath(const std::string& strPath)
{
    if (FindNoCase(strPath, "#ROOT_HUB20#") != std::string::npos)
        return 2;
    if (FindNoCase(strPath, "#ROOT_HUB30#") != std::string::npos)
        return 5;
    return 1;
}

uint32_t UsbPortSpeedCode(const S_UsbPortAnswers& answers)
{
    uint32_t ulCode = USB_CODE_LOW;
    if (answers.bExAnswered) {
        switch (answers.bExSpeed) {
        case 1:
            ulCode = USB_CODE_FULL;
            break;
        case 2:
            ulCode = USB_CODE_HIGH;
            break;
        case 3:
            ulCode = USB_CODE_SUPER;
            break;
        default:
            ulCode = USB_CODE_LOW;
            break;
        }
        if (answers.bV2Answered && (answers.ulV2Flags & 0x1) != 0)
            ulCode = USB_CODE_SUPER;
    } else {
        ulCode = answers.bLowSpeed ? USB_CODE_LOW : USB_CODE_FULL;
    }
    if (answers.wBcdUsb > 0x2FF)
        ulCode = USB_CODE_SUPER;
    else if (ulCode < USB_CODE_SUPER && answers.wBcdUsb > 0x20F)
        ulCode = answers.ulHubClass == 5 ? USB_CODE_NEWER_ON_SUPER : USB_CODE_NEWER_ON_HIGH;
    return ulCode;
}

uint32_t UsbQuerySpeedCode(const USB_PORT_ENTRY* pPort)
{
    if (pPort == nullptr)
        return USB_CODE_NO_PORT;
    return pPort->ulSpeed >= 1 && pPort->ulSpeed <= 5 ? pPort->ulSpeed : 0;
}

bool ShouldSearchUsbPort(uint32_t ulVendorId, uint32_t ulProductId)
{
    return (ulVendorId != 0 || ulProductId != 0) && ulVendorId != 0x0644;
}

bool UsbSerialMatches(const std::string& strDescriptorSerial, const std::string& strIdSerial)
{
    if (strDescriptorSerial.size() != strIdSerial.size())
        return false;
    for (size_t i = 0; i < strIdSerial.size(); ++i) {
        const char cId = strIdSerial[i] == '_' ? ' ' : strIdSerial[i];
        if (std::toupper(static_cast<unsigned char>(cId)) !=
            std::toupper(static_cast<unsigned char>(strDescriptorSerial[i])))
            return false;
    }
    return true;
}

bool ParseUsbDeviceId(const std::string& strId, uint32_t& ulVendorId, uint32_t& ulProductId,
                      std::string& strSerial)
{
    // "USB\VID_" then 4 digits at 8, "&PID_" then 4 digits at 17.
    if (!StartsWithNoCase(strId, "USB\\VID_") || strId.size() < 21 ||
        !StartsWithNoCase(strId.substr(12), "&PID_"))
        return false;
    uint32_t ulVendor = 0, ulProduct = 0;
    if (!Hex4(strId, 8, ulVendor) || !Hex4(strId, 17, ulProduct))
        return false;
    ulVendorId = ulVendor;
    ulProductId = ulProduct;
    strSerial.clear();
    const size_t nSlash = strId.rfind('\\');
    if (nSlash != std::string::npos && nSlash > 3) {
        const std::string strLast = strId.substr(nSlash + 1);
        if (strLast.find('&') == std::string::npos) {
            strSerial = strLast;
            if (FindNoCase(strSerial, "MSFT30") != std::string::npos)
                strSerial = strSerial.size() > 6 ? strSerial.substr(6) : std::string();
        }
    }
    return true;
}

bool ParsePciIds(const std::string& strHardwareId, uint32_t& ulVendor, uint32_t& ulDevice)
{
    if (!StartsWithNoCase(strHardwareId, "PCI\\VEN_"))
        return false;
    uint32_t ulVen = 0, ulDev = 0;
    if (!HexRun(strHardwareId, 8, ulVen))
        return false;
    size_t nAfter = 8;
    while (nAfter < strHardwareId.size() &&
           std::isxdigit(static_cast<unsigned char>(strHardwareId[nAfter])))
        ++nAfter;
    if (!StartsWithNoCase(strHardwareId.substr(nAfter), "&DEV_") ||
        !HexRun(strHardwareId, nAfter + 5, ulDev))
        return false;
    ulVendor = ulVen;
    ulDevice = ulDev;
    return true;
}

bool IsThunderboltController(const std::string& strHardwareId)
{
    return StartsWithNoCase(strHardwareId, "PCI\\VEN_8086&DEV_1549&");
}
