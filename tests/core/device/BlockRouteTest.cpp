#include "device/core/BlockRoute.h"
#include "device/core/PassThrough.h"
#include "device/core/RudvaneTypes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

S_BlockTransfer Disk(uint64_t ullLba, uint32_t ulCount, uint64_t ullStart = 0,
                     uint32_t ulMaxBlocks = 256)
{
    S_BlockTransfer t;
    t.ulMediaClass = RUDVANE_MEDIA_FIXED_DEVICE;
    t.ullLba = ullLba;
    t.ulCount = ulCount;
    t.ulBlockSize = 512;
    t.ulMaxBlocks = ulMaxBlocks;
    t.ullPartitionStart = ullStart;
    return t;
}

TEST(BlockRouteTest, ReadsGoThroughTheHandleExceptTapeOpticalAndWindows9x)
{
    struct Case {
        const char* pszName;
        S_BlockTransfer t;
        E_BlockRoute route;
    };
    S_BlockTransfer tape = Disk(5, 10);
    tape.ulMediaClass = RUDVANE_MEDIA_TAPE;
    S_BlockTransfer hugeTape = tape;
    hugeTape.ulCount = 0x1000000;
    S_BlockTransfer optical = Disk(1000, 32, 0);
    optical.ulMediaClass = RUDVANE_MEDIA_OPTICAL;
    S_BlockTransfer opticalEnd = optical;
    opticalEnd.ullLba = 0xFFFFFFF0;
    opticalEnd.ulCount = 16;
    S_BlockTransfer opticalPast = opticalEnd;
    opticalPast.ulCount = 17;
    S_BlockTransfer opticalLong = optical;
    opticalLong.ulCount = 0x10000;
    S_BlockTransfer win9x = Disk(100, 8, 63);
    win9x.bWin9x = true;
    S_BlockTransfer win9xWrap = Disk(0xFFFFFFF0, 8, 63);
    win9xWrap.bWin9x = true;
    const std::vector<Case> cases = {
        {"disk", Disk(0, 1), BLOCK_ROUTE_HANDLE},
        {"disk, huge count", Disk(1ull << 40, 0xFFFFFFFF), BLOCK_ROUTE_HANDLE},
        {"tape", tape, BLOCK_ROUTE_TAPE},
        {"tape beyond 24 bits", hugeTape, BLOCK_ROUTE_REFUSED},
        {"optical", optical, BLOCK_ROUTE_CDB10},
        {"optical to the last LBA", opticalEnd, BLOCK_ROUTE_CDB10},
        {"optical past the last LBA", opticalPast, BLOCK_ROUTE_REFUSED},
        {"optical count beyond 16 bits", opticalLong, BLOCK_ROUTE_REFUSED},
        {"windows 9x", win9x, BLOCK_ROUTE_CDB10},
        {"windows 9x, partition start wraps", win9xWrap, BLOCK_ROUTE_REFUSED},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        EXPECT_EQ(ChooseReadRoute(c.t), c.route);
    }
}

TEST(BlockRouteTest, WritesUsePassThroughOnlyWhenTheCommandCanAddressThem)
{
    struct Case {
        const char* pszName;
        S_BlockTransfer t;
        E_BlockRoute route;
    };
    S_BlockTransfer optical = Disk(1ull << 33, 1);
    optical.ulMediaClass = RUDVANE_MEDIA_OPTICAL;
    // WRITE(10) addresses the whole disk: a volume whose start is unknown
    // would have its block 0 land on the disk's block 0.
    S_BlockTransfer placeUnknown = Disk(0, 1);
    placeUnknown.bDiskAddressKnown = false;
    S_BlockTransfer opticalPlaceUnknown = Disk(100, 1);
    opticalPlaceUnknown.ulMediaClass = RUDVANE_MEDIA_OPTICAL;
    opticalPlaceUnknown.bDiskAddressKnown = false;
    const std::vector<Case> cases = {
        {"volume whose place is unknown", placeUnknown, BLOCK_ROUTE_HANDLE},
        {"optical media have no other way", opticalPlaceUnknown, BLOCK_ROUTE_CDB10},
        {"small at a low LBA", Disk(100, 8), BLOCK_ROUTE_CDB10},
        {"count equals max blocks", Disk(100, 256), BLOCK_ROUTE_CDB10},
        {"count above max blocks", Disk(100, 257), BLOCK_ROUTE_HANDLE},
        {"last block below 0xFFFFFFFF", Disk(0xFFFFFFF0, 14), BLOCK_ROUTE_CDB10},
        {"last block reaches 0xFFFFFFFF", Disk(0xFFFFFFF0, 15), BLOCK_ROUTE_HANDLE},
        {"LBA at 2^32", Disk(0x100000000, 1), BLOCK_ROUTE_HANDLE},
        {"64-bit LBA", Disk(0xFFFFFFFFFFFFFF00, 1), BLOCK_ROUTE_HANDLE},
        {"volume near the 32-bit end", Disk(100, 8, 0xFFFFFF00), BLOCK_ROUTE_CDB10},
        // lba + count is small, but the disk address passes 2^32: WRITE(10)
        // would wrap to the disk's first blocks.
        {"volume past the 32-bit end", Disk(100, 8, 0xFFFFFFA0), BLOCK_ROUTE_HANDLE},
        {"volume start overflows", Disk(100, 8, UINT64_MAX - 50), BLOCK_ROUTE_HANDLE},
        {"disk address plus count wraps 64 bits", Disk(0xFFFFFFF0, 16, 0xFFFFFFFF00000000),
         BLOCK_ROUTE_HANDLE},
        {"max blocks beyond 16 bits", Disk(0, 0x10000, 0, 0x20000), BLOCK_ROUTE_HANDLE},
        {"optical past 32 bits", optical, BLOCK_ROUTE_REFUSED},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        EXPECT_EQ(ChooseWriteRoute(c.t), c.route);
    }
}

