#ifndef QUENVALE_DEVICE_DISKSIZE_H
#define QUENVALE_DEVICE_DISKSIZE_H

#include <windows.h>

#include <cstdint>

class C_DeviceIo;

// The size and place questions a record opened by a path asks its open
// handle. Each returns 1 with its answer, or 0 (outputs untouched) with the
// thread's last error telling why.

// Block count and block size: IOCTL_DISK_GET_DRIVE_GEOMETRY_EX; else the
// disk or CD-ROM drive geometry; else, with ulKnownBlockSize (512 when 0),
// IOCTL_DISK_GET_LENGTH_INFO; else the end position of the handle (a disk
// image behind a drive letter answers none of the requests).
int ReadDiskSize(C_DeviceIo& io, HANDLE hDevice, uint32_t ulKnownBlockSize,
                 uint64_t& ullBlockCount, uint32_t& ulBlockSize);

// Starting offset and length in bytes of the volume behind the handle:
// IOCTL_DISK_GET_PARTITION_INFO_EX, which MBR and GPT disks answer; only when
// the system does not know that request (Windows 2000 and older answer
// ERROR_INVALID_FUNCTION or ERROR_NOT_SUPPORTED) IOCTL_DISK_GET_PARTITION_INFO
// with exactly 32 bytes, which GPT disks refuse.
int ReadPartitionPlace(C_DeviceIo& io, HANDLE hDevice, int64_t& llStartingOffset,
                       int64_t& llLength);

#endif
