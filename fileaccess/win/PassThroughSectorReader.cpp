#include "fileaccess/win/PassThroughSectorReader.h"

#include <cstring>

#include "device/win/DeviceIo.h"
#include "device/win/ScsiRequest.h"
#include "fileaccess/core/CdfsRequests.h"

C_PassThroughSectorReader::C_PassThroughSectorReader(C_DeviceIo& ioIn, HANDLE hDeviceIn)
    : io(ioIn), hDevice(hDeviceIn)
{
}

bool C_PassThroughSectorReader::Command(const std::array<uint8_t, 12>& cdb, uint8_t* pOut)
{
    if (buffer.Data() == nullptr && !buffer.Allocate(kCdfsTransferLength))
        return false;
    std::memset(buffer.Data(), 0, kCdfsTransferLength);
    C_ScsiRequest request;
    if (!request.Build(false, static_cast<uint32_t>(cdb.size()), cdb.data(), 1, kCdfsTransferLength, buffer.Data(),
                       kCdfsCommandTimeout))
        return false;
    DWORD dwReturned = 0;
    if (!io.Control(hDevice, request.GetCode(), request.GetBlock(), request.GetSize(), request.GetBlock(),
                    request.GetSize(), &dwReturned))
        return false;
    if (request.GetScsiStatus() != 0) {
        ::SetLastError(ERROR_IO_DEVICE);
        return false;
    }
    std::memcpy(pOut, buffer.Data(), kCdfsTransferLength);
    return true;
}

bool C_PassThroughSectorReader::ReadToc(uint8_t* pToc)
{
    return Command(BuildReadTocCdb(), pToc);
}

bool C_PassThroughSectorReader::ReadSector(uint32_t ulSector, uint8_t* pBuffer)
{
    return Command(BuildReadSectorCdb(ulSector), pBuffer);
}
