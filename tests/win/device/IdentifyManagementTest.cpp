// Device-management operations. Nothing here touches a real volume: the
// system utilities are played by a stand-in that records its calls, and
// the writing operations write to simulated targets in memory.
#include "device/core/ByteOrder.h"
#include "device/core/RudvaneTypes.h"
#include "device/core/ScsiCdb.h"
#include "device/win/DeviceManagement.h"
#include "device/win/IoCodes.h"
#include "device/win/ManagementTools.h"
#include "device/win/Rudvane.h"
#include "tests/support/win/TestDevice.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

namespace {

class C_RecordedTools : public C_ManagementTools {
public:
    bool FormatVolume(const std::string& strRoot, const std::string& strSystem,
                      const std::string& strLabel, bool bQuick) override
    {
        vFormats.push_back(strRoot + "|" + strSystem + "|" + strLabel + (bQuick ? "|quick" : ""));
        return static_cast<int>(vFormats.size()) > nFormatFailures;
    }
    bool CheckDisk(const std::string& strRoot, const std::string& strSystem, bool bFix) override
    {
        vChecks.push_back(strRoot + "|" + strSystem + (bFix ? "|fix" : ""));
        return true;
    }
    bool RunConvert(const std::string& strArguments, DWORD* pdwExitCode) override
    {
        vConverts.push_back(strArguments);
        *pdwExitCode = dwConvertExit;
        return true;
    }
    std::string VolumeNameOfPath(const std::string& strPath) override
    {
        vVolumePaths.push_back(strPath);
        return strVolume;
    }
    std::string LettersOfVolume(const std::string&) override
    {
        return ++nLetterAsks >= nLetterAfter ? strVolumeLetters : std::string();
    }
    bool AssignLetter(char cLetter, const std::string& strName) override
    {
        strAssigned = std::string(1, cLetter) + "|" + strName;
        return true;
    }
    DWORD LogicalDrives() override { return dwDrives; }
    void Sleep(DWORD dwMilliseconds) override { vSleeps.push_back(dwMilliseconds); }

    int nFormatFailures = 0;
    DWORD dwConvertExit = 0;
    std::string strVolume;
    std::string strVolumeLetters;
    int nLetterAfter = 1;
    int nLetterAsks = 0;
    DWORD dwDrives = 0x7;  // A, B, C
    std::vector<std::string> vFormats, vChecks, vConverts, vVolumePaths;
    std::vector<DWORD> vSleeps;
    std::string strAssigned;
};

class IdentifyManagementTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RudvaneInit(nullptr, nullptr, 0);
        RudvaneSetManagementTools(&tools);
    }
    void TearDown() override
    {
        RudvaneSetManagementTools(nullptr);
        RudvaneExit();
    }
    C_RecordedTools tools;
};

