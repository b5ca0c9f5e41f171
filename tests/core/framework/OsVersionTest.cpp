#include <gtest/gtest.h>

#include "framework/core/OsVersion.h"

namespace {

struct OsCase {
    uint32_t dwPlatform, dwMajor, dwMinor, dwBuild;
    const char* pszCsd;
    uint64_t ullExpected;
};

TEST(OsVersion, ClassifiesEverySystem)
{
    const OsCase cases[] = {
        {0, 3, 11, 0, "", 0x4},
        {1, 4, 0, 950, "", 0x12},
        {1, 4, 0, 1111, " B", 0x402},
        {1, 4, 0, 1212, " C", 0x402},
        {1, 4, 10, 1998, "", 0x22},
        {1, 4, 10, 2222, " A", 0x802},
        {1, 4, 90, 3000, "", 0x42},
        {1, 5, 0, 0, "", 0x2},
        {2, 3, 51, 1057, "", 0x200001},
        {2, 4, 0, 1381, "Service Pack 6", 0x81},
        {2, 5, 0, 2195, "Service Pack 4", 0x101},
        {2, 5, 1, 2600, "Service Pack 3", (8ull << 32) | 0x201},
        {2, 5, 2, 3790, "Service Pack 2", (4ull << 32) | 0x1001},
        {2, 6, 0, 6002, "Service Pack 2", (4ull << 32) | 0x2001},
        {2, 6, 1, 7601, "Service Pack 1", (2ull << 32) | 0x4001},
        {2, 6, 2, 9200, "", 0x40001},
        {2, 6, 3, 9600, "", 0x80001},
        {2, 10, 0, 19045, "", 0x100001},
        {2, 10, 0, 21999, "", 0x100001},
        {2, 10, 0, 22000, "", 0x400001},
        {2, 11, 0, 30000, "", 0x1},
        {3, 10, 0, 0, "", 0},
        // Service-pack bits only for the NT family; a null CSD text is no text.
        {1, 4, 10, 0, "Service Pack 1", 0x22},
        {2, 6, 1, 0, nullptr, 0x4001},
    };
    for (const OsCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dwPlatform << " " << c.dwMajor << "." << c.dwMinor
                                        << "." << c.dwBuild << " '" << (c.pszCsd != nullptr ? c.pszCsd : "(null)") << "'");
        S_OsVersionInfo info;
        info.dwPlatformId = c.dwPlatform;
        info.dwMajor = c.dwMajor;
        info.dwMinor = c.dwMinor;
        info.dwBuild = c.dwBuild;
        info.pszCsd = c.pszCsd;
        EXPECT_EQ(ClassifyOs(info), c.ullExpected);
    }
    EXPECT_EQ(ClassifyOs(S_OsVersionInfo(), false), 0u);
}

TEST(OsVersion, AtLeastAnswersNamedAndNewerNtSystems)
{
    EXPECT_TRUE(IsOsAtLeast(OS_VISTA, 0x2000));
    EXPECT_TRUE(IsOsAtLeast(OS_WIN7, 0x2000));
    EXPECT_TRUE(IsOsAtLeast(OS_WIN11, 0x2000));
    EXPECT_TRUE(IsOsAtLeast((4ull << 32) | OS_WIN10, 0x2000));
    EXPECT_FALSE(IsOsAtLeast(OS_WINXP, 0x2000));
    EXPECT_FALSE(IsOsAtLeast(OS_NT351, 0x2000));
    EXPECT_FALSE(IsOsAtLeast(OS_WIN98, 0x2000));
    EXPECT_FALSE(IsOsAtLeast(0, 0x2000));
    // A Windows 9x system answers only its own bits.
    EXPECT_TRUE(IsOsAtLeast(OS_WIN98, 0x20));
    EXPECT_FALSE(IsOsAtLeast(OS_WINME, 0x20));
    // NT 3.51 is the oldest NT system, even though its bit is the highest.
    EXPECT_TRUE(IsOsAtLeast(OS_NT4, 0x200000));
    EXPECT_FALSE(IsOsAtLeast(OS_NT351, 0x80));
    // Windows 8 or later, or XP.
    EXPECT_TRUE(IsOsAtLeast(OS_WINXP, 0x40000 | 0x200));
    EXPECT_TRUE(IsOsAtLeast(OS_WIN2003, 0x40000 | 0x200));
}

} // namespace
