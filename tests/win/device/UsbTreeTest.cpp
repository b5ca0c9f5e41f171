// The USB tree walk, the port search and the speed query on recorded hub
// answers.
#include "device/core/RudvaneTypes.h"
#include "device/core/UsbSpeed.h"
#include "device/win/Rudvane.h"
#include "device/win/RudvanePnpDevice.h"
#include "device/win/UsbTree.h"
#include "tests/support/win/RecordedUsb.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr char kHub30[] = "USB#ROOT_HUB30#4&1&0#{f18a0e88-c30c-11d0-8815-00a0c906bed8}";
constexpr char kHub20[] = "USB#ROOT_HUB20#4&2&0#{f18a0e88-c30c-11d0-8815-00a0c906bed8}";
constexpr char kExternalHub[] = "USB#VID_05E3&PID_0610#5&3&0#{f18a0e88-c30c-11d0-8815-00a0c906bed8}";

S_RecordedPort Stick(uint16_t wBcdUsb, uint8_t bSpeed, const std::string& strSerial = "AB 12")
{
    S_RecordedPort port;
    port.wBcdUsb = wBcdUsb;
    port.bSpeed = bSpeed;
    port.wVendor = 0x0781;
    port.wProduct = 0x5583;
    port.strManufacturer = "QV";
    port.strProduct = "Stick";
    port.strSerial = strSerial;
    return port;
}

std::string Upper(std::string str)
{
    for (char& c : str)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return str;
}

S_RecordedPort Empty()
{
    S_RecordedPort port;
    port.ulStatus = 0;
    return port;
}

TEST(UsbTreeTest, PortSearchTakesTheFirstMatchAndRetriesPortsStillConnecting)
{
    C_RecordedUsb usb;
    S_RecordedPort connecting = Stick(0x0200, 2, "OTHER");
    connecting.nNotConnected = 1;
    S_RecordedPort gone = Stick(0x0200, 2, "AB 12");
    gone.nNotConnected = 2;
    S_RecordedPort match = Stick(0x0200, 2, "ab 12");
    match.nLanguageFailures = 2;
    S_RecordedPort twin = Stick(0x0200, 2, "AB 12");
    S_RecordedPort otherIds = Stick(0x0200, 2, "AB 12");
    otherIds.wProduct = 0x5584;
    usb.mapHubs[kHub20] = {otherIds, connecting, gone, match, twin};
    C_UsbTree tree(&usb);
    auto pPort = tree.FindPort(0x0781, 0x5583, "AB_12", RecordedHubPath(kHub20));
    ASSERT_NE(pPort, nullptr);
    EXPECT_EQ(pPort->ulPort, 4u);
    EXPECT_EQ(pPort->strSerial, "ab 12");
    EXPECT_EQ(pPort->strManufacturer, "QV");
    ASSERT_EQ(pPort->vChildren.size(), 1u);  // its configuration
    EXPECT_EQ(pPort->vChildren[0]->vChildren[0]->vChildren.size(), 2u);
    // Each port that was not connected yet was asked once more after 250 ms;
    // the language list once more after 10 ms for each general failure.
    EXPECT_EQ(usb.vPauses, (std::vector<DWORD>{250, 250, 10, 10}));
    std::vector<int> vAsks;
    for (int nPort = 1; nPort <= 5; ++nPort)
        vAsks.push_back(usb.mapConnectionAsks[Upper(kHub20) + ":" + std::to_string(nPort)]);
    EXPECT_EQ(vAsks, (std::vector<int>{1, 2, 2, 1, 0}));
    EXPECT_EQ(usb.OpenHandles(), 0);

    EXPECT_EQ(tree.FindPort(0x0781, 0x5583, "NONE", RecordedHubPath(kHub20)), nullptr);
    EXPECT_EQ(tree.FindPort(0x0781, 0x5583, "AB_12", "\\\\?\\USB#NO_SUCH_HUB"), nullptr);
}

// Two controllers: HCD0 under a USB 2 root hub with an external hub on its
// second port, HCD3 under a USB 3 root hub.
void RecordTwoControllers(C_RecordedUsb& usb)
{
    usb.mapControllers[0] = std::string(kHub20);
    usb.mapControllerKeys[0] = "{36FC9E60-C465-11CF-8056-444553540000}\\0000";
    usb.mapControllers[3] = std::string(kHub30);
    S_UsbNodeInfo controller;
    controller.strDescription = "Host Controller";
    controller.strHardwareId = "PCI\\VEN_8086&DEV_A36D&SUBSYS_0";
    usb.mapNodes["{36FC9E60-C465-11CF-8056-444553540000}\\0000"] = controller;
    S_RecordedPort hub;
    hub.bHub = true;
    hub.strHubName = kExternalHub;
    hub.strDriverKey = "{36FC9E60-C465-11CF-8056-444553540000}\\0001";
    S_UsbNodeInfo hubNode;
    hubNode.strDescription = "Generic Hub";
    usb.mapNodes[hub.strDriverKey] = hubNode;
    usb.mapHubs[kHub20] = {Empty(), hub};
    usb.mapHubs[kExternalHub] = {Empty(), Empty(), Stick(0x0210, 2)};
    usb.mapHubs[kHub30] = {Empty(), Stick(0x0300, 3), Empty(), Empty()};
}

