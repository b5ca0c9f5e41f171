#ifndef QUENVALE_DEVICE_RUDVANEPNPDEVICE_H
#define QUENVALE_DEVICE_RUDVANEPNPDEVICE_H

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "device/core/UsbPortEntry.h"
#include "device/win/RudvaneHandleDevice.h"
#include "device/win/UsbTree.h"

// A device opened by a path that was found through a Plug and Play device
// interface (or, on Windows 9x, a setup class). It answers the Query codes
// 0x2xxxx from its own data; the USB speed (0x20011) is 6 ("no port")
// while it has no USB port entry.
//
// RUDVANE_Q_USB_SPEED: pOut (uint32_t*, may be null) the port number, with
// arg 1 counted across all controllers; pOut2 (std::string*, may be null)
// the description of the host controller above the device; pOut3
// (uint32_t*) the speed code (device/core/UsbSpeed.h). Returns 1.
class C_RudvanePnpDevice : public C_RudvaneHandleDevice {
public:
    C_RudvanePnpDevice();

    // The system's safe-removal request for the device node; when the
    // system vetoes it as an illegal request for that node, the same
    // request goes to the node's parent, and so on upwards. 1 when it was
    // not vetoed.
    int RequestRemoval() override;
    // A standard descriptor request for the device on the record's USB port:
    // ulCode is the request's value (descriptor type << 8 | index), pData
    // receives up to ulLength bytes. The handler is asked first.
    int PortCommand(uint32_t ulCode, void* pData, uint32_t ulLength) override;
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
    uint32_t ulLun = 0;                // LUN digit of a USB storage instance id
    // The USB snapshot of the record (empty until used) and its port, or null.
    C_UsbTree usbTree;
    std::unique_ptr<USB_PORT_ENTRY> pUsbPort;

private:
    // Disables and enables a device node, up to three tries 1000 ms apart.
    static bool RestartNode(uint32_t ulNode);
};

#endif
