#ifndef QUENVALE_FILEACCESS_IMAGESECTORREADER_H
#define QUENVALE_FILEACCESS_IMAGESECTORREADER_H

#include <cstdint>
#include <fstream>
#include <string>

#include "fileaccess/core/SectorReader.h"

// The sectors of a disc image file (2048 bytes each, the data track from
// sector 0 on, as the usual .iso files hold them).
class C_ImageSectorReader : public I_SectorReader {
public:
    C_ImageSectorReader() = default;
    C_ImageSectorReader(const C_ImageSectorReader&) = delete;
    C_ImageSectorReader& operator=(const C_ImageSectorReader&) = delete;

    // False when the file cannot be opened for reading.
    bool Open(const std::string& strPath);
    // False for a sector that does not lie wholly in the file.
    bool ReadSector(uint32_t ulSector, uint8_t* pBuffer) override;

private:
    std::ifstream file;
};

#endif
