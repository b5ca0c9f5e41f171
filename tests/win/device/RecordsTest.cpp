#include "device/core/RudvaneTypes.h"
#include "device/core/ScsiCdb.h"
#include "device/win/AspiLayer.h"
#include "device/win/IoCodes.h"
#include "device/win/Rudvane.h"
#include "device/win/RudvaneAspiDevice.h"
#include "device/win/RudvaneHandler.h"
#include "device/win/RudvaneLetterDevice.h"
#include "device/win/RudvanePnpDevice.h"
#include "device/win/RudvaneTrackDevice.h"
#include "device/win/RudvaneVwin32Device.h"
#include "tests/support/win/TestDevice.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using RecordsTest = C_DeviceLayerTest;

TEST_F(RecordsTest, AudioTrackReadsRawSectorsThroughItsDrive)
{
    C_TestDevice drive(300000, 2048, "\\\\.\\CdRom0");
    drive.ulMediaClass = RUDVANE_MEDIA_OPTICAL;
    drive.target.bDeviceType = 5;
    C_RudvaneTrackDevice audio(&drive, true);
    C_RudvaneTrackDevice data(&drive, false);
    EXPECT_EQ(audio.ulBlockSize, kRawCdSectorSize);
    data.ulBlockSize = 2048;
    for (C_RudvaneTrackDevice* pTrack : {&audio, &data}) {
        pTrack->ullFirstBlock = 900;    // the track's start
        pTrack->ullBlockCount = 5000;   // the lead-out
    }

    std::vector<uint8_t> raw(2 * kRawCdSectorSize);
    ASSERT_EQ(audio.ReadBlocks(1000, 2, raw.data()), 1);
    EXPECT_EQ(drive.target.LastCdb(),
              (std::vector<uint8_t>{0xBE, 0, 0, 0, 0x03, 0xE8, 0, 0, 2, 0xF8, 0, 0}));
    EXPECT_EQ(raw[0], 0x00);
    EXPECT_EQ(raw[1], 0xFF);
    std::vector<uint8_t> user(2048);
    C_SimulatedScsiTarget::FillPattern(1001, 2048, user.data());
    EXPECT_EQ(std::memcmp(&raw[kRawCdSectorSize + 16], user.data(), 2048), 0);

    std::vector<uint8_t> block(2048);
    ASSERT_EQ(data.ReadBlocks(1001, 1, block.data()), 1);
    EXPECT_EQ(block, user);
    EXPECT_EQ(drive.target.LastCdb()[0], 0x28);

    EXPECT_EQ(audio.WriteBlocks(1000, 1, raw.data()), 0);
    EXPECT_EQ(data.WriteBlocks(1000, 1, block.data()), 0);
    EXPECT_EQ(drive.target.WrittenBlocks(), 0u);

    // A track reads only its own blocks, from its start to the lead-out,
    // though its drive holds more.
    const size_t nCommands = drive.target.vCdbs.size();
    for (C_RudvaneTrackDevice* pTrack : {&audio, &data}) {
        EXPECT_EQ(pTrack->ReadBlocks(899, 1, raw.data()), 0);
        EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_SECTOR_NOT_FOUND));
        EXPECT_EQ(pTrack->ReadBlocks(4999, 2, raw.data()), 0);
        EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_SECTOR_NOT_FOUND));
    }
    EXPECT_EQ(drive.target.vCdbs.size(), nCommands);

    // The track holds its drive open for a caller that keeps it open.
    ASSERT_EQ(audio.Open(), 1);
    EXPECT_EQ(drive.GetOpenCount(), 1);
    ASSERT_EQ(audio.Close(), 1);
    EXPECT_EQ(drive.GetOpenCount(), 0);
}

