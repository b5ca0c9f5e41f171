#include "device/win/DeviceManagement.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "device/core/AtaFeatures.h"
#include "device/core/Fat32Layout.h"
#include "device/core/IdentityText.h"
#include "device/core/MediaNames.h"
#include "device/core/RudvaneTypes.h"
#include "device/win/IoCodes.h"
#include "device/win/IoRequest.h"
#include "device/win/KeepError.h"
#include "device/win/ManagementTools.h"
#include "device/win/RudvaneDevice.h"

namespace {

constexpr int kFormatAttempts = 3;
constexpr DWORD kFormatPause = 10000;
constexpr int kLetterWaits = 60;
constexpr DWORD kLetterPause = 250;
constexpr uint32_t kMaxChunkBlocks = 128;

char Upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool LetterPresent(DWORD dwDrives, char cLetter)
{
    cLetter = Upper(cLetter);
    return cLetter >= 'A' && cLetter <= 'Z' && (dwDrives & (1u << (cLetter - 'A'))) != 0;
}

// The volume name of a record opened by a path, or empty.
std::string VolumeNameOf(C_RudvaneDevice& device, C_ManagementTools& tools)
{
    std::string strPath;
    {
        C_KeepError keep;
        if (!device.Query(RUDVANE_Q_DEVICE_PATH, &strPath, 0, nullptr, nullptr) || strPath.empty())
            return std::string();
    }
    if (strPath.back() != '\\')
        strPath += '\\';
    return tools.VolumeNameOfPath(strPath);
}

// The drive letter of the record's volume: its own first letter once the
// system shows it, or one that the volume has, waiting up to 60 x 250 ms;
// then a free letter assigned to the volume.
bool WaitForLetter(C_RudvaneDevice& device, C_ManagementTools& tools, char& cLetter)
{
    const char cOwn = device.strLetters.empty() ? 0 : Upper(device.strLetters[0]);
    const std::string strVolume = VolumeNameOf(device, tools);
    for (int i = 0; i < kLetterWaits; ++i) {
        if (cOwn != 0 && LetterPresent(tools.LogicalDrives(), cOwn)) {
            cLetter = cOwn;
            return true;
        }
        if (!strVolume.empty()) {
            const std::string strLetters = tools.LettersOfVolume(strVolume);
            if (!strLetters.empty()) {
                cLetter = Upper(strLetters[0]);
                return true;
            }
        }
        tools.Sleep(kLetterPause);
    }
    if (strVolume.empty())
        return Fail(ERROR_INVALID_DRIVE) != 0;
    const DWORD dwDrives = tools.LogicalDrives();
    for (char c = 'D'; c <= 'Z'; ++c) {
        if (!LetterPresent(dwDrives, c)) {
            if (!tools.AssignLetter(c, strVolume))
                return false;
            cLetter = c;
            return true;
        }
    }
    return Fail(ERROR_NO_MORE_ITEMS) != 0;
}

// Writes ulCount blocks from ullLba on, each zero, in pieces the record takes.
int WriteZeros(C_RudvaneDevice& device, uint64_t ullLba, uint64_t ullCount)
{
    const uint32_t ulChunk = std::max<uint32_t>(1, std::min(device.ulMaxBlocks, kMaxChunkBlocks));
    std::vector<uint8_t> vZeros(static_cast<size_t>(ulChunk) * device.ulBlockSize, 0);
    while (ullCount > 0) {
        const uint32_t ulNow = static_cast<uint32_t>(std::min<uint64_t>(ullCount, ulChunk));
        if (!device.WriteBlocks(ullLba, ulNow, vZeros.data()))
            return 0;
        ullLba += ulNow;
        ullCount -= ulNow;
    }
    return 1;
}

int WriteFat32(C_RudvaneDevice& device, const S_Fat32Layout& layout, const std::string& strLabel)
{
    std::vector<uint8_t> vSector(layout.ulBytesPerSector);
    // Everything but the boot sectors first, so that an interrupted format
    // never leaves a boot sector in front of stale tables.
    if (!WriteZeros(device, 0, layout.ulReservedSectors))
        return 0;
    for (uint32_t t = 0; t < layout.ulFatCount; ++t) {
        BuildFat32FirstFatSector(layout, vSector.data());
        if (!device.WriteBlocks(layout.FirstFatSector(t), 1, vSector.data()) ||
            !WriteZeros(device, layout.FirstFatSector(t) + 1ull, layout.ulFatSectors - 1ull))
            return 0;
    }
    BuildFat32RootSector(layout, strLabel, vSector.data());
    if (!device.WriteBlocks(layout.FirstDataSector(), 1, vSector.data()) ||
        !WriteZeros(device, layout.FirstDataSector() + 1ull, layout.ulSectorsPerCluster - 1ull))
        return 0;
    BuildFat32FsInfo(layout, vSector.data());
    if (!device.WriteBlocks(kFat32FsInfoSector, 1, vSector.data()) ||
        !device.WriteBlocks(kFat32BackupBootSector + kFat32FsInfoSector, 1, vSector.data()))
        return 0;
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    const uint32_t ulSerial = now.dwLowDateTime ^ (now.dwHighDateTime << 16) ^ ::GetTickCount();
    BuildFat32BootSector(layout, ulSerial, strLabel, vSector.data());
    if (!device.WriteBlocks(kFat32BackupBootSector, 1, vSector.data()) ||
        !device.WriteBlocks(0, 1, vSector.data()))
        return 0;
    return 1;
}

int AtaFeatureQuery(C_RudvaneDevice& device, uint32_t ulCode, void* pOut, uintptr_t arg)
{
    S_AtaFeatureRequest request;
    if (!BuildAtaFeatureRequest(ulCode, arg, request))
        return Fail(ERROR_INVALID_PARAMETER);
    S_RudvaneAtaCommand command;
    command.in = request.regs;
    if (!device.AtaCommand(&command, request.nDirection))
        return 0;
    if (request.nDirection == RUDVANE_ATA_READ && pOut != nullptr)
        std::memcpy(pOut, command.data, sizeof(command.data));
    if (request.bAnswerIsCount) {
        if (!command.bOutValid)
            return Fail(ERROR_NOT_SUPPORTED);
        if (pOut != nullptr)
            *static_cast<uint32_t*>(pOut) = command.out.bSectorCount;
    }
    return 1;
}

int WriteAspiBootRecord(C_RudvaneDevice& device)
{
    if (device.ulKind != RUDVANE_KIND_ASPI)
        return Fail(ERROR_NOT_SUPPORTED);
    uint8_t mbr[512];
    if (!BuildAspiBootRecord(device.ullBlockCount, device.ulBlockSize, mbr))
        return Fail(ERROR_INVALID_PARAMETER);
    if (!device.WriteBlocks(0, 1, mbr) || !WriteZeros(device, kAspiPartitionStart, 10))
        return 0;
    device.strLetters.clear();
    return 1;
}

int MediaName(C_RudvaneDevice& device, void* pOut)
{
    const auto cdb = BuildGetConfiguration();
    uint8_t reply[kGetConfigurationReply] = {};
    if (!device.ScsiCommand(static_cast<uint32_t>(cdb.size()), cdb.data(), 1, sizeof(reply), reply,
                            nullptr))
        return 0;
    uint16_t wProfile = 0;
    const char* pszName = ParseCurrentProfile(reply, device.GetLastTransfer(), wProfile)
                              ? OpticalMediaName(wProfile) : nullptr;
    if (pszName == nullptr)
        return Fail(ERROR_NOT_SUPPORTED);
    if (pOut != nullptr)
        *static_cast<std::string*>(pOut) = pszName;
    return 1;
}

// One volume request without data on the record's own handle; best effort.
void VolumeRequest(C_RudvaneDevice& device, DWORD dwCode)
{
    DWORD dwReturned = 0;
    S_RudvaneIoRequest request;
    request.dwCode = dwCode;
    request.pdwReturned = &dwReturned;
    device.Query(RUDVANE_Q_IO_REQUEST, &request, 0, nullptr, nullptr);
}

std::string FileSystemOf(const C_RudvaneDevice& device, const std::string& strRoot)
{
    if (!device.strFileSystem.empty())
        return device.strFileSystem;
    char szSystem[MAX_PATH] = {};
    if (!::GetVolumeInformationA(strRoot.c_str(), nullptr, 0, nullptr, nullptr, nullptr, szSystem,
                                 MAX_PATH))
        return std::string();
    return szSystem;
}

} // namespace

