#include "device/win/ScsiRequest.h"

#include <cstring>

#include "device/core/PassThrough.h"
#include "device/win/IoCodes.h"

namespace {

// The fields of the header up to the data address, which both forms share.
template <class T_Header>
void FillHeader(T_Header& header, uint32_t ulCdbLength, const uint8_t* pCdb, bool bDataIn,
                uint32_t ulLength, uint32_t ulTimeoutSeconds, uint32_t ulSenseLength)
{
    std::memset(&header, 0, sizeof(header));
    header.Length = sizeof(T_Header);
    header.CdbLength = static_cast<UCHAR>(ulCdbLength);
    header.SenseInfoLength = static_cast<UCHAR>(ulSenseLength);
    header.DataIn = bDataIn ? SCSI_IOCTL_DATA_IN : SCSI_IOCTL_DATA_OUT;
    header.DataTransferLength = ulLength;
    header.TimeOutValue = ulTimeoutSeconds;
    header.SenseInfoOffset = kPassThroughSenseOffset;
    std::memcpy(header.Cdb, pCdb, ulCdbLength);
}

} // namespace

bool C_ScsiRequest::Build(bool bBufferedIn, uint32_t ulCdbLength, const uint8_t* pCdb,
                          int nDataIn, uint32_t ulLength, void* pBufferIn,
                          uint32_t ulTimeoutSeconds)
{
    if (pCdb == nullptr || ulCdbLength < 1 || ulCdbLength > 16 ||
        (bBufferedIn && ulLength > kBufferedPassThroughMax) ||
        (ulLength != 0 && pBufferIn == nullptr)) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    bBuffered = bBufferedIn;
    bDataIn = nDataIn == 1;
    pBuffer = pBufferIn;
    ulRequested = ulLength;
    vBlock.assign(bBuffered ? kPassThroughDataOffset + ulLength : kPassThroughDataOffset, 0);

    if (bBuffered) {
        SCSI_PASS_THROUGH header;
        FillHeader(header, ulCdbLength, pCdb, bDataIn, ulLength, ulTimeoutSeconds,
                   kBufferedSenseLength);
        header.DataBufferOffset = kPassThroughDataOffset;
        std::memcpy(vBlock.data(), &header, sizeof(header));
        if (!bDataIn && ulLength != 0)
            std::memcpy(vBlock.data() + kPassThroughDataOffset, pBuffer, ulLength);
    } else {
        SCSI_PASS_THROUGH_DIRECT header;
        FillHeader(header, ulCdbLength, pCdb, bDataIn, ulLength, ulTimeoutSeconds,
                   kDirectSenseLength);
        header.DataBuffer = ulLength != 0 ? pBuffer : nullptr;
        std::memcpy(vBlock.data(), &header, sizeof(header));
    }
    return true;
}

DWORD C_ScsiRequest::GetCode() const
{
    return bBuffered ? IOCTL_SCSI_PASS_THROUGH : IOCTL_SCSI_PASS_THROUGH_DIRECT;
}

uint8_t C_ScsiRequest::GetScsiStatus() const
{
    return vBlock.size() > offsetof(SCSI_PASS_THROUGH, ScsiStatus)
               ? vBlock[offsetof(SCSI_PASS_THROUGH, ScsiStatus)] : 0;
}

uint32_t C_ScsiRequest::GetTransferred() const
{
    ULONG ulMoved = 0;
    if (vBlock.size() >= kPassThroughDataOffset)
        std::memcpy(&ulMoved, vBlock.data() + offsetof(SCSI_PASS_THROUGH, DataTransferLength),
                    sizeof(ulMoved));
    // A driver never moves more than was asked; a larger answer is not believed.
    return ulMoved <= ulRequested ? ulMoved : ulRequested;
}

const uint8_t* C_ScsiRequest::GetSense() const
{
    return vBlock.data() + kPassThroughSenseOffset;
}

void C_ScsiRequest::CopyDataIn()
{
    if (bBuffered && bDataIn && ulRequested != 0)
        std::memcpy(pBuffer, vBlock.data() + kPassThroughDataOffset, GetTransferred());
}
