// Instance ids, storage ids and the volume keys of the mount manager.
#include "device/core/InstanceId.h"
#include "device/core/MountedDevices.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct InstanceCase {
    const char* pszId;
    bool bWindows7;
    const char* pszSerial;      // USB serial afterwards
    uint32_t ulVendor, ulProduct;
    int nLun;                   // -1: none read
    const char* pszHardwareIds;
    const char* psz1394Vendor;
    const char* psz1394Model;
    const char* pszUniqueId;
};

TEST(InstanceIdTest, EachPrefixTakesWhatItsRuleNames)
{
    const std::vector<InstanceCase> cases = {
        // Storage ids: serial up to the first "&", blanks for "_", one-digit LUN.
        {"USBSTOR\\DISK&VEN_ACME&PROD_STICK&REV_1.00\\AB_12_CD&0", false, "AB 12 CD", 0, 0, 0, "", "", "", ""},
        {"usbstor\\disk&ven_acme\\0123456789&3", false, "0123456789", 0, 0, 3, "", "", "", ""},
        {"USBSTOR\\DISK&VEN_ACME\\0123&10", false, "0123", 0, 0, -1, "", "", "", ""},
        {"USBSTOR\\DISK&VEN_ACME\\NOAMPERSAND", false, "", 0, 0, -1, "", "", "", ""},
        {"USBSTOR\\DISK&VEN_ACME\\USB&VID_1234&PID_5678&SER99", false, "SER99", 0, 0, -1, "", "", "", ""},
        {"TPPIOSTB\\DISK\\T_1&1", false, "T 1", 0, 0, 1, "", "", "", ""},
        {"CY_IOSTB\\DISK\\C9&0", false, "C9", 0, 0, 0, "", "", "", ""},
        {"PU20SYSD\\DISK&X\\A&B&SERIALP", false, "SERIALP", 0, 0, -1, "", "", "", ""},
        {"NECUSB\\DISK&N&SERIALN", false, "SERIALN", 0, 0, -1, "", "", "", ""},
        // USB device ids: ids at fixed places, hardware id, serial without "&".
        {"USB\\VID_0781&PID_5567\\4C530001", false, "4C530001", 0x0781, 0x5567, -1,
         "USB\\VID_0781&PID_5567\\4C530001", "", "", ""},
        {"USB\\VID_0781&PID_5567\\MSFT304C53", false, "4C53", 0x0781, 0x5567, -1,
         "USB\\VID_0781&PID_5567\\MSFT304C53", "", "", ""},
        {"USB\\VID_0781&PID_5567&MI_00\\6&2A3B&0&0000", false, "", 0x0781, 0x5567, -1,
         "USB\\VID_0781&PID_5567&MI_00\\6&2A3B&0&0000", "", "", ""},
        {"USB\\VID_XY81&PID_5567\\S1", false, "S1", 0, 0, -1, "USB\\VID_XY81&PID_5567\\S1", "", "", ""},
        {"USB_ASMEDIA\\VID_174C&PID_5106\\A5", false, "A5", 0x174C, 0x5106, -1,
         "USB_ASMEDIA\\VID_174C&PID_5106\\A5", "", "", ""},
        {"\\\\?\\HID#VID_046D&PID_C52B#7&1", false, "", 0x046D, 0xC52B, -1, "", "", "", ""},
        // IEEE 1394: texts, and the unique id with each 32-bit half swapped
        // except on Windows 7.
        {"1394\\ACME&DISK\\0011223344556677", false, "", 0, 0, -1, "1394\\ACME&DISK\\0011223344556677",
         "ACME", "DISK", "3322110077665544"},
        {"1394\\ACME&DISK\\0011223344556677", true, "", 0, 0, -1, "1394\\ACME&DISK\\0011223344556677",
         "ACME", "DISK", "0011223344556677"},
        {"1394\\ACME&DISK\\NOTHEX", false, "", 0, 0, -1, "1394\\ACME&DISK\\NOTHEX", "ACME", "DISK", "NOTHEX"},
        {"SBP2\\ACME&DISK&LUN0\\00aabbccddeeff00", false, "", 0, 0, -1, "", "", "", "00aabbccddeeff00"},
        {"SBP2\\ACME&DISK\\00aabbcc", false, "", 0, 0, -1, "", "", "", ""},
        {"SCSI\\DISK&VEN_X\\1&2", false, "", 0, 0, -1, "", "", "", ""},
    };
    for (const InstanceCase& c : cases) {
        SCOPED_TRACE(c.pszId);
        S_InstanceIdentity id;
        ApplyInstanceId(c.pszId, c.bWindows7, id);
        EXPECT_EQ(id.strUsbSerial, c.pszSerial);
        EXPECT_EQ(id.ulUsbVendorId, c.ulVendor);
        EXPECT_EQ(id.ulUsbProductId, c.ulProduct);
        EXPECT_EQ(id.bLunFound, c.nLun >= 0);
        if (c.nLun >= 0) {
            EXPECT_EQ(id.ulLun, static_cast<uint32_t>(c.nLun));
        }
        EXPECT_EQ(id.strHardwareIds, c.pszHardwareIds);
        EXPECT_EQ(id.str1394Vendor, c.psz1394Vendor);
        EXPECT_EQ(id.str1394Model, c.psz1394Model);
        EXPECT_EQ(id.str1394UniqueId, c.pszUniqueId);
    }
}

