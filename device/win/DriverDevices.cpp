#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "device/core/BridgeFamilies.h"
#include "device/core/Inquiry.h"
#include "device/core/RudvaneTypes.h"
#include "device/core/ScsiCdb.h"
#include "device/win/BridgeChips.h"
#include "device/win/DriverDevice.h"
#include "device/win/DriverMatch.h"
#include "device/win/Identify.h"
#include "device/win/Rudvane.h"
#include "device/win/RudvaneDevice.h"

// Records of the Torvane driver and the USB records that take their identity.

namespace {

constexpr uint32_t kFirstDriver = 1;
constexpr uint32_t kLastDriver = 23;
constexpr uint32_t kRefusedProduct = 0xFCB2;  // of the Freecom vendor

// Makes the record of "\\.\Torvane<n>" when the driver answers; null otherwise.
std::unique_ptr<C_RudvaneDriverDevice> MakeDriverRecord(uint32_t n, uint32_t ulOptions)
{
    auto pDevice = std::make_unique<C_RudvaneDriverDevice>(n);
    if (!pDevice->Identify((ulOptions & RUDVANE_OPT_DRIVER_REQUEST) != 0))
        return nullptr;
    const S_TorvaneIdentity& id = pDevice->identity;
    if (id.ulUsbVendorId == kFreecomVendorId && id.ulUsbProductId == kRefusedProduct)
        return nullptr;
    pDevice->ulCaps = RUDVANE_CAP_BLOCKS;
    pDevice->ulNumber = static_cast<int32_t>(n);
    pDevice->ulStorageNumber = n;
    pDevice->ulBusFlags = RUDVANE_BUS_USB;
    char szInfo[32];
    std::snprintf(szInfo, sizeof(szInfo), "Torvane %u", n);
    pDevice->strInfo = szInfo;
    pDevice->ulBlockSize = 512;
    pDevice->ulMediaClass = RUDVANE_MEDIA_FIXED_DEVICE;
    pDevice->strSerial = id.strUsbSerial;

    if (!pDevice->Open())
        return nullptr;
    const auto cdb = BuildInquiry(static_cast<uint8_t>(kInquiryLength));
    uint8_t inquiry[kInquiryLength] = {};
    if (pDevice->ScsiCommand(static_cast<uint32_t>(cdb.size()), cdb.data(), 1, sizeof(inquiry),
                             inquiry, nullptr)) {
        uint8_t bType = 0;
        S_IdentityTexts texts;
        if (ParseInquiryTexts(inquiry, pDevice->GetLastTransfer(), texts, &bType)) {
            pDevice->strVendor = texts.strVendor;
            pDevice->strProduct = texts.strProduct;
            pDevice->strRevision = texts.strRevision;
            if (bType == 5)
                pDevice->ulMediaClass = RUDVANE_MEDIA_OPTICAL;
        }
    }
    pDevice->UpdateSize();
    if ((ulOptions & RUDVANE_OPT_NO_BRIDGES) == 0)
        RudvaneRunBridgeFamilies(*pDevice, DriverFamilyOrder(ulOptions));
    pDevice->Close();
    return pDevice;
}

void EnumerateDriverRecords()
{
    const uint32_t ulOptions = RudvaneGetOptions();
    for (uint32_t n = kFirstDriver; n <= kLastDriver; ++n) {
        std::unique_ptr<C_RudvaneDriverDevice> pDevice = MakeDriverRecord(n, ulOptions);
        if (pDevice != nullptr && RudvaneAddDevice(pDevice.get()))
            pDevice.release();
    }
}

int CollectDrivers(C_RudvaneDevice* pDevice, void* pContext)
{
    if (pDevice->ulKind == RUDVANE_KIND_DRIVER && !pDevice->strRevision.empty())
        static_cast<std::vector<C_RudvaneDevice*>*>(pContext)->push_back(pDevice);
    return 1;
}

struct S_MatchWalk {
    S_DriverIdentity driver;
    int nTaken = 0;
};

int MatchRecord(C_RudvaneDevice* pDevice, void* pContext)
{
    auto& walk = *static_cast<S_MatchWalk*>(pContext);
    if (TakeDriverIdentity(*pDevice, walk.driver))
        ++walk.nTaken;
    return 1;
}

} // namespace

int RudvaneMatchDriverDevices()
{
    RudvaneLock();
    if ((RudvaneGetEnumeratedKinds() & RUDVANE_KIND_DRIVER) == 0) {
        // Marked first: adding a record notifies the page, which may call back.
        RudvaneAddEnumeratedKind(RUDVANE_KIND_DRIVER);
        EnumerateDriverRecords();
    }
    std::vector<C_RudvaneDevice*> vDrivers;
    RudvaneForEachDevice(CollectDrivers, &vDrivers, 0);
    int nTaken = 0;
    for (C_RudvaneDevice* pDriver : vDrivers) {
        S_MatchWalk walk;
        walk.driver = DriverIdentityOf(*pDriver);
        RudvaneForEachDevice(MatchRecord, &walk, 0);
        nTaken += walk.nTaken;
    }
    RudvaneUnlock();
    return nTaken;
}
