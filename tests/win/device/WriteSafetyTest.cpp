// What keeps a raw write on the blocks the user chose: the place of a
// volume on its disk, the record's range, the refusal of the system device,
// the check that the device behind a record is still the same one, and the
// handle path that takes a write the pass-through refused as unknown.
#include "device/core/ByteOrder.h"
#include "device/core/RudvaneTypes.h"
#include "device/win/EnumPasses.h"
#include "device/win/IoCodes.h"
#include "device/win/Rudvane.h"
#include "device/win/RudvanePnpDevice.h"
#include "device/win/RudvaneVerify.h"
#include "framework/win/ErrorText.h"
#include "tests/support/win/TestDevice.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

std::vector<uint8_t> Data(uint32_t ulCount, uint8_t bSeed)
{
    std::vector<uint8_t> v(static_cast<size_t>(ulCount) * 512);
    for (size_t i = 0; i < v.size(); ++i)
        v[i] = static_cast<uint8_t>(bSeed + i * 29 + (i >> 9));
    return v;
}

std::vector<uint8_t> DiskBlocks(const C_SimulatedScsiTarget& target, uint64_t ullLba,
                                uint32_t ulCount)
{
    std::vector<uint8_t> v(static_cast<size_t>(ulCount) * target.ulBlockSize);
    target.ReadImage(ullLba, ulCount, v.data());
    return v;
}

using WriteSafetyTest = C_DeviceLayerTest;

// K: exists nowhere in the test prefix, so every answer about it comes from
// the simulated disk.
constexpr char kVolumeLetter = 'K';

TEST_F(WriteSafetyTest, VolumeBlocksLandAtThePartitionStartOnMbrAndGptDisks)
{
    struct Case {
        const char* pszName;
        bool bGpt;
        bool bOnlyOldRequest;   // a system without IOCTL_DISK_GET_PARTITION_INFO_EX
        bool bPlaceUnknown;     // no partition request answers
        bool bPassThrough;      // the route the writes take
    };
    const std::vector<Case> cases = {
        {"GPT", true, false, false, true},
        {"MBR", false, false, false, true},
        {"MBR, old system", false, true, false, true},
        {"place unknown", true, false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        S_SimulatedDisk disk(1 << 20);
        disk.io.strLetters = std::string(1, kVolumeLetter);
        disk.io.SetVolume(2048, 4096, c.bGpt);
        if (c.bOnlyOldRequest)
            disk.io.mapControlErrors[IOCTL_DISK_GET_PARTITION_INFO_EX] = ERROR_INVALID_FUNCTION;
        if (c.bPlaceUnknown)
            disk.io.bPartitionInfoEx = disk.io.bPartitionInfo = false;
        std::unique_ptr<C_RudvaneHandleDevice> pVolume = RudvaneProbeVolume(disk.io, kVolumeLetter);
        ASSERT_NE(pVolume, nullptr);
        EXPECT_EQ(pVolume->ullPartitionStart, c.bPlaceUnknown ? 0u : 2048u);
        EXPECT_EQ(pVolume->ullBlockCount, 4096u);  // the partition's or the handle's end
        EXPECT_EQ(pVolume->IsDiskAddressKnown(), !c.bPlaceUnknown);

        const std::vector<uint8_t> first = Data(1, 1), last = Data(1, 2);
        ASSERT_EQ(pVolume->OpenForWriting(), 1);
        EXPECT_EQ(pVolume->WriteBlocks(0, 1, first.data()), 1);
        EXPECT_EQ(pVolume->WriteBlocks(4095, 1, last.data()), 1);
        EXPECT_EQ(pVolume->WriteBlocks(4096, 1, last.data()), 0);
        EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_SECTOR_NOT_FOUND));
        pVolume->Close();

        EXPECT_EQ(DiskBlocks(disk.target, 2048, 1), first);
        EXPECT_EQ(DiskBlocks(disk.target, 2048 + 4095, 1), last);
        EXPECT_EQ(disk.target.WrittenBlocks(), 2u);  // the partition table stays as it was
        size_t nWrite10 = 0;
        for (const auto& request : disk.io.vPassThroughs) {
            if (request.cdb[0] == 0x2A) {
                ++nWrite10;
                EXPECT_GE(GetBe32(&request.cdb[2]), 2048u);
            }
        }
        EXPECT_EQ(nWrite10, c.bPassThrough ? 2u : 0u);
    }
}

