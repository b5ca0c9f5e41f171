#include "device/core/AtaCommand.h"

S_AtaTaskFile BuildSmartTaskFile(uint8_t bFeature)
{
    S_AtaTaskFile regs;
    regs.bSectorCount = 1;
    regs.bLbaLow = 1;
    regs.bDevice = 0xA0;
    if (bFeature == ATA_IDENTIFY_DEVICE) {
        regs.bCommand = ATA_IDENTIFY_DEVICE;
        return regs;
    }
    regs.bFeatures = bFeature;
    regs.bLbaMid = 0x4F;
    regs.bLbaHigh = 0xC2;
    regs.bCommand = ATA_SMART;
    return regs;
}
