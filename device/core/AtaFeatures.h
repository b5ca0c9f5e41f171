#ifndef QUENVALE_DEVICE_ATAFEATURES_H
#define QUENVALE_DEVICE_ATAFEATURES_H

#include <cstdint>

#include "device/core/AtaCommand.h"

// ATA feature requests of the Query codes 0x100004 and up (the SMART family
// beyond enable, data and status). arg is the code's one argument:
//   0x100004 SMART attribute autosave: arg 1 on, 0 off
//   0x100005 SMART EXECUTE OFF-LINE IMMEDIATE: arg = subcommand
//   0x100006 SMART READ LOG: arg = log address, one sector in
//   0x100007 IDENTIFY DEVICE, 512 bytes in
//   0x100008 CHECK POWER MODE: answer = the sector count register
//   0x100009 STANDBY IMMEDIATE
//   0x10000A IDLE IMMEDIATE
//   0x10000B volatile write cache: arg 1 on, 0 off
//   0x10000C read look-ahead: arg 1 on, 0 off
//   0x10000D advanced power management: arg 1..254 level, 0 off
//   0x10000E acoustic management: arg 0x80..0xFE level, 0 off
// The codes up to 0x100015 that are not listed are reserved and refused.
struct S_AtaFeatureRequest {
    S_AtaTaskFile regs;
    int nDirection = 0;          // RUDVANE_ATA_READ or RUDVANE_ATA_NO_DATA
    bool bAnswerIsCount = false; // the answer is the sector count register
};

enum : uint32_t {
    RUDVANE_Q_ATA_FIRST = 0x100004,
    RUDVANE_Q_ATA_LAST = 0x100015,
};

// False for codes outside the family, reserved codes and arguments that do
// not fit the request.
bool BuildAtaFeatureRequest(uint32_t ulCode, uintptr_t arg, S_AtaFeatureRequest& request);

#endif