TEST_F(WriteSafetyTest, TransfersOutsideTheRecordAreRefusedBeforeAnySystemCall)
{
    struct Case {
        const char* pszName;
        uint64_t ullLba;
        uint32_t ulCount;
        uint32_t ulBlockSize;
        DWORD dwError;  // 0: allowed
    };
    const uint64_t ullBlocks = 1000;
    const std::vector<Case> cases = {
        {"last block", ullBlocks - 1, 1, 512, 0},
        {"one past the end", ullBlocks, 1, 512, ERROR_SECTOR_NOT_FOUND},
        {"straddling the end", ullBlocks - 1, 2, 512, ERROR_SECTOR_NOT_FOUND},
        {"a sum that would wrap", ~0ull - 1, 4, 512, ERROR_SECTOR_NOT_FOUND},
        {"block size unknown", 0, 1, 0, ERROR_NOT_READY},
    };
    for (const Case& c : cases) {
        for (bool bWrite : {false, true}) {
            SCOPED_TRACE(std::string(c.pszName) + (bWrite ? " write" : " read"));
            C_TestDevice device(ullBlocks);
            device.ulBlockSize = c.ulBlockSize;
            device.io.RefusePassThrough();  // so that every transfer reaches the handle
            std::vector<uint8_t> buffer(4 * 512, 0x3C);
            const int nOk = bWrite ? device.WriteBlocks(c.ullLba, c.ulCount, buffer.data())
                                   : device.ReadBlocks(c.ullLba, c.ulCount, buffer.data());
            EXPECT_EQ(nOk, c.dwError == 0 ? 1 : 0);
            if (c.dwError != 0) {
                EXPECT_EQ(::GetLastError(), c.dwError);
                EXPECT_TRUE(device.io.vOpened.empty());
                EXPECT_EQ(device.target.WrittenBlocks(), 0u);
            }
        }
    }
}

TEST_F(WriteSafetyTest, RefusedPassThroughWritesThroughTheHandleOtherFailuresStand)
{
    C_TestDevice device;
    device.io.RefusePassThrough();
    const std::vector<uint8_t> data = Data(1, 7);
    ASSERT_EQ(device.WriteBlocks(10, 1, data.data()), 1);
    ASSERT_EQ(device.io.vTransfers.size(), 1u);
    EXPECT_EQ(device.io.vTransfers[0].ullOffset, 10u * 512);
    EXPECT_EQ(DiskBlocks(device.target, 10, 1), data);

    // Optical media have no handle path for writes: the refusal stands.
    C_TestDevice optical(1000, 2048, "\\\\.\\CdRom0");
    optical.ulMediaClass = RUDVANE_MEDIA_OPTICAL;
    optical.io.RefusePassThrough();
    std::vector<uint8_t> block(2048, 0x11);
    EXPECT_EQ(optical.WriteBlocks(20, 1, block.data()), 0);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
    EXPECT_TRUE(optical.io.vTransfers.empty());
}