int RudvaneFormatFat32(C_RudvaneDevice& device, const char* pszLabel)
{
    S_Fat32Layout layout;
    if (!ComputeFat32Layout(device.ullBlockCount, device.ulBlockSize, device.ullPartitionStart,
                            layout))
        return Fail(ERROR_INVALID_PARAMETER);
    const std::string strLabel = pszLabel != nullptr ? pszLabel : "";
    if (!device.Open())
        return 0;
    // A locked volume takes writes only through the handle that locked it:
    // a volume record locks its own handle; a whole device locks the volumes
    // of its letters and writes through its own.
    const bool bVolume = device.ulMediaClass == RUDVANE_MEDIA_FIXED_VOLUME ||
                         device.ulMediaClass == RUDVANE_MEDIA_REMOVABLE_VOLUME;
    if (bVolume)
        VolumeRequest(device, FSCTL_LOCK_VOLUME);
    else
        device.Query(RUDVANE_Q_LOCK_VOLUMES, nullptr, 1, nullptr, nullptr);
    const int nWritten = WriteFat32(device, layout, strLabel);
    C_KeepError keep;
    if (bVolume) {
        // The file system reads the new volume when it is mounted again.
        if (nWritten)
            VolumeRequest(device, FSCTL_DISMOUNT_VOLUME);
        VolumeRequest(device, FSCTL_UNLOCK_VOLUME);
    } else {
        device.Query(RUDVANE_Q_LOCK_VOLUMES, nullptr, 0, nullptr, nullptr);
    }
    device.Close();
    return nWritten;
}

