#include "device/win/Identify.h"

#include "device/win/RudvaneDevice.h"
#include "device/win/RudvanePnpDevice.h"

// First cut: entry points only; the identification rules follow.

int RudvaneIdentify(C_RudvaneDevice& device)
{
    (void)device;
    return 0;
}

int RudvaneReadInquiryTexts(C_RudvaneDevice& device)
{
    (void)device;
    return 0;
}

int RudvaneReadSmartIdentifyTexts(C_RudvaneDevice& device)
{
    (void)device;
    return 0;
}

void RudvaneParseInstanceIds(C_RudvanePnpDevice& device, const char* pszOwn, const char* pszParent,
                             const char* pszGrandparent)
{
    (void)device;
    (void)pszOwn;
    (void)pszParent;
    (void)pszGrandparent;
}

int RudvaneMatchDriverDevices()
{
    return 0;
}
