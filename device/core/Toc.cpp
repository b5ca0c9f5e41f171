#include "device/core/Toc.h"

#include "device/core/ByteOrder.h"

namespace {

constexpr size_t kDescriptorSize = 11;
constexpr size_t kMaxDataLength = 2046;
constexpr uint8_t kPointLeadOut = 0xA2;
constexpr uint8_t kControlData = 0x4;
constexpr uint32_t kRawSector = 2352;

} // namespace

S_TocCdb BuildReadFullToc(uint16_t wAllocation)
{
    S_TocCdb cdb{};
    cdb.cdb[0] = 0x43;  // READ TOC
    cdb.cdb[1] = 0x02;  // MSF addresses
    cdb.cdb[2] = 0x02;  // format: full TOC
    cdb.cdb[6] = 1;     // from session 1
    cdb.cdb[7] = static_cast<uint8_t>(wAllocation >> 8);
    cdb.cdb[8] = static_cast<uint8_t>(wAllocation);
    return cdb;
}

uint32_t TocBlockOfMsf(uint8_t bMinutes, uint8_t bSeconds, uint8_t bFrames)
{
    const uint32_t ulFrames = bMinutes * 4500u + bSeconds * 75u + bFrames;
    // The first 150 frames lie before the first block; a start there would
    // wrap to a block near 2^32.
    return ulFrames >= 150 ? ulFrames - 150 : 0;
}

std::vector<S_TocTrack> ParseFullToc(const uint8_t* pData, size_t nSize)
{
    std::vector<S_TocTrack> vTracks;
    if (pData == nullptr || nSize < 4)
        return vTracks;
    size_t nLength = static_cast<size_t>(GetBe16(pData));
    if (nLength > kMaxDataLength)
        nLength = kMaxDataLength;
    if (nLength < 2)
        return vTracks;
    size_t nCount = (nLength - 2) / kDescriptorSize;
    const size_t nFit = (nSize - 4) / kDescriptorSize;
    if (nCount > nFit)
        nCount = nFit;
    bool bLeadOut = false;
    uint32_t ulLeadOut = 0;
    for (size_t i = 0; i < nCount; ++i) {
        const uint8_t* p = pData + 4 + i * kDescriptorSize;
        const uint8_t bPoint = p[3];
        if (bPoint == kPointLeadOut) {
            ulLeadOut = TocBlockOfMsf(p[8], p[9], p[10]);
            bLeadOut = true;
        } else if (bPoint >= 1 && bPoint <= 99 && bLeadOut) {
            S_TocTrack track;
            track.ulTrack = bPoint;
            track.ulStart = TocBlockOfMsf(p[8], p[9], p[10]);
            track.ulLeadOut = ulLeadOut;
            track.bData = (p[1] & kControlData) != 0;
            vTracks.push_back(track);
        }
    }
    return vTracks;
}

int32_t TrackRecordNumber(uint32_t ulTrack, int32_t lParentNumber, uint32_t ulParentKind)
{
    uint32_t ulKindIndex = 0;
    while (ulKindIndex < 32 && (ulParentKind >> ulKindIndex) > 1)
        ++ulKindIndex;
    // Track numbers reach 99, so the parent's value steps by 8 * 16 = 128.
    const uint32_t ulParent = static_cast<uint32_t>(lParentNumber) * 32u + ulKindIndex;
    return static_cast<int32_t>(ulTrack + 16u * (8u * ulParent));
}

uint32_t AudioTrackMaxBlocks(uint32_t ulParentMaxBlocks, uint32_t ulParentBlockSize)
{
    const uint64_t ullBlocks =
        static_cast<uint64_t>(ulParentMaxBlocks) * ulParentBlockSize / kRawSector;
    if (ullBlocks <= 1)
        return 1;
    return ullBlocks - 1 > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<uint32_t>(ullBlocks - 1);
}
