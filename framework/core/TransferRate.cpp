#include "framework/core/TransferRate.h"

#include "framework/core/SizeText.h"

uint64_t CountsToMicroseconds(uint64_t ullCounts, uint64_t ullFrequency)
{
    if (ullFrequency == 0)
        return 0;
    return ullCounts * 1000000 / ullFrequency;
}

float TransferRate(uint64_t ullBytes, uint64_t ullMicroseconds)
{
    if (ullMicroseconds == 0)
        return 0.0f;
    // Byte counts above 18 TB would overflow the integer product.
    const float fScaled = ullBytes <= UINT64_MAX / 1000000 ? static_cast<float>(ullBytes * 1000000)
                                                            : static_cast<float>(ullBytes) * 1.0e6f;
    return fScaled / static_cast<float>(ullMicroseconds);
}

std::string RateText(float fBytesPerSecond)
{
    const uint64_t ullBytes = fBytesPerSecond > 0.0f ? static_cast<uint64_t>(fBytesPerSecond) : 0;
    return FormatSize(ullBytes, 0, 1) + "/sec";
}
