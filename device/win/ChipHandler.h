#ifndef QUENVALE_DEVICE_CHIPHANDLER_H
#define QUENVALE_DEVICE_CHIPHANDLER_H

#include <cstdint>
#include <string>

#include "device/core/BridgeFamilies.h"
#include "device/core/ChipProtocol.h"
#include "device/win/RudvaneHandler.h"

// The handler that a bridge family attaches to a record whose chip it
// recognised. It carries the chip's firmware text and what the chip tells
// about the device behind it, sends ATA commands in the chip's form through
// the record's ScsiCommand (records of the Torvane driver: through the
// driver), and answers the Query codes 0x3xxxx and the chip's own codes:
//   RUDVANE_Q_CHIP_USB_SERIAL, _USB_IDS, _1394_UNIQUE_ID, _1394_VENDOR_MODEL,
//   _LOCATION   what the chip reported (0 when it reported nothing)
//   RUDVANE_Q_CHIP_FIRMWARE     out: std::string, the firmware text
//   RUDVANE_Q_CHIP_FAMILY       out: uint32_t, the E_BridgeFamily
class C_ChipHandler : public C_RudvaneHandler {
public:
    C_ChipHandler(E_BridgeFamily familyIn, E_ChipAtaForm ataFormIn);

    int IdentityGiven() override { return bIdentityGiven ? 1 : 0; }
    int AtaCommand(S_RudvaneAtaCommand* pCommand, int nDirection) override;
    int Query(uint32_t ulCode, void* pOut, uintptr_t arg, void* pOut2, void* pOut3) override;

    // One ATA command sent as a SCSI command of the given form through the
    // record; the SAT forms return the registers of a command without data.
    static int SendAta(C_RudvaneDevice& device, E_ChipAtaForm form, S_RudvaneAtaCommand* pCommand,
                       int nDirection);

    E_BridgeFamily family;
    E_ChipAtaForm ataForm;
    bool bDriverAta = false;      // ATA commands go through the Torvane driver
    bool bIdentityGiven = false;  // the family set vendor, product and revision

    uint32_t ulUsbVendorId = 0;
    uint32_t ulUsbProductId = 0;
    std::string strUsbSerial;
    std::string strLocation;
    std::string str1394UniqueId;
    std::string str1394Vendor;
    std::string str1394Model;
};

#endif
