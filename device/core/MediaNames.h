#ifndef QUENVALE_DEVICE_MEDIANAMES_H
#define QUENVALE_DEVICE_MEDIANAMES_H

#include <array>
#include <cstddef>
#include <cstdint>

// Names of the DVD and HD DVD media types, by the drive's current profile
// (GET CONFIGURATION): "DVD-ROM", "DVD-R", "DVD-RAM", "DVD-RW", "DVD+RW",
// "DVD+R", "DVD+RW DL", "DVD+R DL", "HD DVD-ROM", "HD DVD-R", "HD DVD-RAM".
// Null for any other profile.
const char* OpticalMediaName(uint16_t wProfile);

// GET CONFIGURATION (0x46) for the current profile only: 8 bytes in.
std::array<uint8_t, 10> BuildGetConfiguration();
constexpr uint32_t kGetConfigurationReply = 8;
// The current profile of the reply's feature header; false when short.
bool ParseCurrentProfile(const uint8_t* pData, size_t nLength, uint16_t& wProfile);

#endif
