#ifndef QUENVALE_TESTS_TESTDEVICE_H
#define QUENVALE_TESTS_TESTDEVICE_H

#include <windows.h>

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "device/win/EnumIo.h"
#include "device/win/Rudvane.h"
#include "device/win/RudvaneHandleDevice.h"
#include "tests/support/core/SimulatedScsiTarget.h"

// Tests of records: the layer runs without options during each test.
class C_DeviceLayerTest : public ::testing::Test {
protected:
    void SetUp() override { RudvaneInit(nullptr, nullptr, 0); }
    void TearDown() override { RudvaneExit(); }
};

// Every listed record in list order, stale ones included.
inline std::vector<C_RudvaneDevice*> ListedRecords()
{
    std::vector<C_RudvaneDevice*> v;
    RudvaneForEachDevice(
        [](C_RudvaneDevice* p, void* pContext) {
            static_cast<std::vector<C_RudvaneDevice*>*>(pContext)->push_back(p);
            return 1;
        },
        &v, 1);
    return v;
}

// A caller's sense area, 0xAA before the call so that a test sees every byte
// the call wrote or cleared.
struct S_SenseArea {
    S_SenseArea() { bytes.fill(0xAA); }
    uint8_t* data() { return bytes.data(); }
    std::array<uint8_t, 24> bytes;
};
inline constexpr std::array<uint8_t, 24> kClearedSense{};

// Answers the system calls of a device record from a simulated target: SCSI
// pass-through in both forms, the system's ATA and IDE pass-through and the
// SMART requests (each when enabled), the geometry, length and partition
// requests (when enabled; refused with error 50 otherwise, as for a disk
// image behind a drive letter), volume lock and media requests, positioned
// transfers on the target's image and the end position. Handles are real
// (unnamed events), so opening and closing count like the real thing.
//
// It is a whole small system for the enumeration code too (C_EnumIo): it
// shows the letters of strLetters (fixed drives, without file systems) and
// no Plug and Play devices, so the passes' own record making
// (RudvaneProbePhysicalDrive, RudvaneProbeVolume) runs on it.
//
// A volume: SetVolume makes every handle address the part of the disk from
// a start block on, as a volume's handle does, while pass-through commands
// still address the whole disk; the partition requests then describe that
// part. Every call is logged; failures are injected by the fields below.
class C_SimulatedIo : public C_EnumIo {
public:
    explicit C_SimulatedIo(C_SimulatedScsiTarget& targetIn) : target(targetIn) {}
    ~C_SimulatedIo() override;

    HANDLE Open(const char* pszPath, DWORD dwAccess) override;
    void Close(HANDLE hDevice) override;
    BOOL Control(HANDLE hDevice, DWORD dwCode, void* pIn, DWORD dwInSize, void* pOut,
                 DWORD dwOutSize, DWORD* pdwReturned, OVERLAPPED* pOverlapped) override;
    int Transfer(HANDLE hDevice, bool bWrite, uint64_t ullOffset, void* pBuffer,
                 uint32_t ulBytes) override;
    int GetEnd(HANDLE hDevice, uint64_t* pullEnd) override;
    int Flush(HANDLE hDevice) override;
    // Recorded; wipes only with bCleanWipes.
    void CleanDisk(const std::string& strDevicePath) override;

    DWORD LogicalDrives() override;
    UINT DriveType(const std::string& strRoot) override;
    bool VolumeInfo(char, std::string&, std::string&, DWORD&) override { return false; }
    bool DisplayName(char, std::string&) override { return false; }
    bool DosDeviceTarget(char, std::string&) override { return false; }
    int VolumeName(const std::string&, std::string&) override { return 0; }
    bool ListClass(const S_ClassGuid&, bool, std::vector<S_ClassDevice>& out) override
    {
        out.clear();
        return true;
    }
    bool NodeParent(uint32_t, uint32_t&) override { return false; }
    bool NodeChild(uint32_t, uint32_t&) override { return false; }
    bool NodeInstanceId(uint32_t, std::string&) override { return false; }
    bool NodeText(uint32_t, E_NodeText, std::string&) override { return false; }
    bool RemovalRelations(const std::string&, std::vector<std::string>&) override { return false; }
    bool InterfacePath(const std::string&, const S_ClassGuid&, std::string&) override
    {
        return false;
    }
    bool MountedDevices(std::vector<std::pair<std::string, std::vector<uint8_t>>>&) override
    {
        return false;
    }
    bool HardwareKeyText(const std::string&, const char*, std::string&) override { return false; }

    // Handles address ullBlocksIn blocks of the disk from ullStart on; the
    // partition requests answer with that place: IOCTL_DISK_GET_PARTITION_INFO_EX
    // always, the old request only for an MBR disk (GPT disks refuse it).
    void SetVolume(uint64_t ullStart, uint64_t ullBlocksIn, bool bGpt);
    // SCSI pass-through in both forms is refused as unknown (error 50), as on
    // a disk image or a RAM disk: nothing reaches the device.
    void RefusePassThrough();

