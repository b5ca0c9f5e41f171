#include "device/win/RudvanePnpDevice.h"

#include <cstdlib>

#include "device/core/RudvaneTypes.h"
#include "device/core/UsbSpeed.h"
#include "device/win/ConfigManager.h"
#include "device/win/DeviceNodes.h"
#include "device/win/KeepError.h"
#include "device/win/RudvaneHandler.h"

namespace {

constexpr int kRestartTries = 3;
constexpr DWORD kRestartPause = 1000;
constexpr int kLetterWaits = 10;
constexpr DWORD kLetterPause = 3000;
constexpr int kVetoIllegalDeviceRequest = 8;

// Hands a text to the caller; 1 when there is one.
int PutText(void* pOut, const std::string& strText)
{
    if (pOut != nullptr)
        *static_cast<std::string*>(pOut) = strText;
    return strText.empty() ? 0 : 1;
}

bool HasAllLetters(const std::string& strLetters)
{
    const DWORD dwDrives = ::GetLogicalDrives();
    for (char c : strLetters) {
        const int nIndex = (c >= 'a' ? c - 'a' : c - 'A');
        if (nIndex < 0 || nIndex >= 26 || (dwDrives & (1u << nIndex)) == 0)
            return false;
    }
    return true;
}

} // namespace

C_RudvanePnpDevice::C_RudvanePnpDevice()
{
    ulKind = RUDVANE_KIND_PNP;
}

bool C_RudvanePnpDevice::RestartNode(uint32_t ulNode)
{
    const C_ConfigManager& manager = C_ConfigManager::Get();
    for (int i = 0; i < kRestartTries; ++i) {
        if (i > 0)
            ::Sleep(kRestartPause);
        if (manager.Disable(ulNode) && manager.Enable(ulNode))
            return true;
    }
    // Never leave a device switched off because the restart went wrong.
    manager.Enable(ulNode);
    return false;
}

int C_RudvanePnpDevice::RequestRemoval()
{
    const C_ConfigManager& manager = C_ConfigManager::Get();
    if (!manager.IsLoaded() || ulDeviceNode == 0)
        return Fail(ERROR_NOT_SUPPORTED);
    uint32_t ulNode = ulDeviceNode;
    for (;;) {
        int nVeto = 0;
        const bool bDone = manager.RequestEject(ulNode, &nVeto);
        if (nVeto == kVetoIllegalDeviceRequest) {
            uint32_t ulParent = 0;
            if (!C_DeviceNodes::Get().GetParent(ulNode, ulParent) || ulParent == ulNode)
                return Fail(ERROR_NOT_SUPPORTED);
            ulNode = ulParent;
            continue;
        }
        return bDone && nVeto == 0 ? 1 : Fail(ERROR_ACCESS_DENIED);
    }
}

int C_RudvanePnpDevice::PortCommand(uint32_t ulCode, void* pData, uint32_t ulLength)
{
    if (pHandler != nullptr && pHandler->PortCommand(ulCode, pData, ulLength))
        return 1;
    if (pUsbPort == nullptr)
        return Fail(ERROR_NOT_SUPPORTED);
    return usbTree.ReadDescriptor(pUsbPort->strHubPath, pUsbPort->ulPort,
                                  static_cast<uint8_t>(ulCode >> 8), static_cast<uint8_t>(ulCode),
                                  0, pData, ulLength, nullptr)
               ? 1 : 0;
}

