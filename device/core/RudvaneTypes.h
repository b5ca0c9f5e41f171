#ifndef QUENVALE_DEVICE_RUDVANETYPES_H
#define QUENVALE_DEVICE_RUDVANETYPES_H

#include <cstdint>

// Values shared by the Rudvane device layer and its callers: record kinds,
// media classes, bus bits, capability bits, option bits of RudvaneInit,
// notification events, Query codes and Win32 error numbers that portable
// code hands to its callers.

// ulKind: which enumeration pass made a record. One bit each, so that a set
// of kinds is an OR of them.
enum : uint32_t {
    RUDVANE_KIND_PHYSICAL = 0x1,
    RUDVANE_KIND_CDROM = 0x2,
    RUDVANE_KIND_VOLUME = 0x4,
    RUDVANE_KIND_LETTER = 0x10,
    RUDVANE_KIND_VWIN32 = 0x20,
    RUDVANE_KIND_ASPI = 0x40,
    RUDVANE_KIND_DRIVER = 0x80,
    RUDVANE_KIND_PNP = 0x200,
    RUDVANE_KIND_TRACK = 0x800,
};

// ulMediaClass. A whole device and a volume on it differ in 1/2 and 4/5.
enum : int32_t {
    RUDVANE_MEDIA_OTHER = 0,
    RUDVANE_MEDIA_FIXED_DEVICE = 1,
    RUDVANE_MEDIA_FIXED_VOLUME = 2,
    RUDVANE_MEDIA_OPTICAL = 3,
    RUDVANE_MEDIA_REMOVABLE_DEVICE = 4,
    RUDVANE_MEDIA_REMOVABLE_VOLUME = 5,
    RUDVANE_MEDIA_RAM_DISK = 6,
    RUDVANE_MEDIA_NETWORK = 7,
    RUDVANE_MEDIA_TAPE = 8,
};

// ulBusFlags. A pass that learns the bus type replaces the low byte with one
// of the first six bits.
enum : uint32_t {
    RUDVANE_BUS_OTHER = 0x1,  // internal or other bus; the start value
    RUDVANE_BUS_USB = 0x2,
    RUDVANE_BUS_SCSI = 0x4,
    RUDVANE_BUS_1394 = 0x8,
    RUDVANE_BUS_ISCSI = 0x20,
    RUDVANE_BUS_THUNDERBOLT = 0x40,
    RUDVANE_BUS_BRIDGE_100000 = 0x100000,    // set by bridge families that
    RUDVANE_BUS_BRIDGE_200000 = 0x200000,    // recognised the device
    RUDVANE_BUS_BRIDGE_4000000 = 0x4000000,
    RUDVANE_BUS_FLOPPY = 0x80000000,         // came from the floppy class
};

// ulCaps.
enum : uint32_t {
    RUDVANE_CAP_BLOCKS = 0x1,           // holds media addressed by blocks
    RUDVANE_CAP_READ = 0x2,
    RUDVANE_CAP_WRITE = 0x4,
    RUDVANE_CAP_PATH = 0x118,           // 0x8, 0x10, 0x100: opened by a path
    RUDVANE_CAP_PNP = 0xA0,             // 0x20, 0x80: Plug and Play record
    RUDVANE_CAP_ATA_IDENTIFY = 0x40,    // answered ATA IDENTIFY
    RUDVANE_CAP_ATA_CHECKED = 0x8000000,   // vendor check for ATA pass-through made
    RUDVANE_CAP_ATA_REFUSED = 0x10000000,  // ATA pass-through refused
    RUDVANE_CAP_ATA_IDENTITY = 0x40000000, // texts came from ATA IDENTIFY
    RUDVANE_CAP_STALE = 0x80000000,     // not yet found again by this refresh
};

