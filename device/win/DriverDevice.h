#ifndef QUENVALE_DEVICE_DRIVERDEVICE_H
#define QUENVALE_DEVICE_DRIVERDEVICE_H

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <vector>

#include "device/core/TorvaneRequest.h"
#include "device/win/DriverAta.h"
#include "device/win/RudvaneDevice.h"

class C_TorvaneIo;

// A USB bridge presented by the Torvane driver as "\\.\Torvane%u" (kind
// RUDVANE_KIND_DRIVER). SCSI and ATA commands travel in the driver's
// request buffer, at most 4096 data bytes each; blocks move with
// READ(10)/WRITE(10) in pieces of 8 blocks of 512 bytes. Query answers
// RUDVANE_Q_DRIVER_SERIAL (out: std::string) and RUDVANE_Q_DRIVER_USB_IDS
// (out: vendor id, out2: product id) from the driver's identification.
class C_RudvaneDriverDevice : public C_RudvaneDevice, public I_DriverAta {
public:
    // nIndex is the n of "\\.\Torvane%u".
    explicit C_RudvaneDriverDevice(uint32_t ulIndexIn);
    ~C_RudvaneDriverDevice() override;

    int UpdateSize() override;
    int ReadBlocks(uint64_t ullLba, uint32_t ulCount, void* pBuffer) override;
    int WriteBlocks(uint64_t ullLba, uint32_t ulCount, const void* pBuffer) override;
    int ScsiCommand(uint32_t ulCdbLength, const uint8_t* pCdb, int nDataIn, uint32_t ulLength,
                    void* pBuffer, uint8_t* pSense) override;
    // The attached handler, then ATA PASS-THROUGH(12) through ScsiCommand.
    int AtaCommand(S_RudvaneAtaCommand* pCommand, int nDirection) override;
    int Open() override;
    int Close() override;
    int Query(uint32_t ulCode, void* pOut, uintptr_t arg, void* pOut2, void* pOut3) override;

    // The driver's identify request (bAlternate: its alternate form); 1 when
    // the driver answered, with identity filled.
    int Identify(bool bAlternate);
    // One ATA command in the driver's own ATA request.
    int DriverAtaCommand(S_RudvaneAtaCommand* pCommand, int nDirection) override;

    uint32_t ulIndex;
    S_TorvaneIdentity identity;

private:
    // One request on the driver, opened around it; the buffer is the
    // driver's 4124 bytes, answered in place.
    int Request(std::vector<uint8_t>& vBuffer, DWORD* pdwReturned);
    // A SCSI or ATA request and the status and bytes moved of its answer;
    // ERROR_IO_DEVICE when the answer is not the driver's.
    int CommandRequest(std::vector<uint8_t>& vBuffer, DWORD* pdwReturned, uint8_t& bStatus,
                       uint32_t& ulMoved);
    int Transfer10(bool bWrite, uint64_t ullLba, uint32_t ulCount, uint8_t* pBuffer);

    C_TorvaneIo* pIo;
    HANDLE hDriver = INVALID_HANDLE_VALUE;
    long lOpenCount = 0;
};

#endif
