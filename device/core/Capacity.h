#ifndef QUENVALE_DEVICE_CAPACITY_H
#define QUENVALE_DEVICE_CAPACITY_H

#include <cstddef>
#include <cstdint>

// Size of a device as its capacity answers report it.
struct S_Capacity {
    uint64_t ullBlockCount = 0;
    uint32_t ulBlockSize = 0;
};

// READ CAPACITY(10) answer (at least 8 bytes): block count = last LBA + 1
// without 32-bit wrap, block size = block length; a block length of 0 counts
// as 512. False when the answer is too short; capOut is then untouched.
bool ParseReadCapacity10(const uint8_t* pData, size_t nLength, S_Capacity& capOut);

// READ CAPACITY(16) answer (at least 12 bytes): 64-bit last LBA + 1 and the
// block length (0 counts as 512). A last LBA of 2^64 - 1 gives a count of 0.
bool ParseReadCapacity16(const uint8_t* pData, size_t nLength, S_Capacity& capOut);

// Whether READ CAPACITY(16) must replace a READ CAPACITY(10) answer: the
// count is 0xFFFFFFFE or more (the 32-bit LBA field is exhausted).
bool NeedsReadCapacity16(const S_Capacity& cap);

// Rules applied to a size found by READ CAPACITY: a block size other than
// 512 makes block 16 the first block that tests may use (ullFirstBlock is
// left alone otherwise), and a count of exactly 0x7FFFFFFF becomes 1000.
void ApplyCapacityRules(S_Capacity& cap, uint64_t& ullFirstBlock);

// Partition information of a volume: when the length is known (not exactly
// 0x7FFFFFFF), the offsets are not negative, the block size is known and
// the starting offset is a whole number of blocks, block count = length /
// block size and partition start = starting offset / block size. False
// (outputs untouched) otherwise: a start cut to a block boundary would send
// every pass-through command of the volume to the wrong blocks.
bool ApplyPartitionInfo(int64_t llStartingOffset, int64_t llLength, uint32_t ulBlockSize,
                        uint64_t& ullBlockCount, uint64_t& ullPartitionStart);

#endif
