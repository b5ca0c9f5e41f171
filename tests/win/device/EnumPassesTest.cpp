// The enumeration passes: the drive passes for real on the prefix's scratch
// drives (R: and S: are backed by disk images), with a few system answers
// shaped where the prefix cannot show a case; the track pass on a simulated
// CD; the Plug and Play pass on recorded device nodes and hub answers.
#include "device/core/EnumRules.h"
#include "device/core/PathHash.h"
#include "device/core/RudvaneTypes.h"
#include "device/core/UsbSpeed.h"
#include "device/win/EnumIo.h"
#include "device/win/EnumPasses.h"
#include "device/win/Rudvane.h"
#include "device/win/RudvaneHandleDevice.h"
#include "device/win/RudvanePnpDevice.h"
#include "device/win/RudvaneRefresh.h"
#include "device/win/RudvaneTrackDevice.h"
#include "device/win/UsbSpeedWalk.h"
#include "tests/support/win/RecordedUsb.h"
#include "tests/support/win/TestDevice.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cctype>
#include <map>
#include <string>
#include <vector>

namespace {

C_RudvaneDevice* Find(uint32_t ulKind, const std::string& strLetters)
{
    for (C_RudvaneDevice* p : ListedRecords()) {
        if (p->ulKind == ulKind && p->strLetters == strLetters)
            return p;
    }
    return nullptr;
}

C_RudvanePnpDevice* FindPnp(bool bWholeDevice)
{
    for (C_RudvaneDevice* p : ListedRecords()) {
        auto* pPnp = static_cast<C_RudvanePnpDevice*>(p);
        if (p->ulKind == RUDVANE_KIND_PNP && pPnp->bWholeDevice == bWholeDevice)
            return pPnp;
    }
    return nullptr;
}

bool HasImages()
{
    char szDrives[MAX_PATH] = {};
    return ::GetEnvironmentVariableA("QV_DRIVES", szDrives, MAX_PATH) != 0;
}

class EnumPassesTest : public ::testing::Test {
protected:
    void TearDown() override { RudvaneExit(); }
};

TEST_F(EnumPassesTest, ImageBackedVolumesAreListedWithTheirImageSizes)
{
    if (!HasImages())
        GTEST_SKIP() << "no scratch drive images (QV_DRIVES not set)";
    // The refresh of each page, as the pages and quenvale-cli run them.
    RudvaneInit(nullptr, nullptr, RUDVANE_OPTIONS_BLOCK_ACCESS);
    RudvaneRefreshBlockAccess();
    RudvaneRefreshQuickAccess();
    for (const auto& c : std::vector<std::pair<std::string, uint64_t>>{{"R", 64ull << 20},
                                                                        {"S", 16ull << 20}}) {
        SCOPED_TRACE(c.first);
        auto* pVolume = static_cast<C_RudvaneHandleDevice*>(Find(RUDVANE_KIND_VOLUME, c.first));
        ASSERT_NE(pVolume, nullptr);
        EXPECT_EQ(pVolume->strInfo, "\\\\.\\" + c.first + ":");
        EXPECT_EQ(pVolume->ulNumber, c.first[0]);
        EXPECT_EQ(pVolume->ullBlockCount * pVolume->ulBlockSize, c.second);
        EXPECT_EQ(pVolume->dwAccess, static_cast<DWORD>(GENERIC_READ | GENERIC_WRITE));
        EXPECT_EQ(pVolume->ulCaps.load() & 0xFFFF, RUDVANE_CAP_PATH | RUDVANE_CAP_BLOCKS |
                                                       RUDVANE_CAP_READ | RUDVANE_CAP_WRITE);
        // Blank identity texts, like those of the system volume here, are
        // no reason to refuse a write.
        EXPECT_FALSE(pVolume->IsWriteRefused());
        C_RudvaneDevice* pLetter = Find(RUDVANE_KIND_LETTER, c.first);
        ASSERT_NE(pLetter, nullptr);
        EXPECT_EQ(pLetter->strInfo.compare(0, 11, "DriveLetter"), 0);
        EXPECT_EQ(pLetter->ulCaps.load(), 0u);
        EXPECT_EQ(pLetter->ulStorageNumber, static_cast<uint32_t>(c.first[0]));
    }
    EXPECT_NE(Find(RUDVANE_KIND_LETTER, "Q"), nullptr);
    const char szSystem[2] = {RudvaneGetSystemLetter(), '\0'};
    if (C_RudvaneDevice* pSystem = Find(RUDVANE_KIND_VOLUME, szSystem)) {
        EXPECT_TRUE(pSystem->IsWriteRefused());
    }
}

// The system's answers, with a refused write access to S: and a floppy
// drive A: that the prefix lacks.
class C_ShapedIo : public C_EnumIo {
public:
    HANDLE Open(const char* pszPath, DWORD dwAccess) override
    {
        vOpens.emplace_back(pszPath, dwAccess);
        if (bReadOnlyS && lstrcmpiA(pszPath, "\\\\.\\S:") == 0 && (dwAccess & GENERIC_WRITE) != 0) {
            ::SetLastError(ERROR_ACCESS_DENIED);
            return INVALID_HANDLE_VALUE;
        }
        return C_EnumIo::Open(pszPath, dwAccess);
    }
    DWORD LogicalDrives() override { return C_EnumIo::LogicalDrives() | (bDriveA ? 1u : 0u); }
    UINT DriveType(const std::string& strRoot) override
    {
        if (bOpticalS && strRoot == "S:\\")
            return DRIVE_CDROM;
        return strRoot == "A:\\" ? DRIVE_REMOVABLE : C_EnumIo::DriveType(strRoot);
    }
    bool VolumeInfo(char cLetter, std::string& strLabel, std::string& strFileSystem,
                    DWORD& dwSerial) override
    {
        if (cLetter != 'A')
            return C_EnumIo::VolumeInfo(cLetter, strLabel, strFileSystem, dwSerial);
        ++nAsksOfA;
        strLabel = "FLOPPY";
        strFileSystem = "FAT";
        dwSerial = 0x1234;
        return true;
    }
    bool DisplayName(char cLetter, std::string& strName) override
    {
        nAsksOfA += cLetter == 'A' ? 1 : 0;
        return cLetter != 'A' && C_EnumIo::DisplayName(cLetter, strName);
    }

