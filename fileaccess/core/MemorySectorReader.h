#ifndef QUENVALE_FILEACCESS_MEMORYSECTORREADER_H
#define QUENVALE_FILEACCESS_MEMORYSECTORREADER_H

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "fileaccess/core/CdfsRequests.h"
#include "fileaccess/core/SectorReader.h"

// Sectors held in memory, which the caller keeps: the bytes are sectors
// ulFirstSector, ulFirstSector + 1, ... (a last partial sector counts,
// padded with zeros). Sectors outside them cannot be read.
class C_MemorySectorReader : public I_SectorReader {
public:
    C_MemorySectorReader(const uint8_t* pDataIn, size_t nSizeIn, uint32_t ulFirstSectorIn = 0)
        : pData(pDataIn), nSize(nSizeIn), ulFirstSector(ulFirstSectorIn)
    {
    }

    bool ReadSector(uint32_t ulSector, uint8_t* pBuffer) override
    {
        ++ulReads;
        if (ulSector < ulFirstSector)
            return false;
        const uint64_t ullOffset = static_cast<uint64_t>(ulSector - ulFirstSector) * kCdSectorSize;
        if (ullOffset >= nSize)
            return false;
        const size_t nBytes = nSize - ullOffset < kCdSectorSize ? static_cast<size_t>(nSize - ullOffset)
                                                                : kCdSectorSize;
        std::memcpy(pBuffer, pData + ullOffset, nBytes);
        std::memset(pBuffer + nBytes, 0, kCdSectorSize - nBytes);
        return true;
    }

    uint32_t Reads() const { return ulReads; }

private:
    const uint8_t* pData;
    size_t nSize;
    uint32_t ulFirstSector;
    uint32_t ulReads = 0;
};

#endif
