#include "device/core/PassThrough.h"

#include "device/core/RudvaneTypes.h"

bool UseBufferedPassThrough(uint32_t ulLength, uint32_t ulBusFlags)
{
    if (ulLength >= 1 && ulLength <= 3)
        return true;
    return (ulBusFlags & RUDVANE_BUS_1394) != 0 && ulLength >= 1 &&
           ulLength <= kBufferedPassThroughMax;
}

uint32_t ScsiTimeoutByOpcode(uint8_t bOpcode, bool bDirect)
{
    switch (bOpcode) {
    case 0x1B:  // START STOP UNIT: spinning up takes a while
        return 10;
    case 0xBE:  // READ CD
        return 30;
    case 0xE0:
    case 0xD0:
    case 0x3C:  // vendor commands and READ BUFFER: a bridge that does not
                // know them should not stall the caller
        return bDirect ? 1 : 5;
    default:
        return 5;
    }
}

uint32_t ChooseScsiTimeout(int32_t lRecordTimeout, uint8_t bOpcode, bool bDirect)
{
    if (lRecordTimeout != -1)
        return static_cast<uint32_t>(lRecordTimeout);
    return ScsiTimeoutByOpcode(bOpcode, bDirect);
}

uint32_t ChooseAtaVendorTimeout(int32_t lRecordTimeout)
{
    return lRecordTimeout != -1 ? static_cast<uint32_t>(lRecordTimeout) : 2;
}