    bool bReadOnlyS = false;
    bool bOpticalS = false;
    bool bDriveA = false;
    int nAsksOfA = 0;
    std::vector<std::pair<std::string, DWORD>> vOpens;
};

TEST_F(EnumPassesTest, VolumeThatRefusesWritingIsListedForReadingOnly)
{
    C_ShapedIo io;
    io.bReadOnlyS = true;
    RudvaneInit(nullptr, nullptr, 0xFFF00800);
    RudvaneEnumVolumesWith(io);
    auto* pVolume = static_cast<C_RudvaneHandleDevice*>(Find(RUDVANE_KIND_VOLUME, "S"));
    ASSERT_NE(pVolume, nullptr);
    EXPECT_EQ(pVolume->dwAccess, static_cast<DWORD>(GENERIC_READ));
    EXPECT_EQ(pVolume->ulCaps.load() & (RUDVANE_CAP_READ | RUDVANE_CAP_WRITE), RUDVANE_CAP_READ);
    io.vOpens.clear();
    ASSERT_EQ(pVolume->Open(), 1);
    pVolume->Close();
    ASSERT_EQ(io.vOpens.size(), 1u);
    EXPECT_EQ(io.vOpens[0].second, static_cast<DWORD>(GENERIC_READ));
    auto* pOther = static_cast<C_RudvaneHandleDevice*>(Find(RUDVANE_KIND_VOLUME, "R"));
    ASSERT_NE(pOther, nullptr);
    EXPECT_EQ(pOther->dwAccess, static_cast<DWORD>(GENERIC_READ | GENERIC_WRITE));
}

TEST_F(EnumPassesTest, CdRomLetterIsAnOpticalVolumeFromBlock16)
{
    C_ShapedIo io;
    io.bOpticalS = true;
    RudvaneInit(nullptr, nullptr, 0xFFF00800);
    RudvaneEnumVolumesWith(io);
    C_RudvaneDevice* pVolume = Find(RUDVANE_KIND_VOLUME, "S");
    ASSERT_NE(pVolume, nullptr);
    EXPECT_EQ(pVolume->ulMediaClass, RUDVANE_MEDIA_OPTICAL);
    EXPECT_EQ(pVolume->ullFirstBlock, 16u);
}

TEST_F(EnumPassesTest, DriveAIsListedOnlyWithTheFloppyOption)
{
    C_ShapedIo io;
    io.bDriveA = true;
    RudvaneInit(nullptr, nullptr, 0xFFF00800);
    RudvaneEnumVolumesWith(io);
    RudvaneEnumDriveLettersWith(io);
    RudvaneEnumPhysicalDrivesWith(io);
    for (C_RudvaneDevice* p : ListedRecords())
        EXPECT_FALSE(HasLetter(p->strLetters, 'A')) << p->strInfo;
    EXPECT_EQ(io.nAsksOfA, 0);
    for (const auto& open : io.vOpens)
        EXPECT_NE(open.first, "\\\\.\\A:");

    RudvaneExit();
    RudvaneInit(nullptr, nullptr, 0xFFF00802);
    RudvaneEnumDriveLettersWith(io);
    C_RudvaneDevice* pFloppy = Find(RUDVANE_KIND_LETTER, "A");
    ASSERT_NE(pFloppy, nullptr);
    EXPECT_EQ(pFloppy->ulMediaClass, RUDVANE_MEDIA_REMOVABLE_VOLUME);
    EXPECT_EQ(pFloppy->strLabel, "FLOPPY");
    EXPECT_EQ(pFloppy->strDisplayName, "FLOPPY");  // the label when the shell has no name
}

// First and last track, lead-out at 60:00:00, a data track and two audio tracks.
std::vector<uint8_t> MixedModeToc()
{
    return C_FullToc().Add(1, 4, 0xA0, 1, 0, 0).Add(1, 0, 0xA1, 3, 0, 0).Add(1, 0, 0xA2, 60, 0, 0)
        .Add(1, 4, 1, 0, 2, 0).Add(1, 0, 2, 20, 0, 0).Add(1, 0, 3, 40, 0, 0).Bytes();
}

TEST_F(EnumPassesTest, TracksOfACdAreListedOnceWithTheirOwnBlocks)
{
    RudvaneInit(nullptr, nullptr, 0xFFF00800);
    auto* pCd = new C_TestDevice(300000, 2048, "\\\\.\\CdRom0");
    pCd->ulKind = RUDVANE_KIND_CDROM;
    pCd->ulMediaClass = RUDVANE_MEDIA_OPTICAL;
    pCd->ulMaxBlocks = 32;
    pCd->strLetters = "T";
    pCd->target.bDeviceType = 5;
    pCd->target.vFullToc = MixedModeToc();
    auto* pDisk = new C_TestDevice(2048, 512);
    pDisk->target.vFullToc = MixedModeToc();
    ASSERT_EQ(RudvaneAddDevice(pCd), 1);
    ASSERT_EQ(RudvaneAddDevice(pDisk), 1);

    RudvaneEnumTracks();
    std::vector<C_RudvaneTrackDevice*> vTracks;
    for (C_RudvaneDevice* p : ListedRecords()) {
        if (p->ulKind == RUDVANE_KIND_TRACK)
            vTracks.push_back(static_cast<C_RudvaneTrackDevice*>(p));
    }
    ASSERT_EQ(vTracks.size(), 3u);  // none from the disk with 512-byte blocks
    EXPECT_EQ(vTracks[0]->strInfo, "\\\\.\\CdRom0 track 1 [data]");
    EXPECT_EQ(vTracks[0]->ulBlockSize, 2048u);
    EXPECT_EQ(vTracks[0]->ulMaxBlocks, 32u);
    EXPECT_EQ(vTracks[1]->strInfo, "\\\\.\\CdRom0 track 2 [audio]");
    EXPECT_EQ(vTracks[1]->ulBlockSize, 2352u);
    EXPECT_EQ(vTracks[1]->ulMaxBlocks, 26u);
    EXPECT_EQ(vTracks[1]->ullFirstBlock, 20u * 4500 - 150);
    EXPECT_EQ(vTracks[2]->ullBlockCount, 60u * 4500 - 150);
    EXPECT_EQ(vTracks[2]->strLetters, "T");
    EXPECT_EQ(vTracks[2]->ulCaps.load(), 0x1Bu);  // the parent's 0x18, readable, never writable
    EXPECT_NE(vTracks[1]->ulNumber, vTracks[2]->ulNumber);

    std::vector<uint8_t> vRaw(2352);
    ASSERT_EQ(vTracks[1]->ReadBlocks(90000, 1, vRaw.data()), 1);
    EXPECT_EQ(pCd->target.LastCdb()[0], 0xBE);

    // A second pass finds the same tracks and adds nothing.
    RudvaneEnumTracks();
    EXPECT_EQ(ListedRecords().size(), 5u);
}

// Device nodes, classes, volume names and registry values as a system with
// one USB stick shows them: disk 100 on USB device 101 on root hub 102 on
// host controller 103; its volume 120 (letter E:), and a volume 121 that
// nothing names.
class C_RecordedNodes : public C_EnumIo {
public:
    struct S_Node {
        std::string strId;
        uint32_t ulParent = 0;
        std::string strDescription;
        std::string strHardwareId;
        std::string strLocation;
        std::vector<std::string> vRemoval;
        std::string strHubPath;
    };

