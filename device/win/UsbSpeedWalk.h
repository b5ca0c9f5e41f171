#ifndef QUENVALE_DEVICE_USBSPEEDWALK_H
#define QUENVALE_DEVICE_USBSPEEDWALK_H

#include <cstdint>

class C_RudvaneDevice;

// What RudvaneEnumUsbSpeedCallback looks for and finds.
struct S_UsbSpeedSearch {
    char cLetter = 0;
    // The USB speed code of the Plug and Play record that holds the letter
    // (device/core/UsbSpeed.h); -1 while no record holds it.
    int32_t lResult = -1;
};

// The Quick Access walk function, run with RudvaneForEachDevice including
// stale records and an S_UsbSpeedSearch as context: a Plug and Play record
// whose letters hold the letter answers the speed query into the result and
// ends the walk (0) when the query succeeded; every other record lets the
// walk go on (1).
int RudvaneEnumUsbSpeedCallback(C_RudvaneDevice* pDevice, void* pContext);

#endif
