#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fileaccess/core/FilePageRules.h"

namespace {

constexpr uint64_t kMiB = 1048576;

TEST(FilePageRules, BoxNumbersReadTheLeadingNumberAndRefuseWhatDoesNotFit)
{
    struct Case {
        const char* pszText;
        uint64_t ullMByteBytes;
        uint32_t ulNumber;
    };
    const uint64_t ullMostMBytes = UINT64_MAX / kMiB;   // 17592186044415
    for (const Case& c : std::vector<Case>{
             {"", 0, 0},
             {"abc", 0, 0},
             {"-5", 0, 0},
             {"  +10", 10 * kMiB, 10},
             {"4000 MByte", 4000 * kMiB, 4000},
             {"17592186044415", ullMostMBytes * kMiB, 0},
             {"17592186044416", 0, 0},
             {"4294967295", 4294967295ull * kMiB, 4294967295u},
             {"4294967296", 4294967296ull * kMiB, 0},
             {"99999999999999999999999", 0, 0},
         }) {
        SCOPED_TRACE(c.pszText);
        EXPECT_EQ(MByteBoxBytes(c.pszText), c.ullMByteBytes);
        EXPECT_EQ(ByteBoxNumber(c.pszText), c.ulNumber);
    }
    // The boxes show whole MBytes: a partly filled MByte is not counted.
    EXPECT_EQ(MByteBoxText(10 * kMiB + kMiB / 2), "10");
    EXPECT_EQ(MByteBoxText(kMiB - 1), "0");
    EXPECT_EQ(MByteBoxText(UINT64_MAX), "17592186044415");
    EXPECT_EQ(MByteBoxBytes(MByteBoxText(UINT64_MAX)), ullMostMBytes * kMiB);
}

TEST(FilePageRules, OnlyAPathWithADriveLetterNamesADrive)
{
    EXPECT_EQ(DriveLetterOf("E:\\data\\file.bin"), 'E');
    EXPECT_EQ(DriveLetterOf("e:"), 'e');
    EXPECT_EQ(DriveLetterOf("\\\\server\\share\\file.bin"), '\0');
    EXPECT_EQ(DriveLetterOf("file:.bin"), '\0');
    EXPECT_EQ(DriveLetterOf("E"), '\0');
    EXPECT_EQ(ExpertCaption("Expert Mode", false), "Expert Mode >");
    EXPECT_EQ(ExpertCaption("Expert Mode", true), "Expert Mode <");
}

} // namespace
