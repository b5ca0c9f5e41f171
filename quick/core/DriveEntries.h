#ifndef QUENVALE_QUICK_DRIVEENTRIES_H
#define QUENVALE_QUICK_DRIVEENTRIES_H

#include <cstdint>
#include <string>
#include <vector>

// Icons of the Quick Access drive list, as indexes into its image list.
enum : int {
    DRIVE_ICON_FIXED = 0,
    DRIVE_ICON_OPTICAL = 1,
    DRIVE_ICON_REMOVABLE = 2,
    DRIVE_ICON_NETWORK = 3,
    DRIVE_ICON_RAM = 4,
    DRIVE_ICON_TAPE = 5,
    DRIVE_ICON_USB_BLUE = 6,
    DRIVE_ICON_USB_AMBER = 7,
    DRIVE_ICON_ISCSI = 8,
    DRIVE_ICON_COUNT = 9,
};

// USB vendors whose drives get their own icon.
constexpr uint32_t kUsbVendorBlue = 0x07AB;
constexpr uint32_t kUsbVendorAmber = 0x18A5;

// One drive letter of the Quick Access drive list.
struct S_DriveEntry {
    char cLetter = 0;              // 'A'..'Z'; the list is kept in letter order
    uint32_t ulBusBits = 0;        // QUICK_BUS_ bits (QuickResults.h)
    std::string strName;           // the item text
    std::string strDescription;    // vendor, product, revision; the tile's second line
    int nIcon = DRIVE_ICON_FIXED;
};

// What one device record tells the drive list.
struct S_DriveRecordFacts {
    std::string strLetters;        // one character per drive letter
    int32_t lMediaClass = 0;       // RUDVANE_MEDIA_ value
    uint32_t ulBusFlags = 0;       // RUDVANE_BUS_ bits
    uint64_t ullBlockCount = 0;
    uint32_t ulBlockSize = 0;
    std::string strDisplayName;
    std::string strVendor;
    std::string strProduct;
    std::string strRevision;
    bool bHasUsbVendor = false;    // the record answered its USB vendor id
    uint32_t ulUsbVendorId = 0;
};

// QUICK_BUS_ bits of a record: USB, IEEE 1394 and Thunderbolt from the bus
// flags, RAM drive and network drive from the media class.
uint32_t DriveBusBitsOf(int32_t lMediaClass, uint32_t ulBusFlags);

// The icon of a record: by media class, then iSCSI, then the USB vendor.
int DriveIconOf(const S_DriveRecordFacts& record);

// The item text of a record: "<size> " (short units, one decimal) when the
// record knows its size, then its display name without leading or trailing
// white space, or, when that leaves nothing, its letters and ":".
std::string DriveNameOf(const S_DriveRecordFacts& record);

// Vendor, product and revision, the empty ones left out, joined with " - ".
std::string DriveDescriptionOf(const std::string& strVendor, const std::string& strProduct,
                               const std::string& strRevision);

// Adds a record to the entries (kept in letter order), one entry per letter
// it holds. A new entry takes its bus bits and icon from this record; every
// record holding the letter renames the entry (so the last one in list
// order names it); the first one with vendor, product or revision gives the
// description (DriveDescriptionOf). Characters other than 'A'..'Z' are
// passed over.
void AddDriveRecord(std::vector<S_DriveEntry>& vEntries, const S_DriveRecordFacts& record);

// The entry to select: the first without a preselect text. With one, the
// last entry whose name or else whose description contains it, regardless
// of case; a text that is a drive letter alone ("E", "e:", "E:\") selects
// that drive. -1 when nothing is to be selected.
int PreselectIndex(const std::vector<S_DriveEntry>& vEntries, const std::string& strPreselect);

// The file size box's text read as MByte ("%I64u"): bytes, or 0 when the
// text is no number, negative, or too large for 64-bit bytes.
uint64_t FileSizeOfBoxText(const std::string& strText);

#endif