TEST(UsbTreeTest, TreeListsControllersHubsAndDevicesAndNumbersPortsAcrossControllers)
{
    C_RecordedUsb usb;
    RecordTwoControllers(usb);
    C_UsbTree tree(&usb);
    USB_PORT_ENTRY* pFirst = tree.Build(0);
    ASSERT_NE(pFirst, nullptr);
    ASSERT_EQ(tree.GetControllers().size(), 2u);
    EXPECT_EQ(pFirst->strName, "\\\\.\\HCD0");
    EXPECT_EQ(pFirst->strDescription, "Host Controller");
    EXPECT_EQ(pFirst->ulPciDevice, 0xA36Du);
    EXPECT_EQ(pFirst->ulPorts, 2u);
    EXPECT_EQ(pFirst->ulSpeed, 2u);  // the root hub's class
    ASSERT_EQ(pFirst->vChildren.size(), 1u);
    const USB_PORT_ENTRY& hub = *pFirst->vChildren[0];
    EXPECT_EQ(hub.nKind, USB_ENTRY_HUB);
    EXPECT_EQ(hub.strName, "Generic Hub");
    EXPECT_EQ(hub.ulSpeed, 1u);       // replaced by its class when walked
    ASSERT_EQ(hub.vChildren.size(), 2u);  // its configuration, then its device
    EXPECT_EQ(hub.vChildren[0]->nKind, USB_ENTRY_CONFIGURATION);
    EXPECT_EQ(hub.vChildren[1]->nKind, USB_ENTRY_DEVICE);
    EXPECT_EQ(hub.vChildren[1]->ulSpeed, 3u);
    EXPECT_EQ(hub.vChildren[1]->ulPort, 3u);
    EXPECT_TRUE(IsSameHubPath(hub.vChildren[1]->strHubPath, RecordedHubPath(kExternalHub)));
    EXPECT_EQ(tree.GetControllers()[1]->vChildren[0]->ulSpeed, 5u);
    EXPECT_EQ(tree.Build(1), pFirst);

    EXPECT_EQ(tree.PortsBefore(RecordedHubPath(kExternalHub)), 0u);
    EXPECT_EQ(tree.PortsBefore(RecordedHubPath(kHub30)), 2u);
    EXPECT_EQ(tree.PortsBefore("\\\\?\\USB#NO_SUCH_HUB"), 0u);
    EXPECT_EQ(usb.OpenHandles(), 0);
}

TEST(UsbTreeTest, SpeedQueryOfAPlugAndPlayRecord)
{
    RudvaneInit(nullptr, nullptr, 0);
    C_RecordedUsb usb;
    RecordTwoControllers(usb);
    C_RudvanePnpDevice device;
    device.usbTree.SetIo(&usb);
    device.strUsbController = "Host Controller";
    uint32_t ulPort = 99, ulCode = 99;
    std::string strController;
    ASSERT_EQ(device.Query(RUDVANE_Q_USB_SPEED, &ulPort, 0, &strController, &ulCode), 1);
    EXPECT_EQ(ulCode, USB_CODE_NO_PORT);
    EXPECT_EQ(device.PortCommand(0x0100, nullptr, 0), 0);

    device.pUsbPort = device.usbTree.FindPort(0x0781, 0x5583, "AB 12", RecordedHubPath(kHub30));
    ASSERT_NE(device.pUsbPort, nullptr);
    ASSERT_EQ(device.Query(RUDVANE_Q_USB_SPEED, &ulPort, 0, &strController, &ulCode), 1);
    EXPECT_EQ(ulCode, USB_CODE_SUPER);
    EXPECT_EQ(ulPort, 2u);
    EXPECT_EQ(strController, "Host Controller");
    ASSERT_EQ(device.Query(RUDVANE_Q_USB_SPEED, &ulPort, 1, nullptr, nullptr), 1);
    EXPECT_EQ(ulPort, 4u);  // behind the two ports of the first controller

    uint8_t descriptor[18] = {};
    ASSERT_EQ(device.PortCommand(0x0100, descriptor, sizeof(descriptor)), 1);
    EXPECT_EQ(descriptor[1], 1);
    EXPECT_EQ(descriptor[3], 0x03);  // bcdUSB 3.0
    RudvaneExit();
}

} // namespace
