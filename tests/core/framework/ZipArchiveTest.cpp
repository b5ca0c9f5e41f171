// The zip reader on archives built by the tests' zip writer.
#include <gtest/gtest.h>

#include <string>

#include "framework/core/ZipArchive.h"
#include "tests/support/core/ZipBuilder.h"

namespace {

struct S_Opened {
    std::string strBytes;
    C_MemoryZipSource source;
    C_ZipArchive archive;
    bool bOpen;

    explicit S_Opened(std::string strIn)
        : strBytes(std::move(strIn)),
          source(reinterpret_cast<const uint8_t*>(strBytes.data()), strBytes.size()),
          bOpen(archive.Open(source))
    {
    }

    E_ZipResult Unpack(size_t nIndex, std::string& strOut, const ZipPasswordSource* pPassword = nullptr)
    {
        strOut.clear();
        return archive.Extract(archive.Entries().at(nIndex),
                               [&](const uint8_t* p, size_t n) {
                                   strOut.append(reinterpret_cast<const char*>(p), n);
                                   return true;
                               },
                               pPassword);
    }
};

std::string Noise(size_t nSize)
{
    std::string strData(nSize, '\0');
    uint32_t ulState = 12345;
    for (char& c : strData) {
        ulState = ulState * 1103515245u + 12345u;
        c = static_cast<char>(ulState >> 24);
    }
    return strData;
}

C_ZipBuilder::S_Options Options(uint16_t wMethod, bool bDescriptor = false, bool bZip64 = false,
                                const char* pszPassword = "")
{
    C_ZipBuilder::S_Options options;
    options.wMethod = wMethod;
    options.bDescriptor = bDescriptor;
    options.bZip64 = bZip64;
    options.strPassword = pszPassword;
    return options;
}

} // namespace

TEST(ZipArchive, UnpacksStoredDeflatedDescriptorAndZip64Entries)
{
    const std::string strText(300000, 'q');          // compresses well, several output pieces
    const std::string strNoise = Noise(200000);      // does not compress, several input pieces
    C_ZipBuilder builder;
    builder.Add("Quenvale.exe", strNoise, Options(0));
    builder.Add("notes/readme.txt", strText, Options(8));
    builder.Add("later.bin", strNoise, Options(8, true));
    builder.Add("big/zip64.bin", strText, Options(8, false, true));
    builder.Add("empty.txt", "", Options(0));
    builder.Add("emptydeflate.txt", "", Options(8));
    builder.Add("folder/", "", Options(0));
    S_Opened zip(builder.Finish());
    ASSERT_TRUE(zip.bOpen) << zip.archive.GetErrorText();
    ASSERT_EQ(zip.archive.Entries().size(), 7u);

    const std::string astrExpected[] = {strNoise, strText, strNoise, strText, "", "", ""};
    for (size_t i = 0; i < 7; ++i) {
        SCOPED_TRACE(zip.archive.Entries()[i].strName);
        std::string strOut;
        EXPECT_EQ(zip.Unpack(i, strOut), E_ZipResult::Ok) << zip.archive.GetErrorText();
        EXPECT_TRUE(strOut == astrExpected[i]) << strOut.size();
    }
    EXPECT_EQ(zip.archive.Entries()[3].ullSize, strText.size());
    EXPECT_TRUE(zip.archive.Entries()[6].IsDirectory());
    EXPECT_FALSE(zip.archive.Entries()[5].IsDirectory());
}