TEST_F(IdentifyManagementTest, FormatWaitsForTheLetterAndTriesThreeTimes)
{
    struct Case {
        const char* pszName;
        const char* pszLetters;     // the record's
        DWORD dwDrives;
        const char* pszVolume;      // the volume name of its path
        const char* pszVolumeLetters;
        int nLetterAfter;           // asks until the volume shows its letter
        int nFailures;
        int nResult;
        size_t nFormats;
        std::ptrdiff_t nLetterWaits, nRetryPauses;  // pauses of 250 and 10000 ms
        const char* pszFormat;      // the last call
        const char* pszAssigned;
    };
    const std::vector<Case> cases = {
        {"letter present", "E", 0x17, "", "", 1, 0, 1, 1, 0, 0, "E:\\|FAT32|My long lab", ""},
        {"two failures", "E", 0x17, "", "", 1, 2, 1, 3, 0, 2, "E:\\|FAT32|My long lab", ""},
        {"three failures", "E", 0x17, "", "", 1, 3, 0, 3, 0, 2, "E:\\|FAT32|My long lab", ""},
        {"letter appears", "", 0x7, "\\\\?\\Volume{1}\\", "G", 5, 0, 1, 1, 4, 0, "G:\\|FAT32|My long lab", ""},
        {"letter assigned", "", 0xF, "\\\\?\\Volume{1}\\", "", 1000, 0, 1, 1, 60, 0,
         "E:\\|FAT32|My long lab", "E|\\\\?\\Volume{1}\\"},
        {"no letter, no volume", "", 0x7, "", "", 1, 0, 0, 0, 60, 0, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        C_RecordedTools t;
        RudvaneSetManagementTools(&t);
        t.dwDrives = c.dwDrives;
        t.strVolume = c.pszVolume;
        t.strVolumeLetters = c.pszVolumeLetters;
        t.nLetterAfter = c.nLetterAfter;
        t.nFormatFailures = c.nFailures;
        C_TestDevice device;
        device.strLetters = c.pszLetters;
        EXPECT_EQ(device.Format("fat32", "My long label", 0), c.nResult);
        EXPECT_EQ(t.vFormats.size(), c.nFormats);
        EXPECT_EQ(t.vFormats.empty() ? std::string() : t.vFormats.back(), c.pszFormat);
        EXPECT_EQ(std::count(t.vSleeps.begin(), t.vSleeps.end(), 250), c.nLetterWaits);
        EXPECT_EQ(std::count(t.vSleeps.begin(), t.vSleeps.end(), 10000), c.nRetryPauses);
        EXPECT_EQ(t.strAssigned, c.pszAssigned);
        RudvaneSetManagementTools(&tools);
    }
    C_TestDevice device;
    device.strLetters = "E";
    tools.dwDrives = 0x17;
    EXPECT_EQ(device.Format("NTFS", "A label longer than eleven", RUDVANE_FORMAT_QUICK), 1);
    EXPECT_EQ(tools.vFormats.back(), "E:\\|NTFS|A label longer than eleven|quick");
    EXPECT_EQ(device.Format("exFAT", "", 0), 0);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(IdentifyManagementTest, ConvertAndCheckDiskNameTheFirstLetter)
{
    C_TestDevice device;
    device.strLetters = "fg";
    device.strFileSystem = "FAT32";
    EXPECT_EQ(device.Query(RUDVANE_Q_CONVERT_NTFS, nullptr, 0, nullptr, nullptr), 1);
    EXPECT_EQ(tools.vConverts.back(), "F: /fs:ntfs");
    tools.dwConvertExit = 5;
    EXPECT_EQ(device.Query(RUDVANE_Q_CONVERT_NTFS, nullptr, 0, nullptr, nullptr), 0);
    EXPECT_EQ(device.Query(RUDVANE_Q_CHECK_DISK, nullptr, 1, nullptr, nullptr), 1);
    EXPECT_EQ(tools.vChecks.back(), "F:\\|FAT32|fix");
    device.strLetters.clear();
    EXPECT_EQ(device.Query(RUDVANE_Q_CONVERT_NTFS, nullptr, 0, nullptr, nullptr), 0);
    EXPECT_EQ(tools.vConverts.size(), 2u);
}

TEST_F(IdentifyManagementTest, TheOwnFat32FormatterWritesAVolumeInMemory)
{
    C_TestDevice device(131072);  // 64 MiB
    device.strLetters = "T";
    device.ullPartitionStart = 0;
    ASSERT_EQ(device.Format("FAT32", "Data", RUDVANE_FORMAT_OWN_FAT32), 1);
    std::vector<uint8_t> s(512);
    for (uint64_t ullBoot : {0ull, 6ull}) {
        SCOPED_TRACE(ullBoot);
        device.target.ReadImage(ullBoot, 1, s.data());
        EXPECT_EQ(std::string(s.begin() + 3, s.begin() + 11), "MSWIN4.1");
        EXPECT_EQ(GetLe32(&s[32]), 131072u);
        EXPECT_EQ(std::string(s.begin() + 71, s.begin() + 82), "DATA       ");
        device.target.ReadImage(ullBoot + 1, 1, s.data());
        EXPECT_EQ(GetLe32(&s[0]), 0x41615252u);
    }
    // Both tables start with the reserved entries and the root directory's
    // chain; the rest of them is empty; the root directory holds the label.
    for (uint64_t ullFat : {32ull, 32ull + 1009}) {
        device.target.ReadImage(ullFat, 1, s.data());
        EXPECT_EQ(GetLe32(&s[0]), 0x0FFFFFF8u);
        EXPECT_EQ(GetLe32(&s[8]), 0x0FFFFFFFu);
        device.target.ReadImage(ullFat + 1008, 1, s.data());
        EXPECT_EQ(s, std::vector<uint8_t>(512, 0));
    }
    device.target.ReadImage(32 + 2 * 1009, 1, s.data());
    EXPECT_EQ(std::string(s.begin(), s.begin() + 12), std::string("DATA       \x08"));
    // The volume was locked around the writes, and the boot sector came last.
    EXPECT_EQ(device.io.CountControls(FSCTL_LOCK_VOLUME), 1u);
    EXPECT_EQ(device.io.CountControls(FSCTL_UNLOCK_VOLUME), 1u);
    const std::vector<uint8_t>& last = device.target.LastCdb();
    EXPECT_EQ(last[0], SCSI_WRITE10);
    EXPECT_EQ(GetLe32(&last[2]), 0u);
    EXPECT_EQ(device.GetLockedVolumeCount(), 0u);

    // A volume record is locked, dismounted and unlocked through its own
    // handle, the one its writes go through.
    C_TestDevice volume(131072);
    volume.ulMediaClass = RUDVANE_MEDIA_REMOVABLE_VOLUME;
    volume.strLetters = "T";
    ASSERT_EQ(volume.Format("FAT32", "", RUDVANE_FORMAT_OWN_FAT32), 1);
    std::vector<DWORD> vVolumeCodes;
    for (const auto& c : volume.io.vControls) {
        if (c.first == FSCTL_LOCK_VOLUME || c.first == FSCTL_DISMOUNT_VOLUME ||
            c.first == FSCTL_UNLOCK_VOLUME) {
            vVolumeCodes.push_back(c.first);
            EXPECT_EQ(c.second, volume.strPath);
        }
    }
    EXPECT_EQ(vVolumeCodes, (std::vector<DWORD>{FSCTL_LOCK_VOLUME, FSCTL_DISMOUNT_VOLUME,
                                                FSCTL_UNLOCK_VOLUME}));
    EXPECT_EQ(volume.GetOpenCount(), 0);

    C_TestDevice small(32768);  // 16 MiB: too few clusters for FAT32
    EXPECT_EQ(small.Format("FAT32", "", RUDVANE_FORMAT_OWN_FAT32), 0);
    EXPECT_EQ(small.target.WrittenBlocks(), 0u);
    EXPECT_EQ(small.Format("NTFS", "", RUDVANE_FORMAT_OWN_FAT32), 0);
}

TEST_F(IdentifyManagementTest, TheAspiBootRecordIsWrittenOnlyOnAspiTargetsItCanDescribe)
{
    C_TestDevice device(1000000);
    device.strLetters = "K";
    EXPECT_EQ(device.Query(RUDVANE_Q_ASPI_BOOT_RECORD, nullptr, 0, nullptr, nullptr), 0);
    EXPECT_EQ(device.target.WrittenBlocks(), 0u);

    device.ulKind = RUDVANE_KIND_ASPI;
    ASSERT_EQ(device.Query(RUDVANE_Q_ASPI_BOOT_RECORD, nullptr, 0, nullptr, nullptr), 1);
    std::vector<uint8_t> s(512);
    device.target.ReadImage(0, 1, s.data());
    EXPECT_EQ(s[446 + 4], 0x0B);
    EXPECT_EQ(GetLe32(&s[446 + 12]), 1000000u - 10303u);
    for (uint64_t ullLba = 63; ullLba <= 72; ++ullLba) {
        device.target.ReadImage(ullLba, 1, s.data());
        EXPECT_EQ(s, std::vector<uint8_t>(512, 0)) << ullLba;
    }
    EXPECT_FALSE(device.target.IsWritten(73));
    EXPECT_EQ(device.strLetters, "");

    C_TestDevice tiny(10303);
    tiny.ulKind = RUDVANE_KIND_ASPI;
    EXPECT_EQ(tiny.Query(RUDVANE_Q_ASPI_BOOT_RECORD, nullptr, 0, nullptr, nullptr), 0);
    EXPECT_EQ(tiny.target.WrittenBlocks(), 0u);
}

TEST_F(IdentifyManagementTest, MediaNameAndAtaFeatureRequestsGoThroughTheRecord)
{
    C_TestDevice device;
    device.target.AddVendorReply({0x46}, {0, 0, 0, 0x1C, 0, 0, 0x00, 0x2B});
    std::string strName;
    EXPECT_EQ(device.Query(RUDVANE_Q_MEDIA_NAME, &strName, 0, nullptr, nullptr), 1);
    EXPECT_EQ(strName, "DVD+R DL");

    uint8_t data[512] = {};
    ASSERT_EQ(device.Query(0x100007, data, 0, nullptr, nullptr), 1);
    const auto identify = device.target.BuildIdentify(false);
    EXPECT_TRUE(std::equal(identify.begin(), identify.end(), data));
    EXPECT_EQ(device.Query(0x100010, data, 0, nullptr, nullptr), 0);
}

} // namespace
