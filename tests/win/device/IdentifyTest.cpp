// Identification of records whose system calls go to a simulated target:
// ATA IDENTIFY and its transports, INQUIRY and descriptor texts, SMART
// IDENTIFY, and the bridge families playing against the target's vendor
// replies.
#include "device/core/BridgeFamilies.h"
#include "device/core/ByteOrder.h"
#include "device/core/RudvaneTypes.h"
#include "device/core/ScsiCdb.h"
#include "device/core/ScsiSense.h"
#include "device/win/Identify.h"
#include "device/win/IoCodes.h"
#include "device/win/Rudvane.h"
#include "device/win/RudvaneHandler.h"
#include "device/win/RudvanePnpDevice.h"
#include "tests/support/win/TestDevice.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kAllFamilies = 0xFFF00000;

class IdentifyTest : public ::testing::Test {
protected:
    void TearDown() override { RudvaneExit(); }
};

// Opcodes of the CDBs the target received, in order.
std::vector<uint8_t> Opcodes(const C_SimulatedScsiTarget& target)
{
    std::vector<uint8_t> v;
    for (const auto& cdb : target.vCdbs)
        v.push_back(cdb.empty() ? 0 : cdb[0]);
    return v;
}

std::vector<DWORD> AtaRequests(const C_SimulatedIo& io)
{
    std::vector<DWORD> v;
    for (const auto& c : io.vControls) {
        if (c.first == IOCTL_IDE_PASS_THROUGH || c.first == IOCTL_ATA_PASS_THROUGH ||
            c.first == IOCTL_SCSI_PASS_THROUGH || c.first == IOCTL_SCSI_PASS_THROUGH_DIRECT)
            v.push_back(c.first);
    }
    return v;
}

