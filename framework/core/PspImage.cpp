#include "framework/core/PspImage.h"

#include <cstring>

namespace {

constexpr size_t kHeaderSize = 36;             // signature and version
constexpr size_t kBlockHeaderSize = 10;        // marker, id, length
constexpr size_t kAttributesSize = 42;         // general attributes, up to the layer count
constexpr size_t kChannelChunkSize = 16;       // size, two lengths, bitmap and channel type
constexpr uint32_t kBlockMarker = 0x004B427E;  // "~BK\0"

enum : uint16_t {
    BLOCK_ATTRIBUTES = 0,
    BLOCK_LAYER_START = 3,
    BLOCK_LAYER = 4,
    BLOCK_CHANNEL = 5,
};

enum : uint16_t {
    COMPRESSION_NONE = 0,
    COMPRESSION_RLE = 1,
};

constexpr int kChannels = 4;

// Bounds-checked little-endian reads; every read fails past the end.
class C_Bytes {
public:
    C_Bytes(const uint8_t* pDataIn, size_t nSizeIn) : pData(pDataIn), nSize(nSizeIn) {}

    bool Has(size_t nAt, size_t nLength) const { return nAt <= nSize && nSize - nAt >= nLength; }
    bool U8(size_t nAt, uint8_t* pValue) const
    {
        if (!Has(nAt, 1))
            return false;
        *pValue = pData[nAt];
        return true;
    }
    bool U16(size_t nAt, uint16_t* pValue) const
    {
        if (!Has(nAt, 2))
            return false;
        *pValue = static_cast<uint16_t>(pData[nAt] | pData[nAt + 1] << 8);
        return true;
    }
    bool U32(size_t nAt, uint32_t* pValue) const
    {
        if (!Has(nAt, 4))
            return false;
        *pValue = static_cast<uint32_t>(pData[nAt]) | static_cast<uint32_t>(pData[nAt + 1]) << 8 |
                  static_cast<uint32_t>(pData[nAt + 2]) << 16 |
                  static_cast<uint32_t>(pData[nAt + 3]) << 24;
        return true;
    }
    bool I32(size_t nAt, int32_t* pValue) const
    {
        uint32_t ul = 0;
        if (!U32(nAt, &ul))
            return false;
        std::memcpy(pValue, &ul, sizeof(ul));
        return true;
    }
    const uint8_t* At(size_t nAt) const { return pData + nAt; }

private:
    const uint8_t* pData;
    size_t nSize;
};

// One block: its id and where its data lies.
struct S_Block {
    uint16_t wId = 0;
    size_t nData = 0;
    size_t nLength = 0;
    size_t End() const { return nData + nLength; }
};

// Reads the block header at nAt; the block must lie wholly before nEnd
// (the end of the file or of the block that holds it).
bool ReadBlock(const C_Bytes& bytes, size_t nAt, size_t nEnd, S_Block* pBlock)
{
    uint32_t ulMarker = 0;
    uint32_t ulLength = 0;
    if (nAt > nEnd || nEnd - nAt < kBlockHeaderSize || !bytes.U32(nAt, &ulMarker) ||
        ulMarker != kBlockMarker || !bytes.U16(nAt + 4, &pBlock->wId) ||
        !bytes.U32(nAt + 6, &ulLength))
        return false;
    pBlock->nData = nAt + kBlockHeaderSize;
    if (ulLength > nEnd - pBlock->nData)
        return false;
    pBlock->nLength = ulLength;
    return true;
}

struct S_Channel {
    const uint8_t* pData = nullptr;
    size_t nLength = 0;
    uint16_t wType = 0;     // 0 alpha, 1 red, 2 green, 3 blue
};

// Whether nLength bytes of channel data can give nPixels bytes at all.
bool CanFill(size_t nLength, uint16_t wCompression, size_t nPixels)
{
    if (wCompression == COMPRESSION_NONE)
        return nLength >= nPixels;
    // At best every two bytes give a run of 127.
    return static_cast<uint64_t>(nLength / 2) * 127 >= nPixels;
}

// Run-length data: a byte c above 128 repeats the next byte c - 128 times,
// a byte below 128 is followed by c bytes to copy, 128 stands for nothing.
// Exactly nOut bytes must come out; a run past them or data that ends early
// is refused.
bool DecodeRunLength(const uint8_t* pIn, size_t nIn, uint8_t* pOut, size_t nOut)
{
    size_t nRead = 0;
    size_t nDone = 0;
    while (nDone < nOut) {
        if (nRead >= nIn)
            return false;
        const uint8_t c = pIn[nRead++];
        if (c > 128) {
            const size_t nRun = c - 128u;
            if (nRead >= nIn || nRun > nOut - nDone)
                return false;
            std::memset(pOut + nDone, pIn[nRead++], nRun);
            nDone += nRun;
        } else if (c < 128) {
            if (c > nIn - nRead || c > nOut - nDone)
                return false;
            std::memcpy(pOut + nDone, pIn + nRead, c);
            nRead += c;
            nDone += c;
        }
    }
    return true;
}

bool CheckHeader(const C_Bytes& bytes)
{
    static const char kSignature[] = "Paint Shop Pro Image File\n\x1a";   // then five zero bytes
    if (!bytes.Has(0, kHeaderSize) || std::memcmp(bytes.At(0), kSignature, 27) != 0)
        return false;
    for (size_t n = 27; n < 32; ++n)
        if (*bytes.At(n) != 0)
            return false;
    uint16_t wMajor = 0;
    return bytes.U16(32, &wMajor) && wMajor > 3;
}

// The general attributes block at offset 36; gives the compression and the
// offset of the next block.
bool ReadAttributes(const C_Bytes& bytes, size_t nSize, uint16_t* pwCompression, size_t* pnNext)
{
    S_Block block;
    if (!ReadBlock(bytes, kHeaderSize, nSize, &block) || block.wId != BLOCK_ATTRIBUTES ||
        block.nLength < kAttributesSize)
        return false;
    // Offsets within the block's data.
    uint16_t wCompression = 0, wBitDepth = 0, wPlanes = 0, wLayers = 0;
    if (!bytes.U16(block.nData + 21, &wCompression) || !bytes.U16(block.nData + 23, &wBitDepth) ||
        !bytes.U16(block.nData + 25, &wPlanes) || !bytes.U16(block.nData + 40, &wLayers))
        return false;
    if ((wCompression != COMPRESSION_NONE && wCompression != COMPRESSION_RLE) || wBitDepth != 24 ||
        wPlanes != 1 || wLayers != 1)
        return false;
    *pwCompression = wCompression;
    *pnNext = block.End();
    return true;
}

// The layer block: its size from the saved image rectangle, and the four
// channel blocks that follow its two chunks.
bool ReadLayer(const C_Bytes& bytes, const S_Block& layer, uint16_t wCompression,
               uint32_t* pulWidth, uint32_t* pulHeight, S_Channel aChannels[kChannels])
{
    const size_t nEnd = layer.End();
    uint32_t ulInfoSize = 0;
    uint16_t wNameLength = 0;
    if (!bytes.U32(layer.nData, &ulInfoSize) || !bytes.U16(layer.nData + 4, &wNameLength))
        return false;
    // Name, layer type (1 byte), image rectangle (16), saved image rectangle (16).
    const size_t nSaved = layer.nData + 6 + wNameLength + 1 + 16;
    if (ulInfoSize < nSaved + 16 - layer.nData || ulInfoSize > nEnd - layer.nData)
        return false;
    int32_t lLeft = 0, lTop = 0, lRight = 0, lBottom = 0;
    if (!bytes.I32(nSaved, &lLeft) || !bytes.I32(nSaved + 4, &lTop) ||
        !bytes.I32(nSaved + 8, &lRight) || !bytes.I32(nSaved + 12, &lBottom))
        return false;
    const int64_t llWidth = static_cast<int64_t>(lRight) - lLeft;
    const int64_t llHeight = static_cast<int64_t>(lBottom) - lTop;
    if (llWidth < 1 || llHeight < 1 || llWidth > C_PspImage::kMaxSide ||
        llHeight > C_PspImage::kMaxSide ||
        llWidth * llHeight > static_cast<int64_t>(C_PspImage::kMaxPixels))
        return false;
    const size_t nPixels = static_cast<size_t>(llWidth * llHeight);

    // The bitmap chunk: its size, the bitmap count and the channel count.
    const size_t nBitmap = layer.nData + ulInfoSize;
    uint32_t ulBitmapSize = 0;
    uint16_t wChannelCount = 0;
    if (!bytes.U32(nBitmap, &ulBitmapSize) || !bytes.U16(nBitmap + 6, &wChannelCount) ||
        ulBitmapSize < 8 || ulBitmapSize > nEnd - nBitmap || wChannelCount != kChannels)
        return false;

    size_t nAt = nBitmap + ulBitmapSize;
    for (int i = 0; i < kChannels; ++i) {
        S_Block channel;
        uint32_t ulChunkSize = 0, ulCompressed = 0;
        uint16_t wType = 0;
        if (!ReadBlock(bytes, nAt, nEnd, &channel) || channel.wId != BLOCK_CHANNEL ||
            !bytes.U32(channel.nData, &ulChunkSize) || !bytes.U32(channel.nData + 4, &ulCompressed) ||
            !bytes.U16(channel.nData + 14, &wType))
            return false;
        if (ulChunkSize < kChannelChunkSize || ulChunkSize > channel.nLength ||
            ulCompressed > channel.nLength - ulChunkSize || wType > 3 ||
            !CanFill(ulCompressed, wCompression, nPixels))
            return false;
        aChannels[i].pData = bytes.At(channel.nData + ulChunkSize);
        aChannels[i].nLength = ulCompressed;
        aChannels[i].wType = wType;
        nAt = channel.End();
    }
    *pulWidth = static_cast<uint32_t>(llWidth);
    *pulHeight = static_cast<uint32_t>(llHeight);
    return true;
}

} // namespace

