#include "device/core/ByteOrder.h"
#include "device/core/RudvaneTypes.h"
#include "device/core/ScsiCdb.h"
#include "device/win/IoCodes.h"
#include "device/win/Rudvane.h"
#include "tests/support/win/TestDevice.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

std::vector<uint8_t> Pattern(uint64_t ullLba, uint32_t ulCount, uint32_t ulBlockSize = 512)
{
    std::vector<uint8_t> v(static_cast<size_t>(ulCount) * ulBlockSize);
    for (uint32_t i = 0; i < ulCount; ++i)
        C_SimulatedScsiTarget::FillPattern(ullLba + i, ulBlockSize, v.data() + i * ulBlockSize);
    return v;
}

using HandleDeviceTest = C_DeviceLayerTest;

TEST_F(HandleDeviceTest, OpenAndCloseNestAroundOneHandle)
{
    C_TestDevice device;
    EXPECT_EQ(device.Close(), 0);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    ASSERT_EQ(device.Open(), 1);
    const HANDLE h = device.GetHandle();
    ASSERT_EQ(device.Open(), 1);
    std::vector<uint8_t> buffer(512);
    ASSERT_EQ(device.ReadBlocks(9, 1, buffer.data()), 1);  // opens and closes around itself
    EXPECT_EQ(device.GetOpenCount(), 2);
    EXPECT_EQ(device.GetHandle(), h);
    EXPECT_EQ(device.io.vOpened.size(), 1u);
    EXPECT_EQ(device.Close(), 1);
    EXPECT_EQ(device.io.OpenHandles(), 1);
    EXPECT_EQ(device.Close(), 1);
    EXPECT_EQ(device.io.OpenHandles(), 0);
    EXPECT_EQ(device.GetOpenCount(), 0);

    // Without a held reference every access opens and closes the device.
    ASSERT_EQ(device.ReadBlocks(9, 1, buffer.data()), 1);
    EXPECT_EQ(device.io.vOpened.size(), 2u);
    EXPECT_EQ(device.io.OpenHandles(), 0);

    device.io.dwOpenError = ERROR_ACCESS_DENIED;
    EXPECT_EQ(device.Open(), 0);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(device.GetOpenCount(), 0);
    EXPECT_EQ(device.ReadBlocks(9, 1, buffer.data()), 0);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

TEST_F(HandleDeviceTest, ReadsOfADiskGoThroughTheHandleWithoutThePartitionStart)
{
    C_TestDevice device(1ull << 34);
    device.ullPartitionStart = 2048;
    struct Case {
        uint64_t ullLba;
        uint32_t ulCount;
    };
    for (const Case& c : std::vector<Case>{{0, 1}, {7, 3}, {0x100000001ull, 2}, {(1ull << 34) - 4, 4}}) {
        SCOPED_TRACE(c.ullLba);
        std::vector<uint8_t> buffer(c.ulCount * 512);
        ASSERT_EQ(device.ReadBlocks(c.ullLba, c.ulCount, buffer.data()), 1);
        EXPECT_EQ(buffer, Pattern(c.ullLba, c.ulCount));
        EXPECT_EQ(device.io.vTransfers.back().ullOffset, c.ullLba * 512);
    }
    EXPECT_TRUE(device.io.vPassThroughs.empty());

    // A block address past the device is refused, not wrapped.
    std::vector<uint8_t> buffer(512);
    const size_t nTransfers = device.io.vTransfers.size();
    EXPECT_EQ(device.ReadBlocks(1ull << 55, 1, buffer.data()), 0);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_SECTOR_NOT_FOUND));
    EXPECT_EQ(device.io.vTransfers.size(), nTransfers);
    // So is a transfer of 4 GiB or more in one call.
    EXPECT_EQ(device.ReadBlocks(0, 0x800000, buffer.data()), 0);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(HandleDeviceTest, OpticalReadsUseRead10AtTheDiskAddress)
{
    C_TestDevice device(1ull << 33, 2048, "\\\\.\\CdRom0");
    device.ulMediaClass = RUDVANE_MEDIA_OPTICAL;
    device.ullPartitionStart = 100;
    std::vector<uint8_t> buffer(3 * 2048);
    ASSERT_EQ(device.ReadBlocks(5000, 3, buffer.data()), 1);
    ASSERT_EQ(device.io.vPassThroughs.size(), 1u);
    const auto& request = device.io.vPassThroughs[0];
    EXPECT_EQ(request.cdb.size(), 12u);
    EXPECT_EQ(request.cdb[0], 0x28);
    EXPECT_EQ(GetBe32(&request.cdb[2]), 5100u);
    EXPECT_EQ(GetBe16(&request.cdb[7]), 3u);
    EXPECT_TRUE(request.bDirect);
    EXPECT_EQ(request.nDataIn, SCSI_IOCTL_DATA_IN);
    EXPECT_EQ(buffer, Pattern(5100, 3, 2048));
    EXPECT_TRUE(device.io.vTransfers.empty());

    // Past the reach of READ(10): refused rather than sent to a wrapped LBA.
    EXPECT_EQ(device.ReadBlocks(0xFFFFFFFFull - 99, 1, buffer.data()), 0);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(device.io.vPassThroughs.size(), 1u);
}

