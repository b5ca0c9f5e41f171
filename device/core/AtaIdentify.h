#ifndef QUENVALE_DEVICE_ATAIDENTIFY_H
#define QUENVALE_DEVICE_ATAIDENTIFY_H

#include <cstddef>
#include <cstdint>

#include "device/core/AtaCommand.h"
#include "device/core/Inquiry.h"

// Bytes of IDENTIFY (PACKET) DEVICE data.
constexpr size_t kAtaIdentifyLength = 512;

// Texts of IDENTIFY DEVICE data. ATA strings hold two characters per 16-bit
// word, the first in the high byte: serial = words 10..19 (20 characters),
// firmware revision = words 23..26 (8), model = words 27..46 (40). The
// model's first 8 characters are the vendor and the rest the product (cut
// of leading white space too); every text ends at a zero byte and is cut of
// trailing white space. False when all 512 bytes are 0 (no answer).
bool ParseAtaIdentify(const uint8_t* pData512, S_IdentityTexts& texts);

// The registers of IDENTIFY DEVICE (0xEC), or IDENTIFY PACKET DEVICE (0xA1)
// for an optical drive, for one of the four drive positions (device 0xA0
// for even positions, 0xB0 for odd ones).
S_AtaTaskFile BuildIdentifyTaskFile(bool bPacket, unsigned nPosition = 0);

#endif
