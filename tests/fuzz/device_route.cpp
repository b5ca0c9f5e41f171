// Block transfers with any addresses: a transfer that goes out as READ(10)
// or WRITE(10) must fit the command exactly (no wrapped LBA, no cut count),
// and byte offsets and counts never overflow.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "device/core/BlockRoute.h"
#include "device/core/RudvaneTypes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    if (nSize < 30)
        return 0;
    S_BlockTransfer t;
    std::memcpy(&t.ullLba, pData, 8);
    std::memcpy(&t.ulCount, pData + 8, 4);
    std::memcpy(&t.ulBlockSize, pData + 12, 4);
    std::memcpy(&t.ulMaxBlocks, pData + 16, 4);
    std::memcpy(&t.ullPartitionStart, pData + 20, 8);
    t.ulMediaClass = pData[28] % 9;
    t.bWin9x = (pData[29] & 1) != 0;

    for (E_BlockRoute route : {ChooseReadRoute(t), ChooseWriteRoute(t)}) {
        if (route == BLOCK_ROUTE_CDB10) {
            uint64_t ullAbsolute = 0;
            if (!AbsoluteLba(t, ullAbsolute) || !FitsCdb10(ullAbsolute, t.ulCount))
                std::abort();
        }
        if (route == BLOCK_ROUTE_TAPE && (t.ulMediaClass != RUDVANE_MEDIA_TAPE || t.ulCount > 0xFFFFFF))
            std::abort();
    }
    if (ChooseWriteRoute(t) == BLOCK_ROUTE_CDB10 && t.ulMediaClass != RUDVANE_MEDIA_OPTICAL &&
        !t.bWin9x && (t.ulCount > t.ulMaxBlocks || t.ullLba + t.ullPartitionStart + t.ulCount >= 0xFFFFFFFFull))
        std::abort();

    uint32_t ulBytes = 0;
    if (TransferBytes(t.ulCount, t.ulBlockSize, ulBytes) &&
        static_cast<uint64_t>(ulBytes) != static_cast<uint64_t>(t.ulCount) * t.ulBlockSize)
        std::abort();
    uint64_t ullOffset = 0;
    if (BlockOffset(t.ullLba, t.ulBlockSize, ullOffset) &&
        (ullOffset > static_cast<uint64_t>(INT64_MAX) ||
         (t.ulBlockSize != 0 && ullOffset / t.ulBlockSize != t.ullLba)))
        std::abort();
    return 0;
}
