#ifndef QUENVALE_DEVICE_TOC_H
#define QUENVALE_DEVICE_TOC_H

#include <cstddef>
#include <cstdint>
#include <vector>

// The full table of contents of a disc (READ TOC format 2): a 2-byte
// big-endian data length, first and last session, then 11-byte descriptors
// (session, ADR/control, TNO, point, min, sec, frame, zero, pmin, psec,
// pframe).

// Bytes asked for with READ TOC.
constexpr uint32_t kFullTocLength = 2048;

// READ TOC with format 2 (full TOC), addresses as minutes, seconds, frames.
// 10-byte CDB.
struct S_TocCdb {
    uint8_t cdb[10];
};
S_TocCdb BuildReadFullToc(uint16_t wAllocation = kFullTocLength);

// One track of the disc: where it starts, the lead-out block of its session
// (the block count its record takes) and whether it holds data (control bit
// 0x4) or audio.
struct S_TocTrack {
    uint32_t ulTrack = 0;
    uint32_t ulStart = 0;
    uint32_t ulLeadOut = 0;
    bool bData = false;
};

// Block of a minutes, seconds, frames address: m * 4500 + s * 75 + f - 150.
// Addresses below 0:2:0 (the first block) give 0.
uint32_t TocBlockOfMsf(uint8_t bMinutes, uint8_t bSeconds, uint8_t bFrames);

// The tracks of a full TOC in descriptor order. Descriptors are read while
// they fit both in the data length (at most 2046) and in nSize; a lead-out
// descriptor (point 0xA2) sets the current lead-out block; a descriptor with
// point 1 to 99 gives a track only when a lead-out was seen before it.
std::vector<S_TocTrack> ParseFullToc(const uint8_t* pData, size_t nSize);

// Number of a track record: the track number plus 16 times a value unique to
// the parent record (its number and kind), which keeps the tracks of one
// parent apart from another's for every parent number below 2^20 (the
// numbers of the Block Access passes).
int32_t TrackRecordNumber(uint32_t ulTrack, int32_t lParentNumber, uint32_t ulParentKind);

// Transfer limit of an audio track in 2352-byte blocks: the parent's limit
// in bytes / 2352, minus 1, at least 1.
uint32_t AudioTrackMaxBlocks(uint32_t ulParentMaxBlocks, uint32_t ulParentBlockSize);

#endif
