#include "device/win/RudvaneRefresh.h"

#include "device/core/RudvaneTypes.h"
#include "device/win/EnumPasses.h"
#include "device/win/Rudvane.h"

namespace {

// Marks, runs the passes and purges, under the lock when the options ask.
template <typename Passes>
void Refresh(Passes passes)
{
    const bool bLock = (RudvaneGetOptions() & RUDVANE_OPT_LOCKED_REFRESH) != 0;
    if (bLock)
        RudvaneLock();
    RudvaneMarkAll();
    passes();
    RudvanePurge();
    if (bLock)
        RudvaneUnlock();
}

} // namespace

void RudvaneRefreshBlockAccess()
{
    Refresh([] {
        RudvaneEnumVolumes();
        RudvaneEnumPhysicalDrives();
        RudvaneEnumCdRoms();
        RudvaneEnumVwin32();
        RudvaneEnumAspi();
        RudvaneEnumTracks();
    });
}

void RudvaneRefreshQuickAccess()
{
    Refresh([] {
        RudvaneEnumInterfaces();
        RudvaneEnumDriveLetters();
    });
}
