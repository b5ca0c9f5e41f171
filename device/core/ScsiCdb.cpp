#include "device/core/ScsiCdb.h"

#include "device/core/RudvaneTypes.h"

namespace {

void PutBig32(uint8_t* p, uint32_t ulValue)
{
    p[0] = static_cast<uint8_t>(ulValue >> 24);
    p[1] = static_cast<uint8_t>(ulValue >> 16);
    p[2] = static_cast<uint8_t>(ulValue >> 8);
    p[3] = static_cast<uint8_t>(ulValue);
}

void PutBig24(uint8_t* p, uint32_t ulValue)
{
    p[0] = static_cast<uint8_t>(ulValue >> 16);
    p[1] = static_cast<uint8_t>(ulValue >> 8);
    p[2] = static_cast<uint8_t>(ulValue);
}

std::array<uint8_t, 12> BuildTransfer10(uint8_t bOpcode, uint32_t ulLba, uint16_t wCount)
{
    std::array<uint8_t, 12> cdb{};
    cdb[0] = bOpcode;
    PutBig32(&cdb[2], ulLba);
    cdb[7] = static_cast<uint8_t>(wCount >> 8);
    cdb[8] = static_cast<uint8_t>(wCount);
    return cdb;
}

std::array<uint8_t, 6> BuildTape6(uint8_t bOpcode, uint32_t ulCount)
{
    std::array<uint8_t, 6> cdb{};
    cdb[0] = bOpcode;
    cdb[1] = 0x01;  // fixed: the length counts blocks
    PutBig24(&cdb[2], ulCount);
    return cdb;
}

} // namespace

std::array<uint8_t, 12> BuildRead10(uint32_t ulLba, uint16_t wCount)
{
    return BuildTransfer10(SCSI_READ10, ulLba, wCount);
}

std::array<uint8_t, 12> BuildWrite10(uint32_t ulLba, uint16_t wCount)
{
    return BuildTransfer10(SCSI_WRITE10, ulLba, wCount);
}

std::array<uint8_t, 10> BuildReadCapacity10()
{
    std::array<uint8_t, 10> cdb{};
    cdb[0] = SCSI_READ_CAPACITY10;
    return cdb;
}

std::array<uint8_t, 16> BuildReadCapacity16(uint32_t ulAllocation)
{
    std::array<uint8_t, 16> cdb{};
    cdb[0] = SCSI_SERVICE_ACTION_IN16;
    cdb[1] = SCSI_READ_CAPACITY16_ACTION;
    PutBig32(&cdb[10], ulAllocation);
    return cdb;
}

std::array<uint8_t, 12> BuildReadCd(uint32_t ulLba, uint32_t ulCount)
{
    std::array<uint8_t, 12> cdb{};
    cdb[0] = SCSI_READ_CD;
    PutBig32(&cdb[2], ulLba);
    PutBig24(&cdb[6], ulCount);
    cdb[9] = 0xF8;
    return cdb;
}

std::array<uint8_t, 6> BuildInquiry(uint8_t bAllocation)
{
    std::array<uint8_t, 6> cdb{};
    cdb[0] = SCSI_INQUIRY;
    cdb[4] = bAllocation;
    return cdb;
}

std::array<uint8_t, 6> BuildRewind()
{
    std::array<uint8_t, 6> cdb{};
    cdb[0] = SCSI_REWIND;
    return cdb;
}

std::array<uint8_t, 6> BuildRead6Fixed(uint32_t ulCount)
{
    return BuildTape6(SCSI_READ6, ulCount);
}

std::array<uint8_t, 6> BuildWrite6Fixed(uint32_t ulCount)
{
    return BuildTape6(SCSI_WRITE6, ulCount);
}

std::array<uint8_t, 12> BuildAtaPassThrough12(const S_AtaTaskFile& regs, int nDirection,
                                              bool bCheckCondition)
{
    std::array<uint8_t, 12> cdb{};
    cdb[0] = SCSI_ATA_PASS_THROUGH12;
    switch (nDirection) {
    case RUDVANE_ATA_READ:
        cdb[1] = 4 << 1;  // PIO data-in
        cdb[2] = 0x0E;    // from the device, length in blocks, in the sector count
        break;
    case RUDVANE_ATA_WRITE:
        cdb[1] = 5 << 1;  // PIO data-out
        cdb[2] = 0x06;
        break;
    default:
        cdb[1] = 3 << 1;  // non-data
        cdb[2] = 0x00;
        break;
    }
    if (bCheckCondition)
        cdb[2] |= 0x20;
    cdb[3] = regs.bFeatures;
    cdb[4] = regs.bSectorCount;
    cdb[5] = regs.bLbaLow;
    cdb[6] = regs.bLbaMid;
    cdb[7] = regs.bLbaHigh;
    cdb[8] = regs.bDevice;
    cdb[9] = regs.bCommand;
    return cdb;
}

std::array<uint8_t, 10> BuildAtaVendorCdb(const S_AtaTaskFile& regs, int nDirection)
{
    std::array<uint8_t, 10> cdb{};
    cdb[0] = SCSI_ATA_VENDOR;
    cdb[1] = static_cast<uint8_t>(nDirection);
    cdb[2] = regs.bFeatures;
    cdb[3] = regs.bSectorCount;
    cdb[4] = regs.bLbaLow;
    cdb[5] = regs.bLbaMid;
    cdb[6] = regs.bLbaHigh;
    cdb[7] = regs.bDevice;
    cdb[8] = regs.bCommand;
    return cdb;
}
