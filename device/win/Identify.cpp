#include "device/win/Identify.h"

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "device/core/AtaIdentify.h"
#include "device/core/BridgeFamilies.h"
#include "device/core/IdentityText.h"
#include "device/core/Inquiry.h"
#include "device/core/InstanceId.h"
#include "device/core/RudvaneTypes.h"
#include "device/core/ScsiCdb.h"
#include "device/core/StorageDescriptor.h"
#include "device/win/AtaRequest.h"
#include "device/win/BridgeChips.h"
#include "device/win/IoCodes.h"
#include "device/win/KeepError.h"
#include "device/win/RudvaneHandleDevice.h"
#include "device/win/RudvaneHandler.h"
#include "device/win/RudvanePnpDevice.h"
#include "device/win/RudvaneState.h"

namespace {

constexpr DWORD kDescriptorBuffer = 1024;
constexpr int kAtaMethodOrder[] = {RUDVANE_ATA_IDE_PASS_THROUGH, RUDVANE_ATA_PASS_THROUGH,
                                   RUDVANE_ATA_VENDOR_CDB, RUDVANE_ATA_SAT};

bool IsOptical(const C_RudvaneDevice& device)
{
    return device.ulMediaClass == RUDVANE_MEDIA_OPTICAL;
}

// The storage device descriptor of a record opened by a path.
bool QueryDescriptor(C_RudvaneDevice& device, S_StorageDescriptor& descriptor)
{
    STORAGE_PROPERTY_QUERY query;
    std::memset(&query, 0, sizeof(query));
    query.PropertyId = StorageDeviceProperty;
    query.QueryType = PropertyStandardQuery;
    std::vector<uint8_t> vAnswer(kDescriptorBuffer, 0);
    DWORD dwReturned = 0;
    S_RudvaneIoRequest request;
    request.dwCode = IOCTL_STORAGE_QUERY_PROPERTY;
    request.pIn = &query;
    request.dwInSize = sizeof(query);
    request.pOut = vAnswer.data();
    request.dwOutSize = kDescriptorBuffer;
    request.pdwReturned = &dwReturned;
    if (!device.Query(RUDVANE_Q_IO_REQUEST, &request, 0, nullptr, nullptr))
        return false;
    return ParseStorageDescriptor(vAnswer.data(), dwReturned, device.ulBusFlags, descriptor);
}

void SetIfGiven(std::string& strField, const std::string& strValue)
{
    if (!strValue.empty())
        strField = strValue;
}

// ATA IDENTIFY through AtaCommand. The first time the transports are tried
// in the order 1, 2, 0, 3 and the one that works is kept; after a handler
// was attached only the handler and SCSI ATA PASS-THROUGH are asked.
bool AtaIdentify(C_RudvaneDevice& device, bool bAfterHandler)
{
    if ((device.ulBusFlags & RUDVANE_BUS_SCSI) != 0) {
        device.ulCaps &= ~static_cast<uint32_t>(RUDVANE_CAP_ATA_IDENTIFY);
        return false;
    }
    const S_AtaTaskFile regs = BuildIdentifyTaskFile(IsOptical(device));
    S_RudvaneAtaCommand command;
    command.in = regs;
    bool bAnswered = device.pHandler != nullptr &&
                     device.pHandler->AtaCommand(&command, RUDVANE_ATA_READ) != 0;
    auto* pHandleDevice = dynamic_cast<C_RudvaneHandleDevice*>(&device);
    if (!bAnswered && pHandleDevice != nullptr) {
        if (bAfterHandler) {
            command = S_RudvaneAtaCommand();
            command.in = regs;
            bAnswered = pHandleDevice->AtaCommandByMethod(RUDVANE_ATA_SAT, &command,
                                                          RUDVANE_ATA_READ) != 0;
        } else {
            for (int nMethod : kAtaMethodOrder) {
                command = S_RudvaneAtaCommand();
                command.in = regs;
                if (pHandleDevice->AtaCommandByMethod(nMethod, &command, RUDVANE_ATA_READ)) {
                    pHandleDevice->nAtaMethod = nMethod;
                    bAnswered = true;
                    break;
                }
            }
        }
    } else if (!bAnswered && pHandleDevice == nullptr && !bAfterHandler) {
        command = S_RudvaneAtaCommand();
        command.in = regs;
        bAnswered = device.AtaCommand(&command, RUDVANE_ATA_READ) != 0;
    }
    return bAnswered && RudvaneApplyAtaIdentify(device, command.data) != 0;
}

// Windows 9x keeps a device's texts in its hardware key under Enum.
void Win9xStorageIds(C_RudvanePnpDevice& device, const std::string& strId)
{
    HKEY hKey = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, ("Enum\\" + strId).c_str(), 0, KEY_READ, &hKey) !=
        ERROR_SUCCESS)
        return;
    auto read = [hKey](const char* pszValue, std::string& strField) {
        char szValue[256] = {};
        DWORD dwSize = sizeof(szValue) - 1;
        DWORD dwType = 0;
        if (::RegQueryValueExA(hKey, pszValue, nullptr, &dwType, reinterpret_cast<BYTE*>(szValue),
                               &dwSize) != ERROR_SUCCESS || dwType != REG_SZ)
            return;
        std::string strValue(szValue);
        TrimRight(strValue);
        SetIfGiven(strField, strValue);
    };
    read("Manufacturer", device.strVendor);
    read("ProductId", device.strProduct);
    read("RevisionLevel", device.strRevision);
    ::RegCloseKey(hKey);
}

