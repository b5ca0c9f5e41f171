#ifndef QUENVALE_DEVICE_RUDVANEVWIN32DEVICE_H
#define QUENVALE_DEVICE_RUDVANEVWIN32DEVICE_H

#include <cstdint>

#include "device/win/RudvaneDevice.h"

// A Windows 9x drive read through the vwin32 driver with the extended
// absolute disk read (int 21h function 7305h), at most 65535 sectors per
// call. Never written.
class C_RudvaneVwin32Device : public C_RudvaneDevice {
public:
    explicit C_RudvaneVwin32Device(uint32_t ulDriveIn);

    int ReadBlocks(uint64_t ullLba, uint32_t ulCount, void* pBuffer) override;

    uint32_t ulDrive;  // 1 = A
};

#endif
