// The passes of older systems: Windows 9x drives through vwin32, SCSI
// targets behind the ASPI layer.
#include "device/win/EnumPasses.h"

#include <windows.h>

#include <cstring>
#include <memory>
#include <string>

#include "device/core/ByteOrder.h"
#include "device/core/EnumRules.h"
#include "device/core/RudvaneTypes.h"
#include "device/core/ScsiCdb.h"
#include "device/win/AspiLayer.h"
#include "device/win/EnumIo.h"
#include "device/win/Identify.h"
#include "device/win/QuietErrorMode.h"
#include "device/win/Rudvane.h"
#include "device/win/RudvaneAspiDevice.h"
#include "device/win/RudvaneVwin32Device.h"
#include "device/win/VolumeInfo.h"
#include "device/win/Vwin32.h"

namespace {

constexpr DWORD kGetDeviceParameters = 0x440D;
constexpr DWORD kGetDeviceParametersMinor = 0x0860;
constexpr uint32_t kVwin32MaxBlocks = 65535;
constexpr uint8_t kAspiLuns = 8;
constexpr uint8_t kAspiDefaultTargets = 8;
constexpr uint8_t kInquiryAnswer = 36;

// A fixed-width text of the ASPI layer: up to its first zero, trailing
// blanks cut; bytes of value 1 become blanks when asked.
std::string AspiText(const char* p, size_t nWidth, bool bOnesAsBlanks)
{
    std::string str;
    for (size_t i = 0; i < nWidth && p[i] != '\0'; ++i)
        str.push_back(bOnesAsBlanks && p[i] == 1 ? ' ' : p[i]);
    while (!str.empty() && (str.back() == ' ' || str.back() == '\t'))
        str.pop_back();
    return str;
}

} // namespace

void RudvaneEnumVwin32()
{
    RudvaneAddEnumeratedKind(RUDVANE_KIND_VWIN32);
    if (!RudvaneIsWin9x())
        return;
    C_EnumIo& io = C_EnumIo::System();
    const uint32_t ulOptions = RudvaneGetOptions();
    for (uint32_t ulDrive = 1; ulDrive <= 26; ++ulDrive) {
        const char cLetter = static_cast<char>('A' + ulDrive - 1);
        if (!MayQueryLetter(cLetter, ulOptions))
            continue;
        // The device parameter block: bytes per sector at 7, the 16-bit
        // sector count at 15, the 32-bit one at 28.
        uint8_t params[256] = {};
        params[0] = 0x01;  // the parameters of the medium in the drive
        S_Vwin32Registers regs;
        regs.dwEax = kGetDeviceParameters;
        regs.dwEbx = ulDrive;
        regs.dwEcx = kGetDeviceParametersMinor;
        if (!Vwin32Address(params, regs.dwEdx))
            return;
        C_QuietErrorMode quiet;
        if (!Vwin32Call(VWIN32_DOS_IOCTL, regs))
            continue;
        auto* pDevice = new C_RudvaneVwin32Device(ulDrive);
        pDevice->ulNumber = static_cast<int32_t>(ulDrive);
        pDevice->ulStorageNumber = ulDrive;
        pDevice->ulCaps |= 0x2A;
        pDevice->strInfo = "IOCTL";
        const uint16_t wSectors = GetLe16(params + 15);
        pDevice->ullBlockCount = wSectors != 0 ? wSectors : GetLe32(params + 28);
        pDevice->ulBlockSize = GetLe16(params + 7);
        pDevice->strLetters.assign(1, cLetter);
        pDevice->ulMaxBlocks = kVwin32MaxBlocks;
        const int32_t lClass =
            MediaClassOfDriveType(io.DriveType(std::string(1, cLetter) + ":\\"), false);
        pDevice->ulMediaClass = lClass >= 0 ? lClass : RUDVANE_MEDIA_FIXED_VOLUME;
        RudvaneReadVolumeInfo(*pDevice, io);
        if (!RudvaneAddDevice(pDevice))
            delete pDevice;
    }
}

