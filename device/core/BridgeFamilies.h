#ifndef QUENVALE_DEVICE_BRIDGEFAMILIES_H
#define QUENVALE_DEVICE_BRIDGEFAMILIES_H

#include <cstdint>
#include <vector>

// The families of USB and IEEE 1394 bridge chips that identification can
// recognise. Each is enabled by one option bit of RudvaneInit; the families
// are tried in an order that depends on the bus, and the first that
// recognises the chip ends the search.
enum E_BridgeFamily : int {
    BRIDGE_NONE = 0,
    BRIDGE_FREECOM,
    BRIDGE_JMICRON,
    BRIDGE_SAT,          // accepts SCSI ATA PASS-THROUGH
    BRIDGE_PHIS,         // 528-byte reply signed "PhIs"
    BRIDGE_VERSION,      // 4-byte version reply, "%u.%02u"
    BRIDGE_FUJITSU,
    BRIDGE_VU3A,         // vendor command 0xFC01 answering "VU3A"
    BRIDGE_AF01,         // vendor command 0xAF01 answering 0x5343
    BRIDGE_INITIO,
    BRIDGE_GENERIC,      // devices that no other family knows
    BRIDGE_DRIVER_CHIP,  // driver records: the chip the driver reports
    BRIDGE_DRIVER_ATA,   // driver records: ATA commands through the driver
};

// The option bit that enables a family (0 for BRIDGE_NONE).
uint32_t BridgeFamilyGate(E_BridgeFamily family);
// Bus bit that a recognised family adds to the record (0 for most).
uint32_t BridgeFamilyBusBit(E_BridgeFamily family);
// A short name for logs and tests.
const char* BridgeFamilyName(E_BridgeFamily family);

// The families to try for a record, in order, with the gates and options
// applied:
//   IEEE 1394 (bus bit 0x8): SAT, Freecom, JMicron, generic (option 0x40 or 0x80)
//   USB (0x2): Freecom, JMicron, SAT, PhIs, version, Fujitsu, VU3A, 0xAF01,
//              initio, generic (option 0x40 or 0x80)
//   internal or SCSI (0x1, 0x4), not optical: JMicron, Freecom, generic
//              (option 0x80)
// Other buses get none.
std::vector<E_BridgeFamily> BridgeFamilyOrder(uint32_t ulBusFlags, bool bOptical,
                                              uint32_t ulOptions);
// The order for records of the Torvane driver: the two driver-only
// families, generic, then the USB families from Freecom to initio.
std::vector<E_BridgeFamily> DriverFamilyOrder(uint32_t ulOptions);

// Devices that every family leaves out (one product of the Freecom vendor).
bool IsLeftOutByFamilies(uint32_t ulVendorId, uint32_t ulProductId);
// Bridges that hang on SCSI ATA PASS-THROUGH; no family probes them with it.
bool RefusesAtaPassThrough(uint32_t ulVendorId, uint32_t ulProductId);

constexpr uint32_t kFreecomVendorId = 0x07AB;

#endif
