#include "app/cli/DevicesCommand.h"

#include <windows.h>

#include <cinttypes>
#include <cstdio>
#include <string>
#include <vector>

#include "app/cli/ConsoleText.h"
#include "app/cli/QuickConsoleRun.h"
#include "device/core/RudvaneTypes.h"
#include "device/win/AspiLayer.h"
#include "device/win/Rudvane.h"
#include "device/win/RudvaneDevice.h"
#include "device/win/RudvaneRefresh.h"
#include "framework/core/SizeText.h"
#include "quick/core/DriveEntries.h"
#include "quick/core/QuickJson.h"
#include "quick/core/UsbRating.h"

namespace {

const char kUsage[] =
    "usage: quenvale-cli devices [--quick|--block] [--json]\n"
    "  Lists the drives and devices that the device layer finds.\n"
    "  --quick   the Quick Access passes (Plug and Play devices, drive letters)\n"
    "  --block   the Block Access passes (volumes, disks, CD-ROMs, tracks; the default)\n"
    "  --json    one JSON array instead of text\n";

// What the listing shows of one record, copied while the list is locked.
struct S_DeviceRow {
    uint32_t ulKind = 0;
    int32_t lNumber = 0;
    std::string strLetters;
    std::string strDisplayName;
    std::string strVendor;
    std::string strProduct;
    std::string strRevision;
    std::string strSerial;
    std::string strInfo;
    uint64_t ullBlockCount = 0;
    uint32_t ulBlockSize = 0;
    uint64_t ullFirstBlock = 0;
    uint32_t ulMaxBlocks = 0;
    uint32_t ulCaps = 0;
    uint32_t ulBusFlags = 0;
    int32_t lMediaClass = 0;
    bool bPnp = false;
    uint32_t ulUsbVendor = 0;
    uint32_t ulUsbProduct = 0;
    std::string strUsbSerial;
    std::string strLocation;
    uint32_t ulSpeedCode = 0;
};

const char* KindName(uint32_t ulKind)
{
    switch (ulKind) {
    case RUDVANE_KIND_PHYSICAL:
        return "physical";
    case RUDVANE_KIND_CDROM:
        return "cdrom";
    case RUDVANE_KIND_VOLUME:
        return "volume";
    case RUDVANE_KIND_LETTER:
        return "letter";
    case RUDVANE_KIND_VWIN32:
        return "vwin32";
    case RUDVANE_KIND_ASPI:
        return "aspi";
    case RUDVANE_KIND_DRIVER:
        return "driver";
    case RUDVANE_KIND_PNP:
        return "pnp";
    case RUDVANE_KIND_TRACK:
        return "track";
    default:
        return "other";
    }
}

int CollectRow(C_RudvaneDevice* pDevice, void* pContext)
{
    S_DeviceRow row;
    row.ulKind = pDevice->ulKind;
    row.lNumber = pDevice->ulNumber;
    row.strLetters = pDevice->strLetters;
    row.strDisplayName = pDevice->strDisplayName;
    row.strVendor = pDevice->strVendor;
    row.strProduct = pDevice->strProduct;
    row.strRevision = pDevice->strRevision;
    row.strSerial = pDevice->strSerial;
    row.strInfo = pDevice->strInfo;
    row.ullBlockCount = pDevice->ullBlockCount;
    row.ulBlockSize = pDevice->ulBlockSize;
    row.ullFirstBlock = pDevice->ullFirstBlock;
    row.ulMaxBlocks = pDevice->ulMaxBlocks;
    row.ulCaps = pDevice->ulCaps.load();
    row.ulBusFlags = pDevice->ulBusFlags;
    row.lMediaClass = pDevice->ulMediaClass;
    if (pDevice->ulKind == RUDVANE_KIND_PNP) {
        row.bPnp = true;
        pDevice->Query(RUDVANE_Q_USB_IDS, &row.ulUsbVendor, 0, &row.ulUsbProduct, nullptr);
        pDevice->Query(RUDVANE_Q_USB_SERIAL, &row.strUsbSerial, 0, nullptr, nullptr);
        pDevice->Query(RUDVANE_Q_LOCATION, &row.strLocation, 0, nullptr, nullptr);
        pDevice->Query(RUDVANE_Q_USB_SPEED, nullptr, 0, nullptr, &row.ulSpeedCode);
    }
    static_cast<std::vector<S_DeviceRow>*>(pContext)->push_back(row);
    return 1;
}

uint64_t SizeInBytes(const S_DeviceRow& row)
{
    return row.ullBlockCount * row.ulBlockSize;
}

std::string Hex32(uint32_t ul)
{
    char sz[16];
    std::snprintf(sz, sizeof(sz), "0x%08" PRIX32, ul);
    return sz;
}

std::string RowText(const S_DeviceRow& row)
{
    char sz[256];
    std::string strOut;
    std::snprintf(sz, sizeof(sz), "%s %" PRId32, KindName(row.ulKind), row.lNumber);
    strOut += sz;
    if (!row.strLetters.empty()) {
        strOut += "  ";
        for (char c : row.strLetters)
            strOut += std::string(1, c) + ": ";
        strOut.pop_back();
    }
    if (!row.strDisplayName.empty())
        strOut += "  \"" + row.strDisplayName + "\"";
    strOut += "\n";
    auto line = [&strOut](const char* pszLabel, const std::string& strValue) {
        if (!strValue.empty())
            strOut += std::string("    ") + pszLabel + std::string(10 - std::string(pszLabel).size(), ' ') +
                      strValue + "\n";
    };
    line("info", row.strInfo);
    line("identity", DriveDescriptionOf(row.strVendor, row.strProduct, row.strRevision));
    line("serial", row.strSerial);
    std::snprintf(sz, sizeof(sz),
                  "%s (%" PRIu64 " blocks of %" PRIu32 " bytes; first block %" PRIu64
                  ", at most %" PRIu32 " per transfer)",
                  FormatSize(SizeInBytes(row), 0, 1).c_str(), row.ullBlockCount, row.ulBlockSize,
                  row.ullFirstBlock, row.ulMaxBlocks);
    line("size", sz);
    std::snprintf(sz, sizeof(sz), "caps %s  bus %s  media %" PRId32, Hex32(row.ulCaps).c_str(),
                  Hex32(row.ulBusFlags).c_str(), row.lMediaClass);
    line("bits", sz);
    if (row.bPnp) {
        std::snprintf(sz, sizeof(sz), "%04" PRIX32 ":%04" PRIX32 "  speed code %" PRIu32,
                      row.ulUsbVendor, row.ulUsbProduct, row.ulSpeedCode);
        std::string strUsb = sz;
        const std::string strSpeed = UsbSpeedText(static_cast<int>(row.ulSpeedCode));
        if (!strSpeed.empty())
            strUsb += " (" + strSpeed + ")";
        line("usb", strUsb);
        line("usb serial", row.strUsbSerial);
        line("location", row.strLocation);
    }
    return strOut;
}

std::string JsonText(const std::string& strText)
{
    return JsonString(AnsiToUtf8(strText));
}

std::string RowJson(const S_DeviceRow& row)
{
    char sz[512];
    std::string strOut = "  {\"kind\": " + JsonText(KindName(row.ulKind));
    std::snprintf(sz, sizeof(sz), ", \"kind_bit\": %" PRIu32 ", \"number\": %" PRId32, row.ulKind,
                  row.lNumber);
    strOut += sz;
    strOut += ", \"letters\": " + JsonText(row.strLetters);
    strOut += ", \"display_name\": " + JsonText(row.strDisplayName);
    strOut += ", \"vendor\": " + JsonText(row.strVendor);
    strOut += ", \"product\": " + JsonText(row.strProduct);
    strOut += ", \"revision\": " + JsonText(row.strRevision);
    strOut += ", \"serial\": " + JsonText(row.strSerial);
    strOut += ", \"info\": " + JsonText(row.strInfo);
    std::snprintf(sz, sizeof(sz),
                  ", \"size_bytes\": %" PRIu64 ", \"block_count\": %" PRIu64
                  ", \"block_size\": %" PRIu32 ", \"first_block\": %" PRIu64
                  ", \"max_blocks\": %" PRIu32 ", \"caps\": %" PRIu32 ", \"bus\": %" PRIu32
                  ", \"media_class\": %" PRId32,
                  SizeInBytes(row), row.ullBlockCount, row.ulBlockSize, row.ullFirstBlock,
                  row.ulMaxBlocks, row.ulCaps, row.ulBusFlags, row.lMediaClass);
    strOut += sz;
    if (row.bPnp) {
        std::snprintf(sz, sizeof(sz),
                      ", \"usb_vendor_id\": %" PRIu32 ", \"usb_product_id\": %" PRIu32
                      ", \"usb_speed_code\": %" PRIu32,
                      row.ulUsbVendor, row.ulUsbProduct, row.ulSpeedCode);
        strOut += sz;
        strOut += ", \"usb_serial\": " + JsonText(row.strUsbSerial);
        strOut += ", \"location\": " + JsonText(row.strLocation);
    }
    return strOut + "}";
}

} // namespace