std::unique_ptr<C_RudvaneAspiDevice> RudvaneProbeAspiTarget(uint8_t bAdapter, uint8_t bTarget,
                                                            uint8_t bLun)
{
    auto pDevice = std::make_unique<C_RudvaneAspiDevice>(bAdapter, bTarget, bLun);
    uint8_t answer[kInquiryAnswer] = {};
    const auto cdb = BuildInquiry(kInquiryAnswer);
    if (!pDevice->ScsiCommand(static_cast<uint32_t>(cdb.size()), cdb.data(), 1, kInquiryAnswer,
                              answer, nullptr))
        return nullptr;
    pDevice->ulNumber = (bAdapter << 16) | (bTarget << 8) | bLun;
    const uint8_t bType = answer[0] & 0x1F;
    pDevice->ulMediaClass = bType == 5   ? RUDVANE_MEDIA_OPTICAL
                            : bType == 1 ? RUDVANE_MEDIA_TAPE
                                         : RUDVANE_MEDIA_FIXED_DEVICE;
    pDevice->ulBlockSize = bType == 5 ? 2048 : 512;
    RudvaneReadInquiryTexts(*pDevice);
    uint32_t ulCaps = RUDVANE_CAP_READ | RUDVANE_CAP_WRITE;
    if (pDevice->UpdateSize())
        ulCaps |= RUDVANE_CAP_BLOCKS;
    pDevice->ulCaps |= ulCaps;
    return pDevice;
}

void RudvaneEnumAspi()
{
    RudvaneAddEnumeratedKind(RUDVANE_KIND_ASPI);
    C_AspiLayer& layer = C_AspiLayer::Get();
    if (!layer.Load())
        return;
    const DWORD dwSupport = layer.GetSupportInfo();
    if (((dwSupport >> 8) & 0xFF) != ASPI_STATUS_COMPLETED)
        return;
    const uint8_t bAdapters = static_cast<uint8_t>(dwSupport & 0xFF);
    for (uint8_t bAdapter = 0; bAdapter < bAdapters; ++bAdapter) {
        S_AspiAdapterInquiry inquiry;
        std::memset(&inquiry, 0, sizeof(inquiry));
        inquiry.bCommand = ASPI_HOST_ADAPTER_INQUIRY;
        inquiry.bHostAdapter = bAdapter;
        layer.Send(&inquiry);
        const std::string strManager = AspiText(inquiry.managerId, sizeof(inquiry.managerId), false);
        const std::string strAdapter = AspiText(inquiry.adapterId, sizeof(inquiry.adapterId), true);
        // The adapter's unique bytes: 3 the number of targets, 4..7 the
        // largest transfer in bytes.
        uint8_t bTargets = inquiry.adapterUnique[3];
        if (bTargets == 0)
            bTargets = kAspiDefaultTargets;
        const uint32_t ulMaxTransfer = GetLe32(inquiry.adapterUnique + 4);
        std::string strInfo = strManager.empty() ? "aspi" : strManager;
        if (!strAdapter.empty())
            strInfo += " - " + strAdapter;

        for (uint8_t bTarget = 0; bTarget < bTargets; ++bTarget) {
            for (uint8_t bLun = 0; bLun < kAspiLuns; ++bLun) {
                std::unique_ptr<C_RudvaneAspiDevice> pDevice =
                    RudvaneProbeAspiTarget(bAdapter, bTarget, bLun);
                if (pDevice == nullptr)
                    continue;
                pDevice->strInfo = strInfo;
                const uint32_t ulBlocks =
                    AdapterMaxBlocks(ulMaxTransfer, pDevice->ulBlockSize, pDevice->ulBusFlags);
                if (ulBlocks != 0)
                    pDevice->ulMaxBlocks = ulBlocks;
                if (RudvaneAddDevice(pDevice.get()))
                    pDevice.release();
            }
        }
    }
}
