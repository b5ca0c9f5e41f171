#include "device/core/PathHash.h"

uint32_t RudvanePathHash(const char* pszPath)
{
    uint32_t ulHash = 1;
    if (pszPath == nullptr)
        return ulHash;
    for (const char* p = pszPath; *p != '\0'; ++p) {
        // Unsigned arithmetic gives the wrapped 32-bit product of the signed
        // values without undefined overflow.
        const uint32_t ulByte = static_cast<uint32_t>(static_cast<int32_t>(static_cast<int8_t>(*p)));
        const uint32_t ulProduct = ulHash * ulByte;
        ulHash = ulProduct + (ulProduct >> 24);
    }
    return ulHash;
}
