// INQUIRY data, the storage device descriptor and IDENTIFY DEVICE data,
// with fixtures laid out as the standards and the system's headers give them.
#include "device/core/AtaIdentify.h"
#include "device/core/ByteOrder.h"
#include "device/core/Inquiry.h"
#include "device/core/RudvaneTypes.h"
#include "device/core/StorageDescriptor.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

namespace {

void Put(std::vector<uint8_t>& v, size_t nAt, const std::string& strText)
{
    if (v.size() < nAt + strText.size() + 1)
        v.resize(nAt + strText.size() + 1, 0);
    std::memcpy(v.data() + nAt, strText.data(), strText.size());
}

std::array<uint8_t, 36> Inquiry(const char* pszVendor8, const char* pszProduct16, const char* pszRevision4)
{
    std::array<uint8_t, 36> data{};
    data[0] = 0x05;
    std::memcpy(&data[8], pszVendor8, 8);
    std::memcpy(&data[16], pszProduct16, 16);
    std::memcpy(&data[32], pszRevision4, 4);
    return data;
}

TEST(InquiryTextsTest, FieldsAreCutAtZerosAndTrailingBlanks)
{
    const auto data = Inquiry("ACME    ", "Stick  2  \0\0\0\0\0\0", "1.0 ");
    S_IdentityTexts texts;
    uint8_t bType = 0xFF;
    ASSERT_TRUE(ParseInquiryTexts(data.data(), data.size(), texts, &bType));
    EXPECT_EQ(texts.strVendor, "ACME");
    EXPECT_EQ(texts.strProduct, "Stick  2");
    EXPECT_EQ(texts.strRevision, "1.0");
    EXPECT_EQ(bType, 5);

    // A short answer gives what it reaches; less than the header is no answer.
    ASSERT_TRUE(ParseInquiryTexts(data.data(), 20, texts));
    EXPECT_EQ(texts.strVendor, "ACME");
    EXPECT_EQ(texts.strProduct, "Stic");
    EXPECT_EQ(texts.strRevision, "");
    EXPECT_FALSE(ParseInquiryTexts(data.data(), 7, texts));
}

// A descriptor as IOCTL_STORAGE_QUERY_PROPERTY returns it.
std::vector<uint8_t> Descriptor(uint32_t ulBusType, const std::string& strSerial,
                                const std::array<uint8_t, 36>* pRaw = nullptr)
{
    std::vector<uint8_t> v(40, 0);
    PutLe32(v.data(), 40);
    v[8] = 0;  // disk
    PutLe32(v.data() + 28, ulBusType);
    size_t nAt = 40;
    if (pRaw != nullptr) {
        PutLe32(v.data() + 32, 36);
        v.resize(36 + 36, 0);
        std::memcpy(v.data() + 36, pRaw->data(), 36);
        nAt = 72;
    }
    PutLe32(v.data() + 12, static_cast<uint32_t>(nAt));
    Put(v, nAt, "DescVend");
    PutLe32(v.data() + 16, static_cast<uint32_t>(nAt + 9));
    Put(v, nAt + 9, "DescProduct   ");
    PutLe32(v.data() + 24, static_cast<uint32_t>(nAt + 24));
    Put(v, nAt + 24, strSerial);
    PutLe32(v.data() + 4, static_cast<uint32_t>(v.size()));
    PutLe32(v.data(), 40);
    return v;
}

TEST(StorageDescriptorTest, SerialsSpeltAsSwappedHexPairsAreDecoded)
{
    struct Case {
        const char* pszRaw;
        bool bTaken;
        const char* pszSerial;
    };
    const std::vector<Case> cases = {
        {"4142434400000000", true, "BADC"},       // zeros end the text
        {"57442D5743", true, "57442D5743"},       // a broken group: the raw text
        {"2020413141323342", true, "  1A2AB3"},
        {"WD-WCC4E1234567", true, "WD-WCC4E1234567"},
        {"1234", true, "1234"},                   // values below 32: raw
        {"41428041", true, "41428041"},           // values above 127: raw
        {"", true, ""},
        {"AB\x01" "C", false, ""},                // a raw text with a control character
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszRaw);
        std::string strSerial = "unchanged";
        EXPECT_EQ(DecodeDescriptorSerial(c.pszRaw, strSerial), c.bTaken);
        EXPECT_EQ(strSerial, c.bTaken ? c.pszSerial : "unchanged");
    }
}

TEST(StorageDescriptorTest, TextsComeFromOffsetsOrFromRawInquiryShiftedOnInternalBuses)
{
    S_StorageDescriptor d;
    const auto plain = Descriptor(7, "313233340000");
    ASSERT_TRUE(ParseStorageDescriptor(plain.data(), plain.size(), RUDVANE_BUS_USB, d));
    EXPECT_EQ(d.ulBusType, 7u);
    EXPECT_EQ(d.texts.strVendor, "DescVend");
    EXPECT_EQ(d.texts.strProduct, "DescProduct");
    EXPECT_EQ(d.texts.strRevision, "");
    EXPECT_EQ(d.texts.strSerial, "2143");

    // 36 bytes of raw INQUIRY data replace vendor and product; the revision
    // only fills an empty one.
    const auto raw = Inquiry("RAWVEND ", "RAW PRODUCT     ", "R1.0");
    const auto withRaw = Descriptor(7, "", &raw);
    ASSERT_TRUE(ParseStorageDescriptor(withRaw.data(), withRaw.size(), RUDVANE_BUS_USB, d));
    EXPECT_EQ(d.texts.strVendor, "RAWVEND");
    EXPECT_EQ(d.texts.strProduct, "RAW PRODUCT");
    EXPECT_EQ(d.texts.strRevision, "R1.0");

    // On the internal and SCSI buses the fields lie 4 bytes further on; the
    // shifted revision would lie beyond the raw data and is not taken.
    std::array<uint8_t, 36> shifted{};
    std::memcpy(&shifted[12], "SHIFTVEN", 8);
    std::memcpy(&shifted[20], "SHIFTED PRODUCT ", 16);
    const auto withShift = Descriptor(1, "", &shifted);
    for (uint32_t ulBus : {static_cast<uint32_t>(RUDVANE_BUS_OTHER), static_cast<uint32_t>(RUDVANE_BUS_SCSI)}) {
        SCOPED_TRACE(ulBus);
        ASSERT_TRUE(ParseStorageDescriptor(withShift.data(), withShift.size(), ulBus, d));
        EXPECT_EQ(d.texts.strVendor, "SHIFTVEN");
        EXPECT_EQ(d.texts.strProduct, "SHIFTED PRODUCT");
        EXPECT_EQ(d.texts.strRevision, "");
    }
}

