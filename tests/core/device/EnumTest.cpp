#include "device/core/EnumRules.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "device/core/RudvaneRecord.h"
#include "device/core/RudvaneTypes.h"

namespace {

TEST(EnumTest, DriveAAndTheFloppyClassNeedTheFloppyOption)
{
    EXPECT_EQ(EnumLetters(0x3FFFFFF, 0), "BCDEFGHIJKLMNOPQRSTUVWXYZ");
    EXPECT_EQ(EnumLetters(0x1 | 0x4 | 0x2000000, RUDVANE_OPT_FLOPPY), "ACZ");
    EXPECT_EQ(EnumLetters(0x1, 0xFFF00800), "");
    EXPECT_FALSE(MayQueryLetter('a', 0));

    auto bases = [](bool bWin9x, uint32_t ulOptions) {
        std::vector<uint32_t> v;
        for (const S_InterfaceClass& c : InterfaceClasses(bWin9x, ulOptions))
            v.push_back(c.ulNumberBase | (c.bFloppy ? 1u : 0u));
        return v;
    };
    EXPECT_EQ(bases(false, 0xFFF00000), (std::vector<uint32_t>{0x10000000, 0x20000000, 0x50000000}));
    EXPECT_EQ(bases(false, RUDVANE_OPT_FLOPPY | RUDVANE_OPT_TAPE_INTERFACE),
              (std::vector<uint32_t>{0x10000000, 0x20000000, 0x30000000, 0x40000001, 0x50000000}));
    EXPECT_EQ(bases(false, RUDVANE_OPT_NO_VOLUME_INTERFACE | RUDVANE_OPT_NO_DISK_INTERFACE),
              (std::vector<uint32_t>{0x50000000}));
    EXPECT_EQ(bases(true, 0), (std::vector<uint32_t>{0x10000000, 0x20000000, 0x30000000}));
    EXPECT_TRUE(InterfaceClasses(false, 0)[0].guid == kVolumeInterface);
}

TEST(EnumTest, StorageAnswersSetMediaClassBlockSizeAndBus)
{
    struct Case {
        uint8_t bType;
        uint32_t ulBus;
        bool bWhole;
        int32_t lClassBefore;
        int32_t lClass;
        uint32_t ulBlockSize;
        uint32_t ulBusFlags;
    };
    for (const Case& c : std::vector<Case>{
             {0, 7, true, 1, RUDVANE_MEDIA_FIXED_DEVICE, 512, RUDVANE_BUS_USB},
             {14, 1, false, 2, RUDVANE_MEDIA_FIXED_VOLUME, 512, RUDVANE_BUS_SCSI},
             {0, 4, true, RUDVANE_MEDIA_REMOVABLE_DEVICE, RUDVANE_MEDIA_REMOVABLE_DEVICE, 512, 0x8},
             {1, 9, true, 1, RUDVANE_MEDIA_TAPE, 0, RUDVANE_BUS_ISCSI},
             {5, 11, false, 2, RUDVANE_MEDIA_OPTICAL, 2048, 0x80000001},
             {7, 7, true, 1, RUDVANE_MEDIA_OPTICAL, 2048, RUDVANE_BUS_USB | 0x80000000},
             {3, 0, true, 1, RUDVANE_MEDIA_OTHER, 512, 0x80000001}}) {
        SCOPED_TRACE(static_cast<int>(c.bType));
        S_RudvaneRecord record;
        record.ulMediaClass = c.lClassBefore;
        record.ulBusFlags = 0x80000001;
        ApplyStorageTypes(c.bType, c.ulBus, c.bWhole, record);
        EXPECT_EQ(record.ulMediaClass, c.lClass);
        EXPECT_EQ(record.ulBlockSize, c.ulBlockSize);
        EXPECT_EQ(record.ulBusFlags, c.ulBus == 0 || c.ulBus == 11 ? 0x80000001 : (c.ulBusFlags | 0x80000000));
    }
    S_RudvaneRecord known;
    known.ulBlockSize = 4096;
    ApplyStorageTypes(0, 0, true, known);
    EXPECT_EQ(known.ulBlockSize, 4096u);

    EXPECT_EQ(AdapterMaxBlocks(65536, 512, RUDVANE_BUS_USB), 128u);
    EXPECT_EQ(AdapterMaxBlocks(0x100000, 512, RUDVANE_BUS_1394), 1024u);
    EXPECT_EQ(AdapterMaxBlocks(100, 512, RUDVANE_BUS_OTHER), 1u);
    EXPECT_EQ(AdapterMaxBlocks(65536, 0, RUDVANE_BUS_OTHER), 0u);

    EXPECT_EQ(PackStorageNumber(0x107, 2, 3), 0x070203u);
    EXPECT_TRUE(SameStorageDevice(0x070203, 0x070201, false));
    EXPECT_FALSE(SameStorageDevice(0x070203, 0x070201, true));
    EXPECT_FALSE(SameStorageDevice(kNoStorageNumber, kNoStorageNumber, false));
}

std::vector<uint8_t> MountPoints(const std::vector<std::u16string>& vLinks, size_t nCount)
{
    std::vector<uint8_t> v(8 + 24 * vLinks.size(), 0);
    v[4] = static_cast<uint8_t>(nCount);
    for (size_t i = 0; i < vLinks.size(); ++i) {
        const uint32_t ulOffset = static_cast<uint32_t>(v.size());
        const uint16_t wLength = static_cast<uint16_t>(vLinks[i].size() * 2);
        std::memcpy(&v[8 + 24 * i], &ulOffset, 4);
        std::memcpy(&v[8 + 24 * i + 4], &wLength, 2);
        for (char16_t c : vLinks[i]) {
            v.push_back(static_cast<uint8_t>(c));
            v.push_back(static_cast<uint8_t>(c >> 8));
        }
    }
    return v;
}

TEST(EnumTest, MountManagerLinksGiveDriveLettersOnly)
{
    auto v = MountPoints({u"\\??\\Volume{0-0-0-0-1}", u"\\DosDevices\\e:", u"\\DosDevices\\F:",
                          u"\\DosDevices\\E:", u"\\DosDevices\\C:\\mnt", u"\\DosDevices\\1:"},
                         6);
    EXPECT_EQ(LettersOfMountPoints(v.data(), v.size()), "EF");
    // A count beyond the entries, and names beyond the answer, are passed over.
    v[4] = 200;
    EXPECT_EQ(LettersOfMountPoints(v.data(), v.size() - 2), "EF");
    EXPECT_EQ(LettersOfMountPoints(v.data(), 7), "");

    EXPECT_EQ(VolumePathOfInstanceId("STORAGE\\VOLUME\\_??_USBSTOR#DISK"),
              "\\\\?\\STORAGE#VOLUME#_??_USBSTOR#DISK#{53f5630d-b6bf-11d0-94f2-00a0c91efb8b}\\");
    std::string strList;
    AppendJoined(strList, "Stick");
    AppendJoined(strList, "");
    AppendJoined(strList, "Backup");
    EXPECT_EQ(strList, "Stick & Backup");
    std::string strLetters = "E";
    AddLetters(strLetters, "efG");
    EXPECT_EQ(strLetters, "EFG");
}

} // namespace
