// Raw access to a drive letter backed by a disk image (the scratch drive S:
// of the test prefix), checked byte for byte through the image file itself.
// Tests write only to that image and put back what they overwrote.
#include "device/core/RudvaneTypes.h"
#include "device/core/ScsiCdb.h"
#include "device/win/EnumIo.h"
#include "device/win/EnumPasses.h"
#include "device/win/IoCodes.h"
#include "device/win/Rudvane.h"
#include "device/win/RudvaneHandleDevice.h"
#include "tests/support/win/TestDevice.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr char kDrivePath[] = "\\\\.\\S:";

// The image file behind S:, as a Windows path through Z:, or empty.
std::string ImagePath()
{
    char szDrives[MAX_PATH] = {};
    const DWORD dwLength = ::GetEnvironmentVariableA("QV_DRIVES", szDrives, MAX_PATH);
    if (dwLength == 0 || dwLength >= MAX_PATH)
        return std::string();
    std::string strPath = std::string("Z:") + szDrives + "/s.img";
    for (char& c : strPath) {
        if (c == '/')
            c = '\\';
    }
    return ::GetFileAttributesA(strPath.c_str()) != INVALID_FILE_ATTRIBUTES ? strPath : std::string();
}

// Reads or writes the image file directly.
bool ImageIo(const std::string& strImage, bool bWrite, uint64_t ullOffset, void* pData,
             DWORD dwBytes)
{
    const HANDLE h = ::CreateFileA(strImage.c_str(), bWrite ? GENERIC_WRITE : GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                   nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(ullOffset);
    DWORD dwMoved = 0;
    const bool bOk = ::SetFilePointerEx(h, position, nullptr, FILE_BEGIN) &&
                     (bWrite ? ::WriteFile(h, pData, dwBytes, &dwMoved, nullptr)
                             : ::ReadFile(h, pData, dwBytes, &dwMoved, nullptr)) &&
                     dwMoved == dwBytes;
    ::CloseHandle(h);
    return bOk;
}

uint64_t ImageSize(const std::string& strImage)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(strImage.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

class ImageDriveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        strImage = ImagePath();
        if (strImage.empty())
            GTEST_SKIP() << "no disk image behind S: (QV_DRIVES not set)";
        RudvaneInit(nullptr, nullptr, 0);
        device.ulKind = RUDVANE_KIND_VOLUME;
        device.ulNumber = 'S';
        device.ulMediaClass = RUDVANE_MEDIA_FIXED_VOLUME;
        device.ulBlockSize = 512;
        device.strLetters = "S";
        device.strInfo = kDrivePath;
    }

    void TearDown() override
    {
        // Put back every region a test overwrote, last first.
        for (auto it = vSaved.rbegin(); it != vSaved.rend(); ++it)
            ImageIo(strImage, true, it->first, it->second.data(),
                    static_cast<DWORD>(it->second.size()));
        RudvaneExit();
    }

    // Keeps the image bytes of blocks [ullLba, ullLba + ulCount) for TearDown.
    void Save(uint64_t ullLba, uint32_t ulCount)
    {
        std::vector<uint8_t> v(ulCount * 512);
        ASSERT_TRUE(ImageIo(strImage, false, ullLba * 512, v.data(), static_cast<DWORD>(v.size())));
        vSaved.emplace_back(ullLba * 512, std::move(v));
    }

    std::vector<uint8_t> FromImage(uint64_t ullLba, uint32_t ulCount)
    {
        std::vector<uint8_t> v(ulCount * 512);
        EXPECT_TRUE(ImageIo(strImage, false, ullLba * 512, v.data(), static_cast<DWORD>(v.size())));
        return v;
    }

    static std::vector<uint8_t> Data(uint32_t ulCount, uint8_t bSeed)
    {
        std::vector<uint8_t> v(ulCount * 512);
        for (size_t i = 0; i < v.size(); ++i)
            v[i] = static_cast<uint8_t>(bSeed + i * 13 + (i >> 9));
        return v;
    }

    std::string strImage;
    C_RudvaneHandleDevice device{kDrivePath};
    std::vector<std::pair<uint64_t, std::vector<uint8_t>>> vSaved;
};