int RudvaneFormatVolume(C_RudvaneDevice& device, const char* pszFileSystem, const char* pszLabel,
                        uint32_t ulFlags)
{
    const std::string strSystem = pszFileSystem != nullptr ? pszFileSystem : "";
    const bool bFat32 = EqualsNoCase(strSystem, "FAT32");
    if (!bFat32 && !EqualsNoCase(strSystem, "NTFS"))
        return Fail(ERROR_INVALID_PARAMETER);
    std::string strLabel = pszLabel != nullptr ? pszLabel : "";
    if (bFat32 && strLabel.size() > 11)
        strLabel.resize(11);
    if ((ulFlags & RUDVANE_FORMAT_OWN_FAT32) != 0)
        return bFat32 ? RudvaneFormatFat32(device, strLabel.c_str()) : Fail(ERROR_INVALID_PARAMETER);

    C_ManagementTools& tools = RudvaneGetManagementTools();
    char cLetter = 0;
    if (!WaitForLetter(device, tools, cLetter))
        return 0;
    const char szRoot[4] = {cLetter, ':', '\\', '\0'};
    for (int i = 0; i < kFormatAttempts; ++i) {
        if (i > 0)
            tools.Sleep(kFormatPause);
        if (tools.FormatVolume(szRoot, bFat32 ? "FAT32" : "NTFS", strLabel,
                               (ulFlags & RUDVANE_FORMAT_QUICK) != 0))
            return 1;
    }
    return 0;
}

int RudvaneManagementQuery(C_RudvaneDevice& device, uint32_t ulCode, void* pOut, uintptr_t arg,
                           void* pOut2, void* pOut3)
{
    if (ulCode >= RUDVANE_Q_ATA_FIRST && ulCode <= RUDVANE_Q_ATA_LAST)
        return AtaFeatureQuery(device, ulCode, pOut, arg);
    C_ManagementTools& tools = RudvaneGetManagementTools();
    switch (ulCode) {
    case RUDVANE_Q_ASPI_BOOT_RECORD:
        return WriteAspiBootRecord(device);
    case RUDVANE_Q_CONVERT_NTFS: {
        if (device.strLetters.empty())
            return Fail(ERROR_INVALID_DRIVE);
        char szArguments[16];
        std::snprintf(szArguments, sizeof(szArguments), "%c: /fs:ntfs", Upper(device.strLetters[0]));
        DWORD dwExit = 1;
        if (!tools.RunConvert(szArguments, &dwExit))
            return 0;
        return dwExit == 0 ? 1 : Fail(ERROR_GEN_FAILURE);
    }
    case RUDVANE_Q_CHECK_DISK: {
        if (device.strLetters.empty())
            return Fail(ERROR_INVALID_DRIVE);
        const std::string strRoot = std::string(1, Upper(device.strLetters[0])) + ":\\";
        const std::string strSystem = FileSystemOf(device, strRoot);
        if (strSystem.empty())
            return Fail(ERROR_UNRECOGNIZED_VOLUME);
        return tools.CheckDisk(strRoot, strSystem, arg == 1) ? 1 : 0;
    }
    case RUDVANE_Q_MEDIA_NAME:
        return MediaName(device, pOut);
    default:
        return Fail(ERROR_NOT_SUPPORTED);
    }
}
