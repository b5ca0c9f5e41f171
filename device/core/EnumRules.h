#ifndef QUENVALE_DEVICE_ENUMRULES_H
#define QUENVALE_DEVICE_ENUMRULES_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "device/core/RudvaneRecord.h"

// The portable rules of the enumeration passes: which letters and device
// classes a pass looks at, how system answers turn into record fields.

// The drive letters of a GetLogicalDrives mask, from A upwards; A only with
// RUDVANE_OPT_FLOPPY.
std::string EnumLetters(uint32_t ulDrives, uint32_t ulOptions);
// Whether file-system queries may touch this letter (A only with RUDVANE_OPT_FLOPPY).
bool MayQueryLetter(char cLetter, uint32_t ulOptions);

// Drive types of GetDriveTypeA.
enum : uint32_t {
    RUDVANE_DRIVE_REMOVABLE = 2,
    RUDVANE_DRIVE_FIXED = 3,
    RUDVANE_DRIVE_REMOTE = 4,
    RUDVANE_DRIVE_CDROM = 5,
    RUDVANE_DRIVE_RAMDISK = 6,
};
// Media class of a drive type for a whole device (removable 4, fixed 1) or a
// volume (removable 5, fixed 2); remote 7, CD-ROM 3, RAM disk 6; -1 for any
// other type (the class stays as it was).
int32_t MediaClassOfDriveType(uint32_t ulDriveType, bool bWholeDevice);

// A class GUID in the system's layout.
struct S_ClassGuid {
    uint32_t ulData1;
    uint16_t wData2;
    uint16_t wData3;
    uint8_t data4[8];
};
bool operator==(const S_ClassGuid& a, const S_ClassGuid& b);

// One class that the Plug and Play pass walks.
struct S_InterfaceClass {
    S_ClassGuid guid;
    uint32_t ulNumberBase;   // added to the path hash of each device
    bool bWholeDevice;       // disks rather than volumes
    bool bFloppy;            // records get RUDVANE_BUS_FLOPPY
    bool bInterface;         // a device-interface class (NT) or a setup class (9x)
};
// The classes of the pass in walking order: three setup classes on Windows
// 9x; on NT the volume (unless option 0x200), disk (unless 0x400), tape (with
// 0x800) and floppy (with 0x2) interfaces and the one walked like disks.
std::vector<S_InterfaceClass> InterfaceClasses(bool bWin9x, uint32_t ulOptions);

// The hub interface class and the USB setup class.
extern const S_ClassGuid kUsbHubInterface;
extern const S_ClassGuid kUsbSetupClass;
extern const S_ClassGuid kVolumeInterface;
extern const S_ClassGuid kDiskInterface;

// Storage number: device type << 16 | device number << 8 | partition, each
// cut to 8 bits. kNoStorageNumber when neither query answered.
constexpr uint32_t kNoStorageNumber = 0xFFFFFFFF;
uint32_t PackStorageNumber(uint32_t ulType, uint32_t ulNumber, uint32_t ulPartition);
// Whether two storage numbers name the same device (type and number), and
// with bPartition the same partition too. An unknown number matches nothing.
bool SameStorageDevice(uint32_t ulA, uint32_t ulB, bool bPartition);

// The storage device descriptor's device type and bus type applied to a
// record: disks (types 0 and 14) become class 1 or 2 unless removable, tapes
// (1) class 8, optical drives (5, 7) class 3 with 2048-byte blocks, others
// class 0; an unset block size becomes 512 (2048 for optical). The bus type
// sets the bus bits as BusFlagsFromBusType says.
void ApplyStorageTypes(uint8_t bDeviceType, uint32_t ulBusType, bool bWholeDevice,
                       S_RudvaneRecord& record);
// Transfer limit in blocks from the adapter's maximum transfer length: at
// most 1024 on IEEE 1394, at least 1. 0 when the block size is unknown.
uint32_t AdapterMaxBlocks(uint32_t ulMaxTransferBytes, uint32_t ulBlockSize, uint32_t ulBusFlags);

// "\\?\<id with "\" as "#">#{53f5630d-b6bf-11d0-94f2-00a0c91efb8b}\": the
// volume interface path of a device instance id.
std::string VolumePathOfInstanceId(const std::string& strInstanceId);

// Adds a text to a list joined by " & " (empty texts are left out).
void AppendJoined(std::string& strList, const std::string& strText);
// Adds the letters of strNew that strLetters does not hold yet.
void AddLetters(std::string& strLetters, const std::string& strNew);

// The drive letters of a mount manager answer (MOUNTMGR_MOUNT_POINTS):
// every symbolic link "\DosDevices\X:" adds X. Offsets and lengths are
// checked against nSize.
std::string LettersOfMountPoints(const uint8_t* pData, size_t nSize);

#endif
