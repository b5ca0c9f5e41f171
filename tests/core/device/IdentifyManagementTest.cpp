// FAT32 layout and sectors, the ASPI boot record and the ATA feature
// requests, checked against the published layouts.
#include "device/core/AtaFeatures.h"
#include "device/core/ByteOrder.h"
#include "device/core/Fat32Layout.h"
#include "device/core/RudvaneTypes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

TEST(Fat32LayoutTest, ClustersFitTheTablesAndTheLimits)
{
    struct Case {
        const char* pszName;
        uint64_t ullSectors;
        uint32_t ulSectorSize;
        bool bFits;
        uint32_t ulSectorsPerCluster, ulFatSectors, ulClusters;
    };
    const std::vector<Case> cases = {
        {"64 MiB", 131072, 512, true, 1, 1009, 129022},
        {"1 GiB", 2097152, 512, true, 8, 2044, 261629},
        {"64 GiB, 4K sectors", 16777216, 4096, true, 8, 0, 0},
        {"2 TiB - 1 sector", 0xFFFFFFFFull, 512, true, 64, 0, 0},
        {"16 MiB: too few clusters", 32768, 512, false, 0, 0, 0},
        {"more than 2^32 - 1 sectors", 0x100000000ull, 512, false, 0, 0, 0},
        {"odd sector size", 131072, 1000, false, 0, 0, 0},
        {"no sectors", 0, 512, false, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        S_Fat32Layout layout;
        ASSERT_EQ(ComputeFat32Layout(c.ullSectors, c.ulSectorSize, 63, layout), c.bFits);
        if (!c.bFits)
            continue;
        if (c.ulFatSectors != 0) {
            EXPECT_EQ(layout.ulSectorsPerCluster, c.ulSectorsPerCluster);
            EXPECT_EQ(layout.ulFatSectors, c.ulFatSectors);
            EXPECT_EQ(layout.ulClusterCount, c.ulClusters);
        }
        // Every cluster has its table entry (plus the two reserved ones), and
        // the clusters lie within the volume.
        EXPECT_GE(static_cast<uint64_t>(layout.ulFatSectors) * (c.ulSectorSize / 4),
                  layout.ulClusterCount + 2ull);
        EXPECT_LE(layout.FirstDataSector() + static_cast<uint64_t>(layout.ulClusterCount) *
                                                 layout.ulSectorsPerCluster,
                  c.ullSectors);
        EXPECT_GE(layout.ulClusterCount, 65525u);
    }
}

TEST(Fat32LayoutTest, SectorsCarryTheFieldsWhereTheFormatWantsThem)
{
    S_Fat32Layout layout;
    ASSERT_TRUE(ComputeFat32Layout(131072, 512, 2048, layout));
    std::vector<uint8_t> s(512);
    BuildFat32BootSector(layout, 0x12345678, "my stick label", s.data());
    EXPECT_EQ(std::string(s.begin() + 3, s.begin() + 11), "MSWIN4.1");
    EXPECT_EQ(GetLe16(&s[11]), 512u);
    EXPECT_EQ(s[13], 1);
    EXPECT_EQ(GetLe16(&s[14]), 32u);
    EXPECT_EQ(s[16], 2);
    EXPECT_EQ(GetLe16(&s[17]), 0u);  // no fixed root directory
    EXPECT_EQ(GetLe16(&s[19]), 0u);
    EXPECT_EQ(s[21], 0xF8);
    EXPECT_EQ(GetLe32(&s[28]), 2048u);
    EXPECT_EQ(GetLe32(&s[32]), 131072u);
    EXPECT_EQ(GetLe32(&s[36]), 1009u);
    EXPECT_EQ(GetLe32(&s[44]), 2u);
    EXPECT_EQ(GetLe16(&s[48]), 1u);
    EXPECT_EQ(GetLe16(&s[50]), 6u);
    EXPECT_EQ(s[66], 0x29);
    EXPECT_EQ(GetLe32(&s[67]), 0x12345678u);
    EXPECT_EQ(std::string(s.begin() + 71, s.begin() + 82), "MY STICK LA");
    EXPECT_EQ(std::string(s.begin() + 82, s.begin() + 90), "FAT32   ");
    EXPECT_EQ(GetLe16(&s[510]), 0xAA55u);

    BuildFat32FsInfo(layout, s.data());
    EXPECT_EQ(GetLe32(&s[0]), 0x41615252u);
    EXPECT_EQ(GetLe32(&s[484]), 0x61417272u);
    EXPECT_EQ(GetLe32(&s[488]), 129021u);
    EXPECT_EQ(GetLe32(&s[508]), 0xAA550000u);

    BuildFat32FirstFatSector(layout, s.data());
    EXPECT_EQ(GetLe32(&s[0]), 0x0FFFFFF8u);
    EXPECT_EQ(GetLe32(&s[4]), 0x0FFFFFFFu);
    EXPECT_EQ(GetLe32(&s[8]), 0x0FFFFFFFu);
    EXPECT_EQ(GetLe32(&s[12]), 0u);

    EXPECT_EQ(Fat32Label(""), "NO NAME    ");
    BuildFat32RootSector(layout, "", s.data());
    EXPECT_EQ(s[0], 0);
    BuildFat32RootSector(layout, "data", s.data());
    EXPECT_EQ(std::string(s.begin(), s.begin() + 11), "DATA       ");
    EXPECT_EQ(s[11], 0x08);
}

TEST(AspiBootRecordTest, OnePartitionFromBlock63AndNothingForDevicesItCannotDescribe)
{
    uint8_t mbr[512];
    ASSERT_TRUE(BuildAspiBootRecord(1000000, 512, mbr));
    const uint8_t* e = mbr + 446;
    const std::vector<uint8_t> chs(e, e + 8);
    EXPECT_EQ(chs, (std::vector<uint8_t>{0x00, 1, 1, 0, 0x0B, 254, 255, 255}));
    EXPECT_EQ(GetLe32(e + 8), 63u);
    EXPECT_EQ(GetLe32(e + 12), 1000000u - 10303u);
    EXPECT_EQ(GetLe16(mbr + 510), 0xAA55u);
    for (int i = 462; i < 510; ++i)
        ASSERT_EQ(mbr[i], 0) << i;  // the other three entries stay empty

    EXPECT_FALSE(BuildAspiBootRecord(10303, 512, mbr));      // the length would wrap
    EXPECT_TRUE(BuildAspiBootRecord(10304, 512, mbr));
    EXPECT_FALSE(BuildAspiBootRecord(1000000, 2048, mbr));
    EXPECT_FALSE(BuildAspiBootRecord(0x100000000ull, 512, mbr));
}

TEST(AtaFeaturesTest, ArgumentsOutsideTheirRangeAndReservedCodesAreRefused)
{
    S_AtaFeatureRequest r;
    EXPECT_TRUE(BuildAtaFeatureRequest(0x10000E, 0x80, r));
    EXPECT_FALSE(BuildAtaFeatureRequest(0x10000E, 0x7F, r));   // below the acoustic range
    EXPECT_FALSE(BuildAtaFeatureRequest(0x100006, 0x100, r));  // no such log address
    EXPECT_FALSE(BuildAtaFeatureRequest(0x100010, 0, r));      // reserved
    EXPECT_FALSE(BuildAtaFeatureRequest(0x100003, 0, r));      // not of this family
}

} // namespace
