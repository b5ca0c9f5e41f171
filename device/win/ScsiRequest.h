#ifndef QUENVALE_DEVICE_SCSIREQUEST_H
#define QUENVALE_DEVICE_SCSIREQUEST_H

#include <windows.h>

#include <cstdint>
#include <vector>

// One SCSI pass-through request block, in the buffered form
// (IOCTL_SCSI_PASS_THROUGH: header, 24 sense bytes at offset 48, at most
// 2048 data bytes copied at offset 80) or the direct form
// (IOCTL_SCSI_PASS_THROUGH_DIRECT: header, 32 sense bytes at offset 48, the
// caller's buffer passed by address). Path, target and LUN are 0.
//
// The same block is the input and the output of the device control call.
class C_ScsiRequest {
public:
    // Fills the block. False (ERROR_INVALID_PARAMETER) for a CDB length
    // outside 1..16, or a buffered transfer above 2048 bytes.
    bool Build(bool bBufferedIn, uint32_t ulCdbLength, const uint8_t* pCdb, int nDataIn,
               uint32_t ulLength, void* pBufferIn, uint32_t ulTimeoutSeconds);

    DWORD GetCode() const;
    void* GetBlock() { return vBlock.data(); }
    DWORD GetSize() const { return static_cast<DWORD>(vBlock.size()); }
    bool IsBuffered() const { return bBuffered; }

    // After the call: the SCSI status, the data bytes that moved, and the
    // sense area (24 bytes of it are handed to callers).
    uint8_t GetScsiStatus() const;
    uint32_t GetTransferred() const;
    const uint8_t* GetSense() const;
    // Buffered form, data in: copies the bytes that came in to the caller's
    // buffer.
    void CopyDataIn();

private:
    std::vector<uint8_t> vBlock;
    bool bBuffered = false;
    bool bDataIn = false;
    void* pBuffer = nullptr;
    uint32_t ulRequested = 0;
};

#endif
