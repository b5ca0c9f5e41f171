// USB hub driver answers and descriptors as hubs and devices send them: any
// bytes must parse safely, stay within what arrived, and give speed codes of
// the known range.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "device/core/UsbAnswers.h"
#include "device/core/UsbSpeed.h"

namespace {

size_t CountEntries(const USB_PORT_ENTRY& entry)
{
    size_t n = 0;
    for (const auto& pChild : entry.vChildren) {
        if (pChild->vDescriptorBytes.size() < 2)
            std::abort();
        n += 1 + CountEntries(*pChild);
    }
    return n;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    S_UsbHubNode hub;
    if (ParseUsbNodeInformation(pData, nSize, hub) && hub.ulPorts > 255)
        std::abort();
    S_UsbConnectionInfo info;
    if (ParseUsbConnectionInfo(pData, nSize, info)) {
        S_UsbPortAnswers answers;
        answers.bExAnswered = (info.bConfiguration & 1) != 0;
        answers.bExSpeed = info.bSpeed;
        answers.bV2Answered = (info.bConfiguration & 2) != 0;
        answers.ulV2Flags = info.ulOpenPipes;
        answers.bLowSpeed = info.bIsHub;
        answers.wBcdUsb = info.descriptor.bcdUSB;
        answers.ulHubClass = info.ulStatus;
        const uint32_t ulCode = UsbPortSpeedCode(answers);
        if (ulCode > USB_CODE_SUPER || (answers.wBcdUsb > 0x2FF && ulCode != USB_CODE_SUPER))
            std::abort();
    }
    uint32_t ulFlags = 0;
    ParseUsbConnectionV2Flags(pData, nSize, ulFlags);
    for (size_t nHeader : {4u, 8u}) {
        std::u16string strName;
        uint32_t ulNeeded = 0;
        if (ParseUsbName(pData, nSize, nHeader, strName, ulNeeded) &&
            strName.size() * 2 > nSize - nHeader)
            std::abort();
    }
    std::u16string strText;
    if (ParseUsbStringDescriptor(pData, nSize, strText) && strText.size() * 2 + 2 > nSize)
        std::abort();
    uint16_t wLanguage = 0;
    ParseUsbFirstLanguage(pData, nSize, wLanguage);
    USB_PORT_ENTRY device;
    const size_t nAdded = AddUsbConfigurationEntries(pData, nSize, device);
    if (nAdded > nSize / 2 || CountEntries(device) != nAdded)
        std::abort();

    const std::string strId(reinterpret_cast<const char*>(pData), nSize);
    uint32_t ulVendor = 0, ulProduct = 0;
    std::string strSerial;
    if (ParseUsbDeviceId(strId, ulVendor, ulProduct, strSerial) &&
        (ulVendor > 0xFFFF || ulProduct > 0xFFFF || strSerial.size() > nSize))
        std::abort();
    if (!UsbSerialMatches(strId, strId) && strId.find('_') == std::string::npos)
        std::abort();
    UsbHubClassOfPath(strId);
    uint32_t ulPciVendor = 0, ulPciDevice = 0;
    ParsePciIds(strId, ulPciVendor, ulPciDevice);
    return 0;
}
