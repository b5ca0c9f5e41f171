#ifndef QUENVALE_DEVICE_USBIO_H
#define QUENVALE_DEVICE_USBIO_H

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// What the device node of a USB device or host controller tells.
struct S_UsbNodeInfo {
    uint32_t ulNode = 0;
    std::string strDescription;
    std::string strHardwareId;            // the first hardware id
    std::string strLetters;               // drive letters of the volumes below it
    std::vector<uint32_t> vNodesBelow;    // its first child and that child's first child
};

// The system calls of the USB tree walk: host controller and hub handles,
// the hub driver's requests on them, the pauses between retries, and the
// device node found by a driver key. System() is the real thing; tests
// answer the requests from recorded bytes.
class C_UsbIo {
public:
    C_UsbIo() = default;
    virtual ~C_UsbIo() = default;
    C_UsbIo(const C_UsbIo&) = delete;
    C_UsbIo& operator=(const C_UsbIo&) = delete;

    // CreateFileA with GENERIC_WRITE, sharing writes, OPEN_EXISTING;
    // INVALID_HANDLE_VALUE on failure.
    virtual HANDLE Open(const std::string& strPath);
    virtual void Close(HANDLE h);
    // DeviceIoControl; FALSE with the thread's last error on failure.
    virtual BOOL Control(HANDLE h, DWORD dwCode, const void* pIn, DWORD dwInSize, void* pOut,
                         DWORD dwOutSize, DWORD* pdwReturned);
    virtual void Pause(DWORD dwMilliseconds);
    // The device node with that driver key: among the present devices of the
    // USB setup class, else of the setup class whose GUID the key begins with.
    virtual bool FindNode(const std::string& strDriverKey, S_UsbNodeInfo& out);

    static C_UsbIo& System();
};

#endif
