#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/core/NumberScan.h"
#include "framework/core/OptionFlags.h"
#include "app/core/ProgramPaths.h"
#include "app/core/StoredValues.h"

namespace {

TEST(StoredValues, UnsignedTextsReadLikeScanf)
{
    struct S_Case {
        const char* pszText;
        bool bRead;
        uint64_t ullValue;
    };
    const std::vector<S_Case> cases = {
        {"0", true, 0},
        {"1", true, 1},
        {"  42", true, 42},
        {"12abc", true, 12},
        {"18446744073709551615", true, UINT64_MAX},
        {"-1", true, UINT64_MAX},
        {"+7", true, 7},
        {"abc", false, 99},
        {"", false, 99},
        {"-", false, 99},
        {"0x10", true, 0},   // decimal only
    };
    for (const S_Case& c : cases) {
        SCOPED_TRACE(c.pszText);
        uint64_t ullValue = 99;
        EXPECT_EQ(ScanUnsigned64(c.pszText, ullValue), c.bRead);
        EXPECT_EQ(ullValue, c.ullValue);
    }
    uint32_t ulValue = 5;
    EXPECT_TRUE(ScanUnsigned32("4294967297", ulValue));
    EXPECT_EQ(ulValue, 1u);
}

TEST(StoredValues, FileAccessTextsRoundTripAndGapsKeepTheValues)
{
    S_FileAccessValues values;
    values.ullFileSize = 10737418240ull;
    values.ulBlockSize = 4294967295u;
    values.ullPreReadSize = 1;
    values.strTestFile = "E:\\big file.bin";
    const S_FileAccessTexts texts = FileAccessTextsOf(values);
    EXPECT_EQ(texts.strFileSize, "10737418240");
    EXPECT_EQ(texts.strBlockSize, "4294967295");
    EXPECT_EQ(texts.strPreReadSize, "1");

    S_FileAccessValues back;
    ApplyFileAccessTexts(texts, back);
    EXPECT_EQ(back.ullFileSize, values.ullFileSize);
    EXPECT_EQ(back.ulBlockSize, values.ulBlockSize);
    EXPECT_EQ(back.ullPreReadSize, values.ullPreReadSize);
    EXPECT_EQ(back.strTestFile, values.strTestFile);

    // Missing (empty) or unreadable texts leave what the command line gave.
    S_FileAccessValues given;
    given.ullFileSize = 7;
    given.ulBlockSize = 8;
    given.ullPreReadSize = 9;
    given.strTestFile = "given";
    ApplyFileAccessTexts(S_FileAccessTexts{"", "abc", "", ""}, given);
    EXPECT_EQ(given.ullFileSize, 7u);
    EXPECT_EQ(given.ulBlockSize, 8u);
    EXPECT_EQ(given.ullPreReadSize, 9u);
    EXPECT_EQ(given.strTestFile, "given");
}

TEST(StoredValues, OnlyStoredBitsComeBackFromFlags)
{
    EXPECT_EQ(StoredFlagBits(0xFFFFFFFFFFFFFFFFull), kStoredFlagsMask);
    EXPECT_EQ(StoredFlagBits(FLAG_PORTABLE | FLAG_FA_WRITE | FLAG_START_BLOCK_ACCESS),
              static_cast<uint32_t>(FLAG_START_BLOCK_ACCESS));
    // Every saved bit of the pages, and none of the one-run bits.
    for (const uint32_t ulBit : {FLAG_START_BLOCK_ACCESS, FLAG_START_FILE_ACCESS, FLAG_FA_SPIN_UP,
                                 FLAG_FA_NO_BUFFERING, FLAG_SAVE_READ_DATA, FLAG_FA_BIGGEST_FILE,
                                 FLAG_FA_WRITE_THROUGH, FLAG_FA_EXPERT, FLAG_FA_FASTEST_FILE,
                                 FLAG_BA_LINEAR, FLAG_BA_RANDOM, FLAG_BA_SEEK, FLAG_BA_GRAPH, FLAG_BA_CRC})
        EXPECT_EQ(StoredFlagBits(ulBit), ulBit) << std::hex << ulBit;
    for (const uint32_t ulBit : {FLAG_FLOPPY, FLAG_PORTABLE, FLAG_BLOCK_SIZE_GIVEN, FLAG_FA_READ,
                                 FLAG_FA_WRITE, FLAG_FA_SIZE_GIVEN, FLAG_FA_QUIET_UPDATE, FLAG_FA_RANDOM,
                                 FLAG_BA_RUN_LINEAR, FLAG_BA_RUN_RANDOM, FLAG_BA_RUN_SEEK, FLAG_BA_READ,
                                 FLAG_BA_WRITE})
        EXPECT_EQ(StoredFlagBits(ulBit), 0u) << std::hex << ulBit;
}

TEST(ProgramPaths, SettingsFileAndFolders)
{
    struct S_Case {
        const char* pszProgram;
        const char* pszGiven;
        const char* pszFile;
    };
    const std::vector<S_Case> cases = {
        {"X:\\Tools\\Quenvale.exe", nullptr, "X:\\Tools\\Quenvale.ini"},
        {"X:\\Tools\\Quenvale.exe", "", "X:\\Tools\\Quenvale.ini"},
        {"X:\\Tools\\Quenvale", nullptr, "X:\\Tools\\Quenvale.ini"},
        {"X:\\Tools\\Quen.vale.exe", nullptr, "X:\\Tools\\Quen.vale.ini"},
        {"X:\\Tools\\Quenvale.longer", nullptr, "X:\\Tools\\Quenvale.longer.ini"},
        {"X:\\v1.5\\Quenvale", nullptr, "X:\\v1.5\\Quenvale.ini"},   // a dot in a folder is no extension
        {"X:\\Tools\\Quenvale.exe", "other.ini", "X:\\Tools\\other.ini"},
        {"X:\\Tools\\Quenvale.exe", "C:\\cfg\\other.ini", "C:\\cfg\\other.ini"},
        {"X:/Tools/Quenvale.exe", nullptr, "X:/Tools/Quenvale.ini"},
    };
    for (const S_Case& c : cases) {
        SCOPED_TRACE(c.pszProgram);
        EXPECT_EQ(SettingsFileFor(c.pszProgram, c.pszGiven), c.pszFile);
    }
    EXPECT_EQ(FolderOfPath("X:\\Tools\\Quenvale.exe"), "X:\\Tools\\");
    EXPECT_EQ(FolderOfPath("Quenvale.exe"), "");
    EXPECT_EQ(BaseNameOfPath("X:\\Tools\\Quenvale.exe"), "Quenvale");
    EXPECT_EQ(WithTrailingSeparator("C:\\Logs"), "C:\\Logs\\");
    EXPECT_EQ(WithTrailingSeparator("C:\\Logs\\"), "C:\\Logs\\");
    EXPECT_EQ(WithTrailingSeparator(""), "");
}

} // namespace
