#ifndef QUENVALE_DEVICE_SCSISENSE_H
#define QUENVALE_DEVICE_SCSISENSE_H

#include <cstddef>
#include <cstdint>

#include "device/core/AtaCommand.h"

// Sense data length handed to the callers of ScsiCommand.
constexpr size_t kSenseLength = 24;

enum : uint8_t {
    SCSI_STATUS_GOOD = 0x00,
    SCSI_STATUS_CHECK_CONDITION = 0x02,
    SCSI_STATUS_BUSY = 0x08,
    SCSI_STATUS_RESERVATION_CONFLICT = 0x18,
};

enum : uint8_t {
    SENSE_NO_SENSE = 0x0,
    SENSE_RECOVERED_ERROR = 0x1,
    SENSE_NOT_READY = 0x2,
    SENSE_MEDIUM_ERROR = 0x3,
    SENSE_HARDWARE_ERROR = 0x4,
    SENSE_ILLEGAL_REQUEST = 0x5,
    SENSE_UNIT_ATTENTION = 0x6,
    SENSE_DATA_PROTECT = 0x7,
    SENSE_ABORTED_COMMAND = 0xB,
};

// Sense key and additional sense code of fixed (0x70/0x71) or descriptor
// (0x72/0x73) sense data.
struct S_SenseInfo {
    bool bValid = false;       // a known response code and enough bytes
    bool bDescriptor = false;  // descriptor format
    uint8_t bKey = 0;
    uint8_t bAsc = 0;
    uint8_t bAscq = 0;
};

S_SenseInfo ParseSense(const uint8_t* pSense, size_t nLength);

// The Win32 error that a failed command leaves for its caller: a medium
// error becomes ERROR_CRC (so that callers retry block by block), a missing
// medium ERROR_NOT_READY, an LBA out of range ERROR_SECTOR_NOT_FOUND, and so
// on; anything unknown is ERROR_IO_DEVICE. A busy device gives ERROR_BUSY.
uint32_t ScsiFailureToWin32Error(uint8_t bScsiStatus, const S_SenseInfo& sense);

// The registers an ATA PASS-THROUGH command with the check-condition bit
// returned: the ATA Status Return descriptor (0x09) of descriptor sense, or
// the fixed-format information fields with ASC/ASCQ 00/1D. False when the
// sense carries none.
bool ParseAtaStatusReturn(const uint8_t* pSense, size_t nLength, S_AtaTaskFile& regsOut);

#endif
