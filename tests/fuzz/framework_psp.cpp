// Splash pictures: any bytes are read or refused, never read out of bounds.
// A picture that is read keeps the reader's promises: its size within the
// caps, four bytes per pixel, and no colour above its alpha (premultiplied).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "framework/core/PspImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    // An exact copy, so that a read one byte past the input is caught.
    const std::vector<uint8_t> vInput(pData, pData + nSize);
    C_PspImage image;
    if (!image.Read(vInput.data(), vInput.size())) {
        if (!image.IsEmpty())
            std::abort();
        return 0;
    }
    const uint64_t ullPixels = static_cast<uint64_t>(image.GetWidth()) * image.GetHeight();
    if (image.GetWidth() == 0 || image.GetHeight() == 0 ||
        image.GetWidth() > C_PspImage::kMaxSide || image.GetHeight() > C_PspImage::kMaxSide ||
        ullPixels > C_PspImage::kMaxPixels || image.GetPixels().size() != ullPixels * 4)
        std::abort();
    // Nothing is allocated for more pixels than the input could fill.
    if (ullPixels > static_cast<uint64_t>(nSize) * 64)
        std::abort();
    const std::vector<uint8_t>& v = image.GetPixels();
    for (size_t n = 0; n < v.size(); n += 4)
        if (v[n] > v[n + 3] || v[n + 1] > v[n + 3] || v[n + 2] > v[n + 3])
            std::abort();
    return 0;
}
