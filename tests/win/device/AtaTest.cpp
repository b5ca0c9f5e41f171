#include "device/core/RudvaneTypes.h"
#include "device/win/IoCodes.h"
#include "device/win/Rudvane.h"
#include "device/win/RudvaneHandler.h"
#include "tests/support/win/TestDevice.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// A chip handler that reports USB ids and leaves ATA commands to the record.
struct C_TestHandler : C_RudvaneHandler {
    C_TestHandler(uint32_t ulVendorIn, uint32_t ulProductIn)
        : ulVendor(ulVendorIn), ulProduct(ulProductIn) {}
    int Query(uint32_t ulCode, void* pOut, uintptr_t, void* pOut2, void*) override
    {
        if (ulCode != RUDVANE_Q_CHIP_USB_IDS)
            return 0;
        *static_cast<uint32_t*>(pOut) = ulVendor;
        *static_cast<uint32_t*>(pOut2) = ulProduct;
        return 1;
    }
    uint32_t ulVendor, ulProduct;
};

S_RudvaneAtaCommand Identify(uint8_t bCommand = ATA_IDENTIFY_DEVICE)
{
    S_RudvaneAtaCommand command;
    command.in.bCommand = bCommand;
    command.in.bSectorCount = 1;
    return command;
}

using AtaTest = C_DeviceLayerTest;

