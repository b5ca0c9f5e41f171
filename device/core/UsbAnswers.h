#ifndef QUENVALE_DEVICE_USBANSWERS_H
#define QUENVALE_DEVICE_USBANSWERS_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "device/core/UsbPortEntry.h"

// The byte layouts of the USB hub driver's requests and answers (byte-packed,
// little-endian) and of the standard descriptors they carry. Every parser
// takes the bytes the driver returned and checks that what it reads lies
// within them.

// Node information of a hub: node type (4 bytes, 0 = hub), the hub
// descriptor (71 bytes; the number of ports at byte 6 of the answer) and the
// bus-powered flag at byte 75.
constexpr size_t kUsbNodeInformationSize = 76;
struct S_UsbHubNode {
    bool bIsHub = false;
    uint32_t ulPorts = 0;
    bool bBusPowered = false;
};
bool ParseUsbNodeInformation(const uint8_t* pData, size_t nSize, S_UsbHubNode& out);

// Connection information of a port, plain or EX form: port (4), device
// descriptor (18), configuration value, speed (in the plain form 1 for a low
// speed device), hub flag, device address (2), open pipes (4), connection
// status (4), then the pipes. The request is the same block with the port set.
constexpr size_t kUsbConnectionInfoSize = 35;
struct S_UsbConnectionInfo {
    uint32_t ulPort = 0;
    S_UsbDeviceDescriptor descriptor;
    uint8_t bConfiguration = 0;
    uint8_t bSpeed = 0;
    bool bIsHub = false;
    uint16_t wAddress = 0;
    uint32_t ulOpenPipes = 0;
    uint32_t ulStatus = 0;   // 0: no device
};
bool ParseUsbConnectionInfo(const uint8_t* pData, size_t nSize, S_UsbConnectionInfo& out);

// EX_V2 connection information: port, length 16, the protocols asked about
// (USB 1.1, 2.0 and 3.0), and the answered flags (bit 0: operating at
// SuperSpeed or higher).
constexpr size_t kUsbConnectionV2Size = 16;
std::array<uint8_t, kUsbConnectionV2Size> BuildUsbConnectionV2Request(uint32_t ulPort);
bool ParseUsbConnectionV2Flags(const uint8_t* pData, size_t nSize, uint32_t& ulFlags);

// Name answers: a header of nHeader bytes (4: root hub and controller driver
// key; 8: port, then length, for connection names and driver keys) whose
// last 4 bytes are the whole answer's length, then the UTF-16 name.
// ulNeeded receives that length, so a caller whose buffer was too small asks
// again with it. The name ends at its first NUL or the end of the answer.
bool ParseUsbName(const uint8_t* pData, size_t nSize, size_t nHeader, std::u16string& strName,
                  uint32_t& ulNeeded);

// A descriptor request through the hub: port (4), setup packet (8: request
// type 0x80, GET_DESCRIPTOR, value = type << 8 | index, index = language,
// length), then ulLength bytes for the answer.
constexpr size_t kUsbDescriptorRequestHeader = 12;
std::vector<uint8_t> BuildUsbDescriptorRequest(uint32_t ulPort, uint8_t bType, uint8_t bIndex,
                                               uint16_t wLanguage, uint16_t wLength);

bool ParseUsbDeviceDescriptor(const uint8_t* pData, size_t nSize, S_UsbDeviceDescriptor& out);
// A string descriptor (type 3): its UTF-16 text.
bool ParseUsbStringDescriptor(const uint8_t* pData, size_t nSize, std::u16string& strText);
// String descriptor 0: the first listed language.
bool ParseUsbFirstLanguage(const uint8_t* pData, size_t nSize, uint16_t& wLanguage);
// Walks a configuration descriptor set by its length bytes while they fit in
// nSize: a configuration (type 2) becomes a child of device, an interface
// (4) a child of the current configuration, an endpoint (5) a child of the
// current interface; each keeps its descriptor bytes. Returns the number of
// entries added.
size_t AddUsbConfigurationEntries(const uint8_t* pData, size_t nSize, USB_PORT_ENTRY& device);

#endif
