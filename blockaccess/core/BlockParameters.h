#ifndef QUENVALE_BLOCKACCESS_BLOCKPARAMETERS_H
#define QUENVALE_BLOCKACCESS_BLOCKPARAMETERS_H

#include <cstdint>
#include <string>

// The block parameters of a Block Access run, in block addresses and block
// counts of the device's ulBlockSize. The values are those of a new page.
struct S_BlockParameters {
    uint64_t ullStart = 0;       // first block
    uint64_t ullEnd = 0;         // end block (not accessed in linear mode)
    uint64_t ullBlocks = 1000;   // blocks per access
    uint64_t ullSkip = 0;        // blocks skipped after each linear access
    uint32_t ulCalcEvery = 1;    // accesses per rate group
    uint64_t ullRepeats = 1;     // accesses of a random or seek run
};

// The texts of the page's six parameter boxes.
struct S_BlockBoxTexts {
    std::string strStart;
    std::string strEnd;
    std::string strBlocks;
    std::string strSkip;
    std::string strCalcEvery;
    std::string strRepeats;
};

// What the checks need of the selected device record.
struct S_BlockDevice {
    uint64_t ullFirstBlock = 0;  // first block that tests may use
    uint64_t ullBlockCount = 0;
    uint32_t ulBlockSize = 0;    // bytes
};

// What the page shows after the checks. Start and end are always written
// back when a device is selected; the blocks and calc-every boxes only when
// their value was corrected (bBlocksCorrected, bCalcEveryCorrected), and then
// read "1".
struct S_BlockCheckResult {
    bool bChecked = false;             // false: no device, only the buffer size text is emptied
    std::string strStart;
    std::string strEnd;
    bool bBlocksCorrected = false;
    std::string strBlocks;
    bool bCalcEveryCorrected = false;
    std::string strCalcEvery;
    std::string strBufferSize;         // the "Buffer Size per Access" text; empty without a device
};

// Parses the boxes into parameters and clamps them to the device, as the
// page does at start, on each device selection, on every change of the
// blocks-per-access box and before each run.
//
// Without a device (null) nothing is parsed and only the buffer size text
// is emptied. Otherwise each box is read as scanf reads "%I64u" (calc-every
// "%u": the low 32 bits): white space first, an optional sign, digits up to
// the first other character. A box without a number keeps the parameter's
// previous value, except blocks per access, which then reads 0. Blocks and
// calc-every of 0 become 1. Then, in this order: a start below the device's
// first block becomes the first block; an end not above the start becomes
// start + 1 (the largest address stays the largest); an end above the block
// count becomes the block count; a start not below the end becomes the end.
//
// params holds the previous values on entry and the checked ones on return.
S_BlockCheckResult ReadAndCheckValues(const S_BlockBoxTexts& texts, const S_BlockDevice* pDevice,
                                      S_BlockParameters& params);

// The buffer size text of ullBlocks blocks of ulBlockSize bytes: up to 10239
// bytes "<n> Byte", then up to 10239 kByte "<n> kByte", else "<n> MByte"
// (whole units, truncated), each followed by 's', or by a blank when n is 1:
// "9728 Bytes", "1 Byte ", "10 kBytes", "20 MBytes". A product beyond
// 64 bits shows the largest count.
std::string BufferSizeText(uint64_t ullBlocks, uint32_t ulBlockSize);

// A block number as the boxes show it ("%I64u").
std::string BlockNumberText(uint64_t ullValue);

// The bytes of one access's buffer, as one transfer moves them: false when
// the count or the product does not fit in 32 bits, or either is 0 (the run
// then allocates nothing and makes no access).
bool AccessBufferBytes(uint64_t ullBlocks, uint32_t ulBlockSize, uint32_t& ulBytesOut);

#endif
