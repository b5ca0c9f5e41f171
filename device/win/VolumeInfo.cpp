#include "device/win/VolumeInfo.h"

#include <windows.h>
#include <winioctl.h>
#include <ntddscsi.h>

#include <cstring>
#include <string>

#include "device/core/EnumRules.h"
#include "device/core/RudvaneTypes.h"
#include "device/win/EnumIo.h"
#include "device/win/KeepError.h"
#include "device/win/QuietErrorMode.h"
#include "device/win/Rudvane.h"
#include "device/win/RudvaneHandleDevice.h"

namespace {

// The packed storage number of an open handle, or kNoStorageNumber.
uint32_t StorageNumberOf(C_DeviceIo& io, HANDLE h)
{
    STORAGE_DEVICE_NUMBER number;
    std::memset(&number, 0, sizeof(number));
    DWORD dwReturned = 0;
    if (io.Control(h, IOCTL_STORAGE_GET_DEVICE_NUMBER, nullptr, 0, &number, sizeof(number),
                   &dwReturned) &&
        dwReturned >= sizeof(number))
        return PackStorageNumber(number.DeviceType, number.DeviceNumber, number.PartitionNumber);
    SCSI_ADDRESS address;
    std::memset(&address, 0, sizeof(address));
    if (io.Control(h, IOCTL_SCSI_GET_ADDRESS, nullptr, 0, &address, sizeof(address),
                   &dwReturned) &&
        dwReturned >= offsetof(SCSI_ADDRESS, Lun) + 1)
        return PackStorageNumber(address.PortNumber,
                                 static_cast<uint32_t>(address.PathId << 4) | address.TargetId,
                                 address.Lun);
    return kNoStorageNumber;
}

struct S_LetterSearch {
    uint32_t ulStorageNumber;
    bool bPartition;
    std::string strLetters;
};

int CollectVolumeLetters(C_RudvaneDevice* pDevice, void* pContext)
{
    auto& search = *static_cast<S_LetterSearch*>(pContext);
    if (pDevice->ulKind == RUDVANE_KIND_VOLUME &&
        SameStorageDevice(pDevice->ulStorageNumber, search.ulStorageNumber, search.bPartition))
        AddLetters(search.strLetters, pDevice->strLetters);
    return 1;
}

} // namespace

void RudvaneReadVolumeInfo(C_RudvaneDevice& device, C_EnumIo& io)
{
    if (device.strLetters.empty() || !MayQueryLetter(device.strLetters[0], RudvaneGetOptions()))
        return;
    C_QuietErrorMode quiet;
    for (char cLetter : device.strLetters) {
        std::string strLabel, strFileSystem, strDisplay;
        DWORD dwSerial = 0;
        if (io.VolumeInfo(cLetter, strLabel, strFileSystem, dwSerial)) {
            if (device.strLetters.size() == 1)
                device.strFileSystem = strFileSystem;
            device.ulVolumeSerial = dwSerial;
        }
        if (!io.DisplayName(cLetter, strDisplay))
            strDisplay = strLabel;
        AppendJoined(device.strDisplayName, strDisplay);
        AppendJoined(device.strLabel, strLabel);
    }
}

int RudvaneSizeFromFileSystem(C_RudvaneDevice& device)
{
    C_QuietErrorMode quiet;
    return device.UpdateSizeFromFileSystem();
}

uint32_t RudvaneReadStorageNumber(C_RudvaneHandleDevice& device)
{
    device.ulStorageNumber = kNoStorageNumber;
    if (!device.Open())
        return kNoStorageNumber;
    device.ulStorageNumber = StorageNumberOf(device.GetIo(), device.GetHandle());
    device.Close();
    return device.ulStorageNumber;
}

void RudvaneAddLettersByStorageNumber(C_RudvaneHandleDevice& device, C_EnumIo& io, bool bPartition)
{
    if (device.ulStorageNumber == kNoStorageNumber)
        return;
    if ((RudvaneGetEnumeratedKinds() & RUDVANE_KIND_VOLUME) != 0) {
        S_LetterSearch search{device.ulStorageNumber, bPartition, std::string()};
        RudvaneForEachDevice(CollectVolumeLetters, &search, 0);
        AddLetters(device.strLetters, search.strLetters);
        return;
    }
    C_QuietErrorMode quiet;
    for (char cLetter : EnumLetters(io.LogicalDrives(), RudvaneGetOptions())) {
        if (HasLetter(device.strLetters, cLetter))
            continue;
        const char szVolume[7] = {'\\', '\\', '.', '\\', cLetter, ':', '\0'};
        const HANDLE h = io.Open(szVolume, device.dwAccess);
        if (!IsValid(h))
            continue;
        const uint32_t ulNumber = StorageNumberOf(io, h);
        io.Close(h);
        if (SameStorageDevice(ulNumber, device.ulStorageNumber, bPartition))
            AddLetters(device.strLetters, std::string(1, cLetter));
    }
}

int RudvaneReadAdapterLimits(C_RudvaneHandleDevice& device)
{
    STORAGE_PROPERTY_QUERY query;
    std::memset(&query, 0, sizeof(query));
    query.PropertyId = StorageAdapterProperty;
    query.QueryType = PropertyStandardQuery;
    uint8_t answer[64] = {};
    DWORD dwReturned = 0;
    S_RudvaneIoRequest request;
    request.dwCode = IOCTL_STORAGE_QUERY_PROPERTY;
    request.pIn = &query;
    request.dwInSize = sizeof(query);
    request.pOut = answer;
    request.dwOutSize = sizeof(answer);
    request.pdwReturned = &dwReturned;
    if (!device.Query(RUDVANE_Q_IO_REQUEST, &request, 0, nullptr, nullptr) || dwReturned < 12)
        return 0;
    uint32_t ulMaxTransfer = 0;
    std::memcpy(&ulMaxTransfer, answer + 8, 4);
    const uint32_t ulBlocks = AdapterMaxBlocks(ulMaxTransfer, device.ulBlockSize, device.ulBusFlags);
    if (ulBlocks == 0)
        return 0;
    device.ulMaxBlocks = ulBlocks;
    return 1;
}
