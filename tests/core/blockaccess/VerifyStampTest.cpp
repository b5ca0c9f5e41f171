#include "blockaccess/core/VerifyStamp.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

const S_VerifyKey kKey = {0x0123456789ABCDEFull, 0xFEDCBA9876543210ull};

TEST(VerifyStamp, ABlockTellsItsAddressAndRun)
{
    for (const uint32_t ulBlockSize : {64u, 512u, 520u, 2048u, 4096u}) {
        SCOPED_TRACE(ulBlockSize);
        std::vector<uint8_t> vBlock(ulBlockSize);
        const uint64_t ullAddress = 0x1234567890ull;
        WriteVerifyStamp(vBlock.data(), ulBlockSize, ullAddress, kKey);

        S_StampCheck check = CheckVerifyStamp(vBlock.data(), ulBlockSize, ullAddress, kKey);
        EXPECT_EQ(check.eResult, E_StampCheck::Good);
        // Read back from another address: the block names where it was written.
        check = CheckVerifyStamp(vBlock.data(), ulBlockSize, 7, kKey);
        EXPECT_EQ(check.eResult, E_StampCheck::WrongAddress);
        EXPECT_EQ(check.ullNamedAddress, ullAddress);
        // Another run's key, in either half.
        for (const S_VerifyKey& other : {S_VerifyKey{kKey.ullFirst ^ 1, kKey.ullSecond},
                                         S_VerifyKey{kKey.ullFirst, kKey.ullSecond ^ (1ull << 63)}}) {
            check = CheckVerifyStamp(vBlock.data(), ulBlockSize, ullAddress, other);
            EXPECT_EQ(check.eResult, E_StampCheck::StaleKey);
            EXPECT_EQ(check.ullNamedAddress, ullAddress);
        }
        // Any bit changed anywhere, the checksum included, is corruption.
        for (uint32_t i = 0; i < ulBlockSize; ++i) {
            const uint8_t bBit = static_cast<uint8_t>(1u << (i % 8));
            vBlock[i] ^= bBit;
            if (CheckVerifyStamp(vBlock.data(), ulBlockSize, ullAddress, kKey).eResult != E_StampCheck::Corrupt)
                ADD_FAILURE() << "byte " << i << " changed unnoticed";
            vBlock[i] ^= bBit;
        }
        // A block of another size is not the same stamp.
        if (ulBlockSize > 64) {
            EXPECT_EQ(CheckVerifyStamp(vBlock.data(), ulBlockSize - 8, ullAddress, kKey).eResult,
                      E_StampCheck::Corrupt);
        }
    }
}

TEST(VerifyStamp, NoTwoBlocksAlikeAndEmptyOrSmallBlocksAreCorrupt)
{
    std::vector<uint8_t> vFirst(512), vSecond(512);
    WriteVerifyStamp(vFirst.data(), 512, 100, kKey);
    WriteVerifyStamp(vSecond.data(), 512, 101, kKey);
    size_t nSame = 0;
    for (size_t i = 32; i < 504; ++i)
        nSame += vFirst[i] == vSecond[i];
    EXPECT_LT(nSame, 20u);   // about 472 / 256 by chance

    std::vector<uint8_t> vBlocks(4 * 512);
    WriteVerifyStamps(vBlocks.data(), 512, 100, 4, kKey);
    EXPECT_TRUE(std::equal(vFirst.begin(), vFirst.end(), vBlocks.begin()));
    EXPECT_EQ(CheckVerifyStamp(vBlocks.data() + 3 * 512, 512, 103, kKey).eResult, E_StampCheck::Good);

    const std::vector<uint8_t> vZeros(512, 0);
    EXPECT_EQ(CheckVerifyStamp(vZeros.data(), 512, 0, S_VerifyKey()).eResult, E_StampCheck::Corrupt);
    std::vector<uint8_t> vSmall(63, 0xAA);
    WriteVerifyStamp(vSmall.data(), 63, 5, kKey);   // too small: left alone
    EXPECT_EQ(vSmall, std::vector<uint8_t>(63, 0xAA));
    EXPECT_EQ(CheckVerifyStamp(vFirst.data(), 63, 100, kKey).eResult, E_StampCheck::Corrupt);
}

} // namespace
