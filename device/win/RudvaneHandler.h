#ifndef QUENVALE_DEVICE_RUDVANEHANDLER_H
#define QUENVALE_DEVICE_RUDVANEHANDLER_H

#include <cstdint>
#include <string>

#include "device/core/AtaCommand.h"

class C_RudvaneDevice;

// Base of the chip handlers that identification attaches to a record when
// it recognises a bridge. The record owns its handler and asks it first for
// ATA commands and for the Query codes of the chip; every operation of the
// base answers 0 (not handled).
class C_RudvaneHandler {
public:
    C_RudvaneHandler() = default;
    virtual ~C_RudvaneHandler() = default;
    C_RudvaneHandler(const C_RudvaneHandler&) = delete;
    C_RudvaneHandler& operator=(const C_RudvaneHandler&) = delete;

    // 1 when the handler has set vendor, product and revision itself.
    virtual int IdentityGiven() { return 0; }
    // Hook for SCSI commands of the chip.
    virtual int ScsiCommand(uint32_t ulCdbLength, const uint8_t* pCdb, int nDataIn,
                            uint32_t ulLength, void* pBuffer, uint8_t* pSense)
    {
        return 0;
    }
    // ATA commands through the chip; asked before the record's transports.
    virtual int AtaCommand(S_RudvaneAtaCommand* pCommand, int nDirection) { return 0; }
    virtual int PortCommand(uint32_t ulCode, void* pData, uint32_t ulLength) { return 0; }
    // Codes 0x3xxxx and the chip's own codes; nonzero when answered.
    virtual int Query(uint32_t ulCode, void* pOut, uintptr_t arg, void* pOut2, void* pOut3)
    {
        return 0;
    }

    // The record the handler is attached to (set on attaching).
    C_RudvaneDevice* pDevice = nullptr;
    // The chip's firmware version text.
    std::string strFirmware;
};

#endif
