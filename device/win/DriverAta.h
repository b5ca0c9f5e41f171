#ifndef QUENVALE_DEVICE_DRIVERATA_H
#define QUENVALE_DEVICE_DRIVERATA_H

#include "device/core/AtaCommand.h"

// A record whose driver carries ATA commands in a request of its own (the
// Torvane driver's records). A chip handler that was told to send ATA
// through the driver asks its record for this.
class I_DriverAta {
public:
    virtual ~I_DriverAta() = default;
    // One ATA command in the driver's own ATA request; nDirection as for
    // C_RudvaneDevice::AtaCommand. 1 on success.
    virtual int DriverAtaCommand(S_RudvaneAtaCommand* pCommand, int nDirection) = 0;
};

#endif