TEST_F(ImageDriveTest, SizeComesFromTheEndOfTheImage)
{
    device.ullBlockCount = 2048;
    ASSERT_EQ(device.UpdateSize(), 1);
    EXPECT_EQ(device.ullBlockCount, ImageSize(strImage) / 512);
    EXPECT_EQ(device.ulBlockSize, 512u);
    EXPECT_EQ(device.GetOpenCount(), 0);

    // Partition information is refused here; the record keeps its values.
    device.ullPartitionStart = 63;
    EXPECT_EQ(device.UpdatePartitionInfo(), 0);
    EXPECT_EQ(device.ullPartitionStart, 63u);
}

TEST_F(ImageDriveTest, BlocksLandWhereTheirAddressesSay)
{
    ASSERT_EQ(device.UpdateSize(), 1);
    const uint64_t ullLast = device.ullBlockCount;
    struct Case {
        uint64_t ullLba;
        uint32_t ulCount;
    };
    // Each write carries more blocks than ulMaxBlocks, so it goes through the handle.
    const std::vector<Case> cases = {{1, 2}, {4097, 16}, {ullLast - 8, 8}, {ullLast / 2 + 3, 128}};
    ASSERT_EQ(device.Open(), 1);  // one reference for the whole run, as the worker holds it
    const HANDLE h = device.GetHandle();
    uint8_t bSeed = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ullLba);
        Save(c.ullLba, c.ulCount);
        const std::vector<uint8_t> data = Data(c.ulCount, bSeed++);
        ASSERT_EQ(device.WriteBlocks(c.ullLba, c.ulCount, data.data()), 1);
        EXPECT_EQ(FromImage(c.ullLba, c.ulCount), data);
        std::vector<uint8_t> back(data.size());
        ASSERT_EQ(device.ReadBlocks(c.ullLba, c.ulCount, back.data()), 1);
        EXPECT_EQ(back, data);
    }
    EXPECT_EQ(device.GetHandle(), h);
    EXPECT_EQ(device.Close(), 1);
    EXPECT_EQ(device.GetOpenCount(), 0);
}

TEST_F(ImageDriveTest, AddressesBeyondTheImageFailInsteadOfWrapping)
{
    ASSERT_EQ(device.UpdateSize(), 1);
    Save(1, 2);
    const std::vector<uint8_t> data = Data(2, 77);
    ASSERT_EQ(device.WriteBlocks(1, 2, data.data()), 1);
    const uint64_t ullSize = ImageSize(strImage);

    struct Case {
        const char* pszName;
        uint64_t ullLba;
        uint32_t ulCount;
    };
    // Cut to 32 bits, each of these addresses would read blocks 1 and 2.
    const std::vector<Case> cases = {
        {"2^32 + 1", 0x100000001ull, 2},
        {"byte offset 2^41 + 512", (1ull << 32) + 1, 2},
        {"byte offset past 2^64", (1ull << 55) + 1, 2},
        {"straddling the end", device.ullBlockCount - 1, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        std::vector<uint8_t> buffer(c.ulCount * 512, 0xCD);
        EXPECT_EQ(device.ReadBlocks(c.ullLba, c.ulCount, buffer.data()), 0);
        EXPECT_NE(::GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
        EXPECT_NE(buffer, data);
    }
    // A refused address is never written, and the image does not grow.
    EXPECT_EQ(device.WriteBlocks((1ull << 55) + 1, 2, data.data()), 0);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_SECTOR_NOT_FOUND));
    EXPECT_EQ(ImageSize(strImage), ullSize);
}

