#ifndef QUENVALE_BLOCKACCESS_BLOCKDEVICEHOLD_H
#define QUENVALE_BLOCKACCESS_BLOCKDEVICEHOLD_H

#include "device/win/RudvaneDevice.h"

// One Open of a device record for the length of a run, so that the device
// handle stays open from the first access to the last; the matching Close
// comes once, from Release or the destructor. Move-only.
class C_BlockDeviceHold {
public:
    C_BlockDeviceHold() = default;
    ~C_BlockDeviceHold() { Release(); }
    C_BlockDeviceHold(const C_BlockDeviceHold&) = delete;
    C_BlockDeviceHold& operator=(const C_BlockDeviceHold&) = delete;
    C_BlockDeviceHold(C_BlockDeviceHold&& other) noexcept : pDevice(other.pDevice) { other.pDevice = nullptr; }
    C_BlockDeviceHold& operator=(C_BlockDeviceHold&& other) noexcept
    {
        if (this != &other) {
            Release();
            pDevice = other.pDevice;
            other.pDevice = nullptr;
        }
        return *this;
    }

    // Takes over an Open (or OpenForWriting) that succeeded; an earlier
    // one is closed first.
    void Adopt(C_RudvaneDevice& device)
    {
        Release();
        pDevice = &device;
    }
    // Closes the device once.
    void Release()
    {
        if (pDevice != nullptr)
            pDevice->Close();
        pDevice = nullptr;
    }
    bool IsHeld() const { return pDevice != nullptr; }

private:
    C_RudvaneDevice* pDevice = nullptr;
};

#endif