TEST(ZipArchive, EncryptedEntriesNeedTheRightPasswordWhichIsAskedOnce)
{
    C_ZipBuilder builder;
    builder.Add("secret.txt", "top secret text", Options(8, false, false, "pass"));
    builder.Add("second.txt", Noise(5000), Options(0, true, false, "pass"));
    const std::string strArchive = builder.Finish();

    int nAsked = 0;
    std::string strAskedFor;
    const ZipPasswordSource right = [&](const std::string& strName, std::string& strPassword) {
        ++nAsked;
        strAskedFor = strName;
        strPassword = "pass";
        return true;
    };
    S_Opened zip(strArchive);
    ASSERT_TRUE(zip.bOpen);
    std::string strOut;
    EXPECT_EQ(zip.Unpack(0, strOut, &right), E_ZipResult::Ok) << zip.archive.GetErrorText();
    EXPECT_EQ(strOut, "top secret text");
    EXPECT_EQ(zip.Unpack(1, strOut, &right), E_ZipResult::Ok) << zip.archive.GetErrorText();
    EXPECT_EQ(strOut, Noise(5000));
    EXPECT_EQ(nAsked, 1);
    EXPECT_EQ(strAskedFor, "secret.txt");

    const ZipPasswordSource wrong = [](const std::string&, std::string& strPassword) {
        strPassword = "guess";
        return true;
    };
    const ZipPasswordSource none = [](const std::string&, std::string&) { return false; };
    S_Opened other(strArchive);
    EXPECT_EQ(other.Unpack(0, strOut, &wrong), E_ZipResult::Encrypted);
    EXPECT_EQ(other.Unpack(0, strOut, &none), E_ZipResult::Encrypted);
    EXPECT_EQ(other.Unpack(0, strOut), E_ZipResult::Encrypted);
    EXPECT_EQ(strOut, "");
}

TEST(ZipArchive, AnEncryptedArchiveOfAnotherZipWriterIsRead)
{
    // "zip -0 -P pass": q.txt holding "quenvale\n", stored, with a data
    // descriptor, so the check byte comes from the entry's time.
    static const char kArchive[] =
    "\x50\x4B\x03\x04\x0A\x00\x09\x00\x00\x00\x57\x48\x88\x5D\x15\x90\x8B\x42\x15\x00\x00\x00\x09\x00"
    "\x00\x00\x05\x00\x00\x00\x71\x2E\x74\x78\x74\x0D\x4B\xAD\x4E\x0B\xD2\x7C\x93\x79\xBB\x0A\x85\xAB"
    "\xB2\xA5\xDD\x35\x9B\xC7\x99\x36\x50\x4B\x07\x08\x15\x90\x8B\x42\x15\x00\x00\x00\x09\x00\x00\x00"
    "\x50\x4B\x01\x02\x1E\x03\x0A\x00\x09\x00\x00\x00\x57\x48\x88\x5D\x15\x90\x8B\x42\x15\x00\x00\x00"
    "\x09\x00\x00\x00\x05\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\xA4\x81\x00\x00\x00\x00\x71\x2E"
    "\x74\x78\x74\x50\x4B\x05\x06\x00\x00\x00\x00\x01\x00\x01\x00\x33\x00\x00\x00\x48\x00\x00\x00\x00"
    "\x00";
    S_Opened zip(std::string(kArchive, sizeof(kArchive) - 1));
    ASSERT_TRUE(zip.bOpen) << zip.archive.GetErrorText();
    ASSERT_EQ(zip.archive.Entries().size(), 1u);
    const ZipPasswordSource password = [](const std::string&, std::string& strPassword) {
        strPassword = "pass";
        return true;
    };
    std::string strOut;
    EXPECT_EQ(zip.Unpack(0, strOut, &password), E_ZipResult::Ok) << zip.archive.GetErrorText();
    EXPECT_EQ(strOut, "quenvale\n");
}

TEST(ZipArchive, OtherMethodsAreRefusedByName)
{
    C_ZipBuilder builder;
    builder.Add("a", "x", Options(6));
    builder.Add("b", "x", Options(9));
    builder.Add("c", "x", Options(14));
    builder.Add("d", "x", Options(99));
    S_Opened zip(builder.Finish());
    ASSERT_TRUE(zip.bOpen);
    std::string strOut;
    EXPECT_EQ(zip.Unpack(0, strOut), E_ZipResult::UnsupportedMethod);
    EXPECT_EQ(zip.archive.GetErrorText(), "unsupported method Imploded: a");
    EXPECT_EQ(zip.Unpack(1, strOut), E_ZipResult::UnsupportedMethod);
    EXPECT_EQ(zip.archive.GetErrorText(), "unsupported method EnhDefl: b");
    EXPECT_EQ(zip.Unpack(2, strOut), E_ZipResult::UnsupportedMethod);
    EXPECT_EQ(zip.archive.GetErrorText(), "unsupported method Method 14: c");
    EXPECT_EQ(zip.Unpack(3, strOut), E_ZipResult::Encrypted);
    for (uint16_t w = 0; w <= 9; ++w)
        EXPECT_NE(ZipMethodName(w).rfind("Method", 0), 0u) << w;
}