TEST_F(RecordsTest, RecordsWithoutRawAccessSayNotSupported)
{
    C_RudvaneLetterDevice letter('Q');
    C_RudvaneVwin32Device vwin32(3);  // the vwin32 driver belongs to Windows 9x
    std::vector<uint8_t> buffer(512);
    const auto inquiry = BuildInquiry();
    struct Case {
        const char* pszName;
        C_RudvaneDevice* pDevice;
    };
    for (const Case& c : std::vector<Case>{{"letter", &letter}, {"vwin32", &vwin32}}) {
        SCOPED_TRACE(c.pszName);
        c.pDevice->ulBlockSize = 512;
        c.pDevice->ullBlockCount = 100;
        EXPECT_EQ(c.pDevice->ReadBlocks(0, 1, buffer.data()), 0);
        EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
        EXPECT_EQ(c.pDevice->WriteBlocks(0, 1, buffer.data()), 0);
        S_SenseArea sense;
        EXPECT_EQ(c.pDevice->ScsiCommand(6, inquiry.data(), 1, 36, buffer.data(), sense.data()), 0);
        EXPECT_EQ(sense.bytes, kClearedSense);
        EXPECT_EQ(c.pDevice->Open(), 0);
        EXPECT_EQ(c.pDevice->Eject(0), 0);
        EXPECT_EQ(c.pDevice->RequestRemoval(), 0);
    }
    EXPECT_EQ(letter.ulKind, RUDVANE_KIND_LETTER);
    EXPECT_EQ(letter.ulCaps.load(), 0u);
}

TEST_F(RecordsTest, AspiTargetThatIsNotThereFails)
{
    C_RudvaneAspiDevice aspi(0, 6, 0);
    aspi.ulBlockSize = 512;
    aspi.ullBlockCount = 1ull << 33;
    std::vector<uint8_t> buffer(512);
    const auto inquiry = BuildInquiry();
    uint8_t sense[24];
    C_AspiLayer::Get().Unload();
    EXPECT_EQ(aspi.ScsiCommand(6, inquiry.data(), 1, 36, buffer.data(), sense), 0);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));

    // Where a layer exists (Wine has one) it finds no such target.
    if (C_AspiLayer::Get().Load()) {
        std::memset(sense, 0xAA, sizeof(sense));
        const DWORD dwStart = ::GetTickCount();
        EXPECT_EQ(aspi.ScsiCommand(6, inquiry.data(), 1, 36, buffer.data(), sense), 0);
        EXPECT_EQ(aspi.ReadBlocks(0, 1, buffer.data()), 0);
        EXPECT_LT(::GetTickCount() - dwStart, 5000u);
        EXPECT_EQ(sense[2] & 0x0F, 0);
        C_AspiLayer::Get().Unload();
    }
    // READ(10) cannot reach past 32 bits.
    EXPECT_EQ(aspi.ReadBlocks(0x100000000ull, 1, buffer.data()), 0);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    // Blocks past the target's end are refused before the layer is asked.
    aspi.ullBlockCount = 100;
    EXPECT_EQ(aspi.WriteBlocks(100, 1, buffer.data()), 0);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_SECTOR_NOT_FOUND));
}

TEST_F(RecordsTest, LetterSizeComesFromItsFileSystem)
{
    C_RudvaneLetterDevice letter('Q');
    ASSERT_EQ(letter.UpdateSize(), 1);
    EXPECT_GT(letter.ulBlockSize, 0u);
    EXPECT_GT(letter.ullBlockCount, 0u);
    EXPECT_LE(letter.ullFreeBlocks, letter.ullBlockCount);

    C_RudvaneLetterDevice two('Q');
    two.strLetters = "QR";  // only a record with exactly one letter
    EXPECT_EQ(two.UpdateSize(), 0);
    EXPECT_EQ(two.ullBlockCount, 0u);
    C_RudvaneLetterDevice floppy('A');  // A: only with the floppy option
    EXPECT_EQ(floppy.UpdateSize(), 0);
}