TEST(StorageDescriptorTest, ShortOldOrLyingDescriptorsReadNothingOutside)
{
    S_StorageDescriptor d;
    auto v = Descriptor(7, "4142");
    EXPECT_FALSE(ParseStorageDescriptor(v.data(), 39, RUDVANE_BUS_USB, d));
    auto old = v;
    PutLe32(old.data(), 32);  // version below 40
    EXPECT_FALSE(ParseStorageDescriptor(old.data(), old.size(), RUDVANE_BUS_USB, d));
    // Offsets past the bytes returned, and a text that runs to the end
    // without its zero, are read only as far as the answer goes.
    auto lying = v;
    PutLe32(lying.data() + 12, 5000);
    lying.back() = 'Z';
    ASSERT_TRUE(ParseStorageDescriptor(lying.data(), lying.size(), RUDVANE_BUS_USB, d));
    EXPECT_EQ(d.texts.strVendor, "");
    EXPECT_EQ(d.texts.strProduct, "DescProduct");
    EXPECT_EQ(d.texts.strSerial, "4142Z");
    // A size smaller than what came back limits the reading too.
    auto small = v;
    PutLe32(small.data() + 4, 45);
    ASSERT_TRUE(ParseStorageDescriptor(small.data(), small.size(), RUDVANE_BUS_USB, d));
    EXPECT_EQ(d.texts.strVendor, "DescV");
    EXPECT_EQ(d.texts.strProduct, "");
}

TEST(StorageDescriptorTest, BusTypesReplaceTheLowByte)
{
    EXPECT_EQ(BusFlagsFromBusType(7, 0x80000001u), 0x80000002u);
    EXPECT_EQ(BusFlagsFromBusType(1, 0x1u), 0x4u);
    EXPECT_EQ(BusFlagsFromBusType(4, 0x2u), 0x8u);
    EXPECT_EQ(BusFlagsFromBusType(9, 0x1u), 0x20u);
    EXPECT_EQ(BusFlagsFromBusType(11, 0x41u), 0x41u);  // SATA: not a bus bit of ours
}

// IDENTIFY DEVICE data: two characters per word, the first in the high byte.
std::array<uint8_t, 512> Identify(const std::string& strModel, const std::string& strSerial,
                                  const std::string& strFirmware)
{
    std::array<uint8_t, 512> data{};
    auto put = [&data](size_t nWord, const std::string& strText, size_t nChars) {
        for (size_t i = 0; i < nChars; ++i) {
            const uint8_t b = static_cast<uint8_t>(i < strText.size() ? strText[i] : ' ');
            data[nWord * 2 + (i % 2 == 0 ? 1 : 0) + (i / 2) * 2] = b;
        }
    };
    data[0] = 0x40;
    put(10, strSerial, 20);
    put(23, strFirmware, 8);
    put(27, strModel, 40);
    return data;
}

TEST(AtaIdentifyTest, TheModelIsSplitAfterEightCharacters)
{
    struct Case {
        const char *pszModel, *pszVendor, *pszProduct;
    };
    const std::vector<Case> cases = {
        {"WDC WD10EZEX-00BN5A0", "WDC WD10", "EZEX-00BN5A0"},
        {"SAMSUNG  HD103SJ", "SAMSUNG", "HD103SJ"},  // the product loses leading blanks too
        {"SHORT", "SHORT", ""},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszModel);
        S_IdentityTexts texts;
        const auto data = Identify(c.pszModel, "      WD-WCC4E1234567", "01.01A01");
        ASSERT_TRUE(ParseAtaIdentify(data.data(), texts));
        EXPECT_EQ(texts.strVendor, c.pszVendor);
        EXPECT_EQ(texts.strProduct, c.pszProduct);
        EXPECT_EQ(texts.strSerial, "      WD-WCC4E123456");
        EXPECT_EQ(texts.strRevision, "01.01A01");
    }
    // A zero ends a text; an all-zero answer is no answer.
    auto data = Identify("ABCDEFGHIJKL", "S", "F");
    data[27 * 2 + 8 + 1] = 0;  // character 8 of the model
    S_IdentityTexts texts;
    ASSERT_TRUE(ParseAtaIdentify(data.data(), texts));
    EXPECT_EQ(texts.strVendor, "ABCDEFGH");
    EXPECT_EQ(texts.strProduct, "");
    const std::array<uint8_t, 512> zeros{};
    EXPECT_FALSE(ParseAtaIdentify(zeros.data(), texts));
}

} // namespace
