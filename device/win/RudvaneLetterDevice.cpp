#include "device/win/RudvaneLetterDevice.h"

#include "device/core/RudvaneTypes.h"

C_RudvaneLetterDevice::C_RudvaneLetterDevice(char cLetter)
{
    ulKind = RUDVANE_KIND_LETTER;
    if (cLetter != '\0')
        strLetters.assign(1, cLetter);
}
