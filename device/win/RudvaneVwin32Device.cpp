#include "device/win/RudvaneVwin32Device.h"

#include <windows.h>

#include "device/core/BlockRoute.h"
#include "device/core/RudvaneTypes.h"
#include "device/win/Vwin32.h"

namespace {

constexpr uint32_t kMaxSectorsPerCall = 65535;

#pragma pack(push, 1)
// The parameter block of function 7305h.
struct S_DiskIo {
    DWORD dwStartSector;
    WORD wSectors;
    DWORD dwBuffer;
};
#pragma pack(pop)

} // namespace

C_RudvaneVwin32Device::C_RudvaneVwin32Device(uint32_t ulDriveIn) : ulDrive(ulDriveIn)
{
    ulKind = RUDVANE_KIND_VWIN32;
}

int C_RudvaneVwin32Device::ReadBlocks(uint64_t ullLba, uint32_t ulCount, void* pBuffer)
{
    if (!CheckTransfer(ullLba, ulCount, false))
        return 0;
    uint32_t ulBytes = 0;
    if (ulBlockSize == 0 || !TransferBytes(ulCount, ulBlockSize, ulBytes) ||
        (ulBytes != 0 && pBuffer == nullptr) || ullLba + ulCount > 0x100000000ull) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    uint8_t* pTarget = static_cast<uint8_t*>(pBuffer);
    uint32_t ulDone = 0;
    while (ulDone < ulCount) {
        const uint32_t ulSectors =
            ulCount - ulDone < kMaxSectorsPerCall ? ulCount - ulDone : kMaxSectorsPerCall;
        S_DiskIo io;
        io.dwStartSector = static_cast<DWORD>(ullLba + ulDone);
        io.wSectors = static_cast<WORD>(ulSectors);
        S_Vwin32Registers regs;
        if (!Vwin32Address(pTarget, io.dwBuffer) || !Vwin32Address(&io, regs.dwEbx)) {
            ::SetLastError(ERROR_NOT_SUPPORTED);
            return 0;
        }
        regs.dwEax = 0x7305;
        regs.dwEcx = 0xFFFFFFFF;
        regs.dwEdx = ulDrive;
        regs.dwEsi = 0;  // read
        if (!Vwin32Call(VWIN32_DOS_DRIVEINFO, regs))
            return 0;
        ulDone += ulSectors;
        pTarget += static_cast<size_t>(ulSectors) * ulBlockSize;
    }
    return 1;
}
