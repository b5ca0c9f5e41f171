#ifndef QUENVALE_DEVICE_USBSPEED_H
#define QUENVALE_DEVICE_USBSPEED_H

#include <cstdint>
#include <string>

#include "device/core/UsbPortEntry.h"

// How the connection speed of a USB port is classified, and how a Plug and
// Play record finds its port.

// Class of a hub by its path: 2 for a USB 2 root hub ("#ROOT_HUB20#"), 5 for
// a USB 3 root hub ("#ROOT_HUB30#"), 1 for any other hub. Without regard to
// case; ROOT_HUB20 is tested first.
uint32_t UsbHubClassOfPath(const std::string& strPath);

// What the hub driver answered about one port.
struct S_UsbPortAnswers {
    bool bExAnswered = false;   // the EX connection information
    uint8_t bExSpeed = 0;       // its speed: 0 low, 1 full, 2 high, 3 super
    bool bV2Answered = false;   // the EX_V2 connection information
    uint32_t ulV2Flags = 0;     // bit 0: operating at SuperSpeed or higher
    bool bLowSpeed = false;     // the plain connection information
    uint16_t wBcdUsb = 0;       // of the device descriptor
    uint32_t ulHubClass = 1;    // of the hub the port belongs to
};

// The speed code of a port (USB_CODE_ values 0..5):
// - EX answered: full 1, high 2, super 5, anything else 0; EX_V2 flag bit 0 gives 5.
// - else 0 for a low-speed device, 1 otherwise;
// - then bcdUSB above 0x2FF gives 5; else, below 5 and bcdUSB above 0x20F,
//   4 under a USB 3 root hub (class 5) and 3 under any other hub.
uint32_t UsbPortSpeedCode(const S_UsbPortAnswers& answers);

// The answer of the speed query for a record's port entry: USB_CODE_NO_PORT
// without an entry, the entry's code when it is 1 to 5, 0 otherwise.
uint32_t UsbQuerySpeedCode(const USB_PORT_ENTRY* pPort);

// Whether a port is searched for these ids: not both 0, and never for
// vendor 0x0644.
bool ShouldSearchUsbPort(uint32_t ulVendorId, uint32_t ulProductId);

// Whether a device's serial string descriptor belongs to the serial text of
// an instance id, whose blanks the system wrote as "_": compared without
// regard to case after every "_" of the id's text became a blank.
bool UsbSerialMatches(const std::string& strDescriptorSerial, const std::string& strIdSerial);

// Vendor id, product id and serial of a USB device instance id
// "USB\VID_xxxx&PID_xxxx\serial" (without regard to case). The serial is the
// last component when it has no "&" (such a component is a position made
// up by the system), without its first 6 characters when it holds "MSFT30".
bool ParseUsbDeviceId(const std::string& strId, uint32_t& ulVendorId, uint32_t& ulProductId,
                      std::string& strSerial);

// PCI vendor and device id of a hardware id "PCI\VEN_%x&DEV_%x...".
bool ParsePciIds(const std::string& strHardwareId, uint32_t& ulVendor, uint32_t& ulDevice);

// Whether a host controller's first hardware id names the Thunderbolt
// controller whose USB devices count as Thunderbolt devices.
bool IsThunderboltController(const std::string& strHardwareId);

#endif
