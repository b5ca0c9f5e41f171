#ifndef QUENVALE_QUICK_QUICKDEVICEINFO_H
#define QUENVALE_QUICK_QUICKDEVICEINFO_H

#include <cstdint>
#include <string>

#include "quick/core/UsbRating.h"

// What the Quick Access run learns about a drive letter from the device
// layer.
struct S_QuickDriveInfo {
    std::string strName;          // the list text: "<size> <display name>" or "E:"
    std::string strDescription;   // vendor, product, revision joined with " - "; may be empty
    uint32_t ulBusBits = 0;       // QUICK_BUS_ bits (quick/core/QuickResults.h)
};

class I_QuickDeviceInfo {
public:
    virtual ~I_QuickDeviceInfo() = default;
    // The USB connection speed code of the drive (quick/core/UsbRating.h):
    // USB_SPEED_NONE when no device record holds the letter.
    virtual int GetUsbSpeedCode(char cLetter) = 0;
    // False when nothing is known about the letter.
    virtual bool DescribeDrive(char cLetter, S_QuickDriveInfo& infoOut) = 0;
};

// Knows no devices: every letter has no USB connection and no description.
class C_NoQuickDeviceInfo : public I_QuickDeviceInfo {
public:
    int GetUsbSpeedCode(char) override { return USB_SPEED_NONE; }
    bool DescribeDrive(char, S_QuickDriveInfo&) override { return false; }
};

#endif
