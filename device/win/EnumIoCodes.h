#ifndef QUENVALE_DEVICE_ENUMIOCODES_H
#define QUENVALE_DEVICE_ENUMIOCODES_H

#include <windows.h>

// Device control codes of the mount manager and of mounted devices
// (METHOD_BUFFERED, FILE_ANY_ACCESS), which not every header set offers.
namespace mount_io {
// On a volume: MOUNTDEV_NAME (16-bit length, then the UTF-16 device name).
constexpr DWORD kQueryDeviceName = (0x4Du << 16) | (2u << 2);
// On "\\.\MountPointManager": MOUNTMGR_MOUNT_POINT in (24 bytes and the
// device name), MOUNTMGR_MOUNT_POINTS out.
constexpr DWORD kQueryPoints = (0x6Du << 16) | (2u << 2);
constexpr char kManagerPath[] = "\\\\.\\MountPointManager";
} // namespace mount_io

#endif
