#ifndef QUENVALE_DEVICE_USBTREE_H
#define QUENVALE_DEVICE_USBTREE_H

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "device/core/UsbPortEntry.h"
#include "device/win/UsbIo.h"

// A snapshot of the USB host controllers, hubs and ports, read with the hub
// driver's requests (see C_UsbIo). A Plug and Play record owns one: it is
// empty until the record searches its port or asks for a port number across
// all controllers.
//
// Every failed request ends the step that needs it and leaves its field
// empty or 0: a hub that cannot be opened yields no ports, a controller
// index that does not open is skipped.
class C_UsbTree {
public:
    // pIoIn null: the system's requests.
    explicit C_UsbTree(C_UsbIo* pIoIn = nullptr);
    C_UsbTree(const C_UsbTree&) = delete;
    C_UsbTree& operator=(const C_UsbTree&) = delete;

    // The controllers "\\.\HCD0" to "\\.\HCD23" with everything below their
    // root hubs. With nKeep 1 an existing snapshot is kept; otherwise, or
    // when it is empty, it is built anew. Returns the first controller
    // entry, or null when there is none.
    USB_PORT_ENTRY* Build(int nKeep);
    // Walks only the hub at strHubPath and keeps the first device whose
    // idVendor and idProduct are the given ones and whose serial string is
    // strSerial (see UsbSerialMatches); every other entry of the walk is
    // dropped. Null when no port matches.
    std::unique_ptr<USB_PORT_ENTRY> FindPort(uint32_t ulVendorId, uint32_t ulProductId,
                                             const std::string& strSerial,
                                             const std::string& strHubPath);
    // The ports of the root hubs of the controllers listed before the one
    // whose tree holds the hub at strHubPath (building the snapshot when it
    // is empty); 0 when no controller holds it.
    uint32_t PortsBefore(const std::string& strHubPath);
    // A standard descriptor of the device on a port, read through its hub:
    // up to ulLength bytes into pOut; pulReturned receives the bytes read.
    bool ReadDescriptor(const std::string& strHubPath, uint32_t ulPort, uint8_t bType,
                        uint8_t bIndex, uint16_t wLanguage, void* pOut, uint32_t ulLength,
                        uint32_t* pulReturned);

    const std::vector<std::unique_ptr<USB_PORT_ENTRY>>& GetControllers() const { return vControllers; }
    void SetIo(C_UsbIo* pIoIn) { pIo = pIoIn != nullptr ? pIoIn : &C_UsbIo::System(); }

private:
    struct S_Search {
        uint32_t ulVendorId = 0;
        uint32_t ulProductId = 0;
        std::string strSerial;
        std::unique_ptr<USB_PORT_ENTRY> pFound;
    };

    // Walks the hub at strPath into entry's children; pSearch set: only
    // this hub, keeping the first matching device in pSearch->pFound.
    void WalkHub(USB_PORT_ENTRY& entry, const std::string& strPath, S_Search* pSearch);
    // One port of the hub: skipped when it has no device (or, searching, not
    // the one looked for).
    void WalkPort(HANDLE hHub, USB_PORT_ENTRY& hub, const std::string& strPath, uint32_t ulPort,
                  uint32_t ulHubClass, S_Search* pSearch);
    bool QueryName(HANDLE h, DWORD dwCode, uint32_t ulPort, bool bWithPort, std::string& strOut);
    std::string ReadString(HANDLE hHub, uint32_t ulPort, uint8_t bIndex);
    void ReadStrings(HANDLE hHub, USB_PORT_ENTRY& entry);
    void ReadConfiguration(HANDLE hHub, USB_PORT_ENTRY& entry);
    bool DescriptorRequest(HANDLE hHub, uint32_t ulPort, uint8_t bType, uint8_t bIndex,
                           uint16_t wLanguage, uint16_t wLength, std::vector<uint8_t>& vData);

    C_UsbIo* pIo;
    std::vector<std::unique_ptr<USB_PORT_ENTRY>> vControllers;
};

// Whether two hub paths name the same hub ("\\.\" and "\\?\" prefixes and
// case aside).
bool IsSameHubPath(const std::string& strA, const std::string& strB);

#endif
