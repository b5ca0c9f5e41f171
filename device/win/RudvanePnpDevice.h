#ifndef QUENVALE_DEVICE_RUDVANEPNPDEVICE_H
#define QUENVALE_DEVICE_RUDVANEPNPDEVICE_H

#include <windows.h>

#include <cstdint>
#include <string>

#include "device/win/RudvaneHandleDevice.h"

// A device opened by a path that was found through a Plug and Play device
// interface (or, on Windows 9x, a setup class). It answers the Query codes
// 0x2xxxx from its own data; the USB speed (0x20011) is 6 ("no port")
// while it has no USB port entry.
class C_RudvanePnpDevice : public C_RudvaneHandleDevice {
public:
    C_RudvanePnpDevice();

    // The system's safe-removal request for the device node; when the
    // system vetoes it as an illegal request for that node, the same
    // request goes to the node's parent, and so on upwards. 1 when it was
    // not vetoed.
    int RequestRemoval() override;
    int Query(uint32_t ulCode, void* pOut, uintptr_t arg, void* pOut2, void* pOut3) override;

    uint32_t ulDeviceNode = 0;         // DEVINST
    GUID guidInterfaceClass{};
    bool bWholeDevice = false;         // disk interface (not a volume)
    bool bFromInterface = true;        // interface (true) or setup class (false)
    std::string strUsbSerial;
    uint32_t ulUsbVendorId = 0;
    uint32_t ulUsbProductId = 0;
    std::string strHardwareIds;
    std::string strLocation;
    std::string strUsbController;      // the USB controller or hub above it
    std::string str1394Vendor;
    std::string str1394Model;
    std::string str1394UniqueId;
    std::string strInstanceId;
    std::string strParentInstanceId;

private:
    // Disables and enables a device node, up to three tries 1000 ms apart.
    static bool RestartNode(uint32_t ulNode);
};

#endif