TEST(ZipArchive, DamagedArchivesAndDataAreRefused)
{
    C_ZipBuilder builder;
    builder.Add("stored.bin", "0123456789", Options(0));
    builder.Add("deflated.bin", std::string(100000, 'z'), Options(8));
    const std::string strGood = builder.Finish();

    // A flipped data byte fails the CRC.
    std::string strFlipped = strGood;
    strFlipped[30 + 10 + 3] ^= 0x01;
    S_Opened flipped(strFlipped);
    ASSERT_TRUE(flipped.bOpen);
    std::string strOut;
    EXPECT_EQ(flipped.Unpack(0, strOut), E_ZipResult::BadData);

    // An entry that claims less than it unpacks to stops at its size.
    C_ZipBuilder bomb;
    bomb.Add("bomb.bin", std::string(1 << 20, '\0'), Options(8));
    std::string strBomb = bomb.Finish();
    const size_t nCentral = strBomb.find(std::string("PK\x01\x02", 4));
    ASSERT_NE(nCentral, std::string::npos);
    strBomb[nCentral + 24] = 0x10;   // size 16 instead of 1 MiB
    strBomb[nCentral + 25] = strBomb[nCentral + 26] = strBomb[nCentral + 27] = 0;
    S_Opened bombed(strBomb);
    ASSERT_TRUE(bombed.bOpen);
    size_t nDelivered = 0;
    EXPECT_EQ(bombed.archive.Extract(bombed.archive.Entries()[0],
                                     [&](const uint8_t*, size_t n) {
                                         nDelivered += n;
                                         return true;
                                     }),
              E_ZipResult::BadData);
    EXPECT_LE(nDelivered, 16u);

    // Cut archives and directories pointing outside.
    EXPECT_FALSE(S_Opened(strGood.substr(0, strGood.size() - 1)).bOpen);
    EXPECT_FALSE(S_Opened(strGood.substr(0, 21)).bOpen);
    EXPECT_FALSE(S_Opened("").bOpen);
    std::string strFar = strGood;
    strFar[strFar.size() - 6] = '\x7F';   // central directory offset far beyond the end
    EXPECT_FALSE(S_Opened(strFar).bOpen);

    // A sink that refuses stops the unpacking.
    S_Opened good(strGood);
    EXPECT_EQ(good.archive.Extract(good.archive.Entries()[1], [](const uint8_t*, size_t) { return false; }),
              E_ZipResult::WriteFailed);
}

TEST(ZipArchive, EntryPathsThatLeaveTheFolderAreRefused)
{
    const struct {
        const char* pszName;
        const char* pszRelative;   // null: refused
    } cases[] = {
        {"Quenvale.exe", "Quenvale.exe"},
        {"docs/notes.txt", "docs\\notes.txt"},
        {"docs\\sub\\x.txt", "docs\\sub\\x.txt"},
        {"./a//b/", "a\\b"},
        {"..a/b..c", "..a\\b..c"},
        {"../x", nullptr},
        {"a/../../x", nullptr},
        {"a/..", nullptr},
        {"/etc/passwd", nullptr},
        {"\\Windows\\x.dll", nullptr},
        {"C:\\x", nullptr},
        {"C:x", nullptr},
        {"\\\\server\\share\\x", nullptr},
        {"file.txt:stream", nullptr},
        {".. /x", nullptr},
        {"a./x", nullptr},
        {"dir/CON", nullptr},
        {"nul.txt", nullptr},
        {"com1", nullptr},
        {"COM10.txt", "COM10.txt"},
        {"a\x01" "b", nullptr},
        {"what?.txt", nullptr},
        {"", nullptr},
        {"./", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        std::string strRelative = "untouched";
        EXPECT_EQ(ZipEntryRelativePath(c.pszName, strRelative), c.pszRelative != nullptr);
        EXPECT_EQ(strRelative, c.pszRelative != nullptr ? c.pszRelative : "untouched");
    }
}
