#ifndef QUENVALE_QUICK_DEVICELAYERINFO_H
#define QUENVALE_QUICK_DEVICELAYERINFO_H

#include <cstdint>

#include "quick/win/QuickDeviceInfo.h"

// The Quick Access view of the device layer: a drive letter's USB connection
// and list text, read from the records that the Plug and Play and
// drive-letter passes made. Walks take the layer's lock; any thread may ask.
class C_DeviceLayerInfo : public I_QuickDeviceInfo {
public:
    // The options Quick Access starts the layer with (no callback).
    static constexpr uint32_t kOptions = 0xFFF00000;

    // bStartLayer: start the layer with kOptions and refresh it now, and end
    // it (RudvaneExit) on destruction. Otherwise the owner runs the layer.
    explicit C_DeviceLayerInfo(bool bStartLayer = true);
    ~C_DeviceLayerInfo() override;
    C_DeviceLayerInfo(const C_DeviceLayerInfo&) = delete;
    C_DeviceLayerInfo& operator=(const C_DeviceLayerInfo&) = delete;

    // The Quick Access refresh: the lock when the options ask for it, the
    // stale marks, the Plug and Play and drive-letter passes, the purge.
    static void Refresh();

    // The speed code of the Plug and Play record holding the letter
    // (stale records included); USB_SPEED_NONE when none holds it.
    int GetUsbSpeedCode(char cLetter) override;
    // The list text, description and bus bits of the letter as the drive
    // list shows them; false when no record holds the letter.
    bool DescribeDrive(char cLetter, S_QuickDriveInfo& infoOut) override;

private:
    bool bStarted;
};

#endif
