#include "device/core/ByteOrder.h"
#include "device/core/Capacity.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

std::vector<uint8_t> Rc10(uint32_t ulLast, uint32_t ulLength)
{
    std::vector<uint8_t> v(8);
    PutBe32(&v[0], ulLast);
    PutBe32(&v[4], ulLength);
    return v;
}

std::vector<uint8_t> Rc16(uint64_t ullLast, uint32_t ulLength)
{
    std::vector<uint8_t> v(32);
    PutBe32(&v[0], static_cast<uint32_t>(ullLast >> 32));
    PutBe32(&v[4], static_cast<uint32_t>(ullLast));
    PutBe32(&v[8], ulLength);
    return v;
}

TEST(CapacityTest, ReadCapacity10CountsWithoutWrapAndDefaultsBlockLength)
{
    struct Case {
        uint32_t ulLast;
        uint32_t ulLength;
        uint64_t ullCount;
        uint32_t ulBlockSize;
        bool bNeeds16;
    };
    for (const Case& c : std::vector<Case>{{0, 512, 1, 512, false},
                                           {2047, 2048, 2048, 2048, false},
                                           {0xFFFFFFFC, 512, 0xFFFFFFFD, 512, false},
                                           {0xFFFFFFFD, 512, 0xFFFFFFFE, 512, true},
                                           {0xFFFFFFFE, 4096, 0xFFFFFFFF, 4096, true},
                                           {0xFFFFFFFF, 512, 0x100000000, 512, true},
                                           {1000, 0, 1001, 512, false}}) {
        SCOPED_TRACE(c.ulLast);
        const auto v = Rc10(c.ulLast, c.ulLength);
        S_Capacity cap;
        ASSERT_TRUE(ParseReadCapacity10(v.data(), v.size(), cap));
        EXPECT_EQ(cap.ullBlockCount, c.ullCount);
        EXPECT_EQ(cap.ulBlockSize, c.ulBlockSize);
        EXPECT_EQ(NeedsReadCapacity16(cap), c.bNeeds16);
    }
}

TEST(CapacityTest, ShortAnswersLeaveTheOutputAlone)
{
    S_Capacity cap;
    cap.ullBlockCount = 7;
    cap.ulBlockSize = 9;
    const auto v10 = Rc10(100, 512);
    EXPECT_FALSE(ParseReadCapacity10(v10.data(), 7, cap));
    EXPECT_FALSE(ParseReadCapacity10(nullptr, 8, cap));
    const auto v16 = Rc16(100, 512);
    EXPECT_FALSE(ParseReadCapacity16(v16.data(), 11, cap));
    EXPECT_EQ(cap.ullBlockCount, 7u);
    EXPECT_EQ(cap.ulBlockSize, 9u);
}

TEST(CapacityTest, ReadCapacity16GivesSixtyFourBitCounts)
{
    struct Case {
        uint64_t ullLast;
        uint32_t ulLength;
        uint64_t ullCount;
        uint32_t ulBlockSize;
    };
    for (const Case& c : std::vector<Case>{{0xFFFFFFFF, 512, 0x100000000, 512},
                                           {0x3A3812AB0, 4096, 0x3A3812AB1, 4096},
                                           {5, 0, 6, 512},
                                           {UINT64_MAX, 512, 0, 512}}) {
        SCOPED_TRACE(c.ullLast);
        const auto v = Rc16(c.ullLast, c.ulLength);
        S_Capacity cap;
        ASSERT_TRUE(ParseReadCapacity16(v.data(), 12, cap));
        EXPECT_EQ(cap.ullBlockCount, c.ullCount);
        EXPECT_EQ(cap.ulBlockSize, c.ulBlockSize);
    }
}

TEST(CapacityTest, RulesSetFirstBlockAndReplaceTheBogusCount)
{
    struct Case {
        uint64_t ullCount;
        uint32_t ulBlockSize;
        uint64_t ullFirstIn;
        uint64_t ullCountOut;
        uint64_t ullFirstOut;
    };
    for (const Case& c : std::vector<Case>{{1000000, 512, 0, 1000000, 0},
                                           {1000000, 512, 63, 1000000, 63},
                                           {332800, 2048, 0, 332800, 16},
                                           {1000000, 4096, 0, 1000000, 16},
                                           {0x7FFFFFFF, 512, 0, 1000, 0},
                                           {0x7FFFFFFE, 512, 0, 0x7FFFFFFE, 0},
                                           {0x7FFFFFFF, 2048, 5, 1000, 16}}) {
        SCOPED_TRACE(c.ullCount);
        S_Capacity cap{c.ullCount, c.ulBlockSize};
        uint64_t ullFirst = c.ullFirstIn;
        ApplyCapacityRules(cap, ullFirst);
        EXPECT_EQ(cap.ullBlockCount, c.ullCountOut);
        EXPECT_EQ(ullFirst, c.ullFirstOut);
    }
}

TEST(CapacityTest, PartitionInfoDividesOnlyKnownValues)
{
    struct Case {
        const char* pszName;
        int64_t llStart;
        int64_t llLength;
        uint32_t ulBlockSize;
        bool bTaken;
        uint64_t ullCount;
        uint64_t ullStart;
    };
    for (const Case& c : std::vector<Case>{
             {"plain", 1048576, 1048576LL * 1000, 512, true, 2048000, 2048},
             {"4k blocks", 1048576, 4096LL * 10 + 100, 4096, true, 10, 256},
             {"length unknown", 1048576, 0x7FFFFFFF, 512, false, 0, 0},
             {"block size unknown", 1048576, 1048576, 0, false, 0, 0},
             {"negative start", -512, 1048576, 512, false, 0, 0},
             {"negative length", 0, -1, 512, false, 0, 0},
             {"start between blocks", 1048576 + 256, 1048576, 512, false, 0, 0},
             {"beyond 2 TiB", 0x30000000000LL, 0x10000000000LL, 512, true, 0x80000000,
              0x180000000}}) {
        SCOPED_TRACE(c.pszName);
        uint64_t ullCount = 0, ullStart = 0;
        EXPECT_EQ(ApplyPartitionInfo(c.llStart, c.llLength, c.ulBlockSize, ullCount, ullStart),
                  c.bTaken);
        EXPECT_EQ(ullCount, c.ullCount);
        EXPECT_EQ(ullStart, c.ullStart);
    }
}

} // namespace
