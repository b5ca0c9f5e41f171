#include "device/core/ScsiCdb.h"

#include "device/core/ByteOrder.h"
#include "device/core/RudvaneTypes.h"

namespace {

std::array<uint8_t, 12> BuildTransfer10(uint8_t bOpcode, uint32_t ulLba, uint16_t wCount)
{
    std::array<uint8_t, 12> cdb{};
    cdb[0] = bOpcode;
    PutBe32(&cdb[2], ulLba);
    PutBe16(&cdb[7], wCount);
    return cdb;
}

std::array<uint8_t, 6> BuildTape6(uint8_t bOpcode, uint32_t ulCount)
{
    std::array<uint8_t, 6> cdb{};
    cdb[0] = bOpcode;
    cdb[1] = 0x01;  // fixed: the length counts blocks
    PutBe24(&cdb[2], ulCount);
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
    PutBe32(&cdb[10], ulAllocation);
    return cdb;
}

std::array<uint8_t, 12> BuildReadCd(uint32_t ulLba, uint32_t ulCount)
{
    std::array<uint8_t, 12> cdb{};
    cdb[0] = SCSI_READ_CD;
    PutBe32(&cdb[2], ulLba);
    PutBe24(&cdb[6], ulCount);
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
    PutTaskFile(regs, &cdb[3]);
    return cdb;
}

std::array<uint8_t, 10> BuildAtaVendorCdb(const S_AtaTaskFile& regs, int nDirection)
{
    std::array<uint8_t, 10> cdb{};
    cdb[0] = SCSI_ATA_VENDOR;
    cdb[1] = static_cast<uint8_t>(nDirection);
    PutTaskFile(regs, &cdb[2]);
    return cdb;
}
