#include "quick/win/DeviceLayerInfo.h"

#include <cctype>

#include "device/core/RudvaneTypes.h"
#include "device/win/EnumPasses.h"
#include "device/win/Rudvane.h"
#include "device/win/UsbSpeedWalk.h"
#include "quick/core/UsbRating.h"
#include "quick/win/DriveList.h"

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
    // The drive list's own entry, so that a run names a drive as the list does.
    const char cWanted = static_cast<char>(std::toupper(static_cast<unsigned char>(cLetter)));
    for (const S_DriveEntry& entry : ReadDriveEntries(false)) {
        if (entry.cLetter != cWanted)
            continue;
        S_QuickDriveInfo info;
        info.strName = entry.strName;
        info.strDescription = entry.strDescription;
        info.ulBusBits = entry.ulBusBits;
        infoOut = info;
        return true;
    }
    return false;
}
