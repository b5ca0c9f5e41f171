#include "app/win/DeviceWriteConfirmations.h"

#include "app/win/ProgramSettings.h"

bool C_DeviceWriteConfirmations::IsConfirmed(const std::string& strIdentity)
{
    return IsDeviceWriteAllowed(settings, strIdentity);
}

void C_DeviceWriteConfirmations::Remember(const std::string& strIdentity)
{
    // A store that cannot be written asks again next time.
    if (bRemember)
        AllowDeviceWrite(settings, strIdentity);
}
