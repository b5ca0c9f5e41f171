#ifndef QUENVALE_DEVICE_DEVICEIO_H
#define QUENVALE_DEVICE_DEVICEIO_H

#include <windows.h>

#include <cstdint>
#include <string>

// The system calls through which a device record opened by a path reaches
// its device: open, close, device control, positioned transfers, the end
// position, flush, and the Virtual Disk Service clean. The records take
// them from here so that a test can answer them from a simulated device;
// System() is the real thing.
//
// Operations return a success flag and leave the Win32 error for the caller.
class C_DeviceIo {
public:
    C_DeviceIo() = default;
    virtual ~C_DeviceIo() = default;
    C_DeviceIo(const C_DeviceIo&) = delete;
    C_DeviceIo& operator=(const C_DeviceIo&) = delete;

    // CreateFileA with sharing read and write, OPEN_EXISTING, no flags;
    // INVALID_HANDLE_VALUE on failure.
    virtual HANDLE Open(const char* pszPath, DWORD dwAccess);
    virtual void Close(HANDLE hDevice);
    virtual BOOL Control(HANDLE hDevice, DWORD dwCode, void* pIn, DWORD dwInSize, void* pOut,
                         DWORD dwOutSize, DWORD* pdwReturned, OVERLAPPED* pOverlapped = nullptr);
    // Moves to ullOffset from the beginning and reads or writes ulBytes;
    // nonzero only when every byte moved. A short transfer leaves the error
    // that ReadFile or WriteFile left, or ERROR_HANDLE_EOF when they left none.
    virtual int Transfer(HANDLE hDevice, bool bWrite, uint64_t ullOffset, void* pBuffer,
                         uint32_t ulBytes);
    // Position of the end (the file pointer moved to FILE_END).
    virtual int GetEnd(HANDLE hDevice, uint64_t* pullEnd);
    virtual int Flush(HANDLE hDevice);
    // Asks the Virtual Disk Service to clean the disk whose name or device
    // path is strDevicePath ("\\?\..."), waiting for the end. Best effort:
    // nothing is reported.
    virtual void CleanDisk(const std::string& strDevicePath);

    static C_DeviceIo& System();
};

#endif