// Option bits of RudvaneInit: the caller's, then those the layer adds.
enum : uint32_t {
    RUDVANE_OPT_DRIVER_REQUEST = 0x1,   // changes the request to the driver
    RUDVANE_OPT_FLOPPY = 0x2,           // include drive A: and the floppy class
    RUDVANE_OPT_LOCKED_REFRESH = 0x4,   // the caller locks the list for a refresh
    RUDVANE_OPT_NO_BRIDGES = 0x8,       // skip bridge and chip identification
    RUDVANE_OPT_QUICK_PNP = 0x10,       // skip the slower Plug and Play queries
    RUDVANE_OPT_GENERIC_40 = 0x40,      // allow generic identification
    RUDVANE_OPT_GENERIC_80 = 0x80,
    RUDVANE_OPT_NO_VOLUME_INTERFACE = 0x200,
    RUDVANE_OPT_NO_DISK_INTERFACE = 0x400,
    RUDVANE_OPT_TAPE_INTERFACE = 0x800,
    RUDVANE_OPT_ADMIN = 0x2000,         // added: Administrators member, or Windows 9x
    RUDVANE_OPT_NO_SIZE = 0x4000,       // never ask a device for its size
    RUDVANE_OPT_WINDOWS7 = 0x8000,      // added on Windows 7
    RUDVANE_OPT_WINDOWS8 = 0x10000,     // added on Windows 8
};

// The options each page starts the layer with (RudvaneInit). Block Access
// adds RUDVANE_OPT_FLOPPY when the program was asked to support floppies.
enum : uint32_t {
    RUDVANE_OPTIONS_BLOCK_ACCESS = 0xFFF00800,
    RUDVANE_OPTIONS_QUICK_ACCESS = 0xFFF00000,
};

// Errors of the layer's own, with the customer bit (0x20000000) set so that
// they never meet a system error number. RudvaneErrorText
// (device/core/RudvaneErrors.h) gives their texts.
enum : uint32_t {
    // A write to the device that holds the running Windows was refused.
    RUDVANE_ERROR_SYSTEM_DEVICE = 0x20520001,
    // The device behind a record's path is no longer the one the record
    // describes (another medium or device, or another size).
    RUDVANE_ERROR_DEVICE_CHANGED = 0x20520002,
};

// Events of the notification callback.
enum : int {
    RUDVANE_EVENT_ADDED = 0,      // after a record was added
    RUDVANE_EVENT_REMOVING = 1,   // before a record is deleted
};

