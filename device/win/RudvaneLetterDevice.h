#ifndef QUENVALE_DEVICE_RUDVANELETTERDEVICE_H
#define QUENVALE_DEVICE_RUDVANELETTERDEVICE_H

#include "device/win/RudvaneDevice.h"

// A logical drive known only by its letter: no raw access (ulCaps 0); its
// size comes from the file system.
class C_RudvaneLetterDevice : public C_RudvaneDevice {
public:
    explicit C_RudvaneLetterDevice(char cLetter);
};

#endif
