// Sense data comes from devices and bridges of every quality: any bytes must
// parse safely, give a sense key of four bits, and map to a known error.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "device/core/AtaCommand.h"
#include "device/core/RudvaneTypes.h"
#include "device/core/ScsiSense.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    const S_SenseInfo info = ParseSense(pData, nSize);
    if (info.bKey > 0x0F)
        std::abort();
    if (!info.bValid && (info.bKey != 0 || info.bAsc != 0 || info.bAscq != 0))
        std::abort();

    const uint8_t bStatus = nSize > 0 ? pData[0] : 0;
    const uint32_t ulError = ScsiFailureToWin32Error(bStatus, info);
    switch (ulError) {
    case rudvane_error::kInvalidFunction:
    case rudvane_error::kNotReady:
    case rudvane_error::kCrc:
    case rudvane_error::kSectorNotFound:
    case rudvane_error::kWriteProtect:
    case rudvane_error::kBusy:
    case rudvane_error::kMediaChanged:
    case rudvane_error::kIoDevice:
        break;
    default:
        std::abort();
    }

    S_AtaTaskFile regs;
    regs.bDevice = 0x5A;
    const bool bFound = ParseAtaStatusReturn(pData, nSize, regs);
    if (bFound && !info.bValid)
        std::abort();
    if (!bFound && regs.bDevice != 0x5A)
        std::abort();  // a failed parse leaves the registers alone
    return 0;
}
