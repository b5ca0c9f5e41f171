#include "device/win/BridgeChips.h"

#include <windows.h>

#include <memory>
#include <vector>

#include "device/core/ChipProtocol.h"
#include "device/core/RudvaneTypes.h"
#include "device/win/ChipHandler.h"
#include "device/win/DriverDevice.h"
#include "device/win/KeepError.h"
#include "device/win/RudvaneDevice.h"

namespace {

struct S_FamilyContext {
    uint32_t ulVendorId = 0;
    uint32_t ulProductId = 0;
    bool bOptical = false;
    bool bSatRefused = false;
};

// Sends one probe and reads its reply; a refused command recognises nothing.
S_ChipReply Probe(C_RudvaneDevice& device, E_ChipProbe probe, E_BridgeFamily family,
                  bool bOptical = false)
{
    const S_ChipProbe p = BuildChipProbe(probe, bOptical);
    std::vector<uint8_t> vReply(p.ulReplyLength, 0);
    if (!device.ScsiCommand(p.ulCdbLength, p.cdb.data(), 1, p.ulReplyLength, vReply.data(),
                            nullptr))
        return S_ChipReply();
    const uint32_t ulMoved = device.GetLastTransfer();
    return ParseChipReply(probe, family, vReply.data(), ulMoved < vReply.size() ? ulMoved : vReply.size());
}

std::unique_ptr<C_ChipHandler> Handler(E_BridgeFamily family, E_ChipAtaForm form,
                                       const S_ChipReply& reply)
{
    auto pHandler = std::make_unique<C_ChipHandler>(family, form);
    pHandler->strFirmware = reply.strFirmware;
    return pHandler;
}

std::unique_ptr<C_ChipHandler> TryDriverFamily(C_RudvaneDevice& device, E_BridgeFamily family,
                                               const S_FamilyContext& context)
{
    auto* pDriver = dynamic_cast<C_RudvaneDriverDevice*>(&device);
    if (pDriver == nullptr)
        return nullptr;
    if (family == BRIDGE_DRIVER_CHIP) {
        // The driver knows the chip and its identity: INQUIRY is not needed.
        const S_TorvaneIdentity& id = pDriver->identity;
        if (id.ulChip == 0)
            return nullptr;
        auto pHandler = std::make_unique<C_ChipHandler>(family, CHIP_ATA_NONE);
        pHandler->bDriverAta = true;
        if (!id.strVendor.empty() || !id.strProduct.empty()) {
            device.strVendor = id.strVendor;
            device.strProduct = id.strProduct;
            device.strRevision = id.strRevision;
            pHandler->bIdentityGiven = true;
        }
        return pHandler;
    }
    S_RudvaneAtaCommand command;
    command.in = BuildSmartTaskFile(ATA_IDENTIFY_DEVICE);
    if (context.bOptical)
        command.in.bCommand = ATA_IDENTIFY_PACKET_DEVICE;
    if (!pDriver->DriverAtaCommand(&command, RUDVANE_ATA_READ))
        return nullptr;
    auto pHandler = std::make_unique<C_ChipHandler>(family, CHIP_ATA_NONE);
    pHandler->bDriverAta = true;
    return pHandler;
}

std::unique_ptr<C_ChipHandler> TryFamily(C_RudvaneDevice& device, E_BridgeFamily family,
                                         const S_FamilyContext& context)
{
    S_ChipReply reply;
    switch (family) {
    case BRIDGE_FREECOM:
        if (!IsFreecomByIdentity(device.strVendor, device.strProduct, context.ulVendorId))
            return nullptr;
        return Handler(family, CHIP_ATA_FREECOM, reply);
    case BRIDGE_JMICRON:
        reply = Probe(device, PROBE_JMICRON_ID, family);
        if (!reply.bRecognised && !IsJMicronByVendorText(device.strVendor))
            return nullptr;
        return Handler(family, CHIP_ATA_JMICRON, reply);
    case BRIDGE_SAT:
        if (context.bSatRefused)
            return nullptr;
        reply = Probe(device, PROBE_SAT_IDENTIFY, family, context.bOptical);
        return reply.bRecognised ? Handler(family, CHIP_ATA_SAT12, reply) : nullptr;
    case BRIDGE_PHIS:
        reply = Probe(device, PROBE_PHIS, family);
        return reply.bRecognised ? Handler(family, CHIP_ATA_SAT12, reply) : nullptr;
    case BRIDGE_VERSION:
        reply = Probe(device, PROBE_VERSION, family);
        return reply.bRecognised ? Handler(family, CHIP_ATA_SAT12, reply) : nullptr;
    case BRIDGE_FUJITSU:
        reply = Probe(device, PROBE_FUJITSU, family);
        if (!reply.bRecognised)
            return nullptr;
        // In maintenance mode the chip answers for itself, not for a drive.
        return Handler(family, reply.bMaintenance ? CHIP_ATA_NONE : CHIP_ATA_SAT12, reply);
    case BRIDGE_VU3A:
        reply = Probe(device, PROBE_FC01, family);
        return reply.bRecognised ? Handler(family, CHIP_ATA_SAT12, reply) : nullptr;
    case BRIDGE_AF01:
        reply = Probe(device, PROBE_AF01, family);
        return reply.bRecognised ? Handler(family, CHIP_ATA_SAT12, reply) : nullptr;
    case BRIDGE_INITIO:
        reply = Probe(device, PROBE_INITIO_IS8X, family);
        if (!reply.bRecognised)
            reply = Probe(device, PROBE_FC01, family);
        return reply.bRecognised ? Handler(family, CHIP_ATA_SAT12, reply) : nullptr;
    case BRIDGE_GENERIC:
        if (IsGenericByIdentity(device.strVendor, device.strProduct))
            return Handler(family, CHIP_ATA_SAT16, reply);
        if (context.bSatRefused)
            return nullptr;
        reply = Probe(device, PROBE_SAT_IDENTIFY, family, context.bOptical);
        if (reply.bRecognised)
            return Handler(family, CHIP_ATA_SAT12, S_ChipReply());
        reply = Probe(device, PROBE_SAT16_IDENTIFY, family, context.bOptical);
        return reply.bRecognised ? Handler(family, CHIP_ATA_SAT16, S_ChipReply()) : nullptr;
    case BRIDGE_DRIVER_CHIP:
    case BRIDGE_DRIVER_ATA:
        return TryDriverFamily(device, family, context);
    default:
        return nullptr;
    }
}

} // namespace

