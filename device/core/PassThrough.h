#ifndef QUENVALE_DEVICE_PASSTHROUGH_H
#define QUENVALE_DEVICE_PASSTHROUGH_H

#include <cstdint>

// Most data bytes that the buffered pass-through form copies.
constexpr uint32_t kBufferedPassThroughMax = 2048;

// Whether a SCSI command goes through the buffered pass-through form (the
// data copied through the request block): for 1 to 3 data bytes, and on an
// IEEE 1394 device (bus bit 0x8) for up to 2048 bytes. Everything else,
// commands without data too, uses the direct form.
bool UseBufferedPassThrough(uint32_t ulLength, uint32_t ulBusFlags);

// Timeout in seconds of a SCSI command by its opcode: START STOP UNIT 10,
// READ CD 30, the vendor commands 0xE0, 0xD0 and READ BUFFER 1 in the
// direct and 5 in the buffered form, anything else 5.
uint32_t ScsiTimeoutByOpcode(uint8_t bOpcode, bool bDirect);

// The record's own timeout when it has one (not -1), else the opcode's.
uint32_t ChooseScsiTimeout(int32_t lRecordTimeout, uint8_t bOpcode, bool bDirect);

// Timeout of the vendor CDB that carries ATA registers.
uint32_t ChooseAtaVendorTimeout(int32_t lRecordTimeout);

#endif