TEST_F(RecordsTest, PlugAndPlayRecordAnswersFromItsOwnData)
{
    C_RudvanePnpDevice record;
    EXPECT_EQ(record.ulKind, RUDVANE_KIND_PNP);
    uint32_t ulVendor = 1, ulProduct = 1;
    EXPECT_EQ(record.Query(RUDVANE_Q_USB_IDS, &ulVendor, 0, &ulProduct, nullptr), 0);
    std::string strText = "old";
    EXPECT_EQ(record.Query(RUDVANE_Q_USB_SERIAL, &strText, 0, nullptr, nullptr), 0);
    uint32_t ulHigh = 0, ulLow = 0;
    EXPECT_EQ(record.Query(RUDVANE_Q_1394_UNIQUE_ID_PARTS, &ulHigh, 0, &ulLow, nullptr), 0);
    EXPECT_EQ(record.Query(0x2FFFF, nullptr, 0, nullptr, nullptr), 0);

    record.ulUsbProductId = 0x5581;
    record.str1394UniqueId = "0030E0F4E0001234";
    EXPECT_EQ(record.Query(RUDVANE_Q_USB_IDS, &ulVendor, 0, &ulProduct, nullptr), 1);
    EXPECT_EQ(ulVendor, 0u);
    EXPECT_EQ(ulProduct, 0x5581u);
    ASSERT_EQ(record.Query(RUDVANE_Q_1394_UNIQUE_ID_PARTS, &ulHigh, 0, &ulLow, nullptr), 1);
    EXPECT_EQ(ulHigh, 0x0030E0F4u >> 8);
    EXPECT_EQ(ulLow, 0xE0001234u >> 24);
}

TEST_F(RecordsTest, QueryCodesGoToTheirOwnersInOrder)
{
    struct C_Chip : C_RudvaneHandler {
        int Query(uint32_t ulCode, void* pOut, uintptr_t, void*, void*) override
        {
            ++nCalls;
            if (ulCode == RUDVANE_Q_CHIP_LOCATION || ulCode == RUDVANE_Q_USB_SERIAL) {
                *static_cast<std::string*>(pOut) = "chip";
                return 1;
            }
            return 0;
        }
        int nCalls = 0;
    };
    C_RudvanePnpDevice record;
    auto* pChip = new C_Chip;
    record.AttachHandler(pChip);
    std::string strText;
    // 0x2xxxx: the record itself, never the chip.
    EXPECT_EQ(record.Query(RUDVANE_Q_USB_SERIAL, &strText, 0, nullptr, nullptr), 0);
    EXPECT_EQ(pChip->nCalls, 0);
    // Other codes: the chip first.
    EXPECT_EQ(record.Query(RUDVANE_Q_CHIP_LOCATION, &strText, 0, nullptr, nullptr), 1);
    EXPECT_EQ(strText, "chip");
    // 0x7xxxx: the record opened by a path; unknown ones are nobody's.
    EXPECT_EQ(record.Query(0x7FFFF, nullptr, 0, nullptr, nullptr), 0);
    EXPECT_EQ(record.Query(0x12345, nullptr, 0, nullptr, nullptr), 0);
    EXPECT_EQ(pChip->nCalls, 2);
}

TEST_F(RecordsTest, FlushAndRawRequestUseTheOpenHandle)
{
    C_TestDevice device;
    ASSERT_EQ(device.Query(RUDVANE_Q_FLUSH, nullptr, 0, nullptr, nullptr), 1);
    EXPECT_EQ(device.io.nFlushes, 1);
    DWORD dwReturned = 0;
    GET_LENGTH_INFORMATION length;
    device.io.bLengthInfo = true;
    S_RudvaneIoRequest request;
    request.dwCode = IOCTL_DISK_GET_LENGTH_INFO;
    request.pOut = &length;
    request.dwOutSize = sizeof(length);
    request.pdwReturned = &dwReturned;
    ASSERT_EQ(device.Query(RUDVANE_Q_IO_REQUEST, &request, 0, nullptr, nullptr), 1);
    EXPECT_EQ(length.Length.QuadPart, 2048 * 512);
    EXPECT_EQ(dwReturned, sizeof(length));
    device.io.mapControlErrors[IOCTL_DISK_GET_LENGTH_INFO] = ERROR_NOT_READY;
    EXPECT_EQ(device.Query(RUDVANE_Q_IO_REQUEST, &request, 0, nullptr, nullptr), 0);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_NOT_READY));
    EXPECT_EQ(device.io.OpenHandles(), 0);
}

