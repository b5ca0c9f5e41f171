#ifndef QUENVALE_DEVICE_ATACOMMAND_H
#define QUENVALE_DEVICE_ATACOMMAND_H

#include <cstdint>

// The seven task-file registers of one ATA command. On return bFeatures
// holds the error register and bCommand the status register.
struct S_AtaTaskFile {
    uint8_t bFeatures = 0;
    uint8_t bSectorCount = 0;
    uint8_t bLbaLow = 0;     // sector number
    uint8_t bLbaMid = 0;     // cylinder low
    uint8_t bLbaHigh = 0;    // cylinder high
    uint8_t bDevice = 0xA0;  // device/head
    uint8_t bCommand = 0;
};

// One ATA command for AtaCommand: the registers sent, the registers the
// device answered (when the transport returns them) and a 512-byte data area.
struct S_RudvaneAtaCommand {
    S_AtaTaskFile in;
    S_AtaTaskFile out;
    bool bOutValid = false;  // set by transports that return the registers
    uint8_t data[512] = {};
};

enum : uint8_t {
    ATA_IDENTIFY_DEVICE = 0xEC,
    ATA_IDENTIFY_PACKET_DEVICE = 0xA1,
    ATA_SMART = 0xB0,
    ATA_SMART_READ_DATA = 0xD0,
    ATA_SMART_READ_THRESHOLDS = 0xD1,
    ATA_SMART_ENABLE = 0xD8,
    ATA_SMART_DISABLE = 0xD9,
    ATA_SMART_RETURN_STATUS = 0xDA,
    ATA_STATUS_ERROR = 0x01,  // ERR bit of the status register
};

// The registers as seven bytes in task-file order (features, count, LBA low,
// mid, high, device, command): the layout of the system's register blocks
// and of the vendor command blocks that carry them.
void PutTaskFile(const S_AtaTaskFile& regs, uint8_t* p);
S_AtaTaskFile GetTaskFile(const uint8_t* p);

// The registers of a SMART command with the given feature (command 0xB0,
// cylinder low 0x4F, cylinder high 0xC2, sector count and number 1); feature
// 0xEC is IDENTIFY DEVICE sent as itself.
S_AtaTaskFile BuildSmartTaskFile(uint8_t bFeature);

// Whether answered registers report that no SMART threshold is exceeded
// (cylinder registers 0x4F/0xC2).
inline bool IsSmartStatusGood(const S_AtaTaskFile& answer)
{
    return answer.bLbaMid == 0x4F && answer.bLbaHigh == 0xC2;
}

#endif
