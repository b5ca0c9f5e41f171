// Capacity answers as devices send them: any bytes must parse safely into a
// size with a usable block size, and the rules must keep their promises.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "device/core/Capacity.h"

namespace {

uint64_t Big(const uint8_t* p, size_t nBytes)
{
    uint64_t ull = 0;
    for (size_t i = 0; i < nBytes; ++i)
        ull = (ull << 8) | p[i];
    return ull;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    S_Capacity cap10;
    if (ParseReadCapacity10(pData, nSize, cap10)) {
        if (nSize < 8 || cap10.ulBlockSize == 0)
            std::abort();
        if (cap10.ullBlockCount != Big(pData, 4) + 1 || cap10.ullBlockCount == 0)
            std::abort();
        if (NeedsReadCapacity16(cap10) != (Big(pData, 4) >= 0xFFFFFFFDull))
            std::abort();
    } else if (nSize >= 8) {
        std::abort();
    }

    S_Capacity cap16;
    if (ParseReadCapacity16(pData, nSize, cap16)) {
        if (nSize < 12 || cap16.ulBlockSize == 0)
            std::abort();
        if (cap16.ullBlockCount != Big(pData, 8) + 1)
            std::abort();
        uint64_t ullFirst = 3;
        S_Capacity ruled = cap16;
        ApplyCapacityRules(ruled, ullFirst);
        if (ullFirst != (cap16.ulBlockSize != 512 ? 16u : 3u))
            std::abort();
        if (ruled.ullBlockCount != (cap16.ullBlockCount == 0x7FFFFFFF ? 1000 : cap16.ullBlockCount))
            std::abort();
    }

    // Partition information: never a negative or huge start from bad offsets.
    if (nSize >= 20) {
        int64_t llStart = 0, llLength = 0;
        uint32_t ulBlock = 0;
        std::memcpy(&llStart, pData, 8);
        std::memcpy(&llLength, pData + 8, 8);
        std::memcpy(&ulBlock, pData + 16, 4);
        uint64_t ullCount = 1, ullPartition = 2;
        if (ApplyPartitionInfo(llStart, llLength, ulBlock, ullCount, ullPartition)) {
            if (llStart < 0 || llLength < 0 || ulBlock == 0 || llStart % ulBlock != 0)
                std::abort();
            if (ullPartition > static_cast<uint64_t>(llStart) || ullCount > static_cast<uint64_t>(llLength))
                std::abort();
        } else if (ullCount != 1 || ullPartition != 2) {
            std::abort();
        }
    }
    return 0;
}
