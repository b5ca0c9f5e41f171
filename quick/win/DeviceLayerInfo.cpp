#include "quick/win/DeviceLayerInfo.h"

#include <string>

#include "device/core/RudvaneRecord.h"
#include "device/core/RudvaneTypes.h"
#include "device/win/EnumPasses.h"
#include "device/win/Rudvane.h"
#include "device/win/RudvaneDevice.h"
#include "device/win/UsbSpeedWalk.h"
#include "framework/core/SizeText.h"
#include "quick/core/QuickResults.h"
#include "quick/core/UsbRating.h"

namespace {

struct S_Describe {
    char cLetter = 0;
    bool bFound = false;
    S_QuickDriveInfo info;
};

uint32_t BusBitsOf(const C_RudvaneDevice& device)
{
    uint32_t ulBits = 0;
    if ((device.ulBusFlags & RUDVANE_BUS_USB) != 0)
        ulBits |= QUICK_BUS_USB;
    if ((device.ulBusFlags & RUDVANE_BUS_1394) != 0)
        ulBits |= QUICK_BUS_FIREWIRE;
    if ((device.ulBusFlags & RUDVANE_BUS_THUNDERBOLT) != 0)
        ulBits |= QUICK_BUS_THUNDERBOLT;
    if (device.ulMediaClass == RUDVANE_MEDIA_RAM_DISK)
        ulBits |= QUICK_BUS_RAM_DRIVE;
    if (device.ulMediaClass == RUDVANE_MEDIA_NETWORK)
        ulBits |= QUICK_BUS_NETWORK;
    return ulBits;
}

// Every record holding the letter renames the entry, so the last one in
// list order names it; the first one gives its bus bits, the first with
// identity texts its description.
int DescribeRecord(C_RudvaneDevice* pDevice, void* pContext)
{
    auto& describe = *static_cast<S_Describe*>(pContext);
    if (!HasLetter(pDevice->strLetters, describe.cLetter))
        return 1;
    if (!describe.bFound)
        describe.info.ulBusBits = BusBitsOf(*pDevice);
    describe.bFound = true;
    std::string strName;
    const uint64_t ullBytes = pDevice->ullBlockCount * pDevice->ulBlockSize;
    if (ullBytes > 0)
        strName = FormatSize(ullBytes, 1, 1) + " ";
    strName += !pDevice->strDisplayName.empty() ? pDevice->strDisplayName
                                                 : pDevice->strLetters + ":";
    describe.info.strName = strName;
    if (describe.info.strDescription.empty()) {
        std::string strText;
        for (const std::string* p : {&pDevice->strVendor, &pDevice->strProduct, &pDevice->strRevision}) {
            if (p->empty())
                continue;
            if (!strText.empty())
                strText += " - ";
            strText += *p;
        }
        describe.info.strDescription = strText;
    }
    return 1;
}

} // namespace

C_DeviceLayerInfo::C_DeviceLayerInfo(bool bStartLayer) : bStarted(bStartLayer)
{
    if (!bStarted)
        return;
    RudvaneInit(nullptr, nullptr, kOptions);
    Refresh();
}

C_DeviceLayerInfo::~C_DeviceLayerInfo()
{
    if (bStarted)
        RudvaneExit();
}

void C_DeviceLayerInfo::Refresh()
{
    const bool bLock = (RudvaneGetOptions() & RUDVANE_OPT_LOCKED_REFRESH) != 0;
    if (bLock)
        RudvaneLock();
    RudvaneMarkAll();
    RudvaneEnumInterfaces();
    RudvaneEnumDriveLetters();
    RudvanePurge();
    if (bLock)
        RudvaneUnlock();
}

int C_DeviceLayerInfo::GetUsbSpeedCode(char cLetter)
{
    S_UsbSpeedSearch search;
    search.cLetter = cLetter;
    RudvaneForEachDevice(RudvaneEnumUsbSpeedCallback, &search, 1);
    return search.lResult < 0 ? USB_SPEED_NONE : static_cast<int>(search.lResult);
}

bool C_DeviceLayerInfo::DescribeDrive(char cLetter, S_QuickDriveInfo& infoOut)
{
    S_Describe describe;
    describe.cLetter = cLetter;
    RudvaneForEachDevice(DescribeRecord, &describe, 1);
    if (!describe.bFound)
        return false;
    infoOut = describe.info;
    return true;
}