TEST_F(AtaTest, EachMethodFallsBackToAtaPassThroughTwelve)
{
    struct Case {
        const char* pszName;
        int nMethod;
        int32_t ulMediaClass;
        bool bSystemAnswers;   // the transport of the method works
        DWORD dwCode;          // the request the method sends
        bool bOwnHandle;       // on a handle of its own
        size_t nSatCommands;   // ATA PASS-THROUGH(12) sent
    };
    const std::vector<Case> cases = {
        {"vendor CDB refused", 0, RUDVANE_MEDIA_FIXED_DEVICE, false, IOCTL_SCSI_PASS_THROUGH, true, 1},
        {"IDE pass-through", 1, RUDVANE_MEDIA_FIXED_DEVICE, true, IOCTL_IDE_PASS_THROUGH, true, 0},
        {"IDE pass-through refused", 1, RUDVANE_MEDIA_FIXED_DEVICE, false, IOCTL_IDE_PASS_THROUGH, true, 1},
        {"ATA pass-through", 2, RUDVANE_MEDIA_FIXED_DEVICE, true, IOCTL_ATA_PASS_THROUGH, false, 0},
        {"ATA pass-through never on optical", 2, RUDVANE_MEDIA_OPTICAL, true, 0, false, 1},
        {"SAT only", 3, RUDVANE_MEDIA_FIXED_DEVICE, true, 0, false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        C_TestDevice device;
        device.nAtaMethod = c.nMethod;
        device.ulMediaClass = c.ulMediaClass;
        const bool bOptical = c.ulMediaClass == RUDVANE_MEDIA_OPTICAL;
        device.target.bDeviceType = bOptical ? 5 : 0;
        device.io.bIdePassThrough = c.bSystemAnswers;
        device.io.bAtaPassThrough = c.bSystemAnswers;
        S_RudvaneAtaCommand command =
            Identify(bOptical ? ATA_IDENTIFY_PACKET_DEVICE : ATA_IDENTIFY_DEVICE);
        ASSERT_EQ(device.AtaCommand(&command, RUDVANE_ATA_READ), 1);
        const auto expected = device.target.BuildIdentify(bOptical);
        EXPECT_EQ(std::memcmp(command.data, expected.data(), 512), 0);
        EXPECT_EQ(device.target.CountOpcode(0xA1), c.nSatCommands);
        if (c.dwCode != 0) {
            ASSERT_GE(device.io.vControls.size(), 1u);
            EXPECT_EQ(device.io.vControls[0].first, c.dwCode);
        } else {
            EXPECT_EQ(device.io.CountControls(IOCTL_ATA_PASS_THROUGH), 0u);
        }
        if (c.bOwnHandle) {
            EXPECT_GE(device.io.vOpened.size(), 1u);
        }
        EXPECT_EQ(device.io.OpenHandles(), 0);
    }
}

TEST_F(AtaTest, VendorCdbCarriesTheRegistersWithItsTimeout)
{
    C_TestDevice device;
    device.nAtaMethod = RUDVANE_ATA_VENDOR_CDB;
    S_RudvaneAtaCommand command = Identify();
    device.AtaCommand(&command, RUDVANE_ATA_READ);
    ASSERT_GE(device.io.vPassThroughs.size(), 1u);
    const auto& vendor = device.io.vPassThroughs[0];
    EXPECT_FALSE(vendor.bDirect);
    EXPECT_EQ(vendor.ulTimeout, 2u);
    EXPECT_EQ(vendor.ulLength, 512u);
    EXPECT_EQ(vendor.cdb, (std::vector<uint8_t>{0xCC, 0, 0, 1, 0, 0, 0, 0xA0, 0xEC, 0}));
}

TEST_F(AtaTest, AtaPassThroughRefusedForTheBridgeThatHangsOnIt)
{
    struct Case {
        uint32_t ulVendor, ulProduct;
        bool bRefused;
    };
    for (const Case& c : std::vector<Case>{{0x2109, 0x0700, true},
                                           {0x2109, 0x0701, false},
                                           {0x152D, 0x0700, false}}) {
        SCOPED_TRACE(std::to_string(c.ulVendor) + ":" + std::to_string(c.ulProduct));
        C_TestDevice device;
        device.nAtaMethod = RUDVANE_ATA_SAT;
        device.AttachHandler(new C_TestHandler(c.ulVendor, c.ulProduct));
        S_RudvaneAtaCommand command = Identify();
        EXPECT_EQ(device.AtaCommand(&command, RUDVANE_ATA_READ), c.bRefused ? 0 : 1);
        EXPECT_EQ(device.target.CountOpcode(0xA1), c.bRefused ? 0u : 1u);
        EXPECT_NE(device.ulCaps.load() & RUDVANE_CAP_ATA_CHECKED, 0u);
        EXPECT_EQ((device.ulCaps.load() & RUDVANE_CAP_ATA_REFUSED) != 0, c.bRefused);
        if (c.bRefused) {
            EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
        }
    }

    // A refusal once recorded holds whatever the ids say now.
    C_TestDevice device;
    device.nAtaMethod = RUDVANE_ATA_SAT;
    device.ulCaps |= RUDVANE_CAP_ATA_CHECKED | RUDVANE_CAP_ATA_REFUSED;
    S_RudvaneAtaCommand command = Identify();
    EXPECT_EQ(device.AtaCommand(&command, RUDVANE_ATA_READ), 0);
    EXPECT_TRUE(device.target.vCdbs.empty());
}

TEST_F(AtaTest, SmartStatusThroughTheDriverOrThroughAtaPassThrough)
{
    struct Case {
        const char* pszName;
        bool bSmartRequests;
        bool bExceeded;
        uint32_t ulStatus;
    };
    for (const Case& c : std::vector<Case>{{"driver, good", true, false, 1},
                                           {"driver, threshold exceeded", true, true, 0},
                                           {"pass-through, good", false, false, 1},
                                           {"pass-through, threshold exceeded", false, true, 0}}) {
        SCOPED_TRACE(c.pszName);
        C_TestDevice device;
        device.nAtaMethod = RUDVANE_ATA_SAT;
        device.io.bSmart = c.bSmartRequests;
        device.target.bSmartThresholdExceeded = c.bExceeded;
        uint32_t ulStatus = 7;
        ASSERT_EQ(device.Query(RUDVANE_Q_SMART_STATUS, &ulStatus, 0, nullptr, nullptr), 1);
        EXPECT_EQ(ulStatus, c.ulStatus);
        EXPECT_EQ(device.io.CountControls(SMART_SEND_DRIVE_COMMAND), 1u);
        EXPECT_EQ(device.target.CountOpcode(0xA1), c.bSmartRequests ? 0u : 1u);
        if (!c.bSmartRequests) {
            EXPECT_EQ(device.target.LastCdb()[2] & 0x20, 0x20);  // registers asked back
        }
        ASSERT_FALSE(device.target.vAtaCommands.empty());
        EXPECT_EQ(device.target.vAtaCommands.back().bFeatures, ATA_SMART_RETURN_STATUS);
        EXPECT_EQ(device.target.vAtaCommands.back().bLbaMid, 0x4F);
    }
}

TEST_F(AtaTest, SmartDataAndIdentifyComeBackWhole)
{
    for (bool bDriver : {true, false}) {
        SCOPED_TRACE(bDriver ? "driver" : "pass-through");
        C_TestDevice device;
        device.nAtaMethod = RUDVANE_ATA_SAT;
        device.io.bSmart = bDriver;
        uint8_t data[512] = {};
        ASSERT_EQ(device.Query(RUDVANE_Q_SMART_DATA, data, 1, nullptr, nullptr), 1);
        EXPECT_EQ(data[0], 0x10);
        EXPECT_EQ(data[2], 0x09);
        ASSERT_EQ(device.SmartCommand(ATA_IDENTIFY_DEVICE, 512, data), 1);
        const auto identify = device.target.BuildIdentify(false);
        EXPECT_EQ(std::memcmp(data, identify.data(), 512), 0);
        EXPECT_EQ(device.target.vAtaCommands.back().bCommand, ATA_IDENTIFY_DEVICE);
        ASSERT_EQ(device.Query(RUDVANE_Q_SMART_ENABLE, nullptr, 0, nullptr, nullptr), 1);
        EXPECT_FALSE(device.target.bSmartEnabled);
        // A device that aborts the command fails it.
        EXPECT_EQ(device.Query(RUDVANE_Q_SMART_DATA, data, 0, nullptr, nullptr), 0);
    }
}

} // namespace
