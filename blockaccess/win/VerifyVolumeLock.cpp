#include "blockaccess/win/VerifyVolumeLock.h"

#include <windows.h>
#include <winioctl.h>

#include "device/core/RudvaneTypes.h"
#include "device/win/IoRequest.h"
#include "device/win/RudvaneDevice.h"

namespace {

bool Control(C_RudvaneDevice& device, DWORD dwCode)
{
    DWORD dwReturned = 0;
    S_RudvaneIoRequest request;
    request.dwCode = dwCode;
    request.pdwReturned = &dwReturned;
    return device.Query(RUDVANE_Q_IO_REQUEST, &request, 0, nullptr, nullptr) != 0;
}

} // namespace

bool C_VerifyVolumeLock::Lock(C_RudvaneDevice& device)
{
    Unlock();
    pDevice = &device;
    bVolume = device.ulKind == RUDVANE_KIND_VOLUME;
    if (!bVolume)
        return device.Query(RUDVANE_Q_LOCK_VOLUMES, nullptr, 1, nullptr, nullptr) != 0;
    const bool bLocked = Control(device, FSCTL_LOCK_VOLUME);
    // A dismounted file system forgets what it cached of the blocks about
    // to be overwritten; refused where nothing is mounted.
    if (bLocked)
        Control(device, FSCTL_DISMOUNT_VOLUME);
    return bLocked;
}

void C_VerifyVolumeLock::Unlock()
{
    if (pDevice == nullptr)
        return;
    if (bVolume)
        Control(*pDevice, FSCTL_UNLOCK_VOLUME);
    else
        pDevice->Query(RUDVANE_Q_LOCK_VOLUMES, nullptr, 0, nullptr, nullptr);
    pDevice = nullptr;
}
