#ifndef QUENVALE_DEVICE_BRIDGECHIPS_H
#define QUENVALE_DEVICE_BRIDGECHIPS_H

#include <vector>

#include "device/core/BridgeFamilies.h"

class C_RudvaneDevice;

// Tries the families in the given order on a record (held open by the
// caller) until one recognises the chip; that family attaches a
// C_ChipHandler to the record and adds its bus bit. Every family first asks
// the record for its USB ids (RUDVANE_Q_USB_IDS, _CHIP_USB_IDS,
// _DRIVER_USB_IDS, the first that answers) and leaves out the devices of
// IsLeftOutByFamilies. Families talk to the chip only through the record's
// ScsiCommand (driver records: also their driver requests), and report no
// errors. Returns the recognising family or BRIDGE_NONE.
E_BridgeFamily RudvaneRunBridgeFamilies(C_RudvaneDevice& device,
                                        const std::vector<E_BridgeFamily>& vOrder);

#endif