int C_RudvanePnpDevice::Query(uint32_t ulCode, void* pOut, uintptr_t arg, void* pOut2,
                              void* pOut3)
{
    if ((ulCode >> 16) != 0x2)
        return C_RudvaneHandleDevice::Query(ulCode, pOut, arg, pOut2, pOut3);
    const C_ConfigManager& manager = C_ConfigManager::Get();
    switch (ulCode) {
    case RUDVANE_Q_USB_SERIAL:
        return PutText(pOut, strUsbSerial);
    case RUDVANE_Q_USB_IDS:
        if (pOut != nullptr)
            *static_cast<uint32_t*>(pOut) = ulUsbVendorId;
        if (pOut2 != nullptr)
            *static_cast<uint32_t*>(pOut2) = ulUsbProductId;
        return ulUsbVendorId != 0 || ulUsbProductId != 0 ? 1 : 0;
    case RUDVANE_Q_HARDWARE_IDS:
        return PutText(pOut, strHardwareIds);
    case RUDVANE_Q_LOCATION:
        return PutText(pOut, strLocation);
    case RUDVANE_Q_1394_UNIQUE_ID:
        return PutText(pOut, str1394UniqueId);
    case RUDVANE_Q_1394_UNIQUE_ID_PARTS: {
        if (str1394UniqueId.empty())
            return 0;
        const uint64_t ullId = std::strtoull(str1394UniqueId.c_str(), nullptr, 16);
        if (pOut != nullptr)
            *static_cast<uint32_t*>(pOut) = static_cast<uint32_t>(ullId >> 32) >> 8;
        if (pOut2 != nullptr)
            *static_cast<uint32_t*>(pOut2) = static_cast<uint32_t>(ullId) >> 24;
        return 1;
    }
    case RUDVANE_Q_1394_VENDOR_MODEL:
        if (pOut != nullptr)
            *static_cast<std::string*>(pOut) = str1394Vendor;
        if (pOut2 != nullptr)
            *static_cast<std::string*>(pOut2) = str1394Model;
        return !str1394Vendor.empty() || !str1394Model.empty() ? 1 : 0;
    case RUDVANE_Q_CLASS_GUID:
        if (pOut != nullptr)
            *static_cast<GUID*>(pOut) = guidInterfaceClass;
        return 1;
    case RUDVANE_Q_DEVICE_NODE:
        if (pOut != nullptr)
            *static_cast<uint32_t*>(pOut) = ulDeviceNode;
        return ulDeviceNode != 0 ? 1 : 0;
    case RUDVANE_Q_INSTANCE_IDS:
        if (pOut != nullptr)
            *static_cast<std::string*>(pOut) = strInstanceId;
        if (pOut2 != nullptr)
            *static_cast<std::string*>(pOut2) = strParentInstanceId;
        return strInstanceId.empty() ? 0 : 1;
    case RUDVANE_Q_USB_SPEED:
        if (pOut3 != nullptr)
            *static_cast<uint32_t*>(pOut3) = UsbQuerySpeedCode(pUsbPort.get());
        if (pOut != nullptr) {
            uint32_t ulPort = pUsbPort != nullptr ? pUsbPort->ulPort : 0;
            if (pUsbPort != nullptr && arg == 1)
                ulPort += usbTree.PortsBefore(pUsbPort->strHubPath);
            *static_cast<uint32_t*>(pOut) = ulPort;
        }
        if (pOut2 != nullptr)
            *static_cast<std::string*>(pOut2) = strUsbController;
        return 1;
    case RUDVANE_Q_RESTART: {
        if (ulDeviceNode == 0 || !RestartNode(ulDeviceNode))
            return Fail(ERROR_NOT_SUPPORTED);
        for (int i = 0; arg == 1 && i < kLetterWaits && !HasAllLetters(strLetters); ++i)
            ::Sleep(kLetterPause);
        return 1;
    }
    case RUDVANE_Q_ENABLE:
        if (ulDeviceNode == 0)
            return Fail(ERROR_NOT_SUPPORTED);
        return (arg == 1 ? manager.Enable(ulDeviceNode) : manager.Disable(ulDeviceNode))
                   ? 1 : Fail(ERROR_NOT_SUPPORTED);
    case RUDVANE_Q_RESTART_PORT: {
        uint32_t ulNode = 0;
        if (!C_DeviceNodes::Get().Locate(strParentInstanceId, ulNode) || !RestartNode(ulNode))
            return Fail(ERROR_NOT_SUPPORTED);
        return 1;
    }
    case RUDVANE_Q_REMOVAL_POLICY:
        if (ulDeviceNode == 0 || !manager.SetRemovalPolicy(ulDeviceNode, static_cast<uint32_t>(arg)))
            return Fail(ERROR_NOT_SUPPORTED);
        return 1;
    default:
        return Fail(ERROR_NOT_SUPPORTED);
    }
}
