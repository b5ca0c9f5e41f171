// The passes over fixed device names: physical drives, CD-ROM devices,
// volumes and drive letters.
#include "device/win/EnumPasses.h"

#include <windows.h>

#include <cstdio>
#include <memory>
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

void AddOrDelete(std::unique_ptr<C_RudvaneHandleDevice> pDevice)
{
    if (pDevice != nullptr && RudvaneAddDevice(pDevice.get()))
        pDevice.release();
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

namespace {

// What the two passes over numbered device names do differently.
struct S_NumberedPass {
    uint32_t ulKind;
    int32_t lMediaClass;
    uint64_t ullStartBlocks;     // start values while no size is found
    uint32_t ulStartBlockSize;
    bool bStartValuesFirst;      // before identification (disks) or after (CD-ROMs)
    bool bSmartTexts;            // SMART IDENTIFY texts
    bool bPartitionLetters;      // letters whose storage number names the partition too
    bool bClassOfLetter;         // the media class follows the first letter's drive type
};

constexpr S_NumberedPass kPhysicalPass = {RUDVANE_KIND_PHYSICAL, RUDVANE_MEDIA_FIXED_DEVICE,
                                          2048, 512, true, true, false, true};
constexpr S_NumberedPass kCdRomPass = {RUDVANE_KIND_CDROM, RUDVANE_MEDIA_OPTICAL,
                                       332800, 2048, false, false, true, false};

std::unique_ptr<C_RudvaneHandleDevice> ProbeNumbered(C_EnumIo& io, const std::string& strName,
                                                     uint32_t n, const S_NumberedPass& pass)
{
    if (!Opens(io, strName, kReadWrite))
        return nullptr;
    auto pDevice = std::make_unique<C_RudvaneHandleDevice>(strName, kReadWrite);
    pDevice->SetIo(&io);
    pDevice->strInfo = strName;
    pDevice->ulKind = pass.ulKind;
    pDevice->ulNumber = static_cast<int32_t>(n);
    pDevice->ulMediaClass = pass.lMediaClass;
    auto startValues = [&]() {
        pDevice->ullBlockCount = pass.ullStartBlocks;
        pDevice->ulBlockSize = pass.ulStartBlockSize;
    };
    if (pass.bStartValuesFirst)
        startValues();
    const int nOpen = pDevice->Open();
    if ((RudvaneGetOptions() & RUDVANE_OPT_NO_BRIDGES) == 0)
        RudvaneIdentify(*pDevice);
    RudvaneReadStorageNumber(*pDevice);
    if (!pass.bStartValuesFirst)
        startValues();
    const bool bSized = pDevice->UpdateSize() != 0;
    RudvaneReadAdapterLimits(*pDevice);
    RudvaneReadInquiryTexts(*pDevice);
    if (pass.bSmartTexts)
        RudvaneReadSmartIdentifyTexts(*pDevice);
    RudvaneAddLettersByStorageNumber(*pDevice, io, pass.bPartitionLetters);
    RudvaneReadVolumeInfo(*pDevice, io);
    if (pass.bClassOfLetter && !pDevice->strLetters.empty()) {
        const int32_t lClass = MediaClassOfLetter(io, pDevice->strLetters[0], true);
        if (lClass >= 0)
            pDevice->ulMediaClass = lClass;
    }
    if (nOpen)
        pDevice->Close();
    SetPathCaps(*pDevice, bSized);
    return pDevice;
}

} // namespace

std::unique_ptr<C_RudvaneHandleDevice> RudvaneProbePhysicalDrive(C_EnumIo& io,
                                                                 const std::string& strName,
                                                                 uint32_t n)
{
    return ProbeNumbered(io, strName, n, kPhysicalPass);
}

std::unique_ptr<C_RudvaneHandleDevice> RudvaneProbeCdRom(C_EnumIo& io, const std::string& strName,
                                                         uint32_t n)
{
    return ProbeNumbered(io, strName, n, kCdRomPass);
}

std::unique_ptr<C_RudvaneHandleDevice> RudvaneProbeVolume(C_EnumIo& io, char cLetter)
{
    const uint32_t ulOptions = RudvaneGetOptions();
    const std::string strName = std::string("\\\\.\\") + cLetter + ":";
    DWORD dwAccess = kReadWrite;
    if (!Opens(io, strName, dwAccess)) {
        dwAccess = GENERIC_READ;
        if (!Opens(io, strName, dwAccess))
            return nullptr;
    }
    auto pDevice = std::make_unique<C_RudvaneHandleDevice>(strName, dwAccess);
    pDevice->SetIo(&io);
    pDevice->strInfo = strName;
    pDevice->ulKind = RUDVANE_KIND_VOLUME;
    pDevice->bVolume = true;
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
    return pDevice;
}

void RudvaneEnumPhysicalDrivesWith(C_EnumIo& io)
{
    RudvaneAddEnumeratedKind(RUDVANE_KIND_PHYSICAL);
    for (uint32_t n = 0; n < kPhysicalDrives; ++n)
        AddOrDelete(RudvaneProbePhysicalDrive(io, DeviceName("\\\\.\\PhysicalDrive%u", n), n));
}

void RudvaneEnumCdRomsWith(C_EnumIo& io)
{
    RudvaneAddEnumeratedKind(RUDVANE_KIND_CDROM);
    for (uint32_t n = 0; n < kCdRoms; ++n)
        AddOrDelete(RudvaneProbeCdRom(io, DeviceName("\\\\.\\CdRom%u", n), n));
}

void RudvaneEnumVolumesWith(C_EnumIo& io)
{
    RudvaneAddEnumeratedKind(RUDVANE_KIND_VOLUME);
    for (char cLetter : EnumLetters(io.LogicalDrives(), RudvaneGetOptions()))
        AddOrDelete(RudvaneProbeVolume(io, cLetter));
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
        if (!RudvaneAddDevice(pDevice))
            delete pDevice;
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
