#ifndef QUENVALE_DEVICE_IOCODES_H
#define QUENVALE_DEVICE_IOCODES_H

// Device control codes and request layouts of the storage drivers, with the
// few that some headers lack.

#include <windows.h>
#include <winioctl.h>
#include <ntddscsi.h>

#include <cstddef>

#ifndef IOCTL_SCSI_MINIPORT_IDENTIFY
#define IOCTL_SCSI_MINIPORT_IDENTIFY 0x001B0501  // FILE_DEVICE_SCSI << 16 | 0x0501
#endif
#ifndef IOCTL_CDROM_GET_DRIVE_GEOMETRY
#define IOCTL_CDROM_GET_DRIVE_GEOMETRY \
    CTL_CODE(FILE_DEVICE_CD_ROM, 0x0013, METHOD_BUFFERED, FILE_READ_ACCESS)
#endif
#ifndef IOCTL_IDE_PASS_THROUGH
#define IOCTL_IDE_PASS_THROUGH \
    CTL_CODE(IOCTL_SCSI_BASE, 0x040a, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS)
#endif
#ifndef ATA_FLAGS_DRDY_REQUIRED
#define ATA_FLAGS_DRDY_REQUIRED 0x01
#define ATA_FLAGS_DATA_IN 0x02
#define ATA_FLAGS_DATA_OUT 0x04
#endif

// Request block of IOCTL_IDE_PASS_THROUGH: the task-file registers, the
// data length and the data.
struct S_IdePassThroughHeader {
    UCHAR IdeReg[8];
    ULONG DataBufferSize;
};
constexpr size_t kIdePassThroughHeader = sizeof(S_IdePassThroughHeader);
static_assert(kIdePassThroughHeader == 12, "IDE pass-through header is 12 bytes");

// Offsets of the SCSI pass-through block: the header, the sense area (24
// bytes in the buffered form, 32 in the direct one) and, in the buffered
// form, the data. The 32-bit header is 44 bytes, so sense and data lie at 48
// and 80; the 64-bit header is 56 bytes and moves both by 8.
constexpr size_t kPassThroughSenseOffset =
    ((sizeof(SCSI_PASS_THROUGH) + 7) & ~static_cast<size_t>(7)) < 48
        ? 48 : ((sizeof(SCSI_PASS_THROUGH) + 7) & ~static_cast<size_t>(7));
constexpr size_t kPassThroughDataOffset = kPassThroughSenseOffset + 32;
constexpr size_t kBufferedSenseLength = 24;
constexpr size_t kDirectSenseLength = 32;
static_assert(sizeof(SCSI_PASS_THROUGH) <= kPassThroughSenseOffset, "header fits before sense");
static_assert(sizeof(SCSI_PASS_THROUGH_DIRECT) <= kPassThroughSenseOffset, "header fits");

// Header sizes of the SMART requests (packed structures with a one-byte
// buffer at their end).
constexpr size_t kSmartInHeader = sizeof(SENDCMDINPARAMS) - 1;
constexpr size_t kSmartOutHeader = sizeof(SENDCMDOUTPARAMS) - 1;

#endif
