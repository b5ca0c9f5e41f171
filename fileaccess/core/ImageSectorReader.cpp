#include "fileaccess/core/ImageSectorReader.h"

#include "fileaccess/core/CdfsRequests.h"

bool C_ImageSectorReader::Open(const std::string& strPath)
{
    file.close();
    file.clear();
    file.open(strPath, std::ios::binary);
    return file.is_open();
}

bool C_ImageSectorReader::ReadSector(uint32_t ulSector, uint8_t* pBuffer)
{
    if (!file.is_open())
        return false;
    file.clear();
    file.seekg(static_cast<std::streamoff>(ulSector) * kCdSectorSize);
    file.read(reinterpret_cast<char*>(pBuffer), kCdSectorSize);
    return file.gcount() == static_cast<std::streamsize>(kCdSectorSize);
}