TEST_F(RecordsTest, VolumeLockHoldsEveryLetterUntilUnlocked)
{
    C_SimulatedScsiTarget target;
    C_SimulatedIo io(target);
    io.nLockRefusals = 1;  // the first volume refuses; the others are still locked
    auto pDevice = std::make_unique<C_RudvaneHandleDevice>("\\\\.\\PhysicalDrive1");
    pDevice->SetIo(&io);
    pDevice->strLetters = "EFG";
    ASSERT_EQ(pDevice->Query(RUDVANE_Q_LOCK_VOLUMES, nullptr, 1, nullptr, nullptr), 1);
    EXPECT_EQ(io.vOpened, (std::vector<std::string>{"\\\\.\\E:", "\\\\.\\F:", "\\\\.\\G:"}));
    EXPECT_EQ(io.CountControls(FSCTL_LOCK_VOLUME), 3u);
    EXPECT_EQ(pDevice->GetLockedVolumeCount(), 3u);
    EXPECT_EQ(io.OpenHandles(), 3);
    ASSERT_EQ(pDevice->Query(RUDVANE_Q_LOCK_VOLUMES, nullptr, 0, nullptr, nullptr), 1);
    EXPECT_EQ(io.CountControls(FSCTL_UNLOCK_VOLUME), 3u);
    EXPECT_EQ(io.OpenHandles(), 0);

    // A record deleted while it holds locks lets go of the handles.
    pDevice->Query(RUDVANE_Q_LOCK_VOLUMES, nullptr, 1, nullptr, nullptr);
    EXPECT_EQ(io.OpenHandles(), 3);
    pDevice.reset();
    EXPECT_EQ(io.OpenHandles(), 0);
}

TEST_F(RecordsTest, EjectLocksDismountsAllowsRemovalAndEjects)
{
    struct Case {
        const char* pszName;
        int32_t ulMediaClass;
        std::string strLetters;
        int nLock;
        int nRefusals;
        int nResult;
        DWORD dwAccess;
        std::vector<DWORD> vCodes;
    };
    const std::vector<DWORD> vUnlocked = {FSCTL_DISMOUNT_VOLUME, IOCTL_STORAGE_MEDIA_REMOVAL,
                                          IOCTL_STORAGE_EJECT_MEDIA};
    const std::vector<Case> cases = {
        {"removable, no lock", RUDVANE_MEDIA_REMOVABLE_VOLUME, "E", 0, 0, 1, 0, vUnlocked},
        {"optical, lock on the third try", RUDVANE_MEDIA_OPTICAL, "D", 1, 2, 1, 0,
         {FSCTL_LOCK_VOLUME, FSCTL_LOCK_VOLUME, FSCTL_LOCK_VOLUME, FSCTL_DISMOUNT_VOLUME,
          IOCTL_STORAGE_MEDIA_REMOVAL, IOCTL_STORAGE_EJECT_MEDIA}},
        {"fixed disk", RUDVANE_MEDIA_FIXED_VOLUME, "C", 0, 0, 0, 0, {}},
        {"no letter", RUDVANE_MEDIA_REMOVABLE_DEVICE, "", 0, 0, 0, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        C_TestDevice device;
        device.ulMediaClass = c.ulMediaClass;
        device.strLetters = c.strLetters;
        device.io.nLockRefusals = c.nRefusals;
        EXPECT_EQ(device.Eject(c.nLock), c.nResult);
        std::vector<DWORD> vCodes;
        for (const auto& control : device.io.vControls) {
            vCodes.push_back(control.first);
            EXPECT_EQ(control.second, "\\\\.\\" + c.strLetters + ":");
        }
        EXPECT_EQ(vCodes, c.vCodes);
        EXPECT_EQ(device.io.OpenHandles(), 0);
    }

    C_TestDevice device;
    device.ulMediaClass = RUDVANE_MEDIA_OPTICAL;
    device.strLetters = "D";
    ASSERT_EQ(device.LoadMedia(), 1);
    EXPECT_EQ(device.io.CountControls(IOCTL_STORAGE_LOAD_MEDIA), 1u);
}

} // namespace
