#include "fileaccess/core/CdfsRequests.h"

#include "device/core/ByteOrder.h"
#include "device/core/ScsiCdb.h"

std::array<uint8_t, 12> BuildReadTocCdb()
{
    std::array<uint8_t, 12> cdb{};
    cdb[0] = SCSI_READ_TOC;
    PutBe16(&cdb[7], kCdfsTransferLength);
    return cdb;
}

std::array<uint8_t, 12> BuildReadSectorCdb(uint32_t ulSector)
{
    return BuildRead10(ulSector, 1);
}

bool ChooseDataTrackStart(const uint8_t* pToc, size_t nSize, uint32_t& ulStartOut)
{
    if (pToc == nullptr || nSize < 4)
        return false;
    const unsigned nFirst = pToc[2];
    for (unsigned n = pToc[3]; n >= nFirst && n >= 1; --n) {
        const size_t nOffset = 4 + 8 * static_cast<size_t>(n - 1);
        if (nOffset + 8 > nSize)
            continue;
        if (pToc[nOffset + 1] & 0x04) {
            ulStartOut = GetBe32(pToc + nOffset + 4);
            return true;
        }
    }
    return false;
}
