#ifndef QUENVALE_DEVICE_RUDVANEASPIDEVICE_H
#define QUENVALE_DEVICE_RUDVANEASPIDEVICE_H

#include <cstdint>

#include "device/win/RudvaneDevice.h"

// A SCSI target behind the ASPI layer (see C_AspiLayer), addressed by host
// adapter, target and LUN. Blocks move with READ(10)/WRITE(10).
class C_RudvaneAspiDevice : public C_RudvaneDevice {
public:
    C_RudvaneAspiDevice(uint8_t bHostAdapterIn, uint8_t bTargetIn, uint8_t bLunIn);

    // READ CAPACITY, then the file system of the only letter.
    int UpdateSize() override;
    int ReadBlocks(uint64_t ullLba, uint32_t ulCount, void* pBuffer) override;
    int WriteBlocks(uint64_t ullLba, uint32_t ulCount, const void* pBuffer) override;
    // An execute request with its own event: INQUIRY waits 100 ms, any
    // other command 1000 ms. A request still pending then is aborted; the
    // sense of a failed command is the layer's 16 bytes, zero-padded to 24.
    int ScsiCommand(uint32_t ulCdbLength, const uint8_t* pCdb, int nDataIn, uint32_t ulLength,
                    void* pBuffer, uint8_t* pSense) override;

    uint8_t bHostAdapter;
    uint8_t bTarget;
    uint8_t bLun;

private:
    int Transfer10(bool bWrite, uint64_t ullLba, uint32_t ulCount, void* pBuffer);
};

#endif