// The fields that instance ids fill, between a record and the identity the
// parser works on.
template <class T_From, class T_To>
void CopyInstanceFields(const T_From& from, T_To& to)
{
    to.strUsbSerial = from.strUsbSerial;
    to.ulUsbVendorId = from.ulUsbVendorId;
    to.ulUsbProductId = from.ulUsbProductId;
    to.strHardwareIds = from.strHardwareIds;
    to.str1394Vendor = from.str1394Vendor;
    to.str1394Model = from.str1394Model;
    to.str1394UniqueId = from.str1394UniqueId;
    to.ulLun = from.ulLun;
}

} // namespace

int RudvaneApplyAtaIdentify(C_RudvaneDevice& device, const uint8_t* pData512)
{
    S_IdentityTexts texts;
    if (!ParseAtaIdentify(pData512, texts))
        return 0;
    device.strVendor = texts.strVendor;
    device.strProduct = texts.strProduct;
    device.strRevision = texts.strRevision;
    device.strSerial = texts.strSerial;
    device.ulCaps |= RUDVANE_CAP_ATA_IDENTIFY | RUDVANE_CAP_ATA_IDENTITY;
    return 1;
}

int RudvaneApplyInquiry(C_RudvaneDevice& device, const uint8_t* pData, size_t nLength)
{
    S_IdentityTexts texts;
    if (!ParseInquiryTexts(pData, nLength, texts))
        return 0;
    device.strVendor = texts.strVendor;
    device.strProduct = texts.strProduct;
    device.strRevision = texts.strRevision;
    return 1;
}

int RudvaneQueryBusType(C_RudvaneDevice& device)
{
    S_StorageDescriptor descriptor;
    if (!QueryDescriptor(device, descriptor))
        return 0;
    device.ulBusFlags = BusFlagsFromBusType(descriptor.ulBusType, device.ulBusFlags);
    return 1;
}

int RudvaneIdentify(C_RudvaneDevice& device)
{
    C_KeepError keep;  // the steps' failures are not the caller's
    // A pass that learnt the bus already keeps its answer.
    if ((device.ulBusFlags & 0xFF) == RUDVANE_BUS_OTHER)
        RudvaneQueryBusType(device);
    bool bFound = AtaIdentify(device, false);
    const uint32_t ulOptions = RudvaneGetOptions();
    if ((ulOptions & RUDVANE_OPT_NO_BRIDGES) == 0) {
        const E_BridgeFamily family = RudvaneRunBridgeFamilies(
            device, BridgeFamilyOrder(device.ulBusFlags, IsOptical(device), ulOptions));
        if (family != BRIDGE_NONE) {
            bFound = true;
            AtaIdentify(device, true);
        }
    }
    return bFound ? 1 : 0;
}

