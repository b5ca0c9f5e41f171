#include "device/core/Capacity.h"

#include "device/core/ByteOrder.h"

bool ParseReadCapacity10(const uint8_t* pData, size_t nLength, S_Capacity& capOut)
{
    if (pData == nullptr || nLength < 8)
        return false;
    capOut.ullBlockCount = static_cast<uint64_t>(GetBe32(pData)) + 1;
    const uint32_t ulBlockSize = GetBe32(pData + 4);
    capOut.ulBlockSize = ulBlockSize != 0 ? ulBlockSize : 512;
    return true;
}

bool ParseReadCapacity16(const uint8_t* pData, size_t nLength, S_Capacity& capOut)
{
    if (pData == nullptr || nLength < 12)
        return false;
    const uint64_t ullLastLba = (static_cast<uint64_t>(GetBe32(pData)) << 32) | GetBe32(pData + 4);
    capOut.ullBlockCount = ullLastLba + 1;
    const uint32_t ulBlockSize = GetBe32(pData + 8);
    capOut.ulBlockSize = ulBlockSize != 0 ? ulBlockSize : 512;
    return true;
}

bool NeedsReadCapacity16(const S_Capacity& cap)
{
    return cap.ullBlockCount >= 0xFFFFFFFEull;
}

void ApplyCapacityRules(S_Capacity& cap, uint64_t& ullFirstBlock)
{
    if (cap.ulBlockSize != 512)
        ullFirstBlock = 16;
    if (cap.ullBlockCount == 0x7FFFFFFFull)
        cap.ullBlockCount = 1000;
}

bool ApplyPartitionInfo(int64_t llStartingOffset, int64_t llLength, uint32_t ulBlockSize,
                        uint64_t& ullBlockCount, uint64_t& ullPartitionStart)
{
    if (llLength == 0x7FFFFFFF || ulBlockSize == 0)
        return false;
    // A negative offset would become a huge block address that every later
    // SCSI command adds to its LBA.
    if (llStartingOffset < 0 || llLength < 0 ||
        llStartingOffset % static_cast<int64_t>(ulBlockSize) != 0)
        return false;
    ullBlockCount = static_cast<uint64_t>(llLength / static_cast<int64_t>(ulBlockSize));
    ullPartitionStart = static_cast<uint64_t>(llStartingOffset / static_cast<int64_t>(ulBlockSize));
    return true;
}
