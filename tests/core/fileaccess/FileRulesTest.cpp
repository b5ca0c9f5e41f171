// The rules of a File Access pass: names, roots, block rounding, random
// positions, progress, rates and their texts.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fileaccess/core/FileRate.h"
#include "fileaccess/core/FileRules.h"

namespace {

constexpr uint64_t kMiB = 1048576;

TEST(FileRules, WriteNamesBeginWithAnUnderline)
{
    struct S_Case {
        const char* pszPath;
        bool bFolder;
        E_WriteName eRule;
        const char* pszName;
        const char* pszNewPath;
    };
    for (const S_Case& c : std::vector<S_Case>{
             {"D:\\data\\report.txt", false, E_WriteName::AskUnderline, "report.txt", "D:\\data\\_report.txt"},
             {"D:\\data\\_report.txt", false, E_WriteName::Keep, "_report.txt", ""},
             {"D:\\data\\", false, E_WriteName::AppendDefault, "", "D:\\data\\_TestFile"},
             {"D:\\data", true, E_WriteName::AppendDefault, "data", "D:\\data\\_TestFile"},
             {"D:\\_data", true, E_WriteName::AppendDefault, "_data", "D:\\_data\\_TestFile"},
             {"", false, E_WriteName::AppendDefault, "", "\\_TestFile"},
             // A bare name stays beside itself instead of moving to the root.
             {"report.txt", false, E_WriteName::AskUnderline, "report.txt", "_report.txt"},
             {"\\\\server\\share\\a.bin", false, E_WriteName::AskUnderline, "a.bin", "\\\\server\\share\\_a.bin"},
         }) {
        SCOPED_TRACE(c.pszPath);
        const S_WriteName rule = WriteNameOf(c.pszPath, c.bFolder);
        EXPECT_EQ(rule.eRule, c.eRule);
        EXPECT_EQ(rule.strName, c.pszName);
        EXPECT_EQ(rule.strNewPath, c.pszNewPath);
    }
}

TEST(FileRules, BlockSizeRoundedUpToTheSector)
{
    struct S_Case {
        uint32_t ulBlock;
        uint32_t ulSector;
        uint32_t ulRounded;
    };
    for (const S_Case& c : std::vector<S_Case>{{10000, 4096, 12288},
                                               {4096, 4096, 4096},
                                               {1048576, 512, 1048576},
                                               {1, 512, 512},
                                               {10000, 0, 10240},              // unknown sector: 2048
                                               {0xFFFFFFFF, 4096, 0xFFFFF000},  // no room above: the one below
                                               {0xFFFFF001, 1, 0xFFFFF001}}) {
        SCOPED_TRACE(c.ulBlock);
        EXPECT_EQ(SectorRoundedBlockSize(c.ulBlock, c.ulSector), c.ulRounded);
    }
}

TEST(FileRules, RandomPositionsStayOnWholeBlocks)
{
    // 10.5 MiB in 1 MiB blocks: ten whole blocks, the half one never read.
    const uint64_t ullSize = 10 * kMiB + kMiB / 2;
    EXPECT_EQ(RandomBlockPosition(0, ullSize, kMiB), 0u);
    EXPECT_EQ(RandomBlockPosition(kRandomNumberMax, ullSize, kMiB), 9 * kMiB);
    EXPECT_EQ(RandomBlockPosition(16383, ullSize, kMiB), 4 * kMiB);   // 16383 × 9 / 32767 = 4.49...
    for (uint32_t r = 0; r <= kRandomNumberMax; r += 997) {
        const uint64_t ullPosition = RandomBlockPosition(r, ullSize, kMiB);
        EXPECT_EQ(ullPosition % kMiB, 0u);
        EXPECT_LE(ullPosition + kMiB, ullSize);
    }
    // Files of one block, less than a block, and no block size at all.
    EXPECT_EQ(RandomBlockPosition(kRandomNumberMax, kMiB, kMiB), 0u);
    EXPECT_EQ(RandomBlockPosition(kRandomNumberMax, kMiB - 1, kMiB), 0u);
    EXPECT_EQ(RandomBlockPosition(kRandomNumberMax, kMiB, 0), 0u);
    // A 4 TiB file of 4 kiB blocks: the product still fits 64 bits.
    EXPECT_EQ(RandomBlockPosition(kRandomNumberMax, 4ull << 40, 4096), (4ull << 40) - 4096);
}

TEST(FileRate, CdUpTo759MByteDvdAbove)
{
    EXPECT_EQ(OpticalMediumOf(759 * kMiB), E_OpticalMedium::Cd);
    EXPECT_EQ(OpticalMediumOf(760 * kMiB - 1), E_OpticalMedium::Cd);
    EXPECT_EQ(OpticalMediumOf(760 * kMiB), E_OpticalMedium::Dvd);
    EXPECT_EQ(OpticalMediumOf(0), E_OpticalMedium::Cd);
}

TEST(FileRate, RateTextsAndFactors)
{
    struct S_Case {
        uint64_t ullBytes;
        uint64_t ullMicroseconds;
        E_OpticalMedium eMedium;
        const char* pszText;
    };
    for (const S_Case& c : std::vector<S_Case>{
             {10 * kMiB + kMiB / 2, 1000000, E_OpticalMedium::None, "10.5 MByte/sec"},
             {1352 * 1024, 1000000, E_OpticalMedium::Dvd, "1352.0 kByte/sec - 1.0x dvd"},
             {1500 * 1024, 1000000, E_OpticalMedium::Cd, "1500.0 kByte/sec - 10.0x cd-rom"},
             {150 * 1024, 2000000, E_OpticalMedium::Cd, "75.0 kByte/sec - 0.5x cd-rom"},
             // The rate is cut to whole KiB before it is shown.
             {1000, 1000000, E_OpticalMedium::None, "0 Byte/sec"},
             {1ull << 63, 11, E_OpticalMedium::Dvd, nullptr},   // far beyond 64 bits of bytes per second
         }) {
        SCOPED_TRACE(c.ullBytes);
        const float fKiB = FileRateKiB(c.ullBytes, c.ullMicroseconds);
        const std::string strText = FileRateText(fKiB, c.eMedium);
        if (c.pszText != nullptr)
            EXPECT_EQ(strText, c.pszText);
        else
            EXPECT_NE(strText.find("/sec - "), std::string::npos) << strText;
    }
    EXPECT_FLOAT_EQ(FileRateKiB(10 * kMiB + kMiB / 2, 1000000), 10752.0f);
    EXPECT_EQ(FileRateKiB(kMiB, 0), 0.0f);
    EXPECT_FLOAT_EQ(OpticalFactor(1352.0f, E_OpticalMedium::Dvd), 1.0f);
    EXPECT_EQ(OpticalFactor(1352.0f, E_OpticalMedium::None), 0.0f);
}

} // namespace
