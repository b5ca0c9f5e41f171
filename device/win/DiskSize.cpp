#include "device/win/DiskSize.h"

#include <cstddef>
#include <cstring>

#include "device/win/DeviceIo.h"
#include "device/win/IoCodes.h"
#include "device/win/KeepError.h"

namespace {

constexpr DWORD kOldPartitionInfoSize = 32;

bool Geometry(C_DeviceIo& io, HANDLE h, uint64_t& ullCount, uint32_t& ulSize)
{
    union {
        DISK_GEOMETRY_EX geometryEx;
        uint8_t bytes[256];
    } ex;
    std::memset(&ex, 0, sizeof(ex));
    DWORD dwReturned = 0;
    if (io.Control(h, IOCTL_DISK_GET_DRIVE_GEOMETRY_EX, nullptr, 0, &ex, sizeof(ex), &dwReturned) &&
        dwReturned >= offsetof(DISK_GEOMETRY_EX, Data)) {
        const DWORD dwSector = ex.geometryEx.Geometry.BytesPerSector;
        const uint64_t ullBlocks = dwSector != 0
            ? static_cast<uint64_t>(ex.geometryEx.DiskSize.QuadPart) / dwSector : 0;
        if (ullBlocks != 0) {
            ulSize = dwSector;
            ullCount = ullBlocks;
            return true;
        }
    }
    for (DWORD dwCode : {static_cast<DWORD>(IOCTL_DISK_GET_DRIVE_GEOMETRY),
                         static_cast<DWORD>(IOCTL_CDROM_GET_DRIVE_GEOMETRY)}) {
        DISK_GEOMETRY geometry;
        std::memset(&geometry, 0, sizeof(geometry));
        if (!io.Control(h, dwCode, nullptr, 0, &geometry, sizeof(geometry), &dwReturned) ||
            dwReturned < sizeof(geometry))
            continue;
        const uint64_t ullBlocks = static_cast<uint64_t>(geometry.Cylinders.QuadPart) *
                                   geometry.TracksPerCylinder * geometry.SectorsPerTrack;
        if (ullBlocks != 0 && geometry.BytesPerSector != 0) {
            ulSize = geometry.BytesPerSector;
            ullCount = ullBlocks;
            return true;
        }
    }
    return false;
}

} // namespace

int ReadDiskSize(C_DeviceIo& io, HANDLE hDevice, uint32_t ulKnownBlockSize,
                 uint64_t& ullBlockCount, uint32_t& ulBlockSize)
{
    if (Geometry(io, hDevice, ullBlockCount, ulBlockSize))
        return 1;
    // Devices that report no geometry still have a length, or at least an end.
    const uint32_t ulSize = ulKnownBlockSize != 0 ? ulKnownBlockSize : 512;
    GET_LENGTH_INFORMATION length;
    std::memset(&length, 0, sizeof(length));
    DWORD dwReturned = 0;
    if (io.Control(hDevice, IOCTL_DISK_GET_LENGTH_INFO, nullptr, 0, &length, sizeof(length),
                   &dwReturned) &&
        dwReturned >= sizeof(length) && length.Length.QuadPart / ulSize != 0) {
        ulBlockSize = ulSize;
        ullBlockCount = static_cast<uint64_t>(length.Length.QuadPart) / ulSize;
        return 1;
    }
    uint64_t ullEnd = 0;
    if (io.GetEnd(hDevice, &ullEnd) && ullEnd / ulSize != 0) {
        ulBlockSize = ulSize;
        ullBlockCount = ullEnd / ulSize;
        return 1;
    }
    return Fail(ERROR_NOT_SUPPORTED);
}

int ReadPartitionPlace(C_DeviceIo& io, HANDLE hDevice, int64_t& llStartingOffset,
                       int64_t& llLength)
{
    PARTITION_INFORMATION_EX infoEx;
    std::memset(&infoEx, 0, sizeof(infoEx));
    DWORD dwReturned = 0;
    if (io.Control(hDevice, IOCTL_DISK_GET_PARTITION_INFO_EX, nullptr, 0, &infoEx,
                   sizeof(infoEx), &dwReturned)) {
        if (dwReturned < offsetof(PARTITION_INFORMATION_EX, PartitionNumber))
            return Fail(ERROR_INVALID_DATA);
        llStartingOffset = infoEx.StartingOffset.QuadPart;
        llLength = infoEx.PartitionLength.QuadPart;
        return 1;
    }
    const DWORD dwError = ::GetLastError();
    if (dwError != ERROR_INVALID_FUNCTION && dwError != ERROR_NOT_SUPPORTED)
        return 0;
    PARTITION_INFORMATION info;
    std::memset(&info, 0, sizeof(info));
    if (!io.Control(hDevice, IOCTL_DISK_GET_PARTITION_INFO, nullptr, 0, &info, sizeof(info),
                    &dwReturned))
        return 0;
    if (dwReturned != kOldPartitionInfoSize)
        return Fail(ERROR_INVALID_DATA);
    llStartingOffset = info.StartingOffset.QuadPart;
    llLength = info.PartitionLength.QuadPart;
    return 1;
}
