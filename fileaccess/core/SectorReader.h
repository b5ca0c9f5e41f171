#ifndef QUENVALE_FILEACCESS_SECTORREADER_H
#define QUENVALE_FILEACCESS_SECTORREADER_H

#include <cstdint>

// Where the disc walk reads its 2048-byte sectors from: a drive through
// SCSI pass-through, an image file, or bytes in memory.
class I_SectorReader {
public:
    virtual ~I_SectorReader() = default;
    // Reads sector ulSector into pBuffer (2048 bytes); false when it cannot
    // be read (pBuffer is then undefined).
    virtual bool ReadSector(uint32_t ulSector, uint8_t* pBuffer) = 0;
};

#endif
