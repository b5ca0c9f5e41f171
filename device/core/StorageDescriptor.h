#ifndef QUENVALE_DEVICE_STORAGEDESCRIPTOR_H
#define QUENVALE_DEVICE_STORAGEDESCRIPTOR_H

#include <cstddef>
#include <cstdint>
#include <string>

#include "device/core/Inquiry.h"

// The storage device descriptor that the system's storage drivers answer
// to a device property query:
//   0 version, 4 size, 8 device type, 9 type modifier, 10 removable media,
//   11 command queueing, 12 vendor offset, 16 product offset, 20 revision
//   offset, 24 serial offset, 28 bus type, 32 raw properties length,
//   36 raw properties (INQUIRY data on SCSI-like buses).
// Text offsets count from the start of the descriptor; 0 means none.
constexpr size_t kStorageDescriptorHeader = 40;

struct S_StorageDescriptor {
    uint8_t bDeviceType = 0;     // SCSI peripheral type (0 disk, 5 optical, ...)
    bool bRemovable = false;
    uint32_t ulBusType = 0;      // STORAGE_BUS_TYPE
    S_IdentityTexts texts;       // empty where the descriptor has none
};

// Reads a descriptor of nLength bytes as returned. It is used only when its
// version and size are at least 40; nothing is read beyond the bytes
// returned or the size the descriptor gives. The serial text is decoded
// with DecodeDescriptorSerial. When exactly 36 bytes of raw INQUIRY data
// follow, its vendor and product replace those of the offsets, and its
// revision is taken when there is none; on the internal and SCSI buses
// (ulBusFlags 0x1 or 0x4) these fields lie 4 bytes further on, and a field
// that then reaches past the raw data is not taken.
bool ParseStorageDescriptor(const uint8_t* pData, size_t nLength, uint32_t ulBusFlags,
                            S_StorageDescriptor& descriptor);

// A descriptor serial is often the ATA serial spelt as hexadecimal pairs of
// byte-swapped characters: "%02X%02X" groups whose two values lie in 32..127
// give the two characters in swapped order, and a group of zeros ends the
// text. Any other group, or a broken group, means that the text is the
// serial itself. False when the text is not taken at all (a raw text with a
// character below 32).
bool DecodeDescriptorSerial(const std::string& strRaw, std::string& strSerial);

// Bus bits after a storage bus type: SCSI (1) 0x4, USB (7) 0x2, IEEE 1394
// (4) 0x8, iSCSI (9) 0x20, each replacing the low byte; other types leave
// the bits as they are.
uint32_t BusFlagsFromBusType(uint32_t ulBusType, uint32_t ulBusFlags);

#endif