TEST_F(ImageDriveTest, VolumeOfThePassWritesItsLastBlockAndNothingPastIt)
{
    RudvaneInit(nullptr, nullptr, RUDVANE_OPTIONS_BLOCK_ACCESS);
    std::unique_ptr<C_RudvaneHandleDevice> pVolume = RudvaneProbeVolume(C_EnumIo::System(), 'S');
    ASSERT_NE(pVolume, nullptr);
    const uint64_t ullSize = ImageSize(strImage);
    ASSERT_EQ(pVolume->ullBlockCount * 512, ullSize);
    const uint64_t ullLast = pVolume->ullBlockCount - 1;
    Save(ullLast - 1, 2);
    const std::vector<uint8_t> before = FromImage(ullLast - 1, 1);

    ASSERT_EQ(pVolume->OpenForWriting(), 1);
    const std::vector<uint8_t> data = Data(2, 31);
    const std::vector<uint8_t> last(data.begin(), data.begin() + 512);
    EXPECT_EQ(pVolume->WriteBlocks(ullLast, 1, last.data()), 1);
    for (const auto& c : std::vector<std::pair<uint64_t, uint32_t>>{{ullLast + 1, 1}, {ullLast, 2}}) {
        SCOPED_TRACE(c.first);
        EXPECT_EQ(pVolume->WriteBlocks(c.first, c.second, data.data() + 512), 0);
        EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_SECTOR_NOT_FOUND));
    }
    pVolume->Close();
    EXPECT_EQ(ImageSize(strImage), ullSize);
    EXPECT_EQ(FromImage(ullLast, 1), last);
    EXPECT_EQ(FromImage(ullLast - 1, 1), before);
}

TEST_F(ImageDriveTest, OneBlockLandsThroughTheHandleWhenPassThroughIsRefused)
{
    // The drive refuses SCSI pass-through as unknown, so nothing reached it.
    S_SenseArea sense;
    std::vector<uint8_t> buffer(36);
    const auto inquiry = BuildInquiry();
    EXPECT_EQ(device.ScsiCommand(6, inquiry.data(), 1, 36, buffer.data(), sense.data()), 0);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
    EXPECT_EQ(sense.bytes, kClearedSense);
    EXPECT_EQ(device.GetOpenCount(), 0);

    // A volume whose place on its disk is unknown writes through its own
    // handle; a whole device tries WRITE(10) first and, refused, the handle.
    C_RudvaneHandleDevice whole(kDrivePath);
    whole.ulKind = RUDVANE_KIND_PHYSICAL;
    whole.ulMediaClass = RUDVANE_MEDIA_FIXED_DEVICE;
    whole.ulBlockSize = 512;
    uint8_t bSeed = 9;
    uint64_t ullLba = 300;
    for (C_RudvaneHandleDevice* pDevice : {&device, &whole}) {
        SCOPED_TRACE(pDevice->ulKind);
        ASSERT_EQ(pDevice->UpdateSize(), 1);
        Save(ullLba, 1);
        const std::vector<uint8_t> data = Data(1, bSeed++);
        ASSERT_EQ(pDevice->WriteBlocks(ullLba, 1, data.data()), 1);
        EXPECT_EQ(FromImage(ullLba, 1), data);
        ++ullLba;
    }
}

TEST_F(ImageDriveTest, LockFlushAndRawRequestReachTheVolume)
{
    ASSERT_EQ(device.Query(RUDVANE_Q_LOCK_VOLUMES, nullptr, 1, nullptr, nullptr), 1);
    EXPECT_EQ(device.GetLockedVolumeCount(), 1u);
    ASSERT_EQ(device.Query(RUDVANE_Q_LOCK_VOLUMES, nullptr, 0, nullptr, nullptr), 1);
    EXPECT_EQ(device.GetLockedVolumeCount(), 0u);

    EXPECT_EQ(device.Query(RUDVANE_Q_FLUSH, nullptr, 0, nullptr, nullptr), 1);

    STORAGE_DEVICE_NUMBER number;
    std::memset(&number, 0xFF, sizeof(number));
    DWORD dwReturned = 0;
    S_RudvaneIoRequest request;
    request.dwCode = IOCTL_STORAGE_GET_DEVICE_NUMBER;
    request.pOut = &number;
    request.dwOutSize = sizeof(number);
    request.pdwReturned = &dwReturned;
    ASSERT_EQ(device.Query(RUDVANE_Q_IO_REQUEST, &request, 0, nullptr, nullptr), 1);
    EXPECT_EQ(dwReturned, sizeof(number));
    EXPECT_EQ(device.GetOpenCount(), 0);
}

} // namespace
