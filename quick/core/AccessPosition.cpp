#include "quick/core/AccessPosition.h"

#include "quick/core/QuickRate.h"

uint64_t AccessPosition(uint32_t ulRandom, uint64_t ullFileSize)
{
    const uint64_t ullBlocks = ullFileSize / kAccessSize;
    if (ullBlocks == 0)
        return 0;
    return static_cast<uint64_t>(ulRandom) * (ullBlocks - 1) / kCrtRandomMax * kAccessSize;
}
