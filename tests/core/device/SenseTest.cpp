#include "device/core/RudvaneTypes.h"
#include "device/core/ScsiSense.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<uint8_t> Fixed(uint8_t bKey, uint8_t bAsc, uint8_t bAscq)
{
    std::vector<uint8_t> v(18, 0);
    v[0] = 0x70;
    v[2] = bKey;
    v[7] = 10;
    v[12] = bAsc;
    v[13] = bAscq;
    return v;
}

TEST(SenseTest, ParsesBothFormatsAndRefusesShortOrUnknownData)
{
    struct Case {
        const char* pszName;
        std::vector<uint8_t> sense;
        bool bValid;
        uint8_t bKey, bAsc, bAscq;
    };
    const std::vector<Case> cases = {
        {"fixed", Fixed(3, 0x11, 0x00), true, 3, 0x11, 0},
        {"fixed deferred, filemark bits", {0xF1, 0, 0xE5, 0, 0, 0, 0, 10, 0, 0, 0, 0, 0x0C, 0x02},
         true, 5, 0x0C, 2},
        {"fixed without additional codes", {0x70, 0, 0x02}, true, 2, 0, 0},
        {"descriptor", {0x72, 0x06, 0x28, 0x00, 0, 0, 0, 0}, true, 6, 0x28, 0},
        {"descriptor, header only", {0x73, 0x01, 0x00, 0x1D}, true, 1, 0, 0x1D},
        {"fixed, too short", {0x70, 0}, false, 0, 0, 0},
        {"descriptor, too short", {0x72, 0x05, 0x20}, false, 0, 0, 0},
        {"unknown response code", {0x7F, 0, 5, 0, 0, 0, 0, 10, 0, 0, 0, 0, 0x20, 0}, false, 0, 0, 0},
        {"all zeros", std::vector<uint8_t>(24, 0), false, 0, 0, 0},
        {"empty", {}, false, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        const S_SenseInfo info = ParseSense(c.sense.data(), c.sense.size());
        EXPECT_EQ(info.bValid, c.bValid);
        if (c.bValid) {
            EXPECT_EQ(info.bKey, c.bKey);
            EXPECT_EQ(info.bAsc, c.bAsc);
            EXPECT_EQ(info.bAscq, c.bAscq);
        }
    }
}

TEST(SenseTest, FailuresBecomeWin32ErrorsCallersActOn)
{
    struct Case {
        const char* pszName;
        uint8_t bStatus;
        std::vector<uint8_t> sense;
        uint32_t ulError;
    };
    const std::vector<Case> cases = {
        {"unrecovered read error", 2, Fixed(3, 0x11, 0), rudvane_error::kCrc},
        {"no medium", 2, Fixed(2, 0x3A, 0), rudvane_error::kNotReady},
        {"lba out of range", 2, Fixed(5, 0x21, 0), rudvane_error::kSectorNotFound},
        {"invalid opcode", 2, Fixed(5, 0x20, 0), rudvane_error::kInvalidFunction},
        {"medium changed", 2, Fixed(6, 0x28, 0), rudvane_error::kMediaChanged},
        {"write protected", 2, Fixed(7, 0x27, 0), rudvane_error::kWriteProtect},
        {"hardware error", 2, Fixed(4, 0x44, 0), rudvane_error::kIoDevice},
        {"no sense data", 2, {}, rudvane_error::kIoDevice},
        {"busy", 8, {}, rudvane_error::kBusy},
        {"reservation conflict", 0x18, Fixed(5, 0x20, 0), rudvane_error::kBusy},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        const S_SenseInfo info = ParseSense(c.sense.data(), c.sense.size());
        EXPECT_EQ(ScsiFailureToWin32Error(c.bStatus, info), c.ulError);
    }
}

TEST(SenseTest, AtaRegistersComeBackInEitherFormat)
{
    std::vector<uint8_t> descriptor(24, 0);
    descriptor[0] = 0x72;
    descriptor[1] = 0x01;
    descriptor[3] = 0x1D;
    descriptor[7] = 14;
    const uint8_t ata[14] = {0x09, 0x0C, 0, 0x00, 0, 0x01, 0, 0x01, 0, 0x4F, 0, 0xC2, 0xA0, 0x50};
    std::copy(ata, ata + 14, descriptor.begin() + 8);
    S_AtaTaskFile regs;
    ASSERT_TRUE(ParseAtaStatusReturn(descriptor.data(), descriptor.size(), regs));
    EXPECT_EQ(regs.bLbaMid, 0x4F);
    EXPECT_EQ(regs.bLbaHigh, 0xC2);
    EXPECT_EQ(regs.bCommand, 0x50);
    EXPECT_EQ(regs.bDevice, 0xA0);
    EXPECT_TRUE(IsSmartStatusGood(regs));

    // Another descriptor first, then the ATA one.
    std::vector<uint8_t> two(32, 0);
    two[0] = 0x72;
    two[7] = 4 + 14;
    two[8] = 0x00;   // information descriptor, 2 more bytes
    two[9] = 0x02;
    std::copy(ata, ata + 14, two.begin() + 12);
    two[12 + 9] = 0xF4;
    two[12 + 11] = 0x2C;
    ASSERT_TRUE(ParseAtaStatusReturn(two.data(), two.size(), regs));
    EXPECT_FALSE(IsSmartStatusGood(regs));

    std::vector<uint8_t> fixed = Fixed(1, 0x00, 0x1D);
    fixed[3] = 0x04;   // error
    fixed[4] = 0x51;   // status
    fixed[10] = 0x4F;
    fixed[11] = 0xC2;
    ASSERT_TRUE(ParseAtaStatusReturn(fixed.data(), fixed.size(), regs));
    EXPECT_EQ(regs.bFeatures, 0x04);
    EXPECT_EQ(regs.bCommand, 0x51);
    EXPECT_TRUE(IsSmartStatusGood(regs));

    // Truncated descriptor, wrong ASC, descriptor length beyond the data.
    std::vector<uint8_t> cut(descriptor.begin(), descriptor.begin() + 20);
    EXPECT_FALSE(ParseAtaStatusReturn(cut.data(), cut.size(), regs));
    EXPECT_FALSE(ParseAtaStatusReturn(Fixed(1, 0x00, 0x00).data(), 18, regs));
    std::vector<uint8_t> lying = descriptor;
    lying[9] = 0xF0;
    EXPECT_FALSE(ParseAtaStatusReturn(lying.data(), lying.size(), regs));
}

} // namespace