E_BridgeFamily RudvaneRunBridgeFamilies(C_RudvaneDevice& device,
                                        const std::vector<E_BridgeFamily>& vOrder)
{
    if (vOrder.empty())
        return BRIDGE_NONE;
    S_FamilyContext context;
    for (uint32_t ulCode : {static_cast<uint32_t>(RUDVANE_Q_USB_IDS),
                            static_cast<uint32_t>(RUDVANE_Q_CHIP_USB_IDS),
                            static_cast<uint32_t>(RUDVANE_Q_DRIVER_USB_IDS)}) {
        uint32_t ulVendor = 0, ulProduct = 0;
        if (device.Query(ulCode, &ulVendor, 0, &ulProduct, nullptr) &&
            (ulVendor != 0 || ulProduct != 0)) {
            context.ulVendorId = ulVendor;
            context.ulProductId = ulProduct;
            break;
        }
    }
    if (IsLeftOutByFamilies(context.ulVendorId, context.ulProductId))
        return BRIDGE_NONE;
    context.bOptical = device.ulMediaClass == RUDVANE_MEDIA_OPTICAL;
    context.bSatRefused = RefusesAtaPassThrough(context.ulVendorId, context.ulProductId) ||
                          (device.ulCaps.load() & RUDVANE_CAP_ATA_REFUSED) != 0;
    // Families report no errors: what their probes left is not the caller's.
    C_KeepError keep;
    for (E_BridgeFamily family : vOrder) {
        std::unique_ptr<C_ChipHandler> pHandler = TryFamily(device, family, context);
        if (pHandler == nullptr)
            continue;
        if (pHandler->ulUsbVendorId == 0 && pHandler->ulUsbProductId == 0) {
            pHandler->ulUsbVendorId = context.ulVendorId;
            pHandler->ulUsbProductId = context.ulProductId;
        }
        device.ulBusFlags |= BridgeFamilyBusBit(family);
        device.AttachHandler(pHandler.release());
        return family;
    }
    return BRIDGE_NONE;
}
