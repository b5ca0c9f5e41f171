// The passes over fixed device names: physical drives, CD-ROM devices,
// volumes and drive letters.
#include "device/win/EnumPasses.h"

#include <windows.h>

#include <cstdio>
#include <string>

#include "device/core/EnumRules.h"
#include "device/core/RudvaneTypes.h"
#include "device/win/EnumIo.h"
#include "device/win/Identify.h"
#include "device/win/KeepError.h"
#include "device/win/QuietErrorMode.h"
#include "device/win/Rudvane.h"
#include "device/win/RudvaneHandleDevice.h"
#include "device/win/RudvaneLetterDevice.h"
#include "device/win/VolumeInfo.h"

namespace {

constexpr DWORD kReadWrite = GENERIC_READ | GENERIC_WRITE;
constexpr uint32_t kPhysicalDrives = 10;
constexpr uint32_t kCdRoms = 43;

// Whether a name opens with that access; the handle is closed at once.
bool Opens(C_EnumIo& io, const std::string& strName, DWORD dwAccess)
{
    const HANDLE h = io.Open(strName.c_str(), dwAccess);
    if (!IsValid(h))
        return false;
    io.Close(h);
    return true;
}

void AddOrDelete(C_RudvaneDevice* pDevice)
{
    if (!RudvaneAddDevice(pDevice))
        delete pDevice;
}

// The bits of a record opened by a path: readable, writable when opened for
// writing, holding media when its size was found.
void SetPathCaps(C_RudvaneHandleDevice& device, bool bSized)
{
    uint32_t ulAdd = RUDVANE_CAP_PATH | RUDVANE_CAP_READ;
    if ((device.dwAccess & GENERIC_WRITE) != 0)
        ulAdd |= RUDVANE_CAP_WRITE;
    if (bSized)
        ulAdd |= RUDVANE_CAP_BLOCKS;
    device.ulCaps |= ulAdd;
}

int32_t MediaClassOfLetter(C_EnumIo& io, char cLetter, bool bWholeDevice)
{
    C_QuietErrorMode quiet;
    return MediaClassOfDriveType(io.DriveType(std::string(1, cLetter) + ":\\"), bWholeDevice);
}

// A volume without partition information (a disk image behind a drive
// letter, say) still has an end: its raw size for block tests.
bool SizeFromDeviceEnd(C_RudvaneHandleDevice& device)
{
    if (device.ulBlockSize == 0 || !device.Open())
        return false;
    uint64_t ullEnd = 0;
    const bool bEnd = device.GetIo().GetEnd(device.GetHandle(), &ullEnd) != 0;
    device.Close();
    if (!bEnd || ullEnd / device.ulBlockSize == 0)
        return false;
    device.ullBlockCount = ullEnd / device.ulBlockSize;
    return true;
}

std::string DeviceName(const char* pszFormat, uint32_t n)
{
    char szName[32];
    std::snprintf(szName, sizeof(szName), pszFormat, n);
    return szName;
}

} // namespace

void RudvaneEnumPhysicalDrivesWith(C_EnumIo& io)
{
    RudvaneAddEnumeratedKind(RUDVANE_KIND_PHYSICAL);
    const uint32_t ulOptions = RudvaneGetOptions();
    for (uint32_t n = 0; n < kPhysicalDrives; ++n) {
        const std::string strName = DeviceName("\\\\.\\PhysicalDrive%u", n);
        if (!Opens(io, strName, kReadWrite))
            continue;
        auto* pDevice = new C_RudvaneHandleDevice(strName, kReadWrite);
        pDevice->SetIo(&io);
        pDevice->strInfo = strName;
        pDevice->ulKind = RUDVANE_KIND_PHYSICAL;
        pDevice->ulNumber = static_cast<int32_t>(n);
        pDevice->ulMediaClass = RUDVANE_MEDIA_FIXED_DEVICE;
        pDevice->ullBlockCount = 2048;
        pDevice->ulBlockSize = 512;
        const int nOpen = pDevice->Open();
        if ((ulOptions & RUDVANE_OPT_NO_BRIDGES) == 0)
            RudvaneIdentify(*pDevice);
        RudvaneReadStorageNumber(*pDevice);
        const bool bSized = pDevice->UpdateSize() != 0;
        RudvaneReadAdapterLimits(*pDevice);
        RudvaneReadInquiryTexts(*pDevice);
        RudvaneReadSmartIdentifyTexts(*pDevice);
        RudvaneAddLettersByStorageNumber(*pDevice, io, false);
        RudvaneReadVolumeInfo(*pDevice, io);
        if (!pDevice->strLetters.empty()) {
            const int32_t lClass = MediaClassOfLetter(io, pDevice->strLetters[0], true);
            if (lClass >= 0)
                pDevice->ulMediaClass = lClass;
        }
        if (nOpen)
            pDevice->Close();
        SetPathCaps(*pDevice, bSized);
        AddOrDelete(pDevice);
    }
}

