#include "framework/core/Base64.h"

#include <cstdint>

std::string Base64Encode(const void* pData, size_t nSize)
{
    static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    const uint8_t* p = static_cast<const uint8_t*>(pData);
    std::string strOut;
    strOut.reserve((nSize + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 3 <= nSize; i += 3) {
        const uint32_t ul = (uint32_t(p[i]) << 16) | (uint32_t(p[i + 1]) << 8) | p[i + 2];
        strOut += kAlphabet[(ul >> 18) & 63];
        strOut += kAlphabet[(ul >> 12) & 63];
        strOut += kAlphabet[(ul >> 6) & 63];
        strOut += kAlphabet[ul & 63];
    }
    const size_t nLeft = nSize - i;
    if (nLeft > 0) {
        uint32_t ul = uint32_t(p[i]) << 16;
        if (nLeft == 2)
            ul |= uint32_t(p[i + 1]) << 8;
        strOut += kAlphabet[(ul >> 18) & 63];
        strOut += kAlphabet[(ul >> 12) & 63];
        strOut += nLeft == 2 ? kAlphabet[(ul >> 6) & 63] : '=';
        strOut += '=';
    }
    return strOut;
}
