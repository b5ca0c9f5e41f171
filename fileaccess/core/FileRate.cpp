#include "fileaccess/core/FileRate.h"

#include <cstdio>

#include "framework/core/SizeText.h"

E_OpticalMedium OpticalMediumOf(uint64_t ullTotalBytes)
{
    return ullTotalBytes / 1048576 > kLargestCdMBytes ? E_OpticalMedium::Dvd : E_OpticalMedium::Cd;
}

float FileRateKiB(uint64_t ullFileSize, uint64_t ullMicroseconds)
{
    if (ullMicroseconds == 0)
        return 0.0f;
    return static_cast<float>(ullFileSize) / 1024.0f * 1000.0f * 1000.0f / static_cast<float>(ullMicroseconds);
}

float OpticalFactor(float fKiBPerSecond, E_OpticalMedium eMedium)
{
    switch (eMedium) {
    case E_OpticalMedium::Cd:
        return fKiBPerSecond / kCdSingleSpeed;
    case E_OpticalMedium::Dvd:
        return fKiBPerSecond / kDvdSingleSpeed;
    case E_OpticalMedium::None:
        break;
    }
    return 0.0f;
}

std::string FileRateText(float fKiBPerSecond, E_OpticalMedium eMedium)
{
    // Rates beyond what 64 bits hold in bytes (a huge file in a few
    // microseconds) are shown as the largest that fits.
    constexpr float kMostKiB = 1.7e16f;
    const float fKiB = fKiBPerSecond < kMostKiB ? fKiBPerSecond : kMostKiB;
    const uint64_t ullKiB = fKiB > 0.0f ? static_cast<uint64_t>(fKiB) : 0;
    std::string strText = FormatSize(ullKiB * 1024, 0, 1) + "/sec";
    if (eMedium != E_OpticalMedium::None) {
        char szFactor[48];
        std::snprintf(szFactor, sizeof(szFactor), eMedium == E_OpticalMedium::Dvd ? " - %.1fx dvd" : " - %.1fx cd-rom",
                      static_cast<double>(OpticalFactor(fKiBPerSecond, eMedium)));
        strText += szFactor;
    }
    return strText;
}