void RudvaneEnumCdRomsWith(C_EnumIo& io)
{
    RudvaneAddEnumeratedKind(RUDVANE_KIND_CDROM);
    const uint32_t ulOptions = RudvaneGetOptions();
    for (uint32_t n = 0; n < kCdRoms; ++n) {
        const std::string strName = DeviceName("\\\\.\\CdRom%u", n);
        if (!Opens(io, strName, kReadWrite))
            continue;
        auto* pDevice = new C_RudvaneHandleDevice(strName, kReadWrite);
        pDevice->SetIo(&io);
        pDevice->strInfo = strName;
        pDevice->ulKind = RUDVANE_KIND_CDROM;
        pDevice->ulNumber = static_cast<int32_t>(n);
        pDevice->ulMediaClass = RUDVANE_MEDIA_OPTICAL;
        const int nOpen = pDevice->Open();
        if ((ulOptions & RUDVANE_OPT_NO_BRIDGES) == 0)
            RudvaneIdentify(*pDevice);
        RudvaneReadStorageNumber(*pDevice);
        pDevice->ullBlockCount = 332800;
        pDevice->ulBlockSize = 2048;
        const bool bSized = pDevice->UpdateSize() != 0;
        RudvaneReadAdapterLimits(*pDevice);
        RudvaneReadInquiryTexts(*pDevice);
        RudvaneAddLettersByStorageNumber(*pDevice, io, true);
        RudvaneReadVolumeInfo(*pDevice, io);
        if (nOpen)
            pDevice->Close();
        SetPathCaps(*pDevice, bSized);
        AddOrDelete(pDevice);
    }
}

void RudvaneEnumVolumesWith(C_EnumIo& io)
{
    RudvaneAddEnumeratedKind(RUDVANE_KIND_VOLUME);
    const uint32_t ulOptions = RudvaneGetOptions();
    for (char cLetter : EnumLetters(io.LogicalDrives(), ulOptions)) {
        const std::string strName = std::string("\\\\.\\") + cLetter + ":";
        DWORD dwAccess = kReadWrite;
        if (!Opens(io, strName, dwAccess)) {
            dwAccess = GENERIC_READ;
            if (!Opens(io, strName, dwAccess))
                continue;
        }
        auto* pDevice = new C_RudvaneHandleDevice(strName, dwAccess);
        pDevice->SetIo(&io);
        pDevice->strInfo = strName;
        pDevice->ulKind = RUDVANE_KIND_VOLUME;
        pDevice->strLetters.assign(1, cLetter);
        pDevice->ulNumber = static_cast<unsigned char>(cLetter);
        pDevice->ulBlockSize = 512;
        pDevice->ulMediaClass = RUDVANE_MEDIA_FIXED_VOLUME;
        const int32_t lClass = MediaClassOfLetter(io, cLetter, false);
        if (lClass >= 0)
            pDevice->ulMediaClass = lClass;
        if (pDevice->ulMediaClass == RUDVANE_MEDIA_OPTICAL) {
            pDevice->ulBlockSize = 2048;
            pDevice->ullFirstBlock = 16;
        }
        const int nOpen = pDevice->Open();
        if ((ulOptions & RUDVANE_OPT_NO_BRIDGES) == 0)
            RudvaneIdentify(*pDevice);
        RudvaneReadStorageNumber(*pDevice);
        RudvaneReadVolumeInfo(*pDevice, io);
        bool bSized = RudvaneSizeFromFileSystem(*pDevice) != 0;
        if (pDevice->UpdatePartitionInfo())
            bSized = true;
        else if ((ulOptions & RUDVANE_OPT_NO_SIZE) == 0 && SizeFromDeviceEnd(*pDevice))
            bSized = true;
        RudvaneReadAdapterLimits(*pDevice);
        RudvaneReadInquiryTexts(*pDevice);
        RudvaneReadSmartIdentifyTexts(*pDevice);
        if (nOpen)
            pDevice->Close();
        SetPathCaps(*pDevice, bSized);
        AddOrDelete(pDevice);
    }
}

void RudvaneEnumDriveLettersWith(C_EnumIo& io)
{
    RudvaneAddEnumeratedKind(RUDVANE_KIND_LETTER);
    for (char cLetter : EnumLetters(io.LogicalDrives(), RudvaneGetOptions())) {
        auto* pDevice = new C_RudvaneLetterDevice(cLetter);
        pDevice->ulNumber = static_cast<unsigned char>(cLetter);
        pDevice->ulStorageNumber = static_cast<unsigned char>(cLetter);
        pDevice->ulBlockSize = 512;
        pDevice->ulMediaClass = RUDVANE_MEDIA_FIXED_VOLUME;
        pDevice->strInfo = "DriveLetter";
        std::string strTarget;
        if (io.DosDeviceTarget(cLetter, strTarget))
            pDevice->strInfo += ", " + strTarget;
        RudvaneReadVolumeInfo(*pDevice, io);
        RudvaneSizeFromFileSystem(*pDevice);
        const int32_t lClass = MediaClassOfLetter(io, cLetter, false);
        if (lClass == RUDVANE_MEDIA_REMOVABLE_VOLUME || lClass == RUDVANE_MEDIA_FIXED_VOLUME)
            pDevice->ulMediaClass = lClass;
        AddOrDelete(pDevice);
    }
}

void RudvaneEnumPhysicalDrives()
{
    RudvaneEnumPhysicalDrivesWith(C_EnumIo::System());
}

void RudvaneEnumCdRoms()
{
    RudvaneEnumCdRomsWith(C_EnumIo::System());
}

void RudvaneEnumVolumes()
{
    RudvaneEnumVolumesWith(C_EnumIo::System());
}

void RudvaneEnumDriveLetters()
{
    RudvaneEnumDriveLettersWith(C_EnumIo::System());
}
