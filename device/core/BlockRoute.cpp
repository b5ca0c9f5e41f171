#include "device/core/BlockRoute.h"

#include <cstdint>

#include "device/core/RudvaneTypes.h"

namespace {

constexpr uint32_t kTapeMaxBlocks = 0xFFFFFF;  // 24-bit length of READ(6)

bool IsTape(const S_BlockTransfer& t)
{
    return t.ulMediaClass == RUDVANE_MEDIA_TAPE;
}

bool IsCdb10Forced(const S_BlockTransfer& t)
{
    return t.bWin9x || t.ulMediaClass == RUDVANE_MEDIA_OPTICAL;
}

E_BlockRoute Cdb10OrRefused(const S_BlockTransfer& t)
{
    uint64_t ullAbsolute = 0;
    if (!AbsoluteLba(t, ullAbsolute) || !FitsCdb10(ullAbsolute, t.ulCount))
        return BLOCK_ROUTE_REFUSED;
    return BLOCK_ROUTE_CDB10;
}

} // namespace

bool AbsoluteLba(const S_BlockTransfer& t, uint64_t& ullOut)
{
    if (t.ullLba > UINT64_MAX - t.ullPartitionStart)
        return false;
    ullOut = t.ullLba + t.ullPartitionStart;
    return true;
}

bool FitsCdb10(uint64_t ullAbsoluteLba, uint32_t ulCount)
{
    return ulCount <= 0xFFFF && ullAbsoluteLba <= 0xFFFFFFFFull &&
           ullAbsoluteLba + ulCount <= 0x100000000ull;
}

E_BlockRoute ChooseReadRoute(const S_BlockTransfer& t)
{
    if (IsTape(t))
        return t.ulCount <= kTapeMaxBlocks ? BLOCK_ROUTE_TAPE : BLOCK_ROUTE_REFUSED;
    if (IsCdb10Forced(t))
        return Cdb10OrRefused(t);
    return BLOCK_ROUTE_HANDLE;
}

E_BlockRoute ChooseWriteRoute(const S_BlockTransfer& t)
{
    if (IsTape(t))
        return t.ulCount <= kTapeMaxBlocks ? BLOCK_ROUTE_TAPE : BLOCK_ROUTE_REFUSED;
    if (IsCdb10Forced(t))
        return Cdb10OrRefused(t);
    uint64_t ullAbsolute = 0;
    // The pass-through write addresses the whole disk, so the partition
    // start counts: a volume far out on a large disk must not wrap around
    // to the disk's first blocks.
    if (t.bDiskAddressKnown && t.ullLba < 0x100000000ull && AbsoluteLba(t, ullAbsolute) &&
        ullAbsolute < 0xFFFFFFFFull && t.ulCount < 0xFFFFFFFFull - ullAbsolute &&
        t.ulCount <= t.ulMaxBlocks && t.ulCount <= 0xFFFF)
        return BLOCK_ROUTE_CDB10;
    return BLOCK_ROUTE_HANDLE;
}

bool NeedsDiskClean(const S_BlockTransfer& t)
{
    return !IsTape(t) && t.ullLba == 0 && t.ullPartitionStart == 0;
}

bool TransferBytes(uint32_t ulCount, uint32_t ulBlockSize, uint32_t& ulBytesOut)
{
    const uint64_t ullBytes = static_cast<uint64_t>(ulCount) * ulBlockSize;
    if (ullBytes > 0xFFFFFFFFull)
        return false;
    ulBytesOut = static_cast<uint32_t>(ullBytes);
    return true;
}

bool BlockOffset(uint64_t ullLba, uint32_t ulBlockSize, uint64_t& ullOffsetOut)
{
    if (ulBlockSize != 0 && ullLba > static_cast<uint64_t>(INT64_MAX) / ulBlockSize)
        return false;
    ullOffsetOut = ullLba * ulBlockSize;
    return true;
}