TEST(BlockRouteTest, DiskCleanOnlyForBlockZeroOfAWholeDevice)
{
    EXPECT_TRUE(NeedsDiskClean(Disk(0, 1)));
    EXPECT_FALSE(NeedsDiskClean(Disk(0, 1, 2048)));
    EXPECT_FALSE(NeedsDiskClean(Disk(1, 1)));
    S_BlockTransfer tape = Disk(0, 1);
    tape.ulMediaClass = RUDVANE_MEDIA_TAPE;
    EXPECT_FALSE(NeedsDiskClean(tape));
}

TEST(BlockRouteTest, ByteCountsAndOffsetsRefuseOverflow)
{
    uint32_t ulBytes = 0;
    EXPECT_TRUE(TransferBytes(8388607, 512, ulBytes));
    EXPECT_EQ(ulBytes, 0xFFFFFE00u);
    EXPECT_FALSE(TransferBytes(8388608, 512, ulBytes));   // exactly 4 GiB
    EXPECT_FALSE(TransferBytes(0xFFFFFFFF, 2352, ulBytes));
    EXPECT_TRUE(TransferBytes(0, 0, ulBytes));
    EXPECT_EQ(ulBytes, 0u);

    uint64_t ullOffset = 0;
    EXPECT_TRUE(BlockOffset(0x100000001ull, 512, ullOffset));
    EXPECT_EQ(ullOffset, 0x20000000200ull);
    EXPECT_TRUE(BlockOffset(INT64_MAX / 4096, 4096, ullOffset));
    EXPECT_FALSE(BlockOffset(INT64_MAX / 4096 + 1, 4096, ullOffset));
    EXPECT_FALSE(BlockOffset(UINT64_MAX, 512, ullOffset));
}

TEST(PassThroughTest, TimeoutByOpcodeInBothForms)
{
    struct Case {
        uint8_t bOpcode;
        uint32_t ulDirect;
        uint32_t ulBuffered;
    };
    for (const Case& c : std::vector<Case>{{0x1B, 10, 10}, {0xBE, 30, 30}, {0xE0, 1, 5},
                                           {0xD0, 1, 5}, {0x3C, 1, 5}, {0x28, 5, 5},
                                           {0x12, 5, 5}, {0x00, 5, 5}, {0xFF, 5, 5}}) {
        SCOPED_TRACE(c.bOpcode);
        EXPECT_EQ(ChooseScsiTimeout(-1, c.bOpcode, true), c.ulDirect);
        EXPECT_EQ(ChooseScsiTimeout(-1, c.bOpcode, false), c.ulBuffered);
        EXPECT_EQ(ChooseScsiTimeout(60, c.bOpcode, true), 60u);
        EXPECT_EQ(ChooseScsiTimeout(0, c.bOpcode, false), 0u);
    }
    EXPECT_EQ(ChooseAtaVendorTimeout(-1), 2u);
    EXPECT_EQ(ChooseAtaVendorTimeout(7), 7u);
}

TEST(PassThroughTest, BufferedFormForTinyAndSmall1394Transfers)
{
    struct Case {
        uint32_t ulLength;
        uint32_t ulBus;
        bool bBuffered;
    };
    for (const Case& c : std::vector<Case>{{0, RUDVANE_BUS_OTHER, false},
                                           {1, RUDVANE_BUS_OTHER, true},
                                           {3, RUDVANE_BUS_USB, true},
                                           {4, RUDVANE_BUS_USB, false},
                                           {0, RUDVANE_BUS_1394, false},
                                           {2048, RUDVANE_BUS_1394, true},
                                           {2049, RUDVANE_BUS_1394, false},
                                           {36, RUDVANE_BUS_1394 | RUDVANE_BUS_OTHER, true}}) {
        SCOPED_TRACE(std::to_string(c.ulLength) + " bus " + std::to_string(c.ulBus));
        EXPECT_EQ(UseBufferedPassThrough(c.ulLength, c.ulBus), c.bBuffered);
    }
}

} // namespace
