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

void PutTaskFile(const S_AtaTaskFile& regs, uint8_t* p)
{
    p[0] = regs.bFeatures;
    p[1] = regs.bSectorCount;
    p[2] = regs.bLbaLow;
    p[3] = regs.bLbaMid;
    p[4] = regs.bLbaHigh;
    p[5] = regs.bDevice;
    p[6] = regs.bCommand;
}

S_AtaTaskFile GetTaskFile(const uint8_t* p)
{
    S_AtaTaskFile regs;
    regs.bFeatures = p[0];
    regs.bSectorCount = p[1];
    regs.bLbaLow = p[2];
    regs.bLbaMid = p[3];
    regs.bLbaHigh = p[4];
    regs.bDevice = p[5];
    regs.bCommand = p[6];
    return regs;
}
