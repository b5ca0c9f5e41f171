#ifndef QUENVALE_DEVICE_TORVANEREQUEST_H
#define QUENVALE_DEVICE_TORVANEREQUEST_H

#include <cstddef>
#include <cstdint>
#include <string>

#include "device/core/AtaCommand.h"

// The request buffer of the Torvane driver ("\\.\Torvane%u", control code
// 0x42460004), the same 4124 bytes in and out, little-endian:
//    0  u32  signature: the first four letters of the driver name, the
//            first letter in the high byte ("vroT" in memory)
//    4  u32  request: 1 identify, 2 SCSI command, 3 ATA command; bit 31
//            selects the driver's alternate identification
//    8  u16  data length; in the answer the bytes moved
//   10  u8   direction (0 in, 1 out, 2 none) | CDB length << 3
//   11  u8   answer: status (0 good; SCSI status, or ATA status register)
//   12  16   the CDB, or the task-file registers (features, count, LBA low,
//            mid, high, device, command; the answered ones come back here)
//   28  4096 data
// The identify answer: 8 u16 USB vendor id, 10 u16 USB product id, 12 u8
// chip code (0: the driver knows no chip), and in the data area the USB
// serial (0..63), and the chip's vendor (64..71), product (72..87) and
// revision (88..103) texts, each ending at a zero byte.
constexpr uint32_t kTorvaneControlCode = 0x42460004;
constexpr size_t kTorvaneBufferSize = 4124;
constexpr size_t kTorvaneHeader = 28;
constexpr size_t kTorvaneDataSize = kTorvaneBufferSize - kTorvaneHeader;
constexpr uint32_t kTorvaneSignature = (uint32_t('T') << 24) | (uint32_t('o') << 16) |
                                       (uint32_t('r') << 8) | uint32_t('v');

enum : uint32_t {
    TORVANE_IDENTIFY = 1,
    TORVANE_SCSI = 2,
    TORVANE_ATA = 3,
    TORVANE_ALTERNATE = 0x80000000,
};

struct S_TorvaneIdentity {
    uint32_t ulUsbVendorId = 0;
    uint32_t ulUsbProductId = 0;
    uint32_t ulChip = 0;
    std::string strUsbSerial;
    std::string strVendor;
    std::string strProduct;
    std::string strRevision;
};

// Each fills a buffer of kTorvaneBufferSize bytes.
void BuildTorvaneIdentify(uint8_t* pBuffer, bool bAlternate);
// False when the CDB or the data does not fit.
bool BuildTorvaneScsi(uint8_t* pBuffer, const uint8_t* pCdb, uint32_t ulCdbLength, int nDataIn,
                      uint32_t ulLength, const void* pData);
bool BuildTorvaneAta(uint8_t* pBuffer, const S_RudvaneAtaCommand& command, int nDirection);

// The answer to an identify request of nReturned bytes; false when it is
// short or does not carry the signature.
bool ParseTorvaneIdentity(const uint8_t* pBuffer, size_t nReturned, S_TorvaneIdentity& identity);
// Status and bytes moved of a command answer (never more than asked).
bool ParseTorvaneAnswer(const uint8_t* pBuffer, size_t nReturned, uint8_t& bStatus,
                        uint32_t& ulMoved);

#endif
