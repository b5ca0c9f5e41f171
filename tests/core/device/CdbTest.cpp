#include "device/core/ChipProtocol.h"
#include "device/core/RudvaneTypes.h"
#include "device/core/ScsiCdb.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

template <size_t N>
std::vector<uint8_t> Bytes(const std::array<uint8_t, N>& a)
{
    return std::vector<uint8_t>(a.begin(), a.end());
}

TEST(CdbTest, TransfersCarryBigEndianLbaAndCount)
{
    struct Case {
        const char* pszName;
        std::vector<uint8_t> cdb;
        std::vector<uint8_t> expected;
    };
    const std::vector<Case> cases = {
        {"read at 0", Bytes(BuildRead10(0, 1)),
         {0x28, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0}},
        {"read at the last 32-bit LBA", Bytes(BuildRead10(0xFFFFFFFF, 0xFFFF)),
         {0x28, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0xFF, 0xFF, 0, 0, 0}},
        {"write", Bytes(BuildWrite10(0x12345678, 0x9ABC)),
         {0x2A, 0, 0x12, 0x34, 0x56, 0x78, 0, 0x9A, 0xBC, 0, 0, 0}},
        {"read capacity 10", Bytes(BuildReadCapacity10()), {0x25, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"read capacity 16", Bytes(BuildReadCapacity16()),
         {0x9E, 0x10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 12, 0, 0}},
        {"read cd", Bytes(BuildReadCd(0x00ABCDEF, 0x123456)),
         {0xBE, 0, 0x00, 0xAB, 0xCD, 0xEF, 0x12, 0x34, 0x56, 0xF8, 0, 0}},
        {"inquiry", Bytes(BuildInquiry()), {0x12, 0, 0, 0, 36, 0}},
        {"rewind", Bytes(BuildRewind()), {0x01, 0, 0, 0, 0, 0}},
        {"tape read", Bytes(BuildRead6Fixed(0xFFFFFF)), {0x08, 1, 0xFF, 0xFF, 0xFF, 0}},
        {"tape write", Bytes(BuildWrite6Fixed(0x000102)), {0x0A, 1, 0x00, 0x01, 0x02, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        EXPECT_EQ(c.cdb, c.expected);
    }
}

// SMART READ DATA's registers, each of them different.
S_AtaTaskFile SmartRegisters()
{
    S_AtaTaskFile regs;
    regs.bFeatures = 0xD0;
    regs.bSectorCount = 1;
    regs.bLbaLow = 2;
    regs.bLbaMid = 0x4F;
    regs.bLbaHigh = 0xC2;
    regs.bDevice = 0xA0;
    regs.bCommand = 0xB0;
    return regs;
}

TEST(CdbTest, AtaPassThroughSetsProtocolDirectionAndRegisters)
{
    const S_AtaTaskFile regs = SmartRegisters();
    struct Case {
        int nDirection;
        bool bCheck;
        uint8_t bByte1;
        uint8_t bByte2;
    };
    for (const Case& c : std::vector<Case>{{0, false, 0x08, 0x0E},
                                           {1, false, 0x0A, 0x06},
                                           {2, false, 0x06, 0x00},
                                           {2, true, 0x06, 0x20},
                                           {0, true, 0x08, 0x2E}}) {
        SCOPED_TRACE(std::to_string(c.nDirection) + (c.bCheck ? " check" : ""));
        const auto cdb = BuildAtaPassThrough12(regs, c.nDirection, c.bCheck);
        EXPECT_EQ(Bytes(cdb), (std::vector<uint8_t>{0xA1, c.bByte1, c.bByte2, 0xD0, 1, 2, 0x4F,
                                                    0xC2, 0xA0, 0xB0, 0, 0}));
    }
    const auto vendor = BuildAtaVendorCdb(regs, 2);
    EXPECT_EQ(Bytes(vendor), (std::vector<uint8_t>{0xCC, 2, 0xD0, 1, 2, 0x4F, 0xC2, 0xA0, 0xB0, 0}));
}

TEST(CdbTest, ChipAtaFormsCarryTheRegistersWhereTheChipWantsThem)
{
    struct Case {
        const char* pszName;
        E_ChipAtaForm form;
        int nDirection;
        std::vector<uint8_t> expected;  // empty: no command block
    };
    const std::vector<Case> cases = {
        {"SAT16", CHIP_ATA_SAT16, RUDVANE_ATA_READ,
         {0x85, 0x08, 0x0E, 0, 0xD0, 0, 1, 0, 2, 0, 0x4F, 0, 0xC2, 0xA0, 0xB0, 0}},
        {"JMicron", CHIP_ATA_JMICRON, RUDVANE_ATA_NO_DATA,
         {0xDF, 0x20, 0, 0, 0, 0xD0, 1, 2, 0x4F, 0xC2, 0xA0, 0xB0}},
        {"JMicron read", CHIP_ATA_JMICRON, RUDVANE_ATA_READ,
         {0xDF, 0x10, 0, 0x02, 0x00, 0xD0, 1, 2, 0x4F, 0xC2, 0xA0, 0xB0}},
        {"Freecom write", CHIP_ATA_FREECOM, RUDVANE_ATA_WRITE,
         {0xFB, 0x21, 1, 0, 0, 0, 0, 0xD0, 1, 2, 0x4F, 0xC2, 0xA0, 0xB0, 0x02, 0x00}},
        {"none", CHIP_ATA_NONE, RUDVANE_ATA_READ, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        std::array<uint8_t, 16> cdb;
        uint32_t ulLength = 0;
        ASSERT_EQ(BuildChipAtaCdb(c.form, SmartRegisters(), c.nDirection, false, cdb, ulLength),
                  !c.expected.empty());
        EXPECT_EQ(std::vector<uint8_t>(cdb.begin(), cdb.begin() + ulLength), c.expected);
    }
}

} // namespace
