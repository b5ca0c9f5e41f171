#include "device/win/RudvaneTrackDevice.h"

#include <windows.h>

#include <cstring>

#include "device/core/BlockRoute.h"
#include "device/core/RudvaneTypes.h"
#include "device/core/ScsiCdb.h"

C_RudvaneTrackDevice::C_RudvaneTrackDevice(C_RudvaneDevice* pParentIn, bool bAudioIn)
    : pParent(pParentIn), bAudio(bAudioIn)
{
    ulKind = RUDVANE_KIND_TRACK;
    if (bAudio)
        ulBlockSize = kRawCdSectorSize;
}

int C_RudvaneTrackDevice::UpdateSize()
{
    // The table of contents gave the size; there is nothing to ask.
    if (ullBlockCount == 0) {
        ::SetLastError(ERROR_NOT_SUPPORTED);
        return 0;
    }
    return 1;
}

int C_RudvaneTrackDevice::ReadBlocks(uint64_t ullLba, uint32_t ulCount, void* pBuffer)
{
    if (pParent == nullptr)
        return NotSupported();
    // The track's blocks run from its start to the lead-out.
    if (!CheckTransfer(ullLba, ulCount, false, true))
        return 0;
    if (!bAudio)
        return pParent->ReadBlocks(ullLba, ulCount, pBuffer);
    uint32_t ulBytes = 0;
    if (ullLba > 0xFFFFFFFFull || ulCount > 0xFFFFFF ||
        !TransferBytes(ulCount, kRawCdSectorSize, ulBytes) || (ulBytes != 0 && pBuffer == nullptr)) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const auto cdb = BuildReadCd(static_cast<uint32_t>(ullLba), ulCount);
    if (!pParent->ScsiCommand(static_cast<uint32_t>(cdb.size()), cdb.data(), 1, ulBytes, pBuffer,
                              nullptr))
        return 0;
    if (pParent->GetLastTransfer() != ulBytes) {
        ::SetLastError(ERROR_IO_DEVICE);
        return 0;
    }
    return 1;
}

int C_RudvaneTrackDevice::WriteBlocks(uint64_t ullLba, uint32_t ulCount, const void* pBuffer)
{
    ::SetLastError(ERROR_WRITE_PROTECT);
    return 0;
}

int C_RudvaneTrackDevice::ScsiCommand(uint32_t ulCdbLength, const uint8_t* pCdb, int nDataIn,
                                      uint32_t ulLength, void* pBuffer, uint8_t* pSense)
{
    if (pParent == nullptr)
        return C_RudvaneDevice::ScsiCommand(ulCdbLength, pCdb, nDataIn, ulLength, pBuffer, pSense);
    const int nOk = pParent->ScsiCommand(ulCdbLength, pCdb, nDataIn, ulLength, pBuffer, pSense);
    ulLastTransfer = nOk ? pParent->GetLastTransfer() : 0;
    return nOk;
}

int C_RudvaneTrackDevice::Open()
{
    return pParent != nullptr ? pParent->Open() : NotSupported();
}

int C_RudvaneTrackDevice::Close()
{
    return pParent != nullptr ? pParent->Close() : NotSupported();
}
