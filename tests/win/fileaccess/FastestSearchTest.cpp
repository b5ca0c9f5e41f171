// The fastest-file search through SCSI pass-through, answered by a drive
// simulated over crafted disc sectors.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "device/win/DeviceIo.h"
#include "device/win/IoCodes.h"
#include "fileaccess/win/FileEngine.h"
#include "framework/win/TestFile.h"
#include "tests/core/fileaccess/CraftedDisc.h"
#include "tests/win/fileaccess/FileTestParts.h"

namespace {

// An optical drive: READ TOC (format 0) from vToc, READ(10) of one sector
// of vDisc. Every request block is checked as a drive's driver would take it.
class C_DiscDriveIo : public C_DeviceIo {
public:
    HANDLE Open(const char* pszPath, DWORD dwAccess) override
    {
        vOpened.push_back(pszPath);
        dwOpenAccess = dwAccess;
        ++nOpen;
        return ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    }
    void Close(HANDLE hDevice) override
    {
        --nOpen;
        ::CloseHandle(hDevice);
    }
    BOOL Control(HANDLE, DWORD dwCode, void* pIn, DWORD dwInSize, void* pOut, DWORD dwOutSize, DWORD* pdwReturned,
                 OVERLAPPED*) override
    {
        if (dwCode != IOCTL_SCSI_PASS_THROUGH_DIRECT) {
            ::SetLastError(ERROR_INVALID_FUNCTION);
            return FALSE;
        }
        auto* pRequest = static_cast<SCSI_PASS_THROUGH_DIRECT*>(pIn);
        EXPECT_EQ(pIn, pOut);
        EXPECT_EQ(pRequest->Length, sizeof(SCSI_PASS_THROUGH_DIRECT));
        EXPECT_EQ(pRequest->CdbLength, 12);
        EXPECT_EQ(pRequest->DataIn, SCSI_IOCTL_DATA_IN);
        EXPECT_EQ(pRequest->DataTransferLength, 2048u);
        EXPECT_EQ(pRequest->TimeOutValue, 5u);
        auto* pData = static_cast<uint8_t*>(pRequest->DataBuffer);
        const uint8_t* pCdb = pRequest->Cdb;
        pRequest->ScsiStatus = 0;
        if (pCdb[0] == 0x43) {
            std::memcpy(pData, vToc.data(), vToc.size());
        } else if (pCdb[0] == 0x28 && pCdb[7] == 0 && pCdb[8] == 1) {
            const uint32_t ulSector = (static_cast<uint32_t>(pCdb[2]) << 24) | (pCdb[3] << 16) | (pCdb[4] << 8) | pCdb[5];
            vRead.push_back(ulSector);
            const uint64_t ullOffset = static_cast<uint64_t>(ulSector) * 2048;
            if (ullOffset >= vDisc.size())
                pRequest->ScsiStatus = 2;   // CHECK CONDITION: beyond the disc
            else
                std::memcpy(pData, vDisc.data() + ullOffset, 2048);
        } else {
            pRequest->ScsiStatus = 2;
        }
        *pdwReturned = dwInSize;
        return TRUE;
    }

    // A TOC of an audio track at 0 and a data track at ulTrackStartIn.
    void MixedModeDisc(const std::vector<uint8_t>& vDiscIn, uint32_t ulTrackStartIn)
    {
        vDisc = vDiscIn;
        vToc = {0, 18, 1, 2, 0, 0x10, 1, 0, 0, 0, 0, 0, 0, 0x14, 2, 0,
                static_cast<uint8_t>(ulTrackStartIn >> 24), static_cast<uint8_t>(ulTrackStartIn >> 16),
                static_cast<uint8_t>(ulTrackStartIn >> 8), static_cast<uint8_t>(ulTrackStartIn)};
    }

    std::vector<uint8_t> vDisc;
    std::vector<uint8_t> vToc;
    std::vector<std::string> vOpened;
    DWORD dwOpenAccess = 0;
    int nOpen = 0;
    std::vector<uint32_t> vRead;
};

// A Joliet disc whose data track starts at ulBase: the short and the long
// name of one file, a smaller file behind it in a folder. Addresses on a
// disc count from its start, not from the track's.
std::vector<uint8_t> JolietDisc(uint32_t ulBase)
{
    C_CraftedDisc disc(ulBase + 64);
    disc.Descriptor(ulBase + 16, 1, ulBase + 20);
    disc.Descriptor(ulBase + 17, 2, ulBase + 22, 2048, "%/@");
    disc.Descriptor(ulBase + 18, 255);
    disc.SelfAndParent(ulBase + 20, ulBase + 20);
    disc.Record(ulBase + 20, "LONGFI~1.MKV;1", ulBase + 40, 0x100, false);
    disc.Record(ulBase + 20, "SUB", ulBase + 21, 2048, true);
    disc.SelfAndParent(ulBase + 21, ulBase + 20);
    disc.Record(ulBase + 21, "SMALL.TXT;1", ulBase + 45, 0x7F, false);
    disc.SelfAndParent(ulBase + 22, ulBase + 22);
    disc.Record(ulBase + 22, C_CraftedDisc::Ucs2("A long film name.mkv"), ulBase + 40, 0x100, false);
    disc.Record(ulBase + 22, C_CraftedDisc::Ucs2("Sub"), ulBase + 23, 2048, true);
    disc.SelfAndParent(ulBase + 23, ulBase + 22);
    disc.Record(ulBase + 23, C_CraftedDisc::Ucs2("small.txt"), ulBase + 45, 0x7F, false);
    return disc.Bytes();
}

class FastestSearch : public ::testing::Test {
protected:
    void SetUp() override { io.MixedModeDisc(JolietDisc(300), 300); }

    C_DiscDriveIo io;
    C_FileTestVolume volume;
    C_FileTestEvents events;
    C_TestFile file;
    C_TestFile readDataFile;
    C_FileEngine engine{file, readDataFile, volume, events, io};
};

TEST_F(FastestSearch, LastDataTrackJolietNameAndTheLow32BitsOfTheSize)
{
    struct S_Case {
        uint64_t ullFileSize;    // the size box's value
        const char* pszPath;
    };
    for (const S_Case& c : std::vector<S_Case>{
             {0, "X:\\Sub\\small.txt"},
             {0x80, "X:\\A long film name.mkv"},
             {(1ull << 32) + 0x80, "X:\\A long film name.mkv"},   // 4 GiB + 128 asks for 128 bytes
             {1ull << 32, "X:\\Sub\\small.txt"},                  // 4 GiB asks for nothing
         }) {
        SCOPED_TRACE(c.ullFileSize);
        S_FileRunOptions options;
        options.strPath = "X:\\old.bin";
        options.ullFileSize = c.ullFileSize;
        engine.SetOptions(options);
        events = C_FileTestEvents();
        io.vRead.clear();
        ASSERT_EQ(engine.FastestFileSearch(), 1);
        EXPECT_EQ(engine.GetPath(), c.pszPath);
        ASSERT_FALSE(events.vCalls.empty());
        EXPECT_EQ(events.vCalls.back().rfind("file " + std::string(c.pszPath) + " ", 0), 0u);
        // The volume descriptors of the data track, then its directories.
        ASSERT_GE(io.vRead.size(), 3u);
        EXPECT_EQ(io.vRead[0], 316u);
    }
    EXPECT_EQ(io.vOpened.back(), "\\\\.\\X:");
    EXPECT_EQ(io.dwOpenAccess, static_cast<DWORD>(GENERIC_READ | GENERIC_WRITE));
    EXPECT_EQ(io.nOpen, 0);
}

} // namespace