int RunDevicesCommand(const std::vector<std::string>& vArgs)
{
    bool bQuick = false;
    bool bJson = false;
    for (size_t i = 1; i < vArgs.size(); ++i) {
        if (vArgs[i] == "--quick") {
            bQuick = true;
        } else if (vArgs[i] == "--block") {
            bQuick = false;
        } else if (vArgs[i] == "--json") {
            bJson = true;
        } else if (vArgs[i] == "--help" || vArgs[i] == "-h") {
            WriteStandard(STD_OUTPUT_HANDLE, kUsage);
            return CLI_EXIT_OK;
        } else {
            WriteStandard(STD_ERROR_HANDLE,
                          "quenvale-cli: unknown argument \"" + vArgs[i] + "\"\n\n" + kUsage);
            return CLI_EXIT_USAGE;
        }
    }

    if (bQuick) {
        RudvaneInit(nullptr, nullptr, RUDVANE_OPTIONS_QUICK_ACCESS);
        RudvaneRefreshQuickAccess();
    } else {
        RudvaneInit(nullptr, nullptr, RUDVANE_OPTIONS_BLOCK_ACCESS);
        RudvaneRefreshBlockAccess();
    }
    std::vector<S_DeviceRow> vRows;
    RudvaneForEachDevice(CollectRow, &vRows, 0);
    RudvaneExit();
    if (!bQuick)
        C_AspiLayer::Get().Unload();

    std::string strOut;
    if (bJson) {
        strOut = "[\n";
        for (size_t i = 0; i < vRows.size(); ++i)
            strOut += RowJson(vRows[i]) + (i + 1 < vRows.size() ? ",\n" : "\n");
        strOut += "]\n";
    } else if (vRows.empty()) {
        strOut = "No devices found.\n";
    } else {
        for (const S_DeviceRow& row : vRows)
            strOut += RowText(row);
    }
    WriteStandard(STD_OUTPUT_HANDLE, strOut);
    return CLI_EXIT_OK;
}