TEST_F(WriteSafetyTest, TheSystemDeviceIsNeverWritten)
{
    const char cSystem = RudvaneGetSystemLetter();
    ASSERT_NE(cSystem, '\0');
    const char cOther = cSystem == 'Y' ? 'X' : 'Y';
    // The system volume names the system identity when it is listed.
    auto* pSystem = new C_TestDevice(4096, 512, std::string("\\\\.\\") + cSystem + ":");
    pSystem->ulKind = RUDVANE_KIND_VOLUME;
    pSystem->ulNumber = cSystem;
    pSystem->strLetters.assign(1, cSystem);
    pSystem->strVendor = "QVSIM";
    pSystem->strProduct = "System Disk";
    ASSERT_EQ(RudvaneAddDevice(pSystem), 1);

    struct Case {
        const char* pszName;
        std::string strLetters;
        std::string strProduct;
        bool bRefused;
    };
    const std::vector<Case> cases = {
        {"the system volume", std::string(1, cSystem), "System Disk", true},
        {"another volume of the system disk", std::string(1, cOther), "System Disk", true},
        {"the system disk without letters", "", "System Disk", true},
        {"another disk", std::string(1, cOther), "Stick", false},
        {"a blank disk without letters", "", "Stick", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        C_TestDevice device(4096);
        device.strLetters = c.strLetters;
        device.strVendor = "QVSIM";
        device.strProduct = c.strProduct;
        const std::vector<uint8_t> data = Data(1, 5);
        if (!c.bRefused) {
            ASSERT_EQ(device.OpenForWriting(), 1);
            EXPECT_EQ(device.WriteBlocks(100, 1, data.data()), 1);
            device.Close();
            continue;
        }
        EXPECT_EQ(device.OpenForWriting(), 0);
        EXPECT_EQ(::GetLastError(), static_cast<DWORD>(RUDVANE_ERROR_SYSTEM_DEVICE));
        EXPECT_EQ(device.GetOpenCount(), 0);
        EXPECT_EQ(device.WriteBlocks(100, 1, data.data()), 0);  // whatever the caller confirmed
        EXPECT_EQ(::GetLastError(), static_cast<DWORD>(RUDVANE_ERROR_SYSTEM_DEVICE));
        EXPECT_TRUE(device.io.vOpened.empty());
        EXPECT_EQ(device.target.WrittenBlocks(), 0u);
        std::vector<uint8_t> buffer(512);
        EXPECT_EQ(device.ReadBlocks(100, 1, buffer.data()), 1);  // reading stays allowed
    }

    // The answer is the record's: a write checks it without the list lock,
    // which another thread may hold for a whole refresh.
    C_TestDevice stick(4096);
    stick.strLetters.assign(1, cOther);
    ASSERT_EQ(stick.OpenForWriting(), 1);
    HANDLE hLocked = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE hRelease = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread refresh([&] {
        RudvaneLock();
        ::SetEvent(hLocked);
        ::WaitForSingleObject(hRelease, 10000);
        RudvaneUnlock();
    });
    ::WaitForSingleObject(hLocked, 10000);
    const std::vector<uint8_t> data = Data(1, 6);
    const DWORD dwStart = ::GetTickCount();
    EXPECT_EQ(stick.WriteBlocks(7, 1, data.data()), 1);
    EXPECT_LT(::GetTickCount() - dwStart, 5000u);
    ::SetEvent(hRelease);
    refresh.join();
    stick.Close();
    ::CloseHandle(hLocked);
    ::CloseHandle(hRelease);

    // Pages and the console show the refusal's own text.
    char szText[kErrorTextBuffer];
    ASSERT_EQ(GetErrorText(RUDVANE_ERROR_SYSTEM_DEVICE, szText), szText);
    EXPECT_NE(std::string(szText).find("Windows"), std::string::npos) << szText;
    ASSERT_EQ(GetErrorText(RUDVANE_ERROR_DEVICE_CHANGED, szText), szText);
}

TEST_F(WriteSafetyTest, ASwappedOrResizedDeviceFailsTheIdentityCheck)
{
    S_SimulatedDisk disk(8192);
    std::unique_ptr<C_RudvaneHandleDevice> pDisk =
        RudvaneProbePhysicalDrive(disk.io, "\\\\.\\PhysicalDrive5", 5);
    ASSERT_NE(pDisk, nullptr);
    EXPECT_EQ(pDisk->ullBlockCount, 8192u);
    EXPECT_FALSE(pDisk->strProduct.empty());
    EXPECT_EQ(RudvaneVerifyIdentity(*pDisk), 1);

    // From the worker that is about to write, as the write run asks.
    int nFromWorker = 0;
    std::thread worker([&] { nFromWorker = RudvaneVerifyIdentity(*pDisk); });
    worker.join();
    EXPECT_EQ(nFromWorker, 1);

    disk.target.ullBlocks = 16384;  // the same device text with another size
    EXPECT_EQ(RudvaneVerifyIdentity(*pDisk), 0);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(RUDVANE_ERROR_DEVICE_CHANGED));
    disk.target.ullBlocks = 8192;
    ASSERT_EQ(RudvaneVerifyIdentity(*pDisk), 1);

    disk.target.Swap("Other Stick", 8192);
    EXPECT_EQ(RudvaneVerifyIdentity(*pDisk), 0);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(RUDVANE_ERROR_DEVICE_CHANGED));

    disk.io.dwOpenError = ERROR_FILE_NOT_FOUND;  // the device is gone
    EXPECT_EQ(RudvaneVerifyIdentity(*pDisk), 0);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

    // A volume whose partition grew is no longer the one listed.
    S_SimulatedDisk volumeDisk(1 << 20);
    volumeDisk.io.strLetters = std::string(1, kVolumeLetter);
    volumeDisk.io.SetVolume(2048, 4096, true);
    std::unique_ptr<C_RudvaneHandleDevice> pVolume =
        RudvaneProbeVolume(volumeDisk.io, kVolumeLetter);
    ASSERT_NE(pVolume, nullptr);
    EXPECT_EQ(RudvaneVerifyIdentity(*pVolume), 1);
    volumeDisk.io.SetVolume(2048, 8192, true);
    EXPECT_EQ(RudvaneVerifyIdentity(*pVolume), 0);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(RUDVANE_ERROR_DEVICE_CHANGED));

    // Records that cannot be made anew are not taken for the same.
    C_RudvanePnpDevice pnp;
    pnp.ulKind = RUDVANE_KIND_PNP;
    EXPECT_EQ(RudvaneVerifyIdentity(pnp), 0);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
}

TEST_F(WriteSafetyTest, AFakeDeviceWrapsOrDropsWhatLiesPastItsRealBlocks)
{
    for (E_FakeCapacity eFake : {FAKE_WRAP, FAKE_DROP}) {
        SCOPED_TRACE(eFake);
        C_TestDevice device(4096);
        device.target.ullRealBlocks = 1024;
        device.target.eFake = eFake;
        const std::vector<uint8_t> low = Data(1, 1), high = Data(1, 2);
        ASSERT_EQ(device.WriteBlocks(5, 1, low.data()), 1);
        ASSERT_EQ(device.WriteBlocks(1024 + 5, 1, high.data()), 1);  // the claim allows it
        std::vector<uint8_t> back(512);
        ASSERT_EQ(device.ReadBlocks(5, 1, back.data()), 1);
        EXPECT_EQ(back, eFake == FAKE_WRAP ? high : low);
        ASSERT_EQ(device.ReadBlocks(1024 + 5, 1, back.data()), 1);
        EXPECT_EQ(back, eFake == FAKE_WRAP ? high : std::vector<uint8_t>(512, 0));
    }
}

} // namespace
