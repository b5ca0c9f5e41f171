#include "device/core/UsbAnswers.h"

#include "device/core/ByteOrder.h"

namespace {

constexpr uint8_t kTypeConfiguration = 2;
constexpr uint8_t kTypeString = 3;
constexpr uint8_t kTypeInterface = 4;
constexpr uint8_t kTypeEndpoint = 5;
constexpr uint8_t kGetDescriptor = 6;
constexpr uint8_t kDeviceToHost = 0x80;
constexpr uint32_t kProtocolsAsked = 0x7;  // USB 1.1, 2.0, 3.0

std::u16string Utf16Text(const uint8_t* p, size_t nUnits)
{
    std::u16string str;
    for (size_t i = 0; i < nUnits; ++i) {
        const char16_t c = static_cast<char16_t>(GetLe16(p + 2 * i));
        if (c == 0)
            break;
        str.push_back(c);
    }
    return str;
}

} // namespace

bool ParseUsbNodeInformation(const uint8_t* pData, size_t nSize, S_UsbHubNode& out)
{
    if (pData == nullptr || nSize < kUsbNodeInformationSize)
        return false;
    out.bIsHub = GetLe32(pData) == 0;
    out.ulPorts = pData[6];
    out.bBusPowered = pData[75] != 0;
    return true;
}

bool ParseUsbDeviceDescriptor(const uint8_t* pData, size_t nSize, S_UsbDeviceDescriptor& out)
{
    if (pData == nullptr || nSize < 18)
        return false;
    out.bLength = pData[0];
    out.bDescriptorType = pData[1];
    out.bcdUSB = GetLe16(pData + 2);
    out.bDeviceClass = pData[4];
    out.bDeviceSubClass = pData[5];
    out.bDeviceProtocol = pData[6];
    out.bMaxPacketSize0 = pData[7];
    out.idVendor = GetLe16(pData + 8);
    out.idProduct = GetLe16(pData + 10);
    out.bcdDevice = GetLe16(pData + 12);
    out.iManufacturer = pData[14];
    out.iProduct = pData[15];
    out.iSerialNumber = pData[16];
    out.bNumConfigurations = pData[17];
    return true;
}

bool ParseUsbConnectionInfo(const uint8_t* pData, size_t nSize, S_UsbConnectionInfo& out)
{
    if (pData == nullptr || nSize < kUsbConnectionInfoSize)
        return false;
    S_UsbConnectionInfo info;
    info.ulPort = GetLe32(pData);
    ParseUsbDeviceDescriptor(pData + 4, 18, info.descriptor);
    info.bConfiguration = pData[22];
    info.bSpeed = pData[23];
    info.bIsHub = pData[24] != 0;
    info.wAddress = GetLe16(pData + 25);
    info.ulOpenPipes = GetLe32(pData + 27);
    info.ulStatus = GetLe32(pData + 31);
    out = info;
    return true;
}

std::array<uint8_t, kUsbConnectionV2Size> BuildUsbConnectionV2Request(uint32_t ulPort)
{
    std::array<uint8_t, kUsbConnectionV2Size> request{};
    PutLe32(request.data(), ulPort);
    PutLe32(request.data() + 4, static_cast<uint32_t>(kUsbConnectionV2Size));
    PutLe32(request.data() + 8, kProtocolsAsked);
    return request;
}

bool ParseUsbConnectionV2Flags(const uint8_t* pData, size_t nSize, uint32_t& ulFlags)
{
    if (pData == nullptr || nSize < kUsbConnectionV2Size)
        return false;
    ulFlags = GetLe32(pData + 12);
    return true;
}

bool ParseUsbName(const uint8_t* pData, size_t nSize, size_t nHeader, std::u16string& strName,
                  uint32_t& ulNeeded)
{
    if (pData == nullptr || nHeader < 4 || nSize < nHeader)
        return false;
    ulNeeded = GetLe32(pData + nHeader - 4);
    size_t nEnd = nSize;
    if (ulNeeded >= nHeader && ulNeeded < nEnd)
        nEnd = ulNeeded;
    strName = Utf16Text(pData + nHeader, (nEnd - nHeader) / 2);
    return true;
}

std::vector<uint8_t> BuildUsbDescriptorRequest(uint32_t ulPort, uint8_t bType, uint8_t bIndex,
                                               uint16_t wLanguage, uint16_t wLength)
{
    std::vector<uint8_t> request(kUsbDescriptorRequestHeader + wLength, 0);
    PutLe32(request.data(), ulPort);
    request[4] = kDeviceToHost;
    request[5] = kGetDescriptor;
    PutLe16(request.data() + 6, static_cast<uint16_t>((bType << 8) | bIndex));
    PutLe16(request.data() + 8, wLanguage);
    PutLe16(request.data() + 10, wLength);
    return request;
}

bool ParseUsbStringDescriptor(const uint8_t* pData, size_t nSize, std::u16string& strText)
{
    if (pData == nullptr || nSize < 2 || pData[1] != kTypeString || pData[0] < 2 ||
        pData[0] > nSize)
        return false;
    strText = Utf16Text(pData + 2, (pData[0] - 2u) / 2);
    return true;
}

bool ParseUsbFirstLanguage(const uint8_t* pData, size_t nSize, uint16_t& wLanguage)
{
    if (pData == nullptr || nSize < 4 || pData[1] != kTypeString || pData[0] < 4)
        return false;
    wLanguage = GetLe16(pData + 2);
    return true;
}

size_t AddUsbConfigurationEntries(const uint8_t* pData, size_t nSize, USB_PORT_ENTRY& device)
{
    if (pData == nullptr)
        return 0;
    size_t nAdded = 0;
    USB_PORT_ENTRY* pConfiguration = nullptr;
    USB_PORT_ENTRY* pInterface = nullptr;
    size_t nOffset = 0;
    // A length byte below 2 could never move on; the walk ends there.
    while (nSize - nOffset >= 2 && pData[nOffset] >= 2 && pData[nOffset] <= nSize - nOffset) {
        const uint8_t bLength = pData[nOffset];
        const uint8_t bType = pData[nOffset + 1];
        USB_PORT_ENTRY* pParent = nullptr;
        int nKind = 0;
        if (bType == kTypeConfiguration) {
            pParent = &device;
            nKind = USB_ENTRY_CONFIGURATION;
        } else if (bType == kTypeInterface && pConfiguration != nullptr) {
            pParent = pConfiguration;
            nKind = USB_ENTRY_INTERFACE;
        } else if (bType == kTypeEndpoint && pInterface != nullptr) {
            pParent = pInterface;
            nKind = USB_ENTRY_ENDPOINT;
        }
        if (pParent != nullptr) {
            auto pEntry = std::make_unique<USB_PORT_ENTRY>();
            pEntry->nKind = nKind;
            pEntry->vDescriptorBytes.assign(pData + nOffset, pData + nOffset + bLength);
            USB_PORT_ENTRY* pAdded = pEntry.get();
            pParent->vChildren.push_back(std::move(pEntry));
            ++nAdded;
            if (nKind == USB_ENTRY_CONFIGURATION) {
                pConfiguration = pAdded;
                pInterface = nullptr;
            } else if (nKind == USB_ENTRY_INTERFACE) {
                pInterface = pAdded;
            }
        }
        nOffset += bLength;
    }
    return nAdded;
}
