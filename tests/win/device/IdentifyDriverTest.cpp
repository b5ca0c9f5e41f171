// Records of the Torvane driver, played by a simulated driver over a
// simulated target, and the USB records that take their identity.
#include "device/core/ByteOrder.h"
#include "device/core/RudvaneTypes.h"
#include "device/core/TorvaneRequest.h"
#include "device/win/Identify.h"
#include "device/win/Rudvane.h"
#include "device/win/RudvanePnpDevice.h"
#include "device/win/TorvaneIo.h"
#include "tests/support/core/SimulatedScsiTarget.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// One driver instance, "\\.\Torvane3", over a simulated target.
class C_SimulatedDriver : public C_TorvaneIo {
public:
    HANDLE Open(const char* pszPath) override
    {
        ++nOpens;
        if (std::string(pszPath) != "\\\\.\\Torvane3") {
            ::SetLastError(ERROR_FILE_NOT_FOUND);
            return INVALID_HANDLE_VALUE;
        }
        return ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    }
    void Close(HANDLE h) override { ::CloseHandle(h); }
    BOOL Request(HANDLE, uint8_t* p, DWORD* pdwReturned) override
    {
        const uint32_t ulSignature = GetLe32(p), ulRequest = GetLe32(p + 4);
        vRequests.push_back(ulRequest);
        if (ulSignature != kTorvaneSignature) {
            ::SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        *pdwReturned = kTorvaneBufferSize;
        if ((ulRequest & 0xFF) == TORVANE_IDENTIFY) {
            PutLe16(p + 8, ulVendor);
            PutLe16(p + 10, ulProduct);
            p[12] = bChip;
            std::strcpy(reinterpret_cast<char*>(p + kTorvaneHeader), "ser-42");
            std::strcpy(reinterpret_cast<char*>(p + kTorvaneHeader + 64), "QVSIM");
            std::strcpy(reinterpret_cast<char*>(p + kTorvaneHeader + 72), "Simulated Disk");
            std::strcpy(reinterpret_cast<char*>(p + kTorvaneHeader + 88), "1.00.27");
            return TRUE;
        }
        if (ulRequest != TORVANE_SCSI)
            return FALSE;
        const uint32_t ulLength = GetLe16(p + 8);
        const S_ScsiAnswer a = target.Execute(p + 12, p[10] >> 3, (p[10] & 7) == 0,
                                              p + kTorvaneHeader, ulLength);
        p[11] = a.bStatus;
        PutLe16(p + 8, a.ulTransferred);
        return TRUE;
    }

    C_SimulatedScsiTarget target;
    uint32_t ulVendor = 0x152D;
    uint32_t ulProduct = 0x2329;
    uint8_t bChip = 0;
    int nOpens = 0;
    std::vector<uint32_t> vRequests;
};

C_RudvanePnpDevice* UsbRecord(int32_t lNumber, const char* pszSerial, const char* pszRevision)
{
    auto* p = new C_RudvanePnpDevice();
    p->ulNumber = lNumber;
    p->ulBusFlags = RUDVANE_BUS_USB;
    p->ulUsbVendorId = 0x152D;
    p->ulUsbProductId = 0x2329;
    p->strUsbSerial = pszSerial;
    p->strVendor = "QVSIM";
    p->strProduct = "Simulated Disk";
    p->strRevision = pszRevision;
    return p;
}

class IdentifyDriverTest : public ::testing::Test {
protected:
    void SetUp() override { RudvaneSetTorvaneIo(&driver); }
    void TearDown() override
    {
        RudvaneExit();
        RudvaneSetTorvaneIo(nullptr);
    }
    C_SimulatedDriver driver;
};

TEST_F(IdentifyDriverTest, DriverRecordsAreMadeOncePerRefreshAndLendTheirIdentity)
{
    // The driver-chip family gives the longer revision that matching records take.
    RudvaneInit(nullptr, nullptr, 0xFFF00001);
    driver.bChip = 1;
    C_RudvanePnpDevice* pSerial = UsbRecord(1, "SER-42", "");        // same serial, other case
    C_RudvanePnpDevice* pOther = UsbRecord(2, "other", "");
    C_RudvanePnpDevice* pNoSerial = UsbRecord(3, "", "0000");
    for (C_RudvanePnpDevice* p : {pSerial, pOther, pNoSerial})
        ASSERT_EQ(RudvaneAddDevice(p), 1);

    EXPECT_EQ(RudvaneMatchDriverDevices(), 2);
    EXPECT_EQ(driver.nOpens > 20, true);  // every name from 1 to 23 was tried
    C_RudvaneDevice* pDriver = RudvaneFindDevice(3, RUDVANE_KIND_DRIVER);
    ASSERT_NE(pDriver, nullptr);
    EXPECT_EQ(driver.vRequests.front(), TORVANE_IDENTIFY | TORVANE_ALTERNATE);  // option 0x1
    EXPECT_EQ(pDriver->strInfo, "Torvane 3");
    EXPECT_EQ(pDriver->ulCaps.load(), RUDVANE_CAP_BLOCKS);
    EXPECT_EQ(pDriver->ulBusFlags, RUDVANE_BUS_USB);
    EXPECT_EQ(pDriver->ullBlockCount, 2048u);  // READ CAPACITY through the driver
    EXPECT_EQ(pDriver->strRevision, "1.00.27");

    EXPECT_EQ(pSerial->strRevision, "1.00.27");
    EXPECT_EQ(pSerial->strSerial, "ser-42");
    EXPECT_EQ(pOther->strRevision, "");
    EXPECT_EQ(pNoSerial->strRevision, "1.00.27");

    // Within one refresh cycle the driver is not asked again.
    const int nOpens = driver.nOpens;
    EXPECT_EQ(RudvaneMatchDriverDevices(), 0);
    EXPECT_LE(driver.nOpens - nOpens, 2);
    EXPECT_EQ(RudvaneFindDevice(3, RUDVANE_KIND_DRIVER), pDriver);
}

int g_nNotified = 0;

void CountNotification(int, C_RudvaneDevice*, uintptr_t, void*)
{
    ++g_nNotified;
}

TEST_F(IdentifyDriverTest, ARecordThatTookTheDriversIdentityIsKeptByTheNextRefresh)
{
    RudvaneInit(CountNotification, nullptr, 0xFFF00001);
    driver.bChip = 1;
    ASSERT_EQ(RudvaneAddDevice(UsbRecord(1, "SER-42", "")), 1);
    ASSERT_EQ(RudvaneMatchDriverDevices(), 1);

    // The pass finds the same stick with its own, shorter revision: it is the
    // record already listed, so nothing is removed or added.
    g_nNotified = 0;
    RudvaneMarkAll();
    RudvaneAddEnumeratedKind(RUDVANE_KIND_PNP);
    C_RudvanePnpDevice* pAgain = UsbRecord(1, "SER-42", "");
    EXPECT_EQ(RudvaneAddDevice(pAgain), 0);
    delete pAgain;
    RudvanePurge();
    EXPECT_EQ(g_nNotified, 0);
    C_RudvaneDevice* pListed = RudvaneFindDevice(1, RUDVANE_KIND_PNP);
    ASSERT_NE(pListed, nullptr);
    EXPECT_EQ(pListed->strRevision, "1.00.27");
}

TEST_F(IdentifyDriverTest, TheRefusedBridgeAndOptionEightMakeNoChipHandler)
{
    RudvaneInit(nullptr, nullptr, 0xFFF00000);
    driver.ulVendor = 0x07AB;
    driver.ulProduct = 0xFCB2;
    RudvaneMatchDriverDevices();
    EXPECT_EQ(RudvaneFindDevice(3, RUDVANE_KIND_DRIVER), nullptr);

    RudvaneExit();
    RudvaneInit(nullptr, nullptr, 0xFFF00008);
    driver.ulVendor = 0x152D;
    driver.bChip = 1;
    RudvaneMatchDriverDevices();
    C_RudvaneDevice* pDriver = RudvaneFindDevice(3, RUDVANE_KIND_DRIVER);
    ASSERT_NE(pDriver, nullptr);
    EXPECT_EQ(driver.vRequests.front(), static_cast<uint32_t>(TORVANE_IDENTIFY));
    EXPECT_EQ(pDriver->pHandler, nullptr);
    EXPECT_EQ(pDriver->strRevision, "1.00");  // INQUIRY through the driver
}

} // namespace
