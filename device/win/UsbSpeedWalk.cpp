#include "device/win/UsbSpeedWalk.h"

#include "device/core/RudvaneRecord.h"
#include "device/core/RudvaneTypes.h"
#include "device/win/RudvaneDevice.h"

int RudvaneEnumUsbSpeedCallback(C_RudvaneDevice* pDevice, void* pContext)
{
    auto* pSearch = static_cast<S_UsbSpeedSearch*>(pContext);
    if (pDevice == nullptr || pSearch == nullptr || pDevice->ulKind != RUDVANE_KIND_PNP ||
        !HasLetter(pDevice->strLetters, pSearch->cLetter))
        return 1;
    uint32_t ulCode = 0;
    if (!pDevice->Query(RUDVANE_Q_USB_SPEED, nullptr, 0, nullptr, &ulCode))
        return 1;
    pSearch->lResult = static_cast<int32_t>(ulCode);
    return 0;
}