bool C_PspImage::Read(const uint8_t* pData, size_t nSize)
{
    if (pData == nullptr)
        return false;
    const C_Bytes bytes(pData, nSize);
    uint16_t wCompression = 0;
    size_t nAt = 0;
    if (!CheckHeader(bytes) || !ReadAttributes(bytes, nSize, &wCompression, &nAt))
        return false;

    // Up to the first layer start; it must begin with the layer block.
    S_Block block;
    do {
        if (!ReadBlock(bytes, nAt, nSize, &block))
            return false;
        nAt = block.End();
    } while (block.wId != BLOCK_LAYER_START);
    S_Block layer;
    if (!ReadBlock(bytes, block.nData, block.End(), &layer) || layer.wId != BLOCK_LAYER)
        return false;

    uint32_t ulNewWidth = 0, ulNewHeight = 0;
    S_Channel aChannels[kChannels];
    if (!ReadLayer(bytes, layer, wCompression, &ulNewWidth, &ulNewHeight, aChannels))
        return false;

    // Only now, with the data known to be there, is anything allocated.
    const size_t nPixels = static_cast<size_t>(ulNewWidth) * ulNewHeight;
    std::vector<uint8_t> vNew(nPixels * 4, 0);
    std::vector<uint8_t> vPlane;
    for (const S_Channel& channel : aChannels) {
        const uint8_t* pPlane = channel.pData;
        if (wCompression == COMPRESSION_RLE) {
            vPlane.resize(nPixels);
            if (!DecodeRunLength(channel.pData, channel.nLength, vPlane.data(), nPixels))
                return false;
            pPlane = vPlane.data();
        }
        // Alpha goes to byte 3, red 2, green 1, blue 0.
        uint8_t* pOut = vNew.data() + (3 - channel.wType);
        for (size_t n = 0; n < nPixels; ++n)
            pOut[n * 4] = pPlane[n];
    }
    for (size_t n = 0; n < nPixels * 4; n += 4) {
        const unsigned uAlpha = vNew[n + 3];
        for (size_t c = 0; c < 3; ++c)
            vNew[n + c] = static_cast<uint8_t>(vNew[n + c] * uAlpha / 255);
    }

    ulWidth = ulNewWidth;
    ulHeight = ulNewHeight;
    vPixels.swap(vNew);
    return true;
}
