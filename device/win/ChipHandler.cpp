#include "device/win/ChipHandler.h"

#include <windows.h>

#include "device/core/RudvaneTypes.h"
#include "device/core/ScsiSense.h"
#include "device/win/DriverAta.h"
#include "device/win/RudvaneDevice.h"

namespace {

int PutText(void* pOut, const std::string& strText)
{
    if (strText.empty())
        return 0;
    if (pOut != nullptr)
        *static_cast<std::string*>(pOut) = strText;
    return 1;
}

} // namespace

C_ChipHandler::C_ChipHandler(E_BridgeFamily familyIn, E_ChipAtaForm ataFormIn)
    : family(familyIn), ataForm(ataFormIn)
{
}

int C_ChipHandler::AtaCommand(S_RudvaneAtaCommand* pCommand, int nDirection)
{
    if (pDevice == nullptr || pCommand == nullptr)
        return 0;
    if (bDriverAta) {
        auto* pDriver = dynamic_cast<I_DriverAta*>(pDevice);
        return pDriver != nullptr ? pDriver->DriverAtaCommand(pCommand, nDirection) : 0;
    }
    return SendAta(*pDevice, ataForm, pCommand, nDirection);
}

int C_ChipHandler::SendAta(C_RudvaneDevice& device, E_ChipAtaForm form,
                           S_RudvaneAtaCommand* pCommand, int nDirection)
{
    const bool bRegisters = nDirection == RUDVANE_ATA_NO_DATA;
    std::array<uint8_t, 16> cdb;
    uint32_t ulCdbLength = 0;
    if (pCommand == nullptr || !BuildChipAtaCdb(form, pCommand->in, nDirection, bRegisters, cdb,
                                                ulCdbLength)) {
        ::SetLastError(ERROR_NOT_SUPPORTED);
        return 0;
    }
    const uint32_t ulLength = nDirection == RUDVANE_ATA_NO_DATA ? 0 : sizeof(pCommand->data);
    uint8_t sense[kSenseLength] = {};
    if (device.ScsiCommand(ulCdbLength, cdb.data(), nDirection == RUDVANE_ATA_READ ? 1 : 0,
                           ulLength, pCommand->data, sense))
        return 1;
    if (form != CHIP_ATA_SAT12 && form != CHIP_ATA_SAT16)
        return 0;
    S_AtaTaskFile answer;
    if (!ParseAtaStatusReturn(sense, sizeof(sense), answer))
        return 0;
    pCommand->out = answer;
    pCommand->bOutValid = true;
    if ((answer.bCommand & ATA_STATUS_ERROR) != 0) {
        ::SetLastError(ERROR_IO_DEVICE);
        return 0;
    }
    return 1;
}

int C_ChipHandler::Query(uint32_t ulCode, void* pOut, uintptr_t arg, void* pOut2, void* pOut3)
{
    switch (ulCode) {
    case RUDVANE_Q_CHIP_USB_SERIAL:
        return PutText(pOut, strUsbSerial);
    case RUDVANE_Q_CHIP_USB_IDS:
        if (ulUsbVendorId == 0 && ulUsbProductId == 0)
            return 0;
        if (pOut != nullptr)
            *static_cast<uint32_t*>(pOut) = ulUsbVendorId;
        if (pOut2 != nullptr)
            *static_cast<uint32_t*>(pOut2) = ulUsbProductId;
        return 1;
    case RUDVANE_Q_CHIP_1394_UNIQUE_ID:
        return PutText(pOut, str1394UniqueId);
    case RUDVANE_Q_CHIP_1394_VENDOR_MODEL:
        if (str1394Vendor.empty() && str1394Model.empty())
            return 0;
        if (pOut != nullptr)
            *static_cast<std::string*>(pOut) = str1394Vendor;
        if (pOut2 != nullptr)
            *static_cast<std::string*>(pOut2) = str1394Model;
        return 1;
    case RUDVANE_Q_CHIP_LOCATION:
        return PutText(pOut, strLocation);
    case RUDVANE_Q_CHIP_FIRMWARE:
        return PutText(pOut, strFirmware);
    case RUDVANE_Q_CHIP_FAMILY:
        if (pOut != nullptr)
            *static_cast<uint32_t*>(pOut) = static_cast<uint32_t>(family);
        return 1;
    default:
        return 0;
    }
}
