// The Plug and Play pass: disks and volumes of the device-interface classes
// (setup classes on Windows 9x), each with its USB port.
#include "device/win/EnumPasses.h"

#include <windows.h>
#include <winioctl.h>

#include <cstring>
#include <string>
#include <vector>

#include "device/core/EnumRules.h"
#include "device/core/PathHash.h"
#include "device/core/RudvaneTypes.h"
#include "device/core/StorageDescriptor.h"
#include "device/core/UsbSpeed.h"
#include "device/win/EnumIo.h"
#include "device/win/EnumIoCodes.h"
#include "device/win/EnumNodes.h"
#include "device/win/Identify.h"
#include "device/win/KeepError.h"
#include "device/win/NodeLetters.h"
#include "device/win/QuietErrorMode.h"
#include "device/win/Rudvane.h"
#include "device/win/RudvanePnpDevice.h"
#include "device/win/VolumeInfo.h"

namespace {

constexpr DWORD kReadWrite = GENERIC_READ | GENERIC_WRITE;
constexpr size_t kMountPointHeader = 24;
constexpr DWORD kMaxMountPoints = 1048576;

void JoinBlank(std::string& strText, const std::string& strMore)
{
    if (strMore.empty())
        return;
    if (!strText.empty())
        strText += ' ';
    strText += strMore;
}

// The letters that the mount manager lists for a device name (UTF-16 bytes).
std::string LettersFromMountManager(C_EnumIo& io, const std::vector<uint8_t>& vName)
{
    if (vName.empty() || vName.size() > 0xFFFF)
        return std::string();
    const HANDLE hManager = io.Open(mount_io::kManagerPath, 0);
    if (!IsValid(hManager))
        return std::string();
    // MOUNTMGR_MOUNT_POINT asking by device name only.
    std::vector<uint8_t> vIn(kMountPointHeader + vName.size(), 0);
    const uint32_t ulOffset = kMountPointHeader;
    const uint16_t wLength = static_cast<uint16_t>(vName.size());
    std::memcpy(vIn.data() + 16, &ulOffset, 4);
    std::memcpy(vIn.data() + 20, &wLength, 2);
    std::memcpy(vIn.data() + kMountPointHeader, vName.data(), vName.size());
    std::vector<uint8_t> vOut(4096, 0);
    DWORD dwReturned = 0;
    BOOL bOk = io.Control(hManager, mount_io::kQueryPoints, vIn.data(),
                          static_cast<DWORD>(vIn.size()), vOut.data(),
                          static_cast<DWORD>(vOut.size()), &dwReturned);
    if (!bOk && ::GetLastError() == ERROR_MORE_DATA) {
        uint32_t ulNeeded = 0;
        std::memcpy(&ulNeeded, vOut.data(), 4);
        if (ulNeeded > vOut.size() && ulNeeded <= kMaxMountPoints) {
            vOut.assign(ulNeeded, 0);
            bOk = io.Control(hManager, mount_io::kQueryPoints, vIn.data(),
                             static_cast<DWORD>(vIn.size()), vOut.data(), ulNeeded, &dwReturned);
        }
    }
    io.Close(hManager);
    return bOk ? LettersOfMountPoints(vOut.data(), dwReturned) : std::string();
}

// Step 6: what the opened path tells. False when it does not open.
bool AskOpenedPath(C_RudvanePnpDevice& device, C_EnumIo& io, S_StorageDescriptor& descriptor,
                   bool& bDescriptor)
{
    const HANDLE h = io.Open(device.strPath.c_str(), 0);
    if (!IsValid(h))
        return false;
    uint8_t name[1024] = {};
    DWORD dwReturned = 0;
    if (io.Control(h, mount_io::kQueryDeviceName, nullptr, 0, name, sizeof(name), &dwReturned) &&
        dwReturned >= 2) {
        if (!device.bWholeDevice) {
            size_t nLength = static_cast<size_t>(name[0] | (name[1] << 8));
            if (nLength > dwReturned - 2)
                nLength = dwReturned - 2;
            const std::vector<uint8_t> vName(name + 2, name + 2 + nLength);
            AddLetters(device.strLetters, LettersFromMountManager(io, vName));
        }
        STORAGE_PROPERTY_QUERY query;
        std::memset(&query, 0, sizeof(query));
        query.PropertyId = StorageDeviceProperty;
        query.QueryType = PropertyStandardQuery;
        uint8_t answer[1024] = {};
        if (io.Control(h, IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof(query), answer,
                       sizeof(answer), &dwReturned) &&
            ParseStorageDescriptor(answer, dwReturned, device.ulBusFlags, descriptor)) {
            bDescriptor = true;
            ApplyStorageTypes(descriptor.bDeviceType, descriptor.ulBusType, device.bWholeDevice,
                              device);
        }
    }
    io.Close(h);
    return true;
}

bool InitRecord(C_RudvanePnpDevice& device, const S_InterfaceClass& cls, const S_ClassDevice& entry,
                C_EnumIo& io, uint32_t ulOptions)
{
    device.ulMediaClass = RUDVANE_MEDIA_FIXED_DEVICE;
    device.dwAccess = kReadWrite;
    device.ulCaps |= RUDVANE_CAP_PNP;
    device.guidInterfaceClass = ToGuid(cls.guid);
    device.bWholeDevice = cls.bWholeDevice;
    device.bVolume = !cls.bWholeDevice;
    device.bFromInterface = cls.bInterface;
    device.ulDeviceNode = entry.ulNode;

    device.strPath = entry.strPath;
    if (!device.strPath.empty()) {
        C_QuietErrorMode quiet;
        const int32_t lClass = MediaClassOfDriveType(io.DriveType(device.strPath + "\\"),
                                                     device.bWholeDevice);
        if (lClass >= 0)
            device.ulMediaClass = lClass;
    }
    device.ulNumber = static_cast<int32_t>(cls.ulNumberBase + RudvanePathHash(device.strPath.c_str()));

    std::string strText;
    if (io.NodeText(entry.ulNode, NODE_TEXT_DESCRIPTION, strText))
        device.strInfo = strText;
    if (io.NodeText(entry.ulNode, NODE_TEXT_HARDWARE_ID, strText)) {
        uint32_t ulVendor = 0, ulProduct = 0;
        std::string strSerial;
        if (device.ulUsbVendorId == 0 && device.ulUsbProductId == 0 &&
            ParseUsbDeviceId(strText, ulVendor, ulProduct, strSerial)) {
            device.ulUsbVendorId = ulVendor;
            device.ulUsbProductId = ulProduct;
        }
        JoinBlank(device.strInfo, strText);
    }
    uint32_t ulParent = 0, ulGrandparent = 0;
    const std::string strOwn = io.InstanceIdOf(entry.ulNode);
    const bool bParent = io.NodeParent(entry.ulNode, ulParent);
    const std::string strParent = bParent ? io.InstanceIdOf(ulParent) : std::string();
    const std::string strGrandparent =
        bParent && io.NodeParent(ulParent, ulGrandparent) ? io.InstanceIdOf(ulGrandparent)
                                                          : std::string();
    device.strInstanceId = strOwn;
    device.strParentInstanceId = strParent;
    RudvaneParseInstanceIds(device, strOwn.empty() ? nullptr : strOwn.c_str(),
                            strParent.empty() ? nullptr : strParent.c_str(),
                            strGrandparent.empty() ? nullptr : strGrandparent.c_str());
    if (device.bWholeDevice || !device.bFromInterface)
        RudvaneFindUsbPort(device, io);
    JoinBlank(device.strInfo, device.strPath);

    bool bSized = false;
    bool bRegistryLetter = false;
    if (!device.strPath.empty()) {
        if (device.bWholeDevice) {
            AddLetters(device.strLetters, LettersOfNodeVolumes(io, entry.ulNode, ulOptions));
            if (!device.strLetters.empty()) {
                C_QuietErrorMode quiet;
                const int32_t lClass = MediaClassOfDriveType(
                    io.DriveType(std::string(1, device.strLetters[0]) + ":\\"), true);
                if (lClass >= 0)
                    device.ulMediaClass = lClass;
            }
            bSized = device.UpdateSize() != 0;
        } else {
            RudvaneFindUsbPort(device, io);
            std::string strVolumePath;
            const char cLetter = RegistryLetterOfVolume(io, strOwn, strVolumePath);
            if (cLetter != 0 && MayQueryLetter(cLetter, ulOptions)) {
                AddLetters(device.strLetters, std::string(1, cLetter));
                bRegistryLetter = true;
            }
        }
    }

    S_StorageDescriptor descriptor;
    bool bDescriptor = false;
    const bool bOpens = !device.strPath.empty() && AskOpenedPath(device, io, descriptor, bDescriptor);
    if (!bOpens && !device.bWholeDevice && !bRegistryLetter)
        return false;

    if ((ulOptions & RUDVANE_OPT_NO_BRIDGES) == 0) {
        // These bridges answer nothing but their bus type, which the
        // descriptor gave already.
        const bool bBusOnly = (device.ulUsbVendorId == 0x07AB && device.ulUsbProductId == 0xFCFD) ||
                              device.ulUsbVendorId == 0x0644;
        if (!bBusOnly)
            RudvaneIdentify(device);
    }
    const bool bQuick = (ulOptions & RUDVANE_OPT_QUICK_PNP) != 0;
    if (!bQuick) {
        RudvaneReadStorageNumber(device);
        if (!device.bWholeDevice || device.strLetters.empty())
            RudvaneAddLettersByStorageNumber(device, io, !device.bWholeDevice);
        RudvaneReadInquiryTexts(device);
        RudvaneReadAdapterLimits(device);
    }
    const uint32_t ulCaps = device.ulCaps.load();
    if (bDescriptor && (ulCaps & (RUDVANE_CAP_ATA_IDENTIFY | RUDVANE_CAP_ATA_IDENTITY)) == 0 &&
        device.pHandler == nullptr) {
        const S_IdentityTexts& texts = descriptor.texts;
        if (!texts.strVendor.empty())
            device.strVendor = texts.strVendor;
        if (!texts.strProduct.empty())
            device.strProduct = texts.strProduct;
        if (!texts.strRevision.empty())
            device.strRevision = texts.strRevision;
        if (!texts.strSerial.empty())
            device.strSerial = texts.strSerial;
    }
    if (!bQuick)
        RudvaneReadSmartIdentifyTexts(device);

    RudvaneReadVolumeInfo(device, io);
    if (!device.bWholeDevice && !bQuick) {
        if (RudvaneSizeFromFileSystem(device))
            bSized = true;
        if (device.UpdatePartitionInfo())
            bSized = true;
    }

    if (cls.bFloppy)
        device.ulBusFlags |= RUDVANE_BUS_FLOPPY;
    if (device.pUsbPort != nullptr)
        device.ulNumber = static_cast<int32_t>(static_cast<uint32_t>(device.ulNumber) +
                                               device.pUsbPort->ulPort);
    uint32_t ulAdd = RUDVANE_CAP_PATH | RUDVANE_CAP_READ | RUDVANE_CAP_WRITE;
    if (bSized)
        ulAdd |= RUDVANE_CAP_BLOCKS;
    device.ulCaps |= ulAdd;
    return true;
}

} // namespace

void RudvaneEnumInterfacesWith(C_EnumIo& io, C_UsbIo& usbIo)
{
    RudvaneAddEnumeratedKind(RUDVANE_KIND_PNP);
    const uint32_t ulOptions = RudvaneGetOptions();
    for (const S_InterfaceClass& cls : InterfaceClasses(RudvaneIsWin9x(), ulOptions)) {
        std::vector<S_ClassDevice> vDevices;
        if (!io.ListClass(cls.guid, cls.bInterface, vDevices))
            continue;
        for (const S_ClassDevice& entry : vDevices) {
            auto* pDevice = new C_RudvanePnpDevice();
            pDevice->SetIo(&io);
            pDevice->usbTree.SetIo(&usbIo);
            if (!InitRecord(*pDevice, cls, entry, io, ulOptions) || !RudvaneAddDevice(pDevice))
                delete pDevice;
        }
    }
}

void RudvaneEnumInterfaces()
{
    RudvaneEnumInterfacesWith(C_EnumIo::System(), C_UsbIo::System());
}
