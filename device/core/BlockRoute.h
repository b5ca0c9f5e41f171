#ifndef QUENVALE_DEVICE_BLOCKROUTE_H
#define QUENVALE_DEVICE_BLOCKROUTE_H

#include <cstdint>

// How a block transfer of a device opened by a path reaches the device.
enum E_BlockRoute : int {
    BLOCK_ROUTE_REFUSED = 0,  // cannot be addressed: ERROR_INVALID_PARAMETER
    BLOCK_ROUTE_TAPE = 1,     // REWIND at block 0, then READ(6)/WRITE(6)
    BLOCK_ROUTE_CDB10 = 2,    // READ(10)/WRITE(10) at LBA + partition start
    BLOCK_ROUTE_HANDLE = 3,   // ReadFile/WriteFile at LBA * block size
};

struct S_BlockTransfer {
    int32_t ulMediaClass = 0;
    bool bWin9x = false;           // the system is of the Windows 9x family
    uint64_t ullLba = 0;
    uint32_t ulCount = 0;
    uint32_t ulBlockSize = 0;
    uint32_t ulMaxBlocks = 1;
    uint64_t ullPartitionStart = 0;
    // A pass-through command addresses the whole disk: it reaches the
    // record's blocks only on a whole device or on a volume whose partition
    // start is known. Otherwise a write takes the handle of the volume.
    bool bDiskAddressKnown = true;
};

// Reading: tape; on Windows 9x or optical media READ(10); otherwise
// ReadFile. A transfer that does not fit its command is refused instead of
// being sent to a wrapped address.
E_BlockRoute ChooseReadRoute(const S_BlockTransfer& t);

// Writing: tape; WRITE(10) on Windows 9x, on optical media, or when the
// disk address is known, the LBA is below 2^32, the transfer ends below
// block 0xFFFFFFFF on the disk (the partition start included) and count is
// at most ulMaxBlocks and 65535; otherwise WriteFile.
E_BlockRoute ChooseWriteRoute(const S_BlockTransfer& t);

// Whether writing asks the system to clean the disk first: block 0 of a
// whole device (partition start 0), not a tape.
bool NeedsDiskClean(const S_BlockTransfer& t);

// Whether READ(10)/WRITE(10) can carry count blocks from the absolute LBA:
// the 32-bit LBA field and the 16-bit length field.
bool FitsCdb10(uint64_t ullAbsoluteLba, uint32_t ulCount);

// lba + partition start, false when it overflows 64 bits.
bool AbsoluteLba(const S_BlockTransfer& t, uint64_t& ullOut);

// count * block size as a 32-bit byte count; false when it does not fit.
bool TransferBytes(uint32_t ulCount, uint32_t ulBlockSize, uint32_t& ulBytesOut);

// lba * block size as a signed 64-bit file offset; false when it overflows.
bool BlockOffset(uint64_t ullLba, uint32_t ulBlockSize, uint64_t& ullOffsetOut);

#endif