TEST_F(HandleDeviceTest, WritesChooseWrite10OrTheHandle)
{
    struct Case {
        const char* pszName;
        uint64_t ullLba;
        uint32_t ulCount;
        uint64_t ullPartitionStart;
        bool bPassThrough;
    };
    // The route rules' own boundaries are the core tests' business; these
    // check that each route carries the record's limits and partition start.
    const std::vector<Case> cases = {
        {"small, low", 5, 8, 0, true},
        {"count at max blocks", 5, 128, 0, true},
        {"count above max blocks", 5, 129, 0, false},
        {"beyond 32 bits", 0x123456789ull, 2, 0, false},
        {"volume inside 32 bits", 40, 2, 2048, true},
        {"volume reaching past 32 bits", 40, 2, 0xFFFFFFF0ull, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        C_TestDevice device(1ull << 36);
        device.ullPartitionStart = c.ullPartitionStart;
        std::vector<uint8_t> data(c.ulCount * 512);
        for (size_t i = 0; i < data.size(); ++i)
            data[i] = static_cast<uint8_t>(i * 7 + 1);
        ASSERT_EQ(device.WriteBlocks(c.ullLba, c.ulCount, data.data()), 1);
        std::vector<uint8_t> image(data.size());
        if (c.bPassThrough) {
            ASSERT_EQ(device.io.vPassThroughs.size(), 1u);
            const auto& request = device.io.vPassThroughs[0];
            EXPECT_EQ(request.cdb[0], 0x2A);
            EXPECT_EQ(GetBe32(&request.cdb[2]), c.ullLba + c.ullPartitionStart);
            EXPECT_EQ(GetBe16(&request.cdb[7]), c.ulCount);
            EXPECT_EQ(request.nDataIn, SCSI_IOCTL_DATA_OUT);
            EXPECT_TRUE(device.io.vTransfers.empty());
            device.target.ReadImage(c.ullLba + c.ullPartitionStart, c.ulCount, image.data());
        } else {
            EXPECT_TRUE(device.io.vPassThroughs.empty());
            ASSERT_EQ(device.io.vTransfers.size(), 1u);
            EXPECT_TRUE(device.io.vTransfers[0].bWrite);
            EXPECT_EQ(device.io.vTransfers[0].ullOffset, c.ullLba * 512);
            device.target.ReadImage(c.ullLba, c.ulCount, image.data());
        }
        EXPECT_EQ(image, data);
        EXPECT_EQ(device.target.WrittenBlocks(), c.ulCount);
    }
}

TEST_F(HandleDeviceTest, FailedPassThroughWriteIsNotRetriedThroughTheHandle)
{
    C_TestDevice device;
    device.target.FailNext(0x2A, 0x07, 0x27, 0x00);  // write protected
    std::vector<uint8_t> data(512, 0x5A);
    EXPECT_EQ(device.WriteBlocks(10, 1, data.data()), 0);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_WRITE_PROTECT));
    EXPECT_TRUE(device.io.vTransfers.empty());
    EXPECT_EQ(device.target.WrittenBlocks(), 0u);
}

