#ifndef QUENVALE_DEVICE_SCSICDB_H
#define QUENVALE_DEVICE_SCSICDB_H

#include <array>
#include <cstdint>

#include "device/core/AtaCommand.h"

// Command descriptor blocks that the device layer sends. Multi-byte fields
// are big-endian; every builder takes values that fit its fields (the
// callers check ranges first).

enum : uint8_t {
    SCSI_TEST_UNIT_READY = 0x00,
    SCSI_REWIND = 0x01,
    SCSI_READ6 = 0x08,
    SCSI_WRITE6 = 0x0A,
    SCSI_INQUIRY = 0x12,
    SCSI_START_STOP_UNIT = 0x1B,
    SCSI_READ_CAPACITY10 = 0x25,
    SCSI_READ10 = 0x28,
    SCSI_WRITE10 = 0x2A,
    SCSI_READ_BUFFER = 0x3C,
    SCSI_READ_TOC = 0x43,
    SCSI_SERVICE_ACTION_IN16 = 0x9E,
    SCSI_ATA_PASS_THROUGH12 = 0xA1,
    SCSI_READ_CD = 0xBE,
    SCSI_ATA_VENDOR = 0xCC,
    SCSI_READ_CAPACITY16_ACTION = 0x10,
};

// Bytes per raw CD sector as READ CD returns it with byte 9 = 0xF8.
constexpr uint32_t kRawCdSectorSize = 2352;

// READ(10)/WRITE(10) in a 12-byte block (the last two bytes zero): LBA in
// bytes 2..5, transfer length in bytes 7..8.
std::array<uint8_t, 12> BuildRead10(uint32_t ulLba, uint16_t wCount);
std::array<uint8_t, 12> BuildWrite10(uint32_t ulLba, uint16_t wCount);
// READ CAPACITY(10): 8 bytes in.
std::array<uint8_t, 10> BuildReadCapacity10();
// READ CAPACITY(16): SERVICE ACTION IN(16) with action 0x10.
std::array<uint8_t, 16> BuildReadCapacity16(uint32_t ulAllocation = 12);
// READ CD of any sector type with sync, all headers, user data and EDC/ECC
// (byte 9 = 0xF8): kRawCdSectorSize bytes per block; 24-bit transfer length.
std::array<uint8_t, 12> BuildReadCd(uint32_t ulLba, uint32_t ulCount);
// INQUIRY, standard data.
std::array<uint8_t, 6> BuildInquiry(uint8_t bAllocation = 36);
std::array<uint8_t, 6> BuildRewind();
// Tape READ(6)/WRITE(6) with the fixed bit and a 24-bit block count.
std::array<uint8_t, 6> BuildRead6Fixed(uint32_t ulCount);
std::array<uint8_t, 6> BuildWrite6Fixed(uint32_t ulCount);

// ATA PASS-THROUGH(12): PIO data-in, data-out or non-data by nDirection
// (RUDVANE_ATA_READ/WRITE/NO_DATA), transfer length in sector count blocks.
// bCheckCondition asks the device to return the registers as sense data.
std::array<uint8_t, 12> BuildAtaPassThrough12(const S_AtaTaskFile& regs, int nDirection,
                                              bool bCheckCondition);

// The 10-byte vendor CDB 0xCC carrying the task-file registers: byte 1 the
// direction (0 in, 1 out, 2 none), bytes 2..8 features, sector count, LBA
// low, mid, high, device, command.
std::array<uint8_t, 10> BuildAtaVendorCdb(const S_AtaTaskFile& regs, int nDirection);

#endif
