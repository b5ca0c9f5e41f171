#ifndef QUENVALE_DEVICE_USBPORTENTRY_H
#define QUENVALE_DEVICE_USBPORTENTRY_H

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The standard USB device descriptor (18 bytes, little-endian fields).
struct S_UsbDeviceDescriptor {
    uint8_t bLength = 0;
    uint8_t bDescriptorType = 0;
    uint16_t bcdUSB = 0;
    uint8_t bDeviceClass = 0;
    uint8_t bDeviceSubClass = 0;
    uint8_t bDeviceProtocol = 0;
    uint8_t bMaxPacketSize0 = 0;
    uint16_t idVendor = 0;
    uint16_t idProduct = 0;
    uint16_t bcdDevice = 0;
    uint8_t iManufacturer = 0;
    uint8_t iProduct = 0;
    uint8_t iSerialNumber = 0;
    uint8_t bNumConfigurations = 0;
};

// Kinds of the nodes of a USB tree snapshot.
enum : int {
    USB_ENTRY_CONTROLLER = 0,
    USB_ENTRY_HUB = 1,
    USB_ENTRY_DEVICE = 2,
    USB_ENTRY_ENDPOINT = 4,
    USB_ENTRY_INTERFACE = 5,
    USB_ENTRY_CONFIGURATION = 6,
};

// USB connection speed codes (the value of a device's port and the answer
// of the speed query).
enum : uint32_t {
    USB_CODE_LOW = 0,              // 1.5 Mb/s
    USB_CODE_FULL = 1,             // 12 Mb/s
    USB_CODE_HIGH = 2,             // 480 Mb/s
    USB_CODE_NEWER_ON_HIGH = 3,    // USB 2.1 or later device at high speed or below
    USB_CODE_NEWER_ON_SUPER = 4,   // the same under a USB 3 root hub
    USB_CODE_SUPER = 5,            // 5 Gb/s or more
    USB_CODE_NO_PORT = 6,          // the record has no USB port
};

// One node of a USB tree snapshot: a host controller, a hub, a device on a
// port, or (below a device) a configuration, interface or endpoint
// descriptor. Which fields mean something depends on nKind; the others stay
// empty. Entries own their children.
struct USB_PORT_ENTRY {
    int nKind = USB_ENTRY_DEVICE;
    // Controller: "\\.\HCD%u". Hub: its description, or its driver key when
    // no description was found.
    std::string strName;
    uint32_t ulIndex = 0;              // controller index
    std::string strRootHubPath;        // controller: "\\.\" + root hub name
    uint32_t ulPciVendor = 0;          // controller: from "PCI\VEN_%x&DEV_%x"
    uint32_t ulPciDevice = 0;
    std::string strDescription;        // of the device node
    uint32_t ulPort = 0;               // port number on the parent hub
    uint32_t ulPosition = 0;           // device: the port number again
    std::string strHubPath;            // device: path of the hub it hangs on
    std::string strPath;               // hub: the path its ports were walked with
    uint32_t ulConnectionStatus = 0;
    // Device: USB_CODE_ speed code. Hub: its class (1 external, 2 USB 2
    // root hub, 5 USB 3 root hub) once its ports are walked.
    uint32_t ulSpeed = 0;
    uint32_t ulAddress = 0;
    S_UsbDeviceDescriptor descriptor;
    bool bBusPowered = false;          // hub
    uint32_t ulPorts = 0;              // controller (its root hub) and hub
    std::string strManufacturer;
    std::string strProduct;
    std::string strSerial;
    std::string strLetters;            // device: drive letters of its volumes
    std::string strHardwareId;
    std::vector<uint32_t> vNodesBelow; // device: device nodes below its own
    std::vector<uint8_t> vDescriptorBytes;  // configuration, interface, endpoint
    std::vector<std::unique_ptr<USB_PORT_ENTRY>> vChildren;
};

#endif
