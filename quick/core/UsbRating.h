#ifndef QUENVALE_QUICK_USBRATING_H
#define QUENVALE_QUICK_USBRATING_H

#include <functional>
#include <string>

// USB connection speed codes of a drive, as the device layer reports them.
enum : int {
    USB_SPEED_NONE = -1,            // no device record holds the drive letter
    USB_SPEED_LOW = 0,              // USB 1.0, 1.5 Mb/s
    USB_SPEED_FULL = 1,             // USB 1.1, 12 Mb/s
    USB_SPEED_HIGH = 2,             // USB 2.0, 480 Mb/s
    USB_SPEED_SUPER_ON_HIGH = 3,    // a USB3 device on a USB2 port
    USB_SPEED_SUPER_AS_HIGH = 4,    // a USB3 device on a USB3 controller at USB2 speed
    USB_SPEED_SUPER = 5,            // USB 3.0, 5 Gb/s
    USB_SPEED_NO_PORT = 6,          // the device record has no USB port
};

// The text that names a connection ("High Speed - USB 2.0 [480Mb/s] Device");
// empty for codes that are no USB connection.
std::string UsbSpeedText(int nCode);

// The string-table remarks that a sequential rate draws: nSlowId when the
// rate (bytes per second) is below the connection's limit for the
// direction (1 write, 0 read), nExtraId for the connections that always
// draw one; 0 for none.
struct S_UsbRemarks {
    int nSlowId = 0;
    int nExtraId = 0;
};
S_UsbRemarks UsbRemarks(float fBytesPerSecond, int nDirection, int nCode);

// Rates a sequential pass against the drive's USB connection: a slow rate
// replaces strWarning with its remark; codes 3 and 4 then append their own
// remark (after a blank when the warning is not empty). Other codes leave
// the warning unchanged. loadText gives the string-table text of an id.
void RateUsbSpeed(float fBytesPerSecond, int nDirection, int nCode, std::string& strWarning,
                  const std::function<std::string(int)>& loadText);

#endif