TEST_F(HandleDeviceTest, BlockZeroOfAWholeDeviceIsCleanedFirst)
{
    struct Case {
        const char* pszPath;
        uint64_t ullLba;
        uint64_t ullPartitionStart;
        int32_t ulMediaClass;
        std::vector<std::string> vCleaned;
    };
    const std::vector<Case> cases = {
        {"\\\\.\\PhysicalDrive3", 0, 0, RUDVANE_MEDIA_FIXED_DEVICE, {"\\\\?\\PhysicalDrive3"}},
        {"\\\\.\\PhysicalDrive3", 1, 0, RUDVANE_MEDIA_FIXED_DEVICE, {}},
        {"\\\\.\\E:", 0, 2048, RUDVANE_MEDIA_REMOVABLE_VOLUME, {}},
        {"\\\\?\\usbstor#disk", 0, 0, RUDVANE_MEDIA_REMOVABLE_DEVICE, {"\\\\?\\usbstor#disk"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.pszPath) + " " + std::to_string(c.ullLba));
        C_TestDevice device(4096, 512, c.pszPath);
        device.ullPartitionStart = c.ullPartitionStart;
        device.ulMediaClass = c.ulMediaClass;
        std::vector<uint8_t> data(512, 0x11);
        EXPECT_EQ(device.WriteBlocks(c.ullLba, 1, data.data()), 1);
        EXPECT_EQ(device.io.vCleaned, c.vCleaned);
    }
}

TEST_F(HandleDeviceTest, TapeRewindsOnlyAtBlockZero)
{
    C_TestDevice device(100, 512, "\\\\.\\Tape0");
    device.ulMediaClass = RUDVANE_MEDIA_TAPE;
    device.target.bDeviceType = 1;
    std::vector<uint8_t> buffer(2 * 512);
    ASSERT_EQ(device.ReadBlocks(0, 2, buffer.data()), 1);
    EXPECT_EQ(buffer, Pattern(0, 2));
    ASSERT_EQ(device.ReadBlocks(2, 2, buffer.data()), 1);
    EXPECT_EQ(buffer, Pattern(2, 2));  // the tape went on from where it stood
    ASSERT_EQ(device.target.vCdbs.size(), 3u);
    EXPECT_EQ(device.target.vCdbs[0], (std::vector<uint8_t>{0x01, 0, 0, 0, 0, 0}));
    EXPECT_EQ(device.target.vCdbs[1], (std::vector<uint8_t>{0x08, 1, 0, 0, 2, 0}));
    EXPECT_EQ(device.target.vCdbs[2][0], 0x08);

    device.target.FailNext(0x01, 0x02, 0x04, 0x00);
    EXPECT_EQ(device.ReadBlocks(0, 1, buffer.data()), 0);  // a failed rewind ends the read
    EXPECT_EQ(device.target.CountOpcode(0x08), 2u);
    ASSERT_EQ(device.WriteBlocks(0, 1, buffer.data()), 1);
    EXPECT_EQ(device.target.LastCdb()[0], 0x0A);
    EXPECT_TRUE(device.io.vCleaned.empty());
}

TEST_F(HandleDeviceTest, CheckConditionHandsOverSenseAndAnErrorThatFitsIt)
{
    C_TestDevice device(1000, 2048);
    device.ulMediaClass = RUDVANE_MEDIA_OPTICAL;
    std::vector<uint8_t> buffer(2048);
    device.target.FailNext(0x28, 0x03, 0x11, 0x00);  // unrecovered read error
    EXPECT_EQ(device.ReadBlocks(10, 1, buffer.data()), 0);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_CRC));

    for (uint32_t ulLength : {2u, 2048u}) {
        SCOPED_TRACE(ulLength);
        S_SenseArea sense;
        device.target.FailNext(0x28, 0x03, 0x11, 0x05);
        const auto cdb = BuildRead10(10, 1);
        EXPECT_EQ(device.ScsiCommand(12, cdb.data(), 1, ulLength, buffer.data(), sense.data()), 0);
        // 18 bytes came back; the rest is zero.
        EXPECT_EQ(sense.bytes, (std::array<uint8_t, 24>{0x70, 0, 0x03, 0, 0, 0, 0, 10, 0, 0, 0, 0,
                                                        0x11, 0x05}));
    }

    // Success zeroes the caller's sense.
    S_SenseArea sense;
    const auto inquiry = BuildInquiry();
    ASSERT_EQ(device.ScsiCommand(6, inquiry.data(), 1, 36, buffer.data(), sense.data()), 1);
    EXPECT_EQ(sense.bytes, kClearedSense);
    EXPECT_EQ(device.GetLastTransfer(), 36u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(&buffer[8]), 5), "QVSIM");
}

