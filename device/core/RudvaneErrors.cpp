#include "device/core/RudvaneErrors.h"

#include "device/core/RudvaneTypes.h"

const char* RudvaneErrorText(uint32_t ulError)
{
    switch (ulError) {
    case RUDVANE_ERROR_SYSTEM_DEVICE:
        return "The device holds the running Windows and is never written.";
    case RUDVANE_ERROR_DEVICE_CHANGED:
        return "The device is no longer the one that was listed. Refresh the device list.";
    default:
        return nullptr;
    }
}
