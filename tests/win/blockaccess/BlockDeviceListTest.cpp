// The Block Access device list on the page's own template, with records
// whose Query answers are chosen by the test.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <map>
#include <string>

#include "blockaccess/win/BlockDeviceList.h"
#include "device/core/RudvaneTypes.h"
#include "framework/win/Texts.h"
#include "resources/resource.h"
#include "tests/support/win/TestDevice.h"
#include "tests/win/framework/UITestHost.h"

namespace {

// A record that answers the identification codes from maps, as a Plug and
// Play record (0x2xxxx) or a chip handler (0x3xxxx) would.
class C_AnsweringDevice : public C_TestDevice {
public:
    using C_TestDevice::C_TestDevice;
    std::map<uint32_t, std::pair<std::string, std::string>> mapTexts;
    std::map<uint32_t, std::pair<uint32_t, uint32_t>> mapIds;

    int Query(uint32_t ulCode, void* pOut, uintptr_t arg, void* pOut2, void* pOut3) override
    {
        const auto text = mapTexts.find(ulCode);
        if (text != mapTexts.end()) {
            *static_cast<std::string*>(pOut) = text->second.first;
            if (pOut2 != nullptr)
                *static_cast<std::string*>(pOut2) = text->second.second;
            return 1;
        }
        const auto ids = mapIds.find(ulCode);
        if (ids != mapIds.end()) {
            *static_cast<uint32_t*>(pOut) = ids->second.first;
            *static_cast<uint32_t*>(pOut2) = ids->second.second;
            return 1;
        }
        return C_TestDevice::Query(ulCode, pOut, arg, pOut2, pOut3);
    }
};

class BlockDeviceListTest : public testing::Test {
protected:
    void SetUp() override
    {
        hParent = ::CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW, 0, 0, 1200, 600, nullptr, nullptr,
                                    uitest::Self(), nullptr);
        ASSERT_NE(page.Create(uitest::Self(), IDD_BLOCK_ACCESS, 0, hParent), nullptr);
        ASSERT_TRUE(list.Attach(::GetDlgItem(page.GetHandle(), 1028), uitest::Self()));
    }
    void TearDown() override
    {
        list.Detach();
        page.Close(0);
        ::DestroyWindow(hParent);
    }

    int RowOf(const C_RudvaneDevice& device) const { return list.FindRow(&device); }

    HWND hParent = nullptr;
    uitest::C_HostDialog page;
    C_BlockDeviceList list;
};

TEST_F(BlockDeviceListTest, InfoJoinsWhatTheRecordAnswersBeforeItsInfoText)
{
    C_AnsweringDevice usb;
    usb.mapIds[RUDVANE_Q_USB_IDS] = {0x0BDA, 0x9210};
    usb.mapTexts[RUDVANE_Q_USB_SERIAL] = {"", ""};               // empty: the chip's serial counts
    usb.mapTexts[RUDVANE_Q_CHIP_USB_SERIAL] = {"A1B2", ""};
    usb.mapTexts[RUDVANE_Q_CHIP_1394_VENDOR_MODEL] = {"Acme", "Bridge"};
    usb.mapTexts[RUDVANE_Q_1394_UNIQUE_ID] = {"00D04B0000123456", ""};
    usb.mapTexts[RUDVANE_Q_LOCATION] = {"Port_#0002.Hub_#0003", ""};
    EXPECT_EQ(BlockDeviceInfoText(usb), "USB ID 0x0BDA/0x9210 A1B21394: Acme Bridge 00D04B0000123456 " +
                                            Texts().LoadText(45) + ": Port_#0002.Hub_#0003 - \\\\.\\PhysicalDrive7");

    // Ids of 0 are not shown; a record that answers nothing shows its info text alone.
    C_AnsweringDevice plain;
    plain.mapIds[RUDVANE_Q_CHIP_USB_IDS] = {0, 0};
    EXPECT_EQ(BlockDeviceInfoText(plain), "\\\\.\\PhysicalDrive7");
    C_AnsweringDevice located;
    located.mapTexts[RUDVANE_Q_CHIP_LOCATION] = {"Bus 3", ""};
    located.strInfo = "";
    EXPECT_EQ(BlockDeviceInfoText(located), " " + Texts().LoadText(45) + ": Bus 3 - ");
}

TEST_F(BlockDeviceListTest, RowsForRecordsThatMoveBlocksWithTheirTextsAndIcons)
{
    C_AnsweringDevice disk(2097152);
    disk.strVendor = "ACME";
    disk.strProduct = "Disk";
    disk.strRevision = "1.0";
    disk.strLetters = "EF";
    disk.strDisplayName = "Data (E:) & Backup (F:)";
    disk.ulBusFlags = RUDVANE_BUS_ISCSI;
    C_AnsweringDevice cd(1000, 2048, "\\\\.\\CdRom0");
    cd.ulMediaClass = RUDVANE_MEDIA_OPTICAL;
    cd.ullFirstBlock = 16;
    cd.ulCaps = RUDVANE_CAP_READ;
    // A block count below the first block counts all blocks.
    C_AnsweringDevice track(10, 2048, "\\\\.\\CdRom0 track");
    track.ullFirstBlock = 200;
    track.ulMediaClass = RUDVANE_MEDIA_REMOVABLE_VOLUME;
    C_AnsweringDevice other;
    other.ulCaps = RUDVANE_CAP_BLOCKS | RUDVANE_CAP_PATH;

    ASSERT_TRUE(list.Add(disk));
    ASSERT_TRUE(list.Add(cd));
    ASSERT_TRUE(list.Add(track));
    EXPECT_FALSE(list.Add(other));
    ASSERT_EQ(list.GetCount(), 3);

    const int nDisk = RowOf(disk);
    EXPECT_EQ(list.GetText(nDisk, C_BlockDeviceList::COLUMN_DEVICE), "ACME Disk 1.0");
    EXPECT_EQ(list.GetText(nDisk, C_BlockDeviceList::COLUMN_LETTERS), "EF");
    EXPECT_EQ(list.GetText(nDisk, C_BlockDeviceList::COLUMN_LABEL), "Data (E:) & Backup (F:)");
    EXPECT_EQ(list.GetText(nDisk, C_BlockDeviceList::COLUMN_SIZE), "1024.0 MByte");
    EXPECT_EQ(list.GetText(RowOf(cd), C_BlockDeviceList::COLUMN_SIZE), "1968.0 kByte");
    EXPECT_EQ(list.GetText(RowOf(track), C_BlockDeviceList::COLUMN_SIZE), "20.0 kByte");

    const auto icon = [&](const C_RudvaneDevice& device) {
        LVITEMA item = {};
        item.mask = LVIF_IMAGE;
        item.iItem = RowOf(device);
        ::SendMessageA(list.GetHandle(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        return item.iImage;
    };
    EXPECT_EQ(icon(disk), 6);    // iSCSI, whatever the media class
    EXPECT_EQ(icon(cd), 0);
    EXPECT_EQ(icon(track), 1);

    // Selection by record; a removed row selects nothing.
    EXPECT_TRUE(list.Select(&cd));
    EXPECT_EQ(list.GetSelected(), &cd);
    list.Remove(cd);
    EXPECT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.GetSelected(), nullptr);
    EXPECT_FALSE(list.Select(&cd));
    list.Clear();
    EXPECT_EQ(list.GetCount(), 0);
}

} // namespace
