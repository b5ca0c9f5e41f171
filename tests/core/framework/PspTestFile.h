// Writes picture files in the layout C_PspImage reads, for the picture and
// splash tests.
#ifndef QUENVALE_TESTS_PSPTESTFILE_H
#define QUENVALE_TESTS_PSPTESTFILE_H

#include <cstdint>
#include <string>
#include <vector>

namespace psptest {

using Bytes = std::vector<uint8_t>;

// What WritePsp puts into a picture file.
struct S_PspOptions {
    uint16_t wMajor = 5;
    uint16_t wCompression = 1;
    uint16_t wBitDepth = 24;
    uint16_t wPlanes = 1;
    uint16_t wLayers = 1;
    uint16_t wChannelCount = 4;
    uint16_t wLayerStartId = 3;
    uint16_t wLayerId = 4;
    bool bCreatorBlock = true;           // a block the reader has to skip
    std::string strLayerName = "Layer 1";
    int32_t lLeft = 0, lTop = 0;         // saved image rectangle
    int32_t lRight = 2, lBottom = 2;
    // Straight RGBA, top row first.
    Bytes vRgba = {200, 100, 50, 128,   10, 20, 30, 0,
                   255, 255, 255, 255,  0, 0, 0, 255};
    std::vector<uint16_t> vChannelTypes = {1, 2, 3, 0};
    // Replaces the encoded data of channel i when not empty.
    std::vector<Bytes> vRawChannels;
};

inline void Put16(Bytes& v, uint32_t w)
{
    v.push_back(static_cast<uint8_t>(w));
    v.push_back(static_cast<uint8_t>(w >> 8));
}

inline void Put32(Bytes& v, uint32_t ul)
{
    Put16(v, ul & 0xFFFF);
    Put16(v, ul >> 16);
}

inline void PutBlock(Bytes& v, uint16_t wId, const Bytes& data)
{
    v.insert(v.end(), {'~', 'B', 'K', 0});
    Put16(v, wId);
    Put32(v, static_cast<uint32_t>(data.size()));
    v.insert(v.end(), data.begin(), data.end());
}

inline Bytes EncodeRunLength(const Bytes& in)
{
    Bytes out;
    size_t n = 0;
    while (n < in.size()) {
        size_t nRun = 1;
        while (n + nRun < in.size() && nRun < 127 && in[n + nRun] == in[n])
            ++nRun;
        if (nRun >= 3) {
            out.push_back(static_cast<uint8_t>(128 + nRun));
            out.push_back(in[n]);
            n += nRun;
            continue;
        }
        size_t nCopy = 0;
        while (n + nCopy < in.size() && nCopy < 127 &&
               !(n + nCopy + 2 < in.size() && in[n + nCopy] == in[n + nCopy + 1] &&
                 in[n + nCopy] == in[n + nCopy + 2]))
            ++nCopy;
        if (nCopy == 0)
            nCopy = 1;
        out.push_back(static_cast<uint8_t>(nCopy));
        out.insert(out.end(), in.begin() + n, in.begin() + n + nCopy);
        n += nCopy;
    }
    return out;
}

inline Bytes WritePsp(const S_PspOptions& o)
{
    const uint32_t ulPixels = static_cast<uint32_t>(o.vRgba.size() / 4);
    const std::string strSignature = "Paint Shop Pro Image File\n\x1a";
    Bytes file(strSignature.begin(), strSignature.end());
    file.resize(32, 0);
    Put16(file, o.wMajor);
    Put16(file, 0);

    Bytes attributes;
    Put32(attributes, 42);
    Put32(attributes, static_cast<uint32_t>(static_cast<int64_t>(o.lRight) - o.lLeft));
    Put32(attributes, static_cast<uint32_t>(static_cast<int64_t>(o.lBottom) - o.lTop));
    attributes.resize(attributes.size() + 8, 0);    // resolution
    attributes.push_back(1);                        // per inch
    Put16(attributes, o.wCompression);
    Put16(attributes, o.wBitDepth);
    Put16(attributes, o.wPlanes);
    Put32(attributes, 1u << 24);
    attributes.push_back(0);
    Put32(attributes, ulPixels * 3);
    Put32(attributes, 0);
    Put16(attributes, o.wLayers);
    PutBlock(file, 0, attributes);

    if (o.bCreatorBlock)
        PutBlock(file, 1, {8, 0, 0, 0, 'm', 'e', '!', 0});

    Bytes layer;
    Bytes info;
    Put16(info, static_cast<uint32_t>(o.strLayerName.size()));
    info.insert(info.end(), o.strLayerName.begin(), o.strLayerName.end());
    info.push_back(1);                              // layer type
    for (int32_t l : {o.lLeft, o.lTop, o.lRight, o.lBottom, o.lLeft, o.lTop, o.lRight, o.lBottom})
        Put32(info, static_cast<uint32_t>(l));
    info.insert(info.end(), {255, 0, 1, 0, 0});     // fields the reader skips
    Put32(layer, static_cast<uint32_t>(info.size() + 4));
    layer.insert(layer.end(), info.begin(), info.end());
    Put32(layer, 8);
    Put16(layer, 2);
    Put16(layer, o.wChannelCount);
    for (size_t i = 0; i < o.vChannelTypes.size(); ++i) {
        const uint16_t wType = o.vChannelTypes[i];
        Bytes plane;
        for (uint32_t p = 0; p < ulPixels; ++p)
            plane.push_back(o.vRgba[p * 4 + (wType == 0 ? 3 : wType - 1)]);
        Bytes data = o.wCompression == 1 ? EncodeRunLength(plane) : plane;
        if (i < o.vRawChannels.size() && !o.vRawChannels[i].empty())
            data = o.vRawChannels[i];
        Bytes channel;
        Put32(channel, 16);
        Put32(channel, static_cast<uint32_t>(data.size()));
        Put32(channel, ulPixels);
        Put16(channel, wType == 0 ? 1 : 0);
        Put16(channel, wType);
        channel.insert(channel.end(), data.begin(), data.end());
        PutBlock(layer, 5, channel);
    }
    Bytes start;
    PutBlock(start, o.wLayerId, layer);
    PutBlock(file, o.wLayerStartId, start);
    return file;
}

// A picture of ulWidth x ulHeight opaque pixels of one grey, raw channels.
inline Bytes GreyPicture(uint32_t ulWidth, uint32_t ulHeight, uint16_t wLayers = 1)
{
    S_PspOptions o;
    o.wCompression = 0;
    o.wLayers = wLayers;
    o.lRight = static_cast<int32_t>(ulWidth);
    o.lBottom = static_cast<int32_t>(ulHeight);
    o.vRgba.clear();
    for (uint32_t n = 0; n < ulWidth * ulHeight; ++n)
        o.vRgba.insert(o.vRgba.end(), {128, 128, 128, 255});
    return WritePsp(o);
}

// Run-length data giving nPixels bytes of one value.
inline Bytes Runs(size_t nPixels, uint8_t bValue)
{
    Bytes out;
    for (size_t n = 0; n < nPixels; n += 127) {
        out.push_back(static_cast<uint8_t>(128 + (nPixels - n < 127 ? nPixels - n : 127)));
        out.push_back(bValue);
    }
    return out;
}

} // namespace psptest

#endif