int RudvaneReadDescriptorTexts(C_RudvaneDevice& device)
{
    S_StorageDescriptor descriptor;
    if (!QueryDescriptor(device, descriptor))
        return 0;
    SetIfGiven(device.strVendor, descriptor.texts.strVendor);
    SetIfGiven(device.strProduct, descriptor.texts.strProduct);
    SetIfGiven(device.strRevision, descriptor.texts.strRevision);
    SetIfGiven(device.strSerial, descriptor.texts.strSerial);
    return 1;
}

int RudvaneReadInquiryTexts(C_RudvaneDevice& device)
{
    if ((device.pHandler != nullptr && device.pHandler->IdentityGiven()) ||
        (device.ulCaps.load() & RUDVANE_CAP_ATA_IDENTIFY) != 0)
        return 1;
    const auto cdb = BuildInquiry(static_cast<uint8_t>(kInquiryLength));
    uint8_t inquiry[kInquiryLength] = {};
    if (device.ScsiCommand(static_cast<uint32_t>(cdb.size()), cdb.data(), 1, sizeof(inquiry),
                           inquiry, nullptr) &&
        RudvaneApplyInquiry(device, inquiry, device.GetLastTransfer()))
        return 1;
    if (!device.Open())
        return 0;
    device.Close();
    return RudvaneReadDescriptorTexts(device);
}

int RudvaneReadSmartIdentifyTexts(C_RudvaneDevice& device)
{
    auto* pHandleDevice = dynamic_cast<C_RudvaneHandleDevice*>(&device);
    if (pHandleDevice == nullptr || !pHandleDevice->Open())
        return 0;
    C_DeviceIo& io = pHandleDevice->GetIo();
    const HANDLE hDevice = pHandleDevice->GetHandle();
    GETVERSIONINPARAMS version;
    std::memset(&version, 0, sizeof(version));
    DWORD dwReturned = 0;
    int nResult = 0;
    if (io.Control(hDevice, SMART_GET_VERSION, nullptr, 0, &version, sizeof(version), &dwReturned) &&
        dwReturned >= sizeof(version) && (version.fCapabilities & 1) != 0) {
        for (unsigned nPosition = 0; nPosition < 4 && nResult == 0; ++nPosition) {
            if ((version.bIDEDeviceMap & (1u << nPosition)) == 0)
                continue;
            // The high nibble of the map marks the positions that hold ATAPI devices.
            const bool bPacket = (version.bIDEDeviceMap & (0x10u << nPosition)) != 0;
            C_AtaRequest request;
            if (!request.BuildSmart(BuildIdentifyTaskFile(bPacket, nPosition),
                                    static_cast<uint8_t>(nPosition), kAtaIdentifyLength))
                continue;
            uint8_t data[kAtaIdentifyLength] = {};
            if (io.Control(hDevice, request.GetCode(), request.GetIn(), request.GetInSize(),
                           request.GetOut(), request.GetOutSize(), &dwReturned) &&
                request.FinishSmart(dwReturned, data, nullptr)) {
                RudvaneApplyAtaIdentify(device, data);
                nResult = 1;
            }
        }
    }
    pHandleDevice->Close();
    return nResult;
}

void RudvaneParseInstanceIds(C_RudvanePnpDevice& device, const char* pszOwn, const char* pszParent,
                             const char* pszGrandparent)
{
    S_InstanceIdentity identity;
    CopyInstanceFields(device, identity);
    const bool bWindows7 = (RudvaneGetOptions() & RUDVANE_OPT_WINDOWS7) != 0;
    for (const char* pszId : {pszOwn, pszParent, pszGrandparent}) {
        if (pszId != nullptr)
            ApplyInstanceId(pszId, bWindows7, identity);
    }
    CopyInstanceFields(identity, device);

    if (pszParent != nullptr)
        device.strParentInstanceId = pszParent;
    if (pszOwn == nullptr)
        return;
    device.strInstanceId = pszOwn;
    ParseStorageIds(pszOwn, device.strVendor, device.strProduct, device.strRevision);
    if (RudvaneIsWin9x())
        Win9xStorageIds(device, pszOwn);
}
