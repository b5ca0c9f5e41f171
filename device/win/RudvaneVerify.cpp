#include "device/win/RudvaneVerify.h"

#include <windows.h>

#include <memory>

#include "device/core/RudvaneRecord.h"
#include "device/core/RudvaneTypes.h"
#include "device/win/EnumIo.h"
#include "device/win/EnumPasses.h"
#include "device/win/KeepError.h"
#include "device/win/Rudvane.h"
#include "device/win/RudvaneAspiDevice.h"
#include "device/win/RudvaneHandleDevice.h"
#include "device/win/RudvaneTrackDevice.h"

namespace {

std::unique_ptr<C_RudvaneDevice> ProbeByPath(const C_RudvaneHandleDevice& device)
{
    // The record's own calls, so a record made on given system calls is
    // checked on them too.
    auto* pIo = dynamic_cast<C_EnumIo*>(&device.GetIo());
    C_EnumIo& io = pIo != nullptr ? *pIo : C_EnumIo::System();
    const uint32_t n = static_cast<uint32_t>(device.ulNumber);
    switch (device.ulKind) {
    case RUDVANE_KIND_PHYSICAL:
        return RudvaneProbePhysicalDrive(io, device.strPath, n);
    case RUDVANE_KIND_CDROM:
        return RudvaneProbeCdRom(io, device.strPath, n);
    case RUDVANE_KIND_VOLUME:
        return RudvaneProbeVolume(io, static_cast<char>(device.ulNumber));
    default:
        ::SetLastError(ERROR_NOT_SUPPORTED);
        return nullptr;
    }
}

std::unique_ptr<C_RudvaneDevice> ProbeAgain(const C_RudvaneDevice& device)
{
    if (device.ulKind == RUDVANE_KIND_ASPI) {
        const auto* pAspi = dynamic_cast<const C_RudvaneAspiDevice*>(&device);
        if (pAspi == nullptr)
            return nullptr;
        std::unique_ptr<C_RudvaneAspiDevice> pNow =
            RudvaneProbeAspiTarget(pAspi->bHostAdapter, pAspi->bTarget, pAspi->bLun);
        if (pNow == nullptr)
            ::SetLastError(ERROR_DEV_NOT_EXIST);
        else
            pNow->strInfo = device.strInfo;  // the adapter's text, not the target's
        return pNow;
    }
    const auto* pHandle = dynamic_cast<const C_RudvaneHandleDevice*>(&device);
    if (pHandle == nullptr) {
        ::SetLastError(ERROR_NOT_SUPPORTED);
        return nullptr;
    }
    return ProbeByPath(*pHandle);
}

} // namespace

int RudvaneVerifyIdentity(const C_RudvaneDevice& device)
{
    const auto* pTrack = dynamic_cast<const C_RudvaneTrackDevice*>(&device);
    if (pTrack != nullptr)
        return pTrack->GetParent() != nullptr ? RudvaneVerifyIdentity(*pTrack->GetParent())
                                              : Fail(ERROR_NOT_SUPPORTED);
    std::unique_ptr<C_RudvaneDevice> pNow = ProbeAgain(device);
    if (pNow == nullptr)
        return 0;
    // The listed record took what a driver record lends; so does its new self.
    RudvaneTakeDriverIdentity(*pNow);
    return IsSameIdentity(device, *pNow) ? 1 : Fail(RUDVANE_ERROR_DEVICE_CHANGED);
}
