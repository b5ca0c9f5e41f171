#ifndef QUENVALE_DEVICE_RUDVANEHANDLEDEVICE_H
#define QUENVALE_DEVICE_RUDVANEHANDLEDEVICE_H

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "device/core/RudvaneTypes.h"
#include "device/win/DeviceIo.h"
#include "device/win/IoRequest.h"
#include "device/win/RudvaneDevice.h"
#include "device/win/VolumeLocks.h"

struct S_BlockTransfer;

// A device opened by a Win32 path ("\\.\PhysicalDrive%u", "\\.\CdRom%u",
// "\\.\%c:" or a device-interface path).
//
// The record holds no handle between operations: Open and Close nest, and
// each operation that needs the handle opens and closes it around itself,
// so a caller that keeps one Open for a whole test keeps the handle open.
// Every system call goes through a C_DeviceIo (the system's by default).
class C_RudvaneHandleDevice : public C_RudvaneDevice {
public:
    explicit C_RudvaneHandleDevice(const std::string& strPathIn = std::string(),
                                   DWORD dwAccessIn = GENERIC_READ | GENERIC_WRITE);
    // Closes the handle and the locked volumes' handles (which ends their
    // locks) when the owner left them open.
    ~C_RudvaneHandleDevice() override;

    // SMART_SEND_DRIVE_COMMAND / SMART_RCV_DRIVE_DATA first, then AtaCommand.
    int SmartCommand(uint8_t bFeature, uint32_t ulLength, void* pOut) override;
    // READ CAPACITY(10)/(16), then the drive geometry, the disk length and
    // the end position of the handle, then the file system of the only
    // letter. Not done under RUDVANE_OPT_NO_SIZE.
    int UpdateSize() override;
    // Blocks outside the record and writes to the system device are refused
    // first (CheckTransfer). Tape: REWIND at block 0, then READ(6)/WRITE(6).
    // Windows 9x and optical media: READ(10)/WRITE(10) at LBA +
    // ullPartitionStart. Writes use WRITE(10) as well when it can address
    // them (see ChooseWriteRoute; a volume only once its partition start is
    // known). Otherwise ReadFile/WriteFile at LBA * block size. A WRITE(10)
    // refused as unknown (ERROR_NOT_SUPPORTED: nothing reached the device)
    // goes through WriteFile instead; any other failure fails the write.
    // Writing block 0 of a whole device first asks the Virtual Disk Service
    // to clean the disk.
    int ReadBlocks(uint64_t ullLba, uint32_t ulCount, void* pBuffer) override;
    int WriteBlocks(uint64_t ullLba, uint32_t ulCount, const void* pBuffer) override;
    // SCSI pass-through, buffered or direct form (see C_ScsiRequest), with
    // the timeout of the record or of the opcode. A check condition fails
    // with the sense handed over and the Win32 error that its sense key
    // means; a failed device control call zeroes the sense and leaves its
    // own error.
    int ScsiCommand(uint32_t ulCdbLength, const uint8_t* pCdb, int nDataIn, uint32_t ulLength,
                    void* pBuffer, uint8_t* pSense) override;
    // The attached handler first, then the record's ATA method, then SCSI
    // ATA PASS-THROUGH (unless refused for this device).
    int AtaCommand(S_RudvaneAtaCommand* pCommand, int nDirection) override;
    int Eject(int nLock) override;
    int LoadMedia() override;
    int Open() override;
    int Close() override;
    // Codes 0x7xxxx: flush, miniport IDENTIFY, a raw request, volume lock,
    // the path.
    int Query(uint32_t ulCode, void* pOut, uintptr_t arg, void* pOut2, void* pOut3) override;

    // Partition information of a volume (block count and partition start,
    // see ReadPartitionPlace); on success the partition start is known.
    int UpdatePartitionInfo();
    // Whether a pass-through command, which addresses the whole disk, reaches
    // the record's blocks at LBA + ullPartitionStart: always on a whole
    // device; on a volume only once UpdatePartitionInfo answered.
    bool IsDiskAddressKnown() const;
    // One ATA command through one transport only (RUDVANE_ATA_ method), without
    // the handler and without the fallback; identification tries them in turn.
    int AtaCommandByMethod(int nMethod, S_RudvaneAtaCommand* pCommand, int nDirection)
    {
        return AtaByMethod(nMethod, pCommand, nDirection);
    }

    long GetOpenCount() const { return lOpenCount.load(); }
    HANDLE GetHandle() const { return hDevice.load(); }
    size_t GetLockedVolumeCount() const;
    // Where the system calls go; null restores the system's.
    void SetIo(C_DeviceIo* pIoIn) { pIo = pIoIn != nullptr ? pIoIn : &C_DeviceIo::System(); }
    C_DeviceIo& GetIo() const { return *pIo; }

    std::string strPath;
    // GENERIC_READ|GENERIC_WRITE, or GENERIC_READ for a volume that refused
    // write access.
    DWORD dwAccess;
    // RUDVANE_ATA_ transport chosen by identification.
    std::atomic<int> nAtaMethod{RUDVANE_ATA_VENDOR_CDB};
    // The record is a volume, a part of its disk (set by the passes; media
    // classes 2 and 5 count as volumes too).
    bool bVolume = false;

protected:
    int AtaByMethod(int nMethod, S_RudvaneAtaCommand* pCommand, int nDirection);
    int AtaBySat(S_RudvaneAtaCommand* pCommand, int nDirection);
    // Whether SCSI ATA PASS-THROUGH is refused for this device; makes the
    // vendor check once.
    bool IsSatRefused();

private:
    // The transfer as the route rules see it, and its bytes; false when they
    // do not fit 32 bits or no buffer holds them.
    bool PrepareTransfer(uint64_t ullLba, uint32_t ulCount, const void* pBuffer,
                         S_BlockTransfer& t, uint32_t& ulBytes) const;
    int TapeTransfer(bool bWrite, uint64_t ullLba, uint32_t ulCount, void* pBuffer,
                     uint32_t ulBytes);
    int Cdb10Transfer(bool bWrite, uint64_t ullAbsoluteLba, uint32_t ulCount, void* pBuffer,
                      uint32_t ulBytes);
    int HandleTransfer(bool bWrite, uint64_t ullLba, void* pBuffer, uint32_t ulBytes);
    // WRITE(10), or WriteFile when the request is refused as unknown.
    int PassThroughWrite(const S_BlockTransfer& t, void* pData, uint32_t ulBytes);
    // One device control request on the open handle (Open/Close around it).
    BOOL ControlOpen(DWORD dwCode, void* pIn, DWORD dwInSize, void* pOut, DWORD dwOutSize,
                     DWORD* pdwReturned, OVERLAPPED* pOverlapped = nullptr);
    // One device control request on a handle of its own, so that it never
    // meets a transfer on the record's handle.
    BOOL ControlSeparate(DWORD dwCode, void* pIn, DWORD dwInSize, void* pOut, DWORD dwOutSize,
                         DWORD* pdwReturned);
    int SizeFromHandle();
    // Opens "\\.\%c:" of the first letter for Eject and LoadMedia.
    HANDLE OpenFirstLetter();

    C_DeviceIo* pIo = &C_DeviceIo::System();
    std::atomic<HANDLE> hDevice{INVALID_HANDLE_VALUE};
    std::atomic<long> lOpenCount{0};
    bool bPartitionStartKnown = false;
    C_VolumeLocks lockedVolumes;
};

#endif