TEST(InstanceIdTest, AncestorsAddToWhatTheOwnIdGave)
{
    S_InstanceIdentity id;
    // A disk's own id, its USB device node, then the hub above it.
    ApplyInstanceId("SBP2\\ACME&DISK&LUN0\\FROMSBP2", false, id);
    ApplyInstanceId("1394\\ACME&DISK\\0011223344556677", false, id);
    EXPECT_EQ(id.str1394UniqueId, "FROMSBP2");  // a known unique id is kept

    S_InstanceIdentity usb;
    usb.ulUsbVendorId = 0x1111;
    usb.ulUsbProductId = 0x2222;
    ApplyInstanceId("USB\\VID_0781&PID_5567\\S1", false, usb);
    ApplyInstanceId("USB\\VID_0781&PID_5567\\S1", false, usb);
    EXPECT_EQ(usb.ulUsbVendorId, 0x1111u);      // both known: not read again
    EXPECT_EQ(usb.strHardwareIds, "USB\\VID_0781&PID_5567\\S1");  // listed once
    ApplyInstanceId("USB\\ROOT_HUB20\\4&1", false, usb);
    EXPECT_EQ(usb.strHardwareIds, "USB\\VID_0781&PID_5567\\S1");
}

TEST(InstanceIdTest, StorageIdsComeFromTheirFields)
{
    struct Case {
        const char* pszId;
        bool bKnown;
        const char *pszVendor, *pszProduct, *pszRevision;
    };
    const std::vector<Case> cases = {
        {"USBSTOR\\Disk&Ven_SanDisk&Prod_Cruzer_Blade&Rev_1.26\\4C53&0", true, "SanDisk",
         "Cruzer_Blade", "1.26"},
        {"USBSTOR\\Disk&Ven_&Prod_Stick\\1&0", true, "", "Stick", "old"},
        {"IDE\\CDROMHL-DT-STDVDRAM_GH22NS50_________________TN02____\\5&1", true, "HL-DT-ST",
         "DVDRAM_GH22NS50_________________", "TN02____"},
        {"IDE\\DiskST3500418AS_____________________________CC38____\\5&2", true, "ST350041",
         "8AS_____________________________", "CC38____"},
        {"IDE\\DiskSHORT\\5&2", true, "SHORT", "", ""},
        {"SCSI\\Disk&Ven_X&Prod_Y\\1", false, "old", "old", "old"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszId);
        std::string strVendor = "old", strProduct = "old", strRevision = "old";
        EXPECT_EQ(ParseStorageIds(c.pszId, strVendor, strProduct, strRevision), c.bKnown);
        EXPECT_EQ(strVendor, c.pszVendor);
        EXPECT_EQ(strProduct, c.pszProduct);
        EXPECT_EQ(strRevision, c.pszRevision);
    }
}

std::vector<uint8_t> Utf16(const std::string& strText)
{
    std::vector<uint8_t> v;
    for (char c : strText) {
        v.push_back(static_cast<uint8_t>(c));
        v.push_back(0);
    }
    v.push_back(0);
    v.push_back(0);
    return v;
}

TEST(MountedDevicesTest, ValuesNameTheVolumeBySignatureOrDeviceName)
{
    const S_VolumeKey key =
        VolumeKeyFromInstanceId("STORAGE\\VOLUME\\1&30A96598&0&SIGNATURE2EA4AD2EOFFSET7E00LENGTH1D1C0C00");
    ASSERT_TRUE(key.bSignature);
    EXPECT_EQ(key.ulSignature, 0x2EA4AD2Eu);
    EXPECT_EQ(key.ullOffset, 0x7E00u);

    const uint8_t match[12] = {0x2E, 0xAD, 0xA4, 0x2E, 0x00, 0x7E, 0, 0, 0, 0, 0, 0};
    uint8_t other[12];
    std::copy(match, match + 12, other);
    other[5] = 0x7F;
    EXPECT_TRUE(MountedDataMatches(match, 12, key));
    EXPECT_FALSE(MountedDataMatches(other, 12, key));
    EXPECT_FALSE(MountedDataMatches(match, 11, key));

    const S_VolumeKey named = VolumeKeyFromInstanceId("STORAGE\\RemovableMedia\\7&1E2F5C6&0&RM");
    EXPECT_FALSE(named.bSignature);
    EXPECT_FALSE(MountedDataMatches(match, 12, named));
    const auto name = Utf16("\\??\\STORAGE#RemovableMedia#7&1e2f5c6&0&RM#{53f5630d-b6bf-11d0}");
    EXPECT_TRUE(MountedDataMatches(name.data(), name.size(), named));
    const auto otherName = Utf16("\\??\\STORAGE#RemovableMedia#7&99&0&RM#{53f5630d}");
    EXPECT_FALSE(MountedDataMatches(otherName.data(), otherName.size(), named));

    EXPECT_EQ(LetterFromMountedName("\\DosDevices\\e:"), 'E');
    EXPECT_EQ(LetterFromMountedName("\\DosDevices\\E:\\x"), 0);
    EXPECT_EQ(LetterFromMountedName("\\??\\Volume{1}"), 0);
    EXPECT_EQ(VolumePathFromMountedName("\\??\\Volume{a-b}"), "\\\\?\\Volume{a-b}\\");
    EXPECT_EQ(VolumePathFromMountedName("\\DosDevices\\E:"), "");
}

} // namespace
