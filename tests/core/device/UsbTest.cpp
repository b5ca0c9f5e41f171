#include "device/core/UsbAnswers.h"
#include "device/core/UsbSpeed.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

// A device descriptor as the USB standard lays it out.
std::vector<uint8_t> DeviceDescriptor(uint16_t wBcdUsb, uint16_t wVendor, uint16_t wProduct)
{
    return {18, 1, static_cast<uint8_t>(wBcdUsb), static_cast<uint8_t>(wBcdUsb >> 8), 0, 0, 0, 64,
            static_cast<uint8_t>(wVendor), static_cast<uint8_t>(wVendor >> 8),
            static_cast<uint8_t>(wProduct), static_cast<uint8_t>(wProduct >> 8), 0x00, 0x11, 1, 2,
            3, 1};
}

TEST(UsbTest, ConnectionInformationFieldsSitWhereTheHubDriverPutsThem)
{
    std::vector<uint8_t> v = {7, 0, 0, 0};
    const auto d = DeviceDescriptor(0x0210, 0x0781, 0x5583);
    v.insert(v.end(), d.begin(), d.end());
    v.insert(v.end(), {1, 2, 0, 0x2A, 0, 3, 0, 0, 0, 1, 0, 0, 0});
    ASSERT_EQ(v.size(), kUsbConnectionInfoSize);
    S_UsbConnectionInfo info;
    ASSERT_TRUE(ParseUsbConnectionInfo(v.data(), v.size(), info));
    EXPECT_EQ(info.ulPort, 7u);
    EXPECT_EQ(info.descriptor.bcdUSB, 0x0210);
    EXPECT_EQ(info.descriptor.idVendor, 0x0781);
    EXPECT_EQ(info.descriptor.idProduct, 0x5583);
    EXPECT_EQ(info.descriptor.iSerialNumber, 3);
    EXPECT_EQ(info.bSpeed, 2);
    EXPECT_FALSE(info.bIsHub);
    EXPECT_EQ(info.wAddress, 0x2A);
    EXPECT_EQ(info.ulOpenPipes, 3u);
    EXPECT_EQ(info.ulStatus, 1u);
    EXPECT_FALSE(ParseUsbConnectionInfo(v.data(), v.size() - 1, info));

    std::vector<uint8_t> node(kUsbNodeInformationSize, 0);
    node[4] = 9;    // hub descriptor length
    node[6] = 4;    // ports
    node[75] = 1;   // bus powered
    S_UsbHubNode hub;
    ASSERT_TRUE(ParseUsbNodeInformation(node.data(), node.size(), hub));
    EXPECT_TRUE(hub.bIsHub);
    EXPECT_EQ(hub.ulPorts, 4u);
    EXPECT_TRUE(hub.bBusPowered);
    node[0] = 1;  // a composite parent, no hub
    ASSERT_TRUE(ParseUsbNodeInformation(node.data(), node.size(), hub));
    EXPECT_FALSE(hub.bIsHub);
    EXPECT_FALSE(ParseUsbNodeInformation(node.data(), 75, hub));

    const auto v2 = BuildUsbConnectionV2Request(3);
    EXPECT_EQ(std::vector<uint8_t>(v2.begin(), v2.end()),
              (std::vector<uint8_t>{3, 0, 0, 0, 16, 0, 0, 0, 7, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(UsbTest, NamesReportTheirFullLengthAndStopAtTheAnswersEnd)
{
    // USB_NODE_CONNECTION_NAME: port, whole length, UTF-16 name.
    std::vector<uint8_t> v = {2, 0, 0, 0, 14, 0, 0, 0, 'H', 0, 'U', 0, 'B', 0};
    std::u16string strName;
    uint32_t ulNeeded = 0;
    ASSERT_TRUE(ParseUsbName(v.data(), v.size(), 8, strName, ulNeeded));
    EXPECT_EQ(strName, u"HUB");
    EXPECT_EQ(ulNeeded, 14u);
    // Asked with a buffer too small: the length tells what to ask again with.
    v[4] = 200;
    ASSERT_TRUE(ParseUsbName(v.data(), 10, 8, strName, ulNeeded));
    EXPECT_EQ(strName, u"H");
    EXPECT_EQ(ulNeeded, 200u);
    EXPECT_FALSE(ParseUsbName(v.data(), 7, 8, strName, ulNeeded));
}

TEST(UsbTest, StringAndConfigurationDescriptorsAreReadByTheirOwnLengths)
{
    const std::vector<uint8_t> vLanguages = {4, 3, 0x09, 0x04};
    uint16_t wLanguage = 0;
    ASSERT_TRUE(ParseUsbFirstLanguage(vLanguages.data(), vLanguages.size(), wLanguage));
    EXPECT_EQ(wLanguage, 0x0409);
    const std::vector<uint8_t> vString = {8, 3, 'A', 0, 'B', 0, ' ', 0, 0xFF, 0xFF};
    std::u16string strText;
    ASSERT_TRUE(ParseUsbStringDescriptor(vString.data(), vString.size(), strText));
    EXPECT_EQ(strText, u"AB ");
    EXPECT_FALSE(ParseUsbStringDescriptor(vString.data(), 7, strText));

    const auto vRequest = BuildUsbDescriptorRequest(5, 3, 2, 0x0409, 255);
    EXPECT_EQ(std::vector<uint8_t>(vRequest.begin(), vRequest.begin() + 12),
              (std::vector<uint8_t>{5, 0, 0, 0, 0x80, 6, 2, 3, 0x09, 0x04, 255, 0}));
    EXPECT_EQ(vRequest.size(), 12u + 255u);

    // Configuration, interface with two endpoints, a class descriptor the
    // walk passes over, a second interface, then a zero length that ends it.
    const std::vector<uint8_t> vConfig = {9, 2, 39, 0, 2, 1, 0, 0x80, 50,
                                          9, 4, 0, 0, 2, 8, 6, 0x50, 0,
                                          7, 5, 0x81, 2, 0, 2, 0,
                                          7, 5, 0x02, 2, 0, 2, 0,
                                          3, 0x24, 0,
                                          9, 4, 1, 0, 0, 8, 6, 0x62, 0,
                                          0, 5, 0x83};
    USB_PORT_ENTRY device;
    EXPECT_EQ(AddUsbConfigurationEntries(vConfig.data(), vConfig.size(), device), 5u);
    ASSERT_EQ(device.vChildren.size(), 1u);
    const USB_PORT_ENTRY& config = *device.vChildren[0];
    EXPECT_EQ(config.nKind, USB_ENTRY_CONFIGURATION);
    ASSERT_EQ(config.vChildren.size(), 2u);
    EXPECT_EQ(config.vChildren[0]->vChildren.size(), 2u);
    EXPECT_EQ(config.vChildren[0]->vChildren[1]->vDescriptorBytes[2], 0x02);
    EXPECT_TRUE(config.vChildren[1]->vChildren.empty());
    // An endpoint before any interface, and a length beyond the data, add nothing.
    const std::vector<uint8_t> vStray = {7, 5, 0x81, 2, 0, 2, 0, 9, 2, 9};
    USB_PORT_ENTRY other;
    EXPECT_EQ(AddUsbConfigurationEntries(vStray.data(), vStray.size(), other), 0u);
}

TEST(UsbTest, SpeedCodeFollowsTheHubAnswersAndTheDevicesUsbVersion)
{
    struct Case {
        const char* pszName;
        bool bEx;
        uint8_t bExSpeed;
        uint32_t ulV2Flags;
        bool bLowSpeed;
        uint16_t wBcdUsb;
        uint32_t ulHubClass;
        uint32_t ulCode;
    };
    for (const Case& c : std::vector<Case>{
             {"low speed", true, 0, 0, false, 0x0110, 2, USB_CODE_LOW},
             {"full speed", true, 1, 0, false, 0x0110, 2, USB_CODE_FULL},
             {"high speed 2.0", true, 2, 0, false, 0x0200, 5, USB_CODE_HIGH},
             {"USB 3 device at high speed, USB 3 root hub", true, 2, 0, false, 0x0210, 5, 4},
             {"the same under a USB 2 root hub", true, 2, 0, false, 0x0210, 2, 3},
             {"the same behind an external hub", true, 2, 0, false, 0x0210, 1, 3},
             {"bcdUSB 0x0300 whatever the hub says", true, 1, 0, false, 0x0300, 1, 5},
             {"2.1 device at full speed", true, 1, 0, false, 0x0211, 2, 3},
             {"super speed", true, 3, 0, false, 0x0200, 5, 5},
             {"V2 flag: operating at SuperSpeed", true, 2, 1, false, 0x0200, 5, 5},
             {"V2 capable flag alone", true, 2, 2, false, 0x0200, 5, 2},
             {"unknown EX speed", true, 9, 0, false, 0x0200, 5, 0},
             {"no EX answer, low speed", false, 0, 0, true, 0x0110, 2, 0},
             {"no EX answer", false, 0, 0, false, 0x0200, 2, 1}}) {
        SCOPED_TRACE(c.pszName);
        S_UsbPortAnswers a;
        a.bExAnswered = c.bEx;
        a.bExSpeed = c.bExSpeed;
        a.bV2Answered = c.ulV2Flags != 0;
        a.ulV2Flags = c.ulV2Flags;
        a.bLowSpeed = c.bLowSpeed;
        a.wBcdUsb = c.wBcdUsb;
        a.ulHubClass = c.ulHubClass;
        EXPECT_EQ(UsbPortSpeedCode(a), c.ulCode);
    }
    EXPECT_EQ(UsbHubClassOfPath("\\\\?\\usb#root_hub30#4&2c8b0f3d&0&0#{f18a0e88}"), 5u);
    EXPECT_EQ(UsbHubClassOfPath("\\\\.\\USB#ROOT_HUB20#4&1#{x}"), 2u);
    EXPECT_EQ(UsbHubClassOfPath("\\\\.\\USB#VID_05E3&PID_0610#6&1#{x}"), 1u);

    USB_PORT_ENTRY port;
    EXPECT_EQ(UsbQuerySpeedCode(nullptr), USB_CODE_NO_PORT);
    for (uint32_t ul : {0u, 1u, 5u, 6u, 77u}) {
        port.ulSpeed = ul;
        EXPECT_EQ(UsbQuerySpeedCode(&port), ul >= 1 && ul <= 5 ? ul : 0u) << ul;
    }
}

TEST(UsbTest, PortSearchKeysComeFromTheUsbDeviceId)
{
    uint32_t ulVendor = 0, ulProduct = 0;
    std::string strSerial;
    ASSERT_TRUE(ParseUsbDeviceId("USB\\VID_0781&PID_5583\\4C530001_12", ulVendor, ulProduct,
                                 strSerial));
    EXPECT_EQ(ulVendor, 0x0781u);
    EXPECT_EQ(ulProduct, 0x5583u);
    EXPECT_EQ(strSerial, "4C530001_12");
    ASSERT_TRUE(ParseUsbDeviceId("usb\\vid_abcd&pid_ef01\\5&2a1b&0&3", ulVendor, ulProduct, strSerial));
    EXPECT_EQ(ulVendor, 0xABCDu);
    EXPECT_EQ(strSerial, "");  // a position the system made up, no serial
    ASSERT_TRUE(ParseUsbDeviceId("USB\\VID_045E&PID_0001\\MSFT30ABC123", ulVendor, ulProduct, strSerial));
    EXPECT_EQ(strSerial, "ABC123");
    EXPECT_FALSE(ParseUsbDeviceId("USBSTOR\\DISK&VEN_X", ulVendor, ulProduct, strSerial));
    EXPECT_FALSE(ParseUsbDeviceId("USB\\VID_07G1&PID_0001\\1", ulVendor, ulProduct, strSerial));

    EXPECT_TRUE(UsbSerialMatches("ab 12 ", "AB_12_"));
    EXPECT_FALSE(UsbSerialMatches("AB_12", "AB 12"));
    EXPECT_FALSE(UsbSerialMatches("AB12", "AB1"));
    EXPECT_TRUE(UsbSerialMatches("", ""));
    EXPECT_FALSE(ShouldSearchUsbPort(0, 0));
    EXPECT_FALSE(ShouldSearchUsbPort(0x0644, 0x0001));
    EXPECT_TRUE(ShouldSearchUsbPort(0, 1));

    uint32_t ulPciVendor = 0, ulPciDevice = 0;
    ASSERT_TRUE(ParsePciIds("PCI\\VEN_8086&DEV_1549&SUBSYS_0", ulPciVendor, ulPciDevice));
    EXPECT_EQ(ulPciVendor, 0x8086u);
    EXPECT_EQ(ulPciDevice, 0x1549u);
    EXPECT_TRUE(IsThunderboltController("pci\\ven_8086&dev_1549&subsys_0"));
    EXPECT_FALSE(IsThunderboltController("PCI\\VEN_8086&DEV_15490"));
}

} // namespace
