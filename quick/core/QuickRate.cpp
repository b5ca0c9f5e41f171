#include "quick/core/QuickRate.h"

#include <cstdio>

#include "framework/core/SizeText.h"

uint32_t WholeMBytesPerSecond(float fBytesPerSecond)
{
    const float fMBytes = fBytesPerSecond / 1024.0f / 1024.0f;
    if (!(fMBytes > 0.0f))
        return 0;
    if (fMBytes >= 4294967295.0f)
        return UINT32_MAX;
    return static_cast<uint32_t>(fMBytes);
}

float AccessRate(uint32_t ulAccesses, uint64_t ullMicroseconds)
{
    if (ullMicroseconds == 0)
        return 0.0f;
    float fRate = static_cast<float>(ulAccesses);
    fRate *= static_cast<float>(kAccessSize);
    fRate *= 1000.0f;
    fRate *= 1000.0f;
    return fRate / static_cast<float>(ullMicroseconds);
}

float AccessIops(uint32_t ulAccesses, uint64_t ullMicroseconds)
{
    if (ullMicroseconds == 0)
        return 0.0f;
    float fIops = static_cast<float>(ulAccesses);
    fIops *= 1000.0f;
    fIops *= 1000.0f;
    return fIops / static_cast<float>(ullMicroseconds);
}

float AccessMeanMs(uint32_t ulAccesses, uint64_t ullMicroseconds)
{
    if (ulAccesses == 0)
        return 0.0f;
    const float fMilliseconds = static_cast<float>(static_cast<double>(ullMicroseconds) / 1000.0);
    return fMilliseconds / static_cast<float>(ulAccesses);
}

std::string AccessResultText(uint32_t ulAccesses, uint64_t ullMicroseconds)
{
    char szText[128];
    std::snprintf(szText, sizeof(szText), "%s, %.1f IOPS, %.2f ms",
                  RateText(AccessRate(ulAccesses, ullMicroseconds)).c_str(),
                  static_cast<double>(AccessIops(ulAccesses, ullMicroseconds)),
                  static_cast<double>(AccessMeanMs(ulAccesses, ullMicroseconds)));
    return szText;
}