TEST_F(HandleDeviceTest, FailedDeviceControlZeroesSenseAndKeepsItsError)
{
    C_TestDevice device;
    device.io.mapControlErrors[IOCTL_SCSI_PASS_THROUGH_DIRECT] = ERROR_GEN_FAILURE;
    device.io.mapControlErrors[IOCTL_SCSI_PASS_THROUGH] = ERROR_NOT_READY;
    const auto inquiry = BuildInquiry();
    std::vector<uint8_t> buffer(64);
    for (uint32_t ulLength : {36u, 3u}) {
        SCOPED_TRACE(ulLength);
        S_SenseArea sense;
        EXPECT_EQ(device.ScsiCommand(6, inquiry.data(), 1, ulLength, buffer.data(), sense.data()), 0);
        EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ulLength == 3 ? ERROR_NOT_READY
                                                                    : ERROR_GEN_FAILURE));
        EXPECT_EQ(sense.bytes, kClearedSense);
    }
    EXPECT_EQ(device.io.OpenHandles(), 0);
}

TEST_F(HandleDeviceTest, ShortTransferOfBlocksFails)
{
    C_TestDevice device(1000, 2048);
    device.ulMediaClass = RUDVANE_MEDIA_OPTICAL;
    std::vector<uint8_t> buffer(4 * 2048, 0xEE);
    device.target.ShortenNext(0x28, 2048);
    EXPECT_EQ(device.ReadBlocks(20, 4, buffer.data()), 0);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_IO_DEVICE));
    EXPECT_EQ(buffer[3 * 2048], 0xEE);  // the missing block was never filled
    EXPECT_EQ(device.GetLastTransfer(), 3u * 2048);
}

TEST_F(HandleDeviceTest, TimeoutAndFormByOpcodeAndLength)
{
    struct Case {
        uint8_t bOpcode;
        uint32_t ulLength;
        uint32_t ulBus;
        int32_t lRecordTimeout;
        bool bDirect;
        uint32_t ulTimeout;
    };
    // The record hands its bus, the length and its own timeout to the rules.
    const std::vector<Case> cases = {
        {0xBE, 2352, RUDVANE_BUS_OTHER, -1, true, 30},
        {0xE0, 512, RUDVANE_BUS_USB, -1, true, 1},
        {0xE0, 3, RUDVANE_BUS_USB, -1, false, 5},
        {0xD0, 64, RUDVANE_BUS_1394, -1, false, 5},
        {0xD0, 4096, RUDVANE_BUS_1394, -1, true, 1},
        {0x28, 0, RUDVANE_BUS_OTHER, -1, true, 5},
        {0x28, 512, RUDVANE_BUS_OTHER, 60, true, 60},
        {0xBE, 3, RUDVANE_BUS_OTHER, 2, false, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.bOpcode) + " length " + std::to_string(c.ulLength));
        C_TestDevice device;
        device.ulBusFlags = c.ulBus;
        device.ulScsiTimeout = c.lRecordTimeout;
        std::vector<uint8_t> buffer(c.ulLength + 1);
        const uint8_t cdb[10] = {c.bOpcode};
        device.ScsiCommand(10, cdb, 1, c.ulLength, buffer.data(), nullptr);
        ASSERT_EQ(device.io.vPassThroughs.size(), 1u);
        EXPECT_EQ(device.io.vPassThroughs[0].bDirect, c.bDirect);
        EXPECT_EQ(device.io.vPassThroughs[0].ulTimeout, c.ulTimeout);
        EXPECT_EQ(device.io.vPassThroughs[0].ulLength, c.ulLength);
    }
}

TEST_F(HandleDeviceTest, BufferedFormCopiesDataBothWays)
{
    C_TestDevice device(64);
    device.ulBusFlags = RUDVANE_BUS_1394;
    std::vector<uint8_t> data(512);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<uint8_t>(255 - i);
    const auto write = BuildWrite10(3, 1);
    ASSERT_EQ(device.ScsiCommand(10, write.data(), 0, 512, data.data(), nullptr), 1);
    std::vector<uint8_t> back(512);
    const auto read = BuildRead10(3, 1);
    ASSERT_EQ(device.ScsiCommand(10, read.data(), 1, 512, back.data(), nullptr), 1);
    EXPECT_EQ(back, data);
    ASSERT_EQ(device.io.vPassThroughs.size(), 2u);
    EXPECT_FALSE(device.io.vPassThroughs[0].bDirect);
    EXPECT_FALSE(device.io.vPassThroughs[1].bDirect);

    // Refused before anything is sent: a CDB longer than 16 bytes.
    uint8_t big[17] = {0x28};
    EXPECT_EQ(device.ScsiCommand(17, big, 1, 512, back.data(), nullptr), 0);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(device.io.vPassThroughs.size(), 2u);
}

} // namespace
