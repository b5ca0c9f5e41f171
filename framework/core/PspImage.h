#ifndef QUENVALE_FRAMEWORK_PSPIMAGE_H
#define QUENVALE_FRAMEWORK_PSPIMAGE_H

#include <cstddef>
#include <cstdint>
#include <vector>

// A picture in the one layout of the Paint Shop Pro image format that the
// splash window uses, read from bytes in memory:
//
//   header      32-byte signature, major version (above 3), minor version
//   block 0     general attributes: 24-bit colour, one plane, one layer,
//               compression 0 (none) or 1 (run-length)
//   ...         other blocks before the first layer-start block are skipped
//   block 3     layer start, holding at once
//     block 4   the layer: its information chunk (the saved image rectangle
//               gives the size), its bitmap chunk (four channels), then
//     block 5   four times: one channel (alpha, red, green or blue) of
//               width x height bytes, top row first
//
// Every block is the marker "~BK\0", a 16-bit id and the 32-bit length of the
// data that follows; numbers are little-endian. Anything else is refused.
// The reader never reads outside the given bytes, and it allocates nothing
// before the channel data present could fill the picture, so a hostile
// header cannot make it claim more than about 64 bytes per byte of input.
class C_PspImage {
public:
    // Largest picture accepted: each side, and the pixel count.
    static constexpr uint32_t kMaxSide = 8192;
    static constexpr uint32_t kMaxPixels = 16u * 1024 * 1024;

    // Reads a picture from nSize bytes at pData. On success the object holds
    // it; on refusal the result is false and the object is left as it was.
    bool Read(const uint8_t* pData, size_t nSize);

    uint32_t GetWidth() const { return ulWidth; }
    uint32_t GetHeight() const { return ulHeight; }
    // Four bytes per pixel (blue, green, red, alpha), the colours
    // premultiplied by alpha (colour * alpha / 255, rounded down); the top
    // row first, width * 4 bytes per row without padding.
    const std::vector<uint8_t>& GetPixels() const { return vPixels; }
    bool IsEmpty() const { return vPixels.empty(); }

private:
    uint32_t ulWidth = 0;
    uint32_t ulHeight = 0;
    std::vector<uint8_t> vPixels;
};

#endif