TEST_F(IdentifyTest, AtaIdentifyTriesTransportsOneTwoZeroThreeAndKeepsTheFirstThatWorks)
{
    RudvaneInit(nullptr, nullptr, 0);
    struct Case {
        const char* pszName;
        bool bIde, bAta, bVendorCdb, bSat;
        int nMethod;             // kept; -1: none answered
        size_t nRequests;        // transport requests sent
    };
    const std::vector<Case> cases = {
        {"IDE pass-through", true, true, true, true, RUDVANE_ATA_IDE_PASS_THROUGH, 1},
        {"ATA pass-through", false, true, true, true, RUDVANE_ATA_PASS_THROUGH, 2},
        {"vendor CDB", false, false, true, true, RUDVANE_ATA_VENDOR_CDB, 3},
        {"SAT", false, false, false, true, RUDVANE_ATA_SAT, 4},
        {"none", false, false, false, false, -1, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        C_TestDevice device;
        device.io.bIdePassThrough = c.bIde;
        device.io.bAtaPassThrough = c.bAta;
        device.target.bAtaPassThrough = c.bSat;
        if (c.bVendorCdb) {
            const auto identify = device.target.BuildIdentify(false);
            device.target.AddVendorReply({0xCC}, std::vector<uint8_t>(identify.begin(), identify.end()));
        }
        device.nAtaMethod = 2;
        EXPECT_EQ(RudvaneIdentify(device), c.nMethod >= 0 ? 1 : 0);
        const std::vector<DWORD> vOrder = {IOCTL_IDE_PASS_THROUGH, IOCTL_ATA_PASS_THROUGH,
                                           IOCTL_SCSI_PASS_THROUGH, IOCTL_SCSI_PASS_THROUGH_DIRECT};
        EXPECT_EQ(AtaRequests(device.io), std::vector<DWORD>(vOrder.begin(), vOrder.begin() + c.nRequests));
        EXPECT_EQ(device.nAtaMethod.load(), c.nMethod >= 0 ? c.nMethod : 2);
        EXPECT_EQ((device.ulCaps.load() & 0x40000040u) == 0x40000040u, c.nMethod >= 0);
        // The ATA texts, split after eight characters, are not replaced by INQUIRY's.
        EXPECT_EQ(RudvaneReadInquiryTexts(device), 1);
        EXPECT_EQ(device.target.CountOpcode(SCSI_INQUIRY), c.nMethod >= 0 ? 0u : 1u);
        EXPECT_EQ(device.strVendor, "QVSIM");
        EXPECT_EQ(device.strProduct, c.nMethod >= 0 ? "Simulated ATA Disk" : "Simulated Disk");
        EXPECT_EQ(device.strRevision, c.nMethod >= 0 ? "FW1.0" : "1.00");
        EXPECT_EQ(device.strSerial, c.nMethod >= 0 ? "SIM-0001" : "");
    }
}

// A descriptor with texts and bus type, as the storage driver answers it.
std::vector<uint8_t> Descriptor(uint32_t ulBusType)
{
    std::vector<uint8_t> v(40, 0);
    auto put32 = [&v](size_t n, uint32_t ul) { PutLe32(&v[n], ul); };
    auto text = [&v](const char* psz) {
        const size_t n = v.size();
        v.insert(v.end(), psz, psz + std::strlen(psz) + 1);
        return static_cast<uint32_t>(n);
    };
    put32(0, 40);
    put32(28, ulBusType);
    put32(12, text("DescVendor"));
    put32(16, text("Desc Product  "));
    put32(20, text("D1"));
    put32(24, text("3132333400000000"));
    put32(4, static_cast<uint32_t>(v.size()));
    return v;
}

TEST_F(IdentifyTest, ARecordOnTheScsiBusNeverSendsAtaIdentifyAndReadsInquiry)
{
    RudvaneInit(nullptr, nullptr, 0);
    C_TestDevice device;
    device.io.bIdePassThrough = true;
    device.io.bAtaPassThrough = true;
    device.io.vDeviceDescriptor = Descriptor(1);  // SCSI
    device.ulCaps |= RUDVANE_CAP_ATA_IDENTIFY;
    EXPECT_EQ(RudvaneIdentify(device), 0);
    EXPECT_EQ(device.ulBusFlags & 0xFF, RUDVANE_BUS_SCSI);
    EXPECT_TRUE(AtaRequests(device.io).empty());
    EXPECT_TRUE(device.target.vAtaCommands.empty());
    EXPECT_EQ(device.ulCaps.load() & RUDVANE_CAP_ATA_IDENTIFY, 0u);
    EXPECT_EQ(RudvaneReadInquiryTexts(device), 1);
    EXPECT_EQ(device.strVendor, "QVSIM");
    EXPECT_EQ(device.strProduct, "Simulated Disk");
    EXPECT_EQ(device.strRevision, "1.00");
}

TEST_F(IdentifyTest, AFailedInquiryFallsBackToTheDescriptor)
{
    RudvaneInit(nullptr, nullptr, 0);
    C_TestDevice device;
    device.io.vDeviceDescriptor = Descriptor(7);
    device.strSerial = "kept unless told";
    device.target.FailNext(SCSI_INQUIRY, SENSE_ILLEGAL_REQUEST, 0x24, 0);
    EXPECT_EQ(RudvaneReadInquiryTexts(device), 1);
    EXPECT_EQ(device.strVendor, "DescVendor");
    EXPECT_EQ(device.strProduct, "Desc Product");
    EXPECT_EQ(device.strRevision, "D1");
    EXPECT_EQ(device.strSerial, "2143");
}

TEST_F(IdentifyTest, SmartIdentifyAsksThePositionsOfTheDeviceMap)
{
    RudvaneInit(nullptr, nullptr, 0);
    struct Case {
        uint8_t bMap;
        int nResult;
        uint8_t bDevice;    // drive-head register of the IDENTIFY sent
    };
    for (const Case& c : std::vector<Case>{{0x01, 1, 0xA0}, {0x02, 1, 0xB0}, {0x00, 0, 0}}) {
        SCOPED_TRACE(static_cast<int>(c.bMap));
        C_TestDevice device;
        device.io.bSmart = true;
        device.io.bSmartDeviceMap = c.bMap;
        device.target.strAtaModel = "SAMSUNG  HD103SJ";
        EXPECT_EQ(RudvaneReadSmartIdentifyTexts(device), c.nResult);
        EXPECT_EQ(device.io.CountControls(SMART_RCV_DRIVE_DATA), c.nResult != 0 ? 1u : 0u);
        if (c.nResult != 0) {
            ASSERT_FALSE(device.target.vAtaCommands.empty());
            EXPECT_EQ(device.target.vAtaCommands.back().bDevice, c.bDevice);
            EXPECT_EQ(device.strVendor, "SAMSUNG");
            EXPECT_EQ(device.strProduct, "HD103SJ");
        }
        EXPECT_EQ(device.GetOpenCount(), 0);
    }
}

// A Plug and Play record on a bus, with USB ids, whose calls reach a target
// that plays the given chips.
struct S_BridgeRecord {
    S_BridgeRecord(uint32_t ulBus, uint32_t ulVendor, uint32_t ulProduct) : io(target)
    {
        device.SetIo(&io);
        device.strPath = "\\\\?\\usbstor#disk#1";
        device.ulMediaClass = RUDVANE_MEDIA_REMOVABLE_DEVICE;
        device.ulBusFlags = ulBus;
        device.ulUsbVendorId = ulVendor;
        device.ulUsbProductId = ulProduct;
    }
    C_SimulatedScsiTarget target;
    C_SimulatedIo io;
    C_RudvanePnpDevice device;
};

std::vector<uint8_t> Reply(size_t nSize, std::vector<uint8_t> vStart)
{
    vStart.resize(nSize, 0);
    return vStart;
}

// The recognition answer of a family's chip, as the chip gives it.
void Play(C_SimulatedScsiTarget& target, E_BridgeFamily family)
{
    switch (family) {
    case BRIDGE_JMICRON:
        target.AddVendorReply({0xDF, 0x10, 0x00, 0x00, 0x10}, Reply(16, {'J', 'M', '5', '0', 1, 0, 0, 7}));
        break;
    case BRIDGE_PHIS:
        target.AddVendorReply({0x3C, 0x01, 0xA5}, Reply(528, {'P', 'h', 'I', 's'}));
        break;
    case BRIDGE_VERSION:
        target.AddVendorReply({0xD0}, {2, 5, 0xA5, 0x5A});
        break;
    case BRIDGE_FUJITSU:
        target.AddVendorReply({0xE0, 0x4D}, Reply(32, {'M', 'B', '8', '6', 'C', '3', '1', '1'}));
        break;
    case BRIDGE_VU3A:
        target.AddVendorReply({0xFC, 0x01}, Reply(16, {'V', 'U', '3', 'A', 1, 2, 3, 4}));
        break;
    case BRIDGE_AF01:
        target.AddVendorReply({0xAF, 0x01}, {0x53, 0x43, 1, 2, 3, 4, 5, 6});
        break;
    case BRIDGE_INITIO:
        target.AddVendorReply({0xFC, 0x00, 'I', 'S', '8', 'X'}, Reply(512, {0x12, 0x34}));
        break;
    default:
        break;
    }
}

void PlayEveryChip(C_SimulatedScsiTarget& target)
{
    for (E_BridgeFamily family : {BRIDGE_JMICRON, BRIDGE_PHIS, BRIDGE_VERSION, BRIDGE_FUJITSU,
                                  BRIDGE_VU3A, BRIDGE_AF01, BRIDGE_INITIO})
        Play(target, family);
}

TEST_F(IdentifyTest, TheFreecomProductFcf6IsLeftOutByEveryFamily)
{
    RudvaneInit(nullptr, nullptr, kAllFamilies | 0xC0);
    for (uint32_t ulProduct : {0xFCF6u, 0xFCF7u}) {
        SCOPED_TRACE(ulProduct);
        S_BridgeRecord r(RUDVANE_BUS_USB, 0x07AB, ulProduct);
        PlayEveryChip(r.target);
        r.target.bAtaPassThrough = false;
        RudvaneIdentify(r.device);
        const std::vector<uint8_t> vOpcodes = Opcodes(r.target);
        const bool bProbed = std::any_of(vOpcodes.begin(), vOpcodes.end(), [](uint8_t b) {
            return b == 0xDF || b == 0x3C || b == 0xD0 || b == 0xE0 || b == 0xFC || b == 0xAF ||
                   b == 0x85;
        });
        EXPECT_FALSE(bProbed);
        uint32_t ulFamily = 0;
        const bool bHandler = r.device.Query(RUDVANE_Q_CHIP_FAMILY, &ulFamily, 0, nullptr, nullptr) != 0;
        // Any other product of the vendor is Freecom's at once.
        EXPECT_EQ(bHandler, ulProduct != 0xFCF6);
        EXPECT_EQ(ulFamily, ulProduct != 0xFCF6 ? static_cast<uint32_t>(BRIDGE_FREECOM) : 0u);
    }
}

TEST_F(IdentifyTest, FamiliesFollowTheBusOrderAndTheFirstThatRecognisesEndsTheSearch)
{
    struct Case {
        const char* pszName;
        uint32_t ulBus;
        int32_t lMedia;
        uint32_t ulOptions;
        std::vector<E_BridgeFamily> vPlays;   // chips whose answers the target plays
        bool bSat;                            // the target accepts ATA PASS-THROUGH
        E_BridgeFamily expected;
        const char* pszFirmware;
        uint32_t ulBusBit;
        // Opcodes sent: the probes in order, then ATA IDENTIFY through the
        // handler (and through SCSI ATA PASS-THROUGH when that fails).
        std::vector<uint8_t> vOpcodes;
    };
    const std::vector<Case> cases = {
        {"USB: the version reply before 0xAF01", RUDVANE_BUS_USB, RUDVANE_MEDIA_REMOVABLE_DEVICE,
         kAllFamilies, {BRIDGE_VERSION, BRIDGE_AF01}, false, BRIDGE_VERSION, "2.05", 0x200000,
         {0xDF, 0xA1, 0x3C, 0xD0, 0xA1, 0xA1}},
        {"USB: VU3A", RUDVANE_BUS_USB, RUDVANE_MEDIA_REMOVABLE_DEVICE, kAllFamilies,
         {BRIDGE_VU3A, BRIDGE_AF01, BRIDGE_INITIO}, false, BRIDGE_VU3A, "1.2.3.4", 0,
         {0xDF, 0xA1, 0x3C, 0xD0, 0xE0, 0xFC, 0xA1, 0xA1}},
        {"USB: initio", RUDVANE_BUS_USB, RUDVANE_MEDIA_REMOVABLE_DEVICE, kAllFamilies,
         {BRIDGE_INITIO}, false, BRIDGE_INITIO, "1234", 0x4000000,
         {0xDF, 0xA1, 0x3C, 0xD0, 0xE0, 0xFC, 0xAF, 0xFC, 0xA1, 0xA1}},
        {"USB: nothing answers", RUDVANE_BUS_USB, RUDVANE_MEDIA_REMOVABLE_DEVICE, kAllFamilies | 0x80,
         {}, false, BRIDGE_NONE, "", 0, {0xDF, 0xA1, 0x3C, 0xD0, 0xE0, 0xFC, 0xAF, 0xFC, 0xFC, 0xA1, 0x85}},
        {"1394: SAT before JMicron", RUDVANE_BUS_1394, RUDVANE_MEDIA_REMOVABLE_DEVICE, kAllFamilies,
         {BRIDGE_JMICRON}, true, BRIDGE_SAT, "", 0, {0xA1, 0xA1}},
        {"internal: JMicron first", RUDVANE_BUS_OTHER, RUDVANE_MEDIA_FIXED_DEVICE, kAllFamilies | 0x80,
         {BRIDGE_JMICRON}, true, BRIDGE_JMICRON, "1.0.0.7", 0, {0xDF, 0xDF, 0xA1}},
        {"internal optical: none", RUDVANE_BUS_OTHER, RUDVANE_MEDIA_OPTICAL, kAllFamilies | 0x80,
         {BRIDGE_JMICRON}, true, BRIDGE_NONE, "", 0, {}},
        {"USB: JMicron's gate closed", RUDVANE_BUS_USB, RUDVANE_MEDIA_REMOVABLE_DEVICE,
         kAllFamilies & ~0x1000000u, {BRIDGE_JMICRON, BRIDGE_FUJITSU}, false, BRIDGE_FUJITSU,
         "V00L00R00", 0, {0xA1, 0x3C, 0xD0, 0xE0, 0xA1, 0xA1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        RudvaneInit(nullptr, nullptr, c.ulOptions);
        S_BridgeRecord r(c.ulBus, 0x1234, 0x5678);
        r.device.ulMediaClass = c.lMedia;
        r.target.bDeviceType = c.lMedia == RUDVANE_MEDIA_OPTICAL ? 5 : 0;
        r.target.bAtaPassThrough = c.bSat;
        // The record's own first ATA IDENTIFY goes through the IDE transport,
        // which sends no CDB.
        r.io.bIdePassThrough = true;
        for (E_BridgeFamily family : c.vPlays)
            Play(r.target, family);
        RudvaneIdentify(r.device);
        EXPECT_EQ(Opcodes(r.target), c.vOpcodes);
        uint32_t ulFamily = BRIDGE_NONE;
        r.device.Query(RUDVANE_Q_CHIP_FAMILY, &ulFamily, 0, nullptr, nullptr);
        EXPECT_EQ(ulFamily, static_cast<uint32_t>(c.expected));
        std::string strFirmware;
        r.device.Query(RUDVANE_Q_CHIP_FIRMWARE, &strFirmware, 0, nullptr, nullptr);
        EXPECT_EQ(strFirmware, c.pszFirmware);
        EXPECT_EQ(r.device.ulBusFlags & 0x4300000u, c.ulBusBit);
        RudvaneExit();
    }
}

TEST_F(IdentifyTest, ARecognisedChipCarriesAtaCommandsInItsForm)
{
    RudvaneInit(nullptr, nullptr, kAllFamilies);
    S_BridgeRecord r(RUDVANE_BUS_USB, 0x1234, 0x5678);
    r.target.AddVendorReply({0xDF, 0x10, 0x00, 0x00, 0x10}, Reply(16, {'J', 'M', '1', '1'}));
    const auto identify = r.target.BuildIdentify(false);
    r.target.AddVendorReply({0xDF, 0x10, 0x00, 0x02, 0x00}, std::vector<uint8_t>(identify.begin(), identify.end()));
    r.target.bAtaPassThrough = false;
    ASSERT_EQ(RudvaneIdentify(r.device), 1);
    // IDENTIFY went through the chip's own command block after recognition.
    EXPECT_EQ(r.target.LastCdb(), (std::vector<uint8_t>{0xDF, 0x10, 0x00, 0x02, 0x00, 0x00, 0x01, 0x01,
                                                        0x00, 0x00, 0xA0, 0xEC}));
    EXPECT_NE(r.device.ulCaps.load() & RUDVANE_CAP_ATA_IDENTIFY, 0u);
    EXPECT_EQ(r.device.strVendor, "QVSIM");
    EXPECT_EQ(r.device.strProduct, "Simulated ATA Disk");
}

} // namespace