// Query codes. 0x2xxxx: Plug and Play records from their own data; 0x7xxxx:
// records opened by a path; others go to the attached handler, then the base.
// Texts are written to std::string objects, numbers to uint32_t.
enum : uint32_t {
    RUDVANE_Q_USB_SERIAL = 0x20001,          // out: std::string
    RUDVANE_Q_USB_IDS = 0x20002,             // out: vendor id, out2: product id
    RUDVANE_Q_RESTART = 0x20003,             // arg 1: then wait for the letters
    RUDVANE_Q_HARDWARE_IDS = 0x20004,        // out: std::string
    RUDVANE_Q_LOCATION = 0x20005,            // out: std::string
    RUDVANE_Q_1394_UNIQUE_ID = 0x20006,      // out: std::string
    RUDVANE_Q_1394_UNIQUE_ID_PARTS = 0x20007,// out, out2: uint32_t
    RUDVANE_Q_1394_VENDOR_MODEL = 0x20008,   // out, out2: std::string
    RUDVANE_Q_CLASS_GUID = 0x2000c,          // out: GUID
    RUDVANE_Q_DEVICE_NODE = 0x2000d,         // out: uint32_t
    RUDVANE_Q_ENABLE = 0x2000e,              // arg 1 enable, 0 disable
    RUDVANE_Q_INSTANCE_IDS = 0x2000f,        // out: own, out2: parent's
    RUDVANE_Q_USB_SPEED = 0x20011,           // out port, out2 text, out3 code
    RUDVANE_Q_RESTART_PORT = 0x20012,
    RUDVANE_Q_REMOVAL_POLICY = 0x20013,      // arg: the policy
    RUDVANE_Q_CHIP_USB_SERIAL = 0x30001,
    RUDVANE_Q_CHIP_USB_IDS = 0x30002,
    RUDVANE_Q_CHIP_1394_UNIQUE_ID = 0x30003,
    RUDVANE_Q_CHIP_1394_VENDOR_MODEL = 0x30004,
    RUDVANE_Q_CHIP_LOCATION = 0x30005,
    RUDVANE_Q_DRIVER_SERIAL = 0x10003,
    RUDVANE_Q_DRIVER_USB_IDS = 0x10004,
    RUDVANE_Q_FLUSH = 0x70001,
    RUDVANE_Q_MINIPORT_IDENTIFY = 0x70002,   // out: 512 bytes, arg: drive number
    RUDVANE_Q_IO_REQUEST = 0x70003,          // out: S_RudvaneIoRequest
    RUDVANE_Q_LOCK_VOLUMES = 0x70004,        // arg 1 lock, 0 unlock and close
    RUDVANE_Q_DEVICE_PATH = 0x70005,         // out: std::string, the path the record opens
    RUDVANE_Q_SMART_ENABLE = 0x100001,       // arg 1 enable, 0 disable
    RUDVANE_Q_SMART_DATA = 0x100002,         // arg 1 data, 0 thresholds; out: 512 bytes
    RUDVANE_Q_SMART_STATUS = 0x100003,       // out: uint32_t, 1 = no threshold exceeded
    // Chip handlers (identification):
    RUDVANE_Q_CHIP_FIRMWARE = 0x30010,       // out: std::string, the chip's firmware text
    RUDVANE_Q_CHIP_FAMILY = 0x30011,         // out: uint32_t, E_BridgeFamily
    // Device management (not used by the benchmark pages):
    RUDVANE_Q_ASPI_BOOT_RECORD = 0x80001,    // ASPI targets: write a one-partition MBR
    RUDVANE_Q_CONVERT_NTFS = 0x80002,        // convert the first letter's volume to NTFS
    RUDVANE_Q_CHECK_DISK = 0x80003,          // arg 1: fix errors
    RUDVANE_Q_MEDIA_NAME = 0x80004,          // out: std::string, DVD or HD DVD media type
};

// Flags of C_RudvaneDevice::Format.
enum : uint32_t {
    RUDVANE_FORMAT_QUICK = 0x1,              // quick format through the system
    RUDVANE_FORMAT_OWN_FAT32 = 0x2,          // the layer's own FAT32 formatter
};

// USB speed code of a record without a USB port.
constexpr uint32_t RUDVANE_USB_SPEED_NO_PORT = 6;

// How AtaCommand reaches a device (set by identification).
enum : int {
    RUDVANE_ATA_VENDOR_CDB = 0,      // vendor CDB 0xCC through SCSI pass-through
    RUDVANE_ATA_IDE_PASS_THROUGH = 1,
    RUDVANE_ATA_PASS_THROUGH = 2,    // the system's ATA pass-through
    RUDVANE_ATA_SAT = 3,             // SCSI ATA PASS-THROUGH(12)
};

// Direction of AtaCommand.
enum : int {
    RUDVANE_ATA_READ = 0,
    RUDVANE_ATA_WRITE = 1,
    RUDVANE_ATA_NO_DATA = 2,
};

// Win32 error numbers that portable code chooses for its callers.
namespace rudvane_error {
constexpr uint32_t kInvalidFunction = 1;
constexpr uint32_t kNotReady = 21;
constexpr uint32_t kCrc = 23;
constexpr uint32_t kSectorNotFound = 27;   // a block outside the record's range
constexpr uint32_t kWriteProtect = 19;
constexpr uint32_t kHandleEof = 38;
constexpr uint32_t kNotSupported = 50;     // a request the device or driver does not know
constexpr uint32_t kInvalidParameter = 87;
constexpr uint32_t kBusy = 170;
constexpr uint32_t kMediaChanged = 1110;
constexpr uint32_t kIoDevice = 1117;
} // namespace rudvane_error

#endif
