#include "blockaccess/core/UdmaCrc.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

// The CRC as ATA defines it, bit by bit: the words' bits enter least
// significant first into a left-shifting register.
uint16_t BitwiseUdmaCrc(const uint8_t* p, size_t nBytes)
{
    uint16_t wRegister = 0x4ABA;
    for (size_t i = 0; i + 1 < nBytes; i += 2) {
        const unsigned uWord = p[i] | (p[i + 1] << 8);
        for (int nBit = 0; nBit < 16; ++nBit) {
            const bool bFeedback = ((uWord >> nBit) ^ (wRegister >> 15)) & 1;
            wRegister = static_cast<uint16_t>(wRegister << 1);
            if (bFeedback)
                wRegister ^= 0x1021;
        }
    }
    return wRegister;
}

const E_UdmaCrcForm kForms[] = {E_UdmaCrcForm::Table, E_UdmaCrcForm::Clmul128, E_UdmaCrcForm::Clmul256};

TEST(UdmaCrc, Examples)
{
    for (const E_UdmaCrcForm form : kForms) {
        SCOPED_TRACE(UdmaCrcFormName(form));
        EXPECT_EQ(UdmaCrcInForm(form, nullptr, 0), 0x4ABA);
        EXPECT_EQ(UdmaCrcInForm(form, "a", 1), 0x4ABA);
        EXPECT_EQ(UdmaCrcInForm(form, "abcd", 4), 0x92F3);
        EXPECT_EQ(UdmaCrcInForm(form, "abc", 3), 0x7DAA);
    }
    EXPECT_EQ(UdmaCrc("abcd", 4), 0x92F3);
    EXPECT_EQ(UdmaCrcText(0x92F3), "0x92F3");
    EXPECT_EQ(UdmaCrcText(0x000A), "0x000A");
}

TEST(UdmaCrc, EveryFormAgreesWithTheBitwiseDefinition)
{
    // Lengths around the block sizes of the folding forms, every alignment
    // of the start, an odd last byte, and buffers of zeros and of ones.
    std::vector<uint8_t> vData(70000);
    uint32_t ulState = 12345;
    for (uint8_t& b : vData) {
        ulState = ulState * 1103515245u + 12345u;
        b = static_cast<uint8_t>(ulState >> 23);
    }
    std::vector<size_t> vLengths;
    for (size_t n = 0; n <= 640; ++n)
        vLengths.push_back(n);
    for (const size_t n : {4095, 4096, 4097, 65535, 65536, 65537, 69983})
        vLengths.push_back(n);
    for (const E_UdmaCrcForm form : kForms) {
        SCOPED_TRACE(UdmaCrcFormName(form));
        if (!UdmaCrcFormSupported(form))
            std::printf("[ note ] %s: not on this processor, computed in the table form\n", UdmaCrcFormName(form));
        for (size_t nOffset = 0; nOffset < 8; ++nOffset)
            for (const size_t nLength : vLengths) {
                const uint8_t* p = vData.data() + nOffset;
                ASSERT_EQ(UdmaCrcInForm(form, p, nLength), BitwiseUdmaCrc(p, nLength))
                    << "offset " << nOffset << " length " << nLength;
            }
        for (const uint8_t bFill : {0x00, 0xFF}) {
            const std::vector<uint8_t> vFlat(65536, bFill);
            EXPECT_EQ(UdmaCrcInForm(form, vFlat.data(), vFlat.size()), BitwiseUdmaCrc(vFlat.data(), vFlat.size()));
        }
    }
    EXPECT_EQ(UdmaCrc(vData.data(), vData.size()), BitwiseUdmaCrc(vData.data(), vData.size()));
    EXPECT_TRUE(UdmaCrcFormSupported(UdmaCrcBestForm()));
}

} // namespace
