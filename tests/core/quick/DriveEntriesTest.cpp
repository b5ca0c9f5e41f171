#include "quick/core/DriveEntries.h"

#include <gtest/gtest.h>

#include "device/core/RudvaneTypes.h"
#include "quick/core/QuickResults.h"

namespace {

S_DriveRecordFacts Record(const char* pszLetters, int32_t lMediaClass, uint32_t ulBusFlags, const char* pszDisplay,
                          const char* pszVendor = "", const char* pszProduct = "", uint64_t ullBlocks = 0)
{
    S_DriveRecordFacts record;
    record.strLetters = pszLetters;
    record.lMediaClass = lMediaClass;
    record.ulBusFlags = ulBusFlags;
    record.strDisplayName = pszDisplay;
    record.strVendor = pszVendor;
    record.strProduct = pszProduct;
    record.ullBlockCount = ullBlocks;
    record.ulBlockSize = ullBlocks != 0 ? 512 : 0;
    return record;
}

TEST(DriveEntries, RecordsBuildOneEntryPerLetterInLetterOrder)
{
    std::vector<S_DriveEntry> vEntries;
    // A letter record first, then the Plug and Play record of the same
    // stick, then a two-letter optical record and a stray character.
    AddDriveRecord(vEntries, Record("F", RUDVANE_MEDIA_REMOVABLE_VOLUME, RUDVANE_BUS_OTHER, "STICK (F:)"));
    S_DriveRecordFacts pnp = Record("F", RUDVANE_MEDIA_REMOVABLE_DEVICE, RUDVANE_BUS_USB, "", "Acme", "Stick", 31250000);
    pnp.strRevision = "1.0";
    pnp.bHasUsbVendor = true;
    pnp.ulUsbVendorId = kUsbVendorBlue;
    AddDriveRecord(vEntries, pnp);
    AddDriveRecord(vEntries, Record("ED", RUDVANE_MEDIA_OPTICAL, RUDVANE_BUS_1394, ""));
    AddDriveRecord(vEntries, Record("c?", RUDVANE_MEDIA_NETWORK, RUDVANE_BUS_OTHER, "share (C:)"));
    AddDriveRecord(vEntries, Record("D", RUDVANE_MEDIA_FIXED_VOLUME, RUDVANE_BUS_OTHER, "", "Late", "Texts"));
    // iSCSI beats the media class, a known USB vendor beats iSCSI; an id
    // that was not answered counts for nothing.
    AddDriveRecord(vEntries, Record("G", RUDVANE_MEDIA_RAM_DISK, RUDVANE_BUS_ISCSI, "G:"));
    S_DriveRecordFacts amber = Record("H", RUDVANE_MEDIA_TAPE, RUDVANE_BUS_ISCSI | RUDVANE_BUS_THUNDERBOLT, "H:");
    amber.bHasUsbVendor = true;
    amber.ulUsbVendorId = kUsbVendorAmber;
    AddDriveRecord(vEntries, amber);
    S_DriveRecordFacts unanswered = Record("I", RUDVANE_MEDIA_TAPE, RUDVANE_BUS_OTHER, "I:");
    unanswered.ulUsbVendorId = kUsbVendorBlue;
    AddDriveRecord(vEntries, unanswered);
    // Display names of volumes without a label start with a blank.
    AddDriveRecord(vEntries, Record("J", RUDVANE_MEDIA_FIXED_VOLUME, RUDVANE_BUS_OTHER, " (J:)", "", "", 31250000));
    AddDriveRecord(vEntries, Record("K", RUDVANE_MEDIA_FIXED_VOLUME, RUDVANE_BUS_OTHER, " \t"));

    struct Expected {
        char cLetter;
        const char* pszName;
        const char* pszDescription;
        uint32_t ulBusBits;
        int nIcon;
    };
    const std::vector<Expected> vExpected = {
        {'C', "share (C:)", "", QUICK_BUS_NETWORK, DRIVE_ICON_NETWORK},
        // The later record renames the entry; its texts fill the empty description.
        {'D', "D:", "Late - Texts", QUICK_BUS_FIREWIRE, DRIVE_ICON_OPTICAL},
        {'E', "ED:", "", QUICK_BUS_FIREWIRE, DRIVE_ICON_OPTICAL},
        // Bus bits and icon stay those of the first record; the name is the last one's.
        {'F', "14.9 GB F:", "Acme - Stick - 1.0", 0, DRIVE_ICON_REMOVABLE},
        {'G', "G:", "", QUICK_BUS_RAM_DRIVE, DRIVE_ICON_ISCSI},
        {'H', "H:", "", QUICK_BUS_THUNDERBOLT, DRIVE_ICON_USB_AMBER},
        {'I', "I:", "", 0, DRIVE_ICON_TAPE},
        {'J', "14.9 GB (J:)", "", 0, DRIVE_ICON_FIXED},
        {'K', "K:", "", 0, DRIVE_ICON_FIXED},
    };
    ASSERT_EQ(vEntries.size(), vExpected.size());
    for (size_t i = 0; i < vExpected.size(); ++i) {
        SCOPED_TRACE(vExpected[i].cLetter);
        EXPECT_EQ(vEntries[i].cLetter, vExpected[i].cLetter);
        EXPECT_EQ(vEntries[i].strName, vExpected[i].pszName);
        EXPECT_EQ(vEntries[i].strDescription, vExpected[i].pszDescription);
        EXPECT_EQ(vEntries[i].ulBusBits, vExpected[i].ulBusBits);
        EXPECT_EQ(vEntries[i].nIcon, vExpected[i].nIcon);
    }
}

TEST(DriveEntries, PreselectPicksTheLastMatchOrTheNamedLetter)
{
    std::vector<S_DriveEntry> vEntries(4);
    const char* aNames[] = {"Local Disk (C:)", "Removable Disk (E:)", "STICK (F:)", "Data (G:)"};
    const char* aDescriptions[] = {"", "", "Acme - Stick", "Acme - Disk"};
    for (size_t i = 0; i < vEntries.size(); ++i) {
        vEntries[i].cLetter = static_cast<char>('C' + (i == 0 ? 0 : i + 1));
        vEntries[i].strName = aNames[i];
        vEntries[i].strDescription = aDescriptions[i];
    }
    struct Case {
        const char* pszPreselect;
        int nIndex;
    };
    for (const Case& c : {Case{"", 0}, Case{"stick", 2}, Case{"ACME", 3}, Case{"disk", 3}, Case{"(e:)", 1},
                          Case{"E", 1}, Case{"e:", 1}, Case{"G:\\", 3}, Case{"Z", -1}, Case{"E:\\test.bin", -1},
                          Case{"?", -1}, Case{"nothing", -1}}) {
        SCOPED_TRACE(c.pszPreselect);
        EXPECT_EQ(PreselectIndex(vEntries, c.pszPreselect), c.nIndex);
    }
    EXPECT_EQ(PreselectIndex({}, ""), -1);
}

TEST(DriveEntries, FileSizeBoxText)
{
    struct Case {
        const char* pszText;
        uint64_t ullBytes;
    };
    for (const Case& c : {Case{"1", 1048576}, Case{" 12abc", 12 * 1048576ull}, Case{"+3", 3 * 1048576ull},
                          Case{"", 0}, Case{"abc", 0}, Case{"-5", 0}, Case{"0", 0},
                          Case{"17592186044415", 17592186044415ull * 1048576ull},
                          Case{"17592186044416", 0}, Case{"99999999999999999999999", 0}}) {
        SCOPED_TRACE(c.pszText);
        EXPECT_EQ(FileSizeOfBoxText(c.pszText), c.ullBytes);
    }
}

} // namespace
