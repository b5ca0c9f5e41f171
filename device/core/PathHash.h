#ifndef QUENVALE_DEVICE_PATHHASH_H
#define QUENVALE_DEVICE_PATHHASH_H

#include <cstdint>

// Number of a Plug and Play record within its class: the hash starts at 1
// and, for each byte b of the path taken as a signed 8-bit value, becomes
// h * b (32 bits) plus that product shifted right by 24 (logical shift).
// A null path hashes like an empty one.
uint32_t RudvanePathHash(const char* pszPath);

#endif
