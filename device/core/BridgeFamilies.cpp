#include "device/core/BridgeFamilies.h"

#include "device/core/RudvaneTypes.h"

namespace {

constexpr uint32_t kGenericOptions = RUDVANE_OPT_GENERIC_40 | RUDVANE_OPT_GENERIC_80;

std::vector<E_BridgeFamily> Gated(const std::vector<E_BridgeFamily>& vFamilies,
                                  uint32_t ulOptions)
{
    std::vector<E_BridgeFamily> vResult;
    for (E_BridgeFamily family : vFamilies) {
        if ((ulOptions & BridgeFamilyGate(family)) != 0)
            vResult.push_back(family);
    }
    return vResult;
}

} // namespace

uint32_t BridgeFamilyGate(E_BridgeFamily family)
{
    switch (family) {
    case BRIDGE_INITIO:
        return 0x100000;
    case BRIDGE_SAT:
        return 0x200000;
    case BRIDGE_FUJITSU:
        return 0x400000;
    case BRIDGE_DRIVER_CHIP:
        return 0x800000;
    case BRIDGE_JMICRON:
        return 0x1000000;
    case BRIDGE_DRIVER_ATA:
        return 0x2000000;
    case BRIDGE_GENERIC:
        return 0x4000000;
    case BRIDGE_PHIS:
        return 0x8000000;
    case BRIDGE_FREECOM:
        return 0x10000000;
    case BRIDGE_VERSION:
        return 0x20000000;
    case BRIDGE_VU3A:
        return 0x40000000;
    case BRIDGE_AF01:
        return 0x80000000;
    default:
        return 0;
    }
}

uint32_t BridgeFamilyBusBit(E_BridgeFamily family)
{
    switch (family) {
    case BRIDGE_PHIS:
        return RUDVANE_BUS_BRIDGE_100000;
    case BRIDGE_VERSION:
        return RUDVANE_BUS_BRIDGE_200000;
    case BRIDGE_INITIO:
        return RUDVANE_BUS_BRIDGE_4000000;
    default:
        return 0;
    }
}

const char* BridgeFamilyName(E_BridgeFamily family)
{
    switch (family) {
    case BRIDGE_FREECOM:
        return "Freecom";
    case BRIDGE_JMICRON:
        return "JMicron";
    case BRIDGE_SAT:
        return "SAT";
    case BRIDGE_PHIS:
        return "PhIs";
    case BRIDGE_VERSION:
        return "%u.%02u";
    case BRIDGE_FUJITSU:
        return "Fujitsu";
    case BRIDGE_VU3A:
        return "VU3A";
    case BRIDGE_AF01:
        return "0xAF01";
    case BRIDGE_INITIO:
        return "initio";
    case BRIDGE_GENERIC:
        return "generic";
    case BRIDGE_DRIVER_CHIP:
        return "driver chip";
    case BRIDGE_DRIVER_ATA:
        return "driver ATA";
    default:
        return "none";
    }
}

std::vector<E_BridgeFamily> BridgeFamilyOrder(uint32_t ulBusFlags, bool bOptical,
                                              uint32_t ulOptions)
{
    if ((ulBusFlags & RUDVANE_BUS_1394) != 0) {
        std::vector<E_BridgeFamily> v = {BRIDGE_SAT, BRIDGE_FREECOM, BRIDGE_JMICRON};
        if ((ulOptions & kGenericOptions) != 0)
            v.push_back(BRIDGE_GENERIC);
        return Gated(v, ulOptions);
    }
    if ((ulBusFlags & RUDVANE_BUS_USB) != 0) {
        std::vector<E_BridgeFamily> v = {BRIDGE_FREECOM, BRIDGE_JMICRON, BRIDGE_SAT,
                                         BRIDGE_PHIS,    BRIDGE_VERSION, BRIDGE_FUJITSU,
                                         BRIDGE_VU3A,    BRIDGE_AF01,    BRIDGE_INITIO};
        if ((ulOptions & kGenericOptions) != 0)
            v.push_back(BRIDGE_GENERIC);
        return Gated(v, ulOptions);
    }
    if ((ulBusFlags & (RUDVANE_BUS_OTHER | RUDVANE_BUS_SCSI)) != 0 && !bOptical) {
        std::vector<E_BridgeFamily> v = {BRIDGE_JMICRON, BRIDGE_FREECOM};
        if ((ulOptions & RUDVANE_OPT_GENERIC_80) != 0)
            v.push_back(BRIDGE_GENERIC);
        return Gated(v, ulOptions);
    }
    return {};
}

std::vector<E_BridgeFamily> DriverFamilyOrder(uint32_t ulOptions)
{
    return Gated({BRIDGE_DRIVER_CHIP, BRIDGE_DRIVER_ATA, BRIDGE_GENERIC, BRIDGE_FREECOM,
                  BRIDGE_JMICRON, BRIDGE_SAT, BRIDGE_PHIS, BRIDGE_VERSION, BRIDGE_FUJITSU,
                  BRIDGE_VU3A, BRIDGE_AF01, BRIDGE_INITIO},
                 ulOptions);
}

bool IsLeftOutByFamilies(uint32_t ulVendorId, uint32_t ulProductId)
{
    return ulVendorId == kFreecomVendorId && ulProductId == 0xFCF6;
}

bool RefusesAtaPassThrough(uint32_t ulVendorId, uint32_t ulProductId)
{
    return ulVendorId == 0x2109 && ulProductId == 0x0700;
}
