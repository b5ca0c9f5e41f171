#include "device/core/ScsiSense.h"

#include "device/core/RudvaneTypes.h"

S_SenseInfo ParseSense(const uint8_t* pSense, size_t nLength)
{
    S_SenseInfo info;
    if (pSense == nullptr || nLength < 1)
        return info;
    const uint8_t bCode = pSense[0] & 0x7F;
    if (bCode == 0x70 || bCode == 0x71) {
        if (nLength < 3)
            return info;
        info.bKey = pSense[2] & 0x0F;
        // The additional codes exist only when the device sent them.
        if (nLength >= 14) {
            info.bAsc = pSense[12];
            info.bAscq = pSense[13];
        }
        info.bValid = true;
    } else if (bCode == 0x72 || bCode == 0x73) {
        if (nLength < 4)
            return info;
        info.bDescriptor = true;
        info.bKey = pSense[1] & 0x0F;
        info.bAsc = pSense[2];
        info.bAscq = pSense[3];
        info.bValid = true;
    }
    return info;
}

uint32_t ScsiFailureToWin32Error(uint8_t bScsiStatus, const S_SenseInfo& sense)
{
    if (bScsiStatus == SCSI_STATUS_BUSY || bScsiStatus == SCSI_STATUS_RESERVATION_CONFLICT)
        return rudvane_error::kBusy;
    if (!sense.bValid)
        return rudvane_error::kIoDevice;
    switch (sense.bKey) {
    case SENSE_NOT_READY:
        return rudvane_error::kNotReady;
    case SENSE_MEDIUM_ERROR:
        return rudvane_error::kCrc;
    case SENSE_ILLEGAL_REQUEST:
        // LOGICAL BLOCK ADDRESS OUT OF RANGE
        return sense.bAsc == 0x21 ? rudvane_error::kSectorNotFound
                                  : rudvane_error::kInvalidFunction;
    case SENSE_UNIT_ATTENTION:
        return rudvane_error::kMediaChanged;
    case SENSE_DATA_PROTECT:
        return rudvane_error::kWriteProtect;
    default:
        return rudvane_error::kIoDevice;
    }
}

bool ParseAtaStatusReturn(const uint8_t* pSense, size_t nLength, S_AtaTaskFile& regsOut)
{
    const S_SenseInfo info = ParseSense(pSense, nLength);
    if (!info.bValid)
        return false;
    if (info.bDescriptor) {
        // Descriptors follow the 8-byte header; byte 7 gives their length.
        if (nLength < 8)
            return false;
        size_t nEnd = 8 + static_cast<size_t>(pSense[7]);
        if (nEnd > nLength)
            nEnd = nLength;
        size_t nPos = 8;
        while (nPos + 2 <= nEnd) {
            const uint8_t bType = pSense[nPos];
            const size_t nSize = 2 + static_cast<size_t>(pSense[nPos + 1]);
            if (nPos + nSize > nEnd)
                return false;  // a descriptor longer than the data sent
            if (bType == 0x09 && nSize >= 14) {
                const uint8_t* d = pSense + nPos;
                regsOut.bFeatures = d[3];     // error
                regsOut.bSectorCount = d[5];
                regsOut.bLbaLow = d[7];
                regsOut.bLbaMid = d[9];
                regsOut.bLbaHigh = d[11];
                regsOut.bDevice = d[12];
                regsOut.bCommand = d[13];     // status
                return true;
            }
            nPos += nSize;
        }
        return false;
    }
    // Fixed format: ATA PASS-THROUGH INFORMATION AVAILABLE.
    if (nLength < 14 || info.bAsc != 0x00 || info.bAscq != 0x1D)
        return false;
    regsOut.bFeatures = pSense[3];
    regsOut.bCommand = pSense[4];
    regsOut.bDevice = pSense[5];
    regsOut.bSectorCount = pSense[6];
    regsOut.bLbaLow = pSense[9];
    regsOut.bLbaMid = pSense[10];
    regsOut.bLbaHigh = pSense[11];
    return true;
}