    HANDLE Open(const char*, DWORD) override
    {
        ::SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    DWORD LogicalDrives() override { return 1u << ('E' - 'A'); }
    UINT DriveType(const std::string& strRoot) override
    {
        return strRoot == "E:\\" ? DRIVE_REMOVABLE : DRIVE_NO_ROOT_DIR;
    }
    bool VolumeInfo(char cLetter, std::string& strLabel, std::string&, DWORD&) override
    {
        strLabel = "STICK";
        return cLetter == 'E';
    }
    bool DisplayName(char cLetter, std::string& strName) override
    {
        strName = "STICK (E:)";
        return cLetter == 'E';
    }
    int VolumeName(const std::string& strMountPoint, std::string& strName) override
    {
        const auto it = mapVolumeNames.find(strMountPoint);
        if (it == mapVolumeNames.end())
            return 0;
        strName = it->second;
        return 1;
    }
    bool ListClass(const S_ClassGuid& guid, bool, std::vector<S_ClassDevice>& out) override
    {
        out = mapClasses[guid.ulData1];
        return true;
    }
    bool NodeParent(uint32_t ulNode, uint32_t& ulParent) override
    {
        ulParent = mapNodes[ulNode].ulParent;
        return ulParent != 0;
    }
    bool NodeChild(uint32_t, uint32_t&) override { return false; }
    bool NodeInstanceId(uint32_t ulNode, std::string& strOut) override
    {
        strOut = mapNodes[ulNode].strId;
        return !strOut.empty();
    }
    bool NodeText(uint32_t ulNode, E_NodeText eText, std::string& strOut) override
    {
        const S_Node& node = mapNodes[ulNode];
        strOut = eText == NODE_TEXT_DESCRIPTION   ? node.strDescription
                 : eText == NODE_TEXT_HARDWARE_ID ? node.strHardwareId
                 : eText == NODE_TEXT_LOCATION    ? node.strLocation
                                                  : std::string();
        return !strOut.empty();
    }
    bool RemovalRelations(const std::string& strId, std::vector<std::string>& out) override
    {
        out.clear();
        for (auto& node : mapNodes) {
            if (node.second.strId == strId)
                out = node.second.vRemoval;
        }
        return true;
    }
    bool InterfacePath(const std::string& strId, const S_ClassGuid& guid, std::string& strOut) override
    {
        for (auto& node : mapNodes) {
            if (node.second.strId == strId && guid == kUsbHubInterface && !node.second.strHubPath.empty()) {
                strOut = node.second.strHubPath;
                return true;
            }
        }
        return false;
    }
    bool MountedDevices(std::vector<std::pair<std::string, std::vector<uint8_t>>>& out) override
    {
        out = vMounted;
        return true;
    }

    std::map<uint32_t, S_Node> mapNodes;
    std::map<uint32_t, std::vector<S_ClassDevice>> mapClasses;  // by the GUID's first field
    std::map<std::string, std::string> mapVolumeNames;
    std::vector<std::pair<std::string, std::vector<uint8_t>>> vMounted;
};

constexpr char kHub30[] = "USB#ROOT_HUB30#4&1&0#{f18a0e88-c30c-11d0-8815-00a0c906bed8}";
constexpr char kDiskPath[] =
    "\\\\?\\usbstor#disk&ven_qv&prod_stick&rev_1.00#ab_12&0#{53f56307-b6bf-11d0-94f2-00a0c91efb8b}";
constexpr char kVolumeId[] =
    "STORAGE\\VOLUME\\_??_USBSTOR#DISK&VEN_QV&PROD_STICK&REV_1.00#AB_12&0#{53F56307-B6BF-11D0-94F2-00A0C91EFB8B}";
constexpr char kVolumePath[] =
    "\\\\?\\STORAGE#VOLUME#_??_USBSTOR#DISK&VEN_QV&PROD_STICK&REV_1.00#AB_12&0#{53F56307-B6BF-11D0-94F2-00A0C91EFB8B}#{53f5630d-b6bf-11d0-94f2-00a0c91efb8b}";

void RecordStick(C_RecordedNodes& nodes, C_RecordedUsb& usb)
{
    nodes.mapNodes[100] = {"USBSTOR\\DISK&VEN_QV&PROD_STICK&REV_1.00\\AB_12&0", 101,
                           "USB Mass Storage Device", "USBSTOR\\DiskQV______STICK___1.00", "",
                           {kVolumeId}, ""};
    nodes.mapNodes[101] = {"USB\\VID_0781&PID_5583\\AB_12", 102, "USB Mass Storage", "",
                           "Port_#0002.Hub_#0001", {}, ""};
    nodes.mapNodes[102] = {"USB\\ROOT_HUB30\\4&1&0", 103, "USB Root Hub (USB 3.0)", "", "", {},
                           RecordedHubPath(kHub30)};
    nodes.mapNodes[103] = {"PCI\\VEN_8086&DEV_1549&SUBSYS_0\\3&1", 0, "Thunderbolt USB Controller",
                           "PCI\\VEN_8086&DEV_1549&SUBSYS_00000000", "", {}, ""};
    nodes.mapNodes[120] = {kVolumeId, 0, "Generic volume", "STORAGE\\Volume", "", {}, ""};
    nodes.mapNodes[121] = {"STORAGE\\VOLUME\\{UNNAMED}", 0, "Generic volume", "", "", {}, ""};
    nodes.mapClasses[kDiskInterface.ulData1] = {{kDiskPath, 100}};
    nodes.mapClasses[kVolumeInterface.ulData1] = {{kVolumePath, 120},
                                                  {"\\\\?\\STORAGE#VOLUME#{UNNAMED}", 121}};
    nodes.mapVolumeNames[VolumePathOfInstanceId(kVolumeId)] = "\\\\?\\Volume{e}\\";
    nodes.mapVolumeNames["E:\\"] = "\\\\?\\Volume{E}\\";
    std::vector<uint8_t> vData;
    for (char c : std::string("\\??\\") + (kVolumePath + 4)) {
        vData.push_back(static_cast<uint8_t>(c));
        vData.push_back(0);
    }
    nodes.vMounted = {{"\\DosDevices\\E:", vData}, {"\\??\\Volume{e}", vData}};

    S_RecordedPort empty;
    empty.ulStatus = 0;
    S_RecordedPort stick;
    stick.wBcdUsb = 0x0210;
    stick.bSpeed = 2;
    stick.wVendor = 0x0781;
    stick.wProduct = 0x5583;
    stick.strProduct = "Stick";
    stick.strSerial = "AB 12";
    usb.mapHubs[kHub30] = {empty, stick};
}

TEST_F(EnumPassesTest, UsbStickOfThePlugAndPlayPassKnowsItsPortAndSpeed)
{
    C_RecordedNodes nodes;
    C_RecordedUsb usb;
    RecordStick(nodes, usb);
    RudvaneInit(nullptr, nullptr, RUDVANE_OPT_NO_BRIDGES | RUDVANE_OPT_QUICK_PNP);
    RudvaneEnumInterfacesWith(nodes, usb);

    C_RudvanePnpDevice* pDisk = FindPnp(true);
    ASSERT_NE(pDisk, nullptr);
    EXPECT_EQ(pDisk->strLetters, "E");
    EXPECT_EQ(static_cast<uint32_t>(pDisk->ulNumber), 0x20000000 + RudvanePathHash(kDiskPath) + 2);
    EXPECT_EQ(pDisk->ulMediaClass, RUDVANE_MEDIA_REMOVABLE_DEVICE);
    EXPECT_EQ(pDisk->strInfo, std::string("USB Mass Storage Device USBSTOR\\DiskQV______STICK___1.00 ") +
                                  kDiskPath);
    EXPECT_EQ(pDisk->strDisplayName, "STICK (E:)");
    EXPECT_EQ(pDisk->ulBusFlags & 0xFF, RUDVANE_BUS_THUNDERBOLT);
    EXPECT_EQ(pDisk->ulCaps.load() & RUDVANE_CAP_PNP, RUDVANE_CAP_PNP);
    uint32_t ulPort = 0, ulCode = 0;
    std::string strController, strLocation;
    ASSERT_EQ(pDisk->Query(RUDVANE_Q_USB_SPEED, &ulPort, 0, &strController, &ulCode), 1);
    EXPECT_EQ(ulCode, USB_CODE_NEWER_ON_SUPER);
    EXPECT_EQ(ulPort, 2u);
    EXPECT_EQ(strController, "Thunderbolt USB Controller");
    ASSERT_EQ(pDisk->Query(RUDVANE_Q_LOCATION, &strLocation, 0, nullptr, nullptr), 1);
    EXPECT_EQ(strLocation, "Stick");

    // The volume whose path does not open is listed because the registry
    // names its letter, and finds its port through the disk; the volume
    // that nothing names is not listed.
    C_RudvanePnpDevice* pVolume = nullptr;
    int nVolumes = 0;
    for (C_RudvaneDevice* p : ListedRecords()) {
        auto* pPnp = static_cast<C_RudvanePnpDevice*>(p);
        if (!pPnp->bWholeDevice) {
            pVolume = pPnp;
            ++nVolumes;
        }
    }
    ASSERT_EQ(nVolumes, 1);
    EXPECT_EQ(pVolume->strLetters, "E");
    ASSERT_EQ(pVolume->Query(RUDVANE_Q_USB_SPEED, nullptr, 0, nullptr, &ulCode), 1);
    EXPECT_EQ(ulCode, USB_CODE_NEWER_ON_SUPER);
    EXPECT_EQ(usb.OpenHandles(), 0);

    // The Quick Access walk finds the code by drive letter.
    for (const auto& c : std::vector<std::pair<char, int32_t>>{{'e', 4}, {'Q', -1}}) {
        S_UsbSpeedSearch search;
        search.cLetter = c.first;
        RudvaneForEachDevice(RudvaneEnumUsbSpeedCallback, &search, 1);
        EXPECT_EQ(search.lResult, c.second) << c.first;
    }

    // A stick of the vendor that is never searched has no port.
    RudvaneExit();
    nodes.mapNodes[101].strId = "USB\\VID_0644&PID_5583\\AB_12";
    RudvaneInit(nullptr, nullptr, RUDVANE_OPT_NO_BRIDGES | RUDVANE_OPT_QUICK_PNP);
    RudvaneEnumInterfacesWith(nodes, usb);
    pDisk = FindPnp(true);
    ASSERT_NE(pDisk, nullptr);
    ASSERT_EQ(pDisk->Query(RUDVANE_Q_USB_SPEED, nullptr, 0, nullptr, &ulCode), 1);
    EXPECT_EQ(ulCode, USB_CODE_NO_PORT);
}

} // namespace
