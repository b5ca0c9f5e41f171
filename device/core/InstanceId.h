#ifndef QUENVALE_DEVICE_INSTANCEID_H
#define QUENVALE_DEVICE_INSTANCEID_H

#include <cstdint>
#include <string>

// What the Plug and Play device instance ids of a record and of its
// ancestors tell about it. The rules are applied to the record's own id,
// its parent's and its grandparent's in that order; each id changes only
// the fields that its rule names.
struct S_InstanceIdentity {
    std::string strUsbSerial;
    uint32_t ulUsbVendorId = 0;
    uint32_t ulUsbProductId = 0;
    std::string strHardwareIds;      // ids joined by ", "
    std::string str1394Vendor;
    std::string str1394Model;
    std::string str1394UniqueId;
    uint32_t ulLun = 0;              // LUN digit of a USB storage id
    bool bLunFound = false;
};

// Applies the rule of the id's beginning (compared without regard to case):
//   "USBSTOR\", "TPPIOSTB\", "CY_IOSTB\"  the USB serial and the LUN digit
//   "PU20SYSD\", "NECUSB\"                the USB serial after the last "&"
//   "USB\VID", "USB_ASMEDIA\VID"          USB ids, hardware id, USB serial
//   "\\?\hid#vid_"                        USB ids
//   "1394\"                               hardware id, IEEE 1394 texts
//   "SBP2\"                               IEEE 1394 unique id
// A unique id from a "1394\" id is taken only while none is known; it is
// rewritten with the bytes of each 32-bit half swapped, except on Windows 7
// (bWindows7), whose ids carry it in the right order already.
void ApplyInstanceId(const std::string& strId, bool bWindows7, S_InstanceIdentity& identity);

// Adds an id to a hardware id list unless it is there already.
void AddHardwareId(std::string& strList, const std::string& strId);

// Vendor, product and revision texts that a storage device's own instance
// id carries ("USBSTOR\...&VEN_..&PROD_..&REV_..\", "IDE\CDROM...",
// "IDE\DISK..."). Only the texts the id has are changed, each cut of
// trailing white space. False when the id is of another kind.
bool ParseStorageIds(const std::string& strId, std::string& strVendor, std::string& strProduct,
                     std::string& strRevision);

#endif
