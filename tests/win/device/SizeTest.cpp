#include "device/core/RudvaneTypes.h"
#include "device/win/IoCodes.h"
#include "device/win/Rudvane.h"
#include "tests/support/win/TestDevice.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

using SizeTest = C_DeviceLayerTest;

TEST_F(SizeTest, ReadCapacityGivesTheSizeAndItsRules)
{
    struct Case {
        const char* pszName;
        uint64_t ullBlocks;
        uint32_t ulBlockSize;
        bool bAsks16;
        uint64_t ullCount;
        uint64_t ullFirstBlock;
    };
    const std::vector<Case> cases = {
        {"small disk", 2048, 512, false, 2048, 0},
        {"optical", 332800, 2048, false, 332800, 16},
        {"just below the takeover", 0xFFFFFFFDull, 512, false, 0xFFFFFFFDull, 0},
        {"at the takeover", 0xFFFFFFFEull, 512, true, 0xFFFFFFFEull, 0},
        {"32-bit field exhausted", 1ull << 34, 4096, true, 1ull << 34, 16},
        {"bogus count", 0x7FFFFFFF, 512, false, 1000, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        C_TestDevice device(c.ullBlocks, c.ulBlockSize);
        device.ullBlockCount = 2048;  // start values
        device.ulBlockSize = 512;
        ASSERT_EQ(device.UpdateSize(), 1);
        EXPECT_EQ(device.ullBlockCount, c.ullCount);
        EXPECT_EQ(device.ulBlockSize, c.ulBlockSize);
        EXPECT_EQ(device.ullFirstBlock, c.ullFirstBlock);
        EXPECT_EQ(device.target.CountOpcode(0x25), 1u);
        EXPECT_EQ(device.target.CountOpcode(0x9E), c.bAsks16 ? 1u : 0u);
    }
}

TEST_F(SizeTest, FallsBackStepByStepAndKeepsStartValuesWhenNothingAnswers)
{
    struct Case {
        const char* pszName;
        bool bRc10, bRc16, bGeometryEx, bGeometry, bLength, bEnd;
        int nResult;
        uint64_t ullCount;
        uint32_t ulBlockSize;
    };
    // A device of 1,000,000 blocks of 512 bytes; the record starts at 2048 x 2048.
    const std::vector<Case> cases = {
        {"capacity 16 after a failed 10", false, true, true, true, true, true, 1, 1000000, 512},
        {"geometry ex", false, false, true, true, true, true, 1, 1000000, 512},
        {"geometry rounds down to cylinders", false, false, false, true, true, true, 1,
         62 * 255 * 63, 512},
        {"length of a device without geometry", false, false, false, false, true, true, 1,
         250000, 2048},
        {"end of an image behind a letter", false, false, false, false, false, true, 1, 250000,
         2048},
        {"nothing answers", false, false, false, false, false, false, 0, 2048, 2048},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        C_TestDevice device(1000000, 512);
        device.ullBlockCount = 2048;
        device.ulBlockSize = 2048;
        if (!c.bRc10)
            device.target.FailNext(0x25, 0x05, 0x20, 0x00);
        device.target.bReadCapacity16 = c.bRc16;
        device.io.bGeometryEx = c.bGeometryEx;
        device.io.bGeometry = c.bGeometry;
        device.io.bLengthInfo = c.bLength;
        device.io.bEndPosition = c.bEnd;
        EXPECT_EQ(device.UpdateSize(), c.nResult);
        EXPECT_EQ(device.ullBlockCount, c.ullCount);
        EXPECT_EQ(device.ulBlockSize, c.ulBlockSize);
        EXPECT_EQ(device.ullFirstBlock, 0u);
        EXPECT_EQ(device.io.OpenHandles(), 0);
    }
}

TEST_F(SizeTest, ExhaustedReadCapacity10WithoutReadCapacity16IsNoAnswer)
{
    C_TestDevice device(1ull << 33, 512);
    device.target.bReadCapacity16 = false;
    device.io.bEndPosition = false;
    device.ullBlockCount = 2048;
    EXPECT_EQ(device.UpdateSize(), 0);
    EXPECT_EQ(device.ullBlockCount, 2048u);  // not the 32-bit 0x100000000
}

TEST_F(SizeTest, NoSizeOptionAsksNothing)
{
    RudvaneInit(nullptr, nullptr, RUDVANE_OPT_NO_SIZE);
    C_TestDevice device(4096, 512);
    device.ullBlockCount = 2048;
    EXPECT_EQ(device.UpdateSize(), 0);
    EXPECT_EQ(device.UpdatePartitionInfo(), 0);
    EXPECT_TRUE(device.io.vOpened.empty());
    EXPECT_EQ(device.ullBlockCount, 2048u);
}

TEST_F(SizeTest, PartitionInformationSetsCountAndStart)
{
    struct Case {
        const char* pszName;
        int64_t llStart;
        int64_t llLength;
        DWORD dwReturned;
        uint32_t ulBlockSize;
        int nResult;
        uint64_t ullCount;
        uint64_t ullStart;
    };
    const std::vector<Case> cases = {
        {"plain", 1048576, 104857600, 32, 512, 1, 204800, 2048},
        {"2048-byte blocks", 1048576, 104857600, 32, 2048, 1, 51200, 512},
        {"short answer", 1048576, 104857600, 28, 512, 0, 7, 9},
        {"unknown length", 1048576, 0x7FFFFFFF, 32, 512, 0, 7, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        C_TestDevice device(1000000, 512, "\\\\.\\E:");
        device.ulBlockSize = c.ulBlockSize;
        device.ullBlockCount = 7;
        device.ullPartitionStart = 9;
        device.io.bPartitionInfo = true;
        device.io.llPartitionStart = c.llStart;
        device.io.llPartitionLength = c.llLength;
        device.io.dwPartitionReturned = c.dwReturned;
        EXPECT_EQ(device.UpdatePartitionInfo(), c.nResult);
        EXPECT_EQ(device.ullBlockCount, c.ullCount);
        EXPECT_EQ(device.ullPartitionStart, c.ullStart);
    }
}

} // namespace
