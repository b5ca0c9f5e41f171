#include "blockaccess/core/BlockParameters.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A 1 GiB disk of 512-byte blocks.
constexpr S_BlockDevice kDisk{0, 2097152, 512};
// An optical drive's volume, whose first usable block is 16.
constexpr S_BlockDevice kOptical{16, 300000, 2048};

TEST(BlockParameters, BoxesAreParsedAndClampedInOrder)
{
    struct S_Case {
        const char* pszWhat;
        S_BlockDevice device;
        S_BlockBoxTexts texts;
        uint64_t ullStart, ullEnd, ullBlocks;
        uint32_t ulCalcEvery;
        const char* pszBuffer;
    };
    const std::vector<S_Case> cases = {
        {"selected disk", kDisk, {"0", "2097152", "2048", "0", "1", "100"}, 0, 2097152, 2048, 1, "1024 kBytes"},
        {"end 0 after start 5", kDisk, {"5", "0", "2048", "0", "1", "100"}, 5, 6, 2048, 1, "1024 kBytes"},
        {"start above the block count", kDisk, {"3000000", "0", "8", "0", "1", "1"}, 2097152, 2097152, 8, 1,
         "4096 Bytes"},
        {"end above the block count", kDisk, {"10", "9999999", "8", "0", "1", "1"}, 10, 2097152, 8, 1, "4096 Bytes"},
        {"optical start below block 16", kOptical, {"0", "100", "16", "0", "1", "1"}, 16, 100, 16, 1, "32 kBytes"},
        {"scanf reads leading digits", kDisk, {"  +7blocks", "\t900 ", "12x", "3", "4 ", "1"}, 7, 900, 12, 4,
         "6144 Bytes"},
        // A negative number wraps to the top, which then clamps like any
        // start beyond the device.
        {"negative start", kDisk, {"-1", "100", "8", "0", "1", "1"}, 2097152, 2097152, 8, 1, "4096 Bytes"},
        // start + 1 must not wrap to 0 and leave the range at block 0.
        {"largest start", kDisk, {"18446744073709551615", "", "8", "0", "1", "1"}, 2097152, 2097152, 8, 1,
         "4096 Bytes"},
        {"calc-every keeps the low 32 bits", kDisk, {"0", "100", "1", "0", "4294967297", "1"}, 0, 100, 1, 1,
         "512 Bytes"},
    };
    for (const S_Case& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        S_BlockParameters params;
        const S_BlockCheckResult result = ReadAndCheckValues(c.texts, &c.device, params);
        EXPECT_TRUE(result.bChecked);
        EXPECT_EQ(params.ullStart, c.ullStart);
        EXPECT_EQ(params.ullEnd, c.ullEnd);
        EXPECT_EQ(params.ullBlocks, c.ullBlocks);
        EXPECT_EQ(params.ulCalcEvery, c.ulCalcEvery);
        EXPECT_EQ(result.strStart, BlockNumberText(c.ullStart));
        EXPECT_EQ(result.strEnd, BlockNumberText(c.ullEnd));
        EXPECT_EQ(result.strBufferSize, c.pszBuffer);
        EXPECT_FALSE(result.bBlocksCorrected);
        EXPECT_FALSE(result.bCalcEveryCorrected);
    }
}

TEST(BlockParameters, UnreadableBoxesKeepTheirValueButZeroBlocksAndCalcBecomeOne)
{
    S_BlockParameters params;
    params.ullStart = 40;
    params.ullEnd = 900;
    params.ullBlocks = 64;
    params.ullSkip = 3;
    params.ulCalcEvery = 7;
    params.ullRepeats = 55;
    S_BlockCheckResult result = ReadAndCheckValues({"", "x", "", "-", " ", "?"}, &kDisk, params);
    EXPECT_EQ(params.ullStart, 40u);
    EXPECT_EQ(params.ullEnd, 900u);
    EXPECT_EQ(params.ullSkip, 3u);
    EXPECT_EQ(params.ulCalcEvery, 7u);
    EXPECT_EQ(params.ullRepeats, 55u);
    // Blocks per access does not keep its value: an empty box reads 0 -> 1.
    EXPECT_EQ(params.ullBlocks, 1u);
    EXPECT_TRUE(result.bBlocksCorrected);
    EXPECT_EQ(result.strBlocks, "1");
    EXPECT_EQ(result.strBufferSize, "512 Bytes");
    EXPECT_FALSE(result.bCalcEveryCorrected);

    result = ReadAndCheckValues({"0", "10", "0", "0", "0", "1"}, &kDisk, params);
    EXPECT_EQ(params.ullBlocks, 1u);
    EXPECT_EQ(params.ulCalcEvery, 1u);
    EXPECT_TRUE(result.bBlocksCorrected);
    EXPECT_TRUE(result.bCalcEveryCorrected);
    EXPECT_EQ(result.strCalcEvery, "1");

    // Without a device nothing is read and the buffer size text is empty.
    const S_BlockParameters before = params;
    result = ReadAndCheckValues({"1", "2", "3", "4", "5", "6"}, nullptr, params);
    EXPECT_FALSE(result.bChecked);
    EXPECT_EQ(result.strBufferSize, "");
    EXPECT_EQ(params.ullStart, before.ullStart);
    EXPECT_EQ(params.ullBlocks, before.ullBlocks);
}

TEST(BlockParameters, BufferSizeTexts)
{
    struct S_Case {
        uint64_t ullBlocks;
        uint32_t ulBlockSize;
        const char* pszText;
    };
    for (const S_Case& c : std::vector<S_Case>{{19, 512, "9728 Bytes"},
                                               {20, 512, "10 kBytes"},
                                               {1, 10239, "10239 Bytes"},
                                               {2048, 512, "1024 kBytes"},
                                               {20479, 512, "10239 kBytes"},
                                               {20480, 512, "10 MBytes"},
                                               {40960, 512, "20 MBytes"},
                                               {1, 1, "1 Byte "},
                                               {0, 512, "0 Bytes"},
                                               {1ull << 62, 4096, "17592186044415 MBytes"}}) {
        SCOPED_TRACE(testing::Message() << c.ullBlocks << " x " << c.ulBlockSize);
        EXPECT_EQ(BufferSizeText(c.ullBlocks, c.ulBlockSize), c.pszText);
    }
}

TEST(BlockParameters, AccessBufferMustFitOneTransfer)
{
    uint32_t ulBytes = 7;
    EXPECT_TRUE(AccessBufferBytes(2048, 512, ulBytes));
    EXPECT_EQ(ulBytes, 1048576u);
    EXPECT_TRUE(AccessBufferBytes(8388607, 512, ulBytes));
    EXPECT_EQ(ulBytes, 4294966784u);
    // 4 GiB: a 32-bit size would wrap to 0 and the transfer would run past
    // the allocation.
    ulBytes = 7;
    EXPECT_FALSE(AccessBufferBytes(8388608, 512, ulBytes));
    EXPECT_FALSE(AccessBufferBytes(1ull << 32, 1, ulBytes));
    EXPECT_FALSE(AccessBufferBytes(0, 512, ulBytes));
    EXPECT_FALSE(AccessBufferBytes(1, 0, ulBytes));
    EXPECT_EQ(ulBytes, 7u);
}

} // namespace
