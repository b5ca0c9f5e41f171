#ifndef QUENVALE_FILEACCESS_PASSTHROUGHSECTORREADER_H
#define QUENVALE_FILEACCESS_PASSTHROUGHSECTORREADER_H

#include <windows.h>

#include <array>
#include <cstdint>

#include "fileaccess/core/SectorReader.h"
#include "framework/win/TransferBuffer.h"

class C_DeviceIo;

// The sectors of an optical drive through SCSI pass-through (the direct
// form, 5-second commands), on a device handle that the caller opened and
// closes. A command succeeds when the device control call succeeds and the
// SCSI status is GOOD.
class C_PassThroughSectorReader : public I_SectorReader {
public:
    C_PassThroughSectorReader(C_DeviceIo& ioIn, HANDLE hDeviceIn);
    C_PassThroughSectorReader(const C_PassThroughSectorReader&) = delete;
    C_PassThroughSectorReader& operator=(const C_PassThroughSectorReader&) = delete;

    // READ TOC (format 0) into pToc (2048 bytes; what the drive does not
    // fill stays zero).
    bool ReadToc(uint8_t* pToc);
    // READ(10) of one 2048-byte sector.
    bool ReadSector(uint32_t ulSector, uint8_t* pBuffer) override;

private:
    bool Command(const std::array<uint8_t, 12>& cdb, uint8_t* pOut);

    C_DeviceIo& io;
    HANDLE hDevice;
    // Adapters that move data directly want an aligned buffer.
    C_TransferBuffer buffer;
};

#endif