    C_SimulatedScsiTarget& target;
    // The drive letters the simulated system shows (GetLogicalDrives).
    std::string strLetters;

    // Injected failures.
    DWORD dwOpenError = 0;                   // Open fails with it while nonzero
    std::map<DWORD, DWORD> mapControlErrors; // control code -> error of every such call
    DWORD dwTransferError = 0;               // Transfer fails with it while nonzero
    // Damaged blocks (of the handle's blocks): a read that covers one fails
    // with its error (ERROR_CRC, say) and moves nothing.
    std::map<uint64_t, DWORD> mapReadErrors;
    int nLockRefusals = 0;                   // this many FSCTL_LOCK_VOLUME fail
    // A clean (CleanDisk) zeroes the disk's first and last MiB, as the
    // system's clean does; otherwise it is only recorded.
    bool bCleanWipes = false;

    // What the device answers besides SCSI pass-through.
    bool bAtaPassThrough = false;
    bool bIdePassThrough = false;
    bool bSmart = false;
    bool bGeometryEx = false;
    bool bGeometry = false;
    bool bLengthInfo = false;
    bool bEndPosition = true;
    bool bPartitionInfo = false;      // the old request (MBR disks and older systems)
    bool bPartitionInfoEx = false;    // IOCTL_DISK_GET_PARTITION_INFO_EX
    bool bGpt = false;                // the EX answer's style; the old request is refused
    int64_t llPartitionStart = 0;
    int64_t llPartitionLength = 0;
    DWORD dwPartitionReturned = 32;
    // Where handle transfers land: from this block of the disk on, at most
    // ullHandleBlocks blocks (0: to the disk's end).
    uint64_t ullHandleStart = 0;
    uint64_t ullHandleBlocks = 0;
    // SMART_GET_VERSION (with bSmart): the drive positions present, ATAPI
    // ones also in the high nibble.
    uint8_t bSmartDeviceMap = 0x01;
    // The storage device descriptor (IOCTL_STORAGE_QUERY_PROPERTY, device
    // property) as the driver returns it; empty: the request is refused.
    std::vector<uint8_t> vDeviceDescriptor;

    // The log.
    struct S_PassThrough {
        bool bDirect = false;
        uint32_t ulTimeout = 0;
        uint32_t ulLength = 0;
        int nDataIn = 0;
        std::vector<uint8_t> cdb;
        std::string strPath;  // of the handle it came on
    };
    struct S_Transfer {
        bool bWrite = false;
        uint64_t ullOffset = 0;
        uint32_t ulBytes = 0;
    };
    std::vector<S_PassThrough> vPassThroughs;
    std::vector<std::pair<DWORD, std::string>> vControls;  // code and path of the handle
    std::vector<S_Transfer> vTransfers;
    std::vector<std::string> vOpened;                      // paths, in order
    std::vector<std::string> vCleaned;
    int nFlushes = 0;
    int OpenHandles() const { return static_cast<int>(mapHandles.size()); }
    size_t CountControls(DWORD dwCode) const;

private:
    // The blocks a handle reaches (the volume's, or the disk's).
    uint64_t HandleBlocks() const;
    BOOL PassThrough(HANDLE hDevice, bool bDirect, void* pIn, DWORD dwInSize, DWORD* pdwReturned);
    BOOL AtaPassThrough(void* pIn, DWORD dwInSize, DWORD* pdwReturned);
    BOOL IdePassThrough(void* pIn, DWORD dwInSize, DWORD* pdwReturned);
    BOOL Smart(DWORD dwCode, void* pIn, DWORD dwInSize, void* pOut, DWORD dwOutSize,
               DWORD* pdwReturned);

    std::map<HANDLE, std::string> mapHandles;
};

// A simulated disk and the system calls that reach it, for records that the
// passes' own code makes (RudvaneProbePhysicalDrive, RudvaneProbeVolume,
// RudvaneEnumVolumesWith, RudvaneVerifyIdentity). Such records keep a
// pointer to io, so the disk must outlive them: declare it before them, or
// keep it in the fixture. Bend it through its parts: target (identity, size,
// Swap, a fake capacity, faults), io (SetVolume for a volume on an MBR or GPT
// disk, RefusePassThrough, failing requests, strLetters).
struct S_SimulatedDisk {
    explicit S_SimulatedDisk(uint64_t ullBlocks = 2048, uint32_t ulBlockSize = 512)
        : target(ullBlocks, ulBlockSize), io(target)
    {
    }
    C_SimulatedScsiTarget target;
    C_SimulatedIo io;
};

// A device record opened by a path whose system calls go to a simulated
// target: whole fixed disk, 512-byte blocks, transfers of up to 128 blocks.
class C_TestDevice : public C_RudvaneHandleDevice {
public:
    explicit C_TestDevice(uint64_t ullBlocks = 2048, uint32_t ulBlockSizeIn = 512,
                          const std::string& strPathIn = "\\\\.\\PhysicalDrive7");
    ~C_TestDevice() override;

    C_SimulatedScsiTarget target;
    C_SimulatedIo io;
};

#endif
