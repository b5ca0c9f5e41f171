#include "device/core/AtaFeatures.h"

#include "device/core/RudvaneTypes.h"

namespace {

constexpr uint8_t kSmartAutosave = 0xD2;
constexpr uint8_t kSmartExecuteOffline = 0xD4;
constexpr uint8_t kSmartReadLog = 0xD5;
constexpr uint8_t kCheckPowerMode = 0xE5;
constexpr uint8_t kStandbyImmediate = 0xE0;
constexpr uint8_t kIdleImmediate = 0xE1;
constexpr uint8_t kSetFeatures = 0xEF;

S_AtaTaskFile Smart(uint8_t bFeature)
{
    S_AtaTaskFile regs = BuildSmartTaskFile(bFeature);
    regs.bSectorCount = 0;
    regs.bLbaLow = 0;
    return regs;
}

S_AtaTaskFile Plain(uint8_t bCommand, uint8_t bFeature = 0, uint8_t bCount = 0)
{
    S_AtaTaskFile regs;
    regs.bCommand = bCommand;
    regs.bFeatures = bFeature;
    regs.bSectorCount = bCount;
    return regs;
}

} // namespace

bool BuildAtaFeatureRequest(uint32_t ulCode, uintptr_t arg, S_AtaFeatureRequest& request)
{
    S_AtaFeatureRequest r;
    r.nDirection = RUDVANE_ATA_NO_DATA;
    switch (ulCode) {
    case 0x100004:
        r.regs = Smart(kSmartAutosave);
        r.regs.bSectorCount = arg == 1 ? 0xF1 : 0x00;
        break;
    case 0x100005:
        if (arg > 0xFF)
            return false;
        r.regs = Smart(kSmartExecuteOffline);
        r.regs.bLbaLow = static_cast<uint8_t>(arg);
        break;
    case 0x100006:
        if (arg > 0xFF)
            return false;
        r.regs = Smart(kSmartReadLog);
        r.regs.bSectorCount = 1;
        r.regs.bLbaLow = static_cast<uint8_t>(arg);
        r.nDirection = RUDVANE_ATA_READ;
        break;
    case 0x100007:
        r.regs = BuildSmartTaskFile(ATA_IDENTIFY_DEVICE);
        r.nDirection = RUDVANE_ATA_READ;
        break;
    case 0x100008:
        r.regs = Plain(kCheckPowerMode);
        r.bAnswerIsCount = true;
        break;
    case 0x100009:
        r.regs = Plain(kStandbyImmediate);
        break;
    case 0x10000A:
        r.regs = Plain(kIdleImmediate);
        break;
    case 0x10000B:
        r.regs = Plain(kSetFeatures, arg == 1 ? 0x02 : 0x82);
        break;
    case 0x10000C:
        r.regs = Plain(kSetFeatures, arg == 1 ? 0xAA : 0x55);
        break;
    case 0x10000D:
        if (arg > 0xFE)
            return false;
        r.regs = arg == 0 ? Plain(kSetFeatures, 0x85) : Plain(kSetFeatures, 0x05, static_cast<uint8_t>(arg));
        break;
    case 0x10000E:
        if (arg != 0 && (arg < 0x80 || arg > 0xFE))
            return false;
        r.regs = arg == 0 ? Plain(kSetFeatures, 0xC2) : Plain(kSetFeatures, 0x42, static_cast<uint8_t>(arg));
        break;
    default:
        return false;
    }
    request = r;
    return true;
}
