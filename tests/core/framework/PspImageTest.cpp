#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/core/PspImage.h"

namespace {

// What the small writer below puts into a picture file.
struct PspOptions {
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
    int32_t lLeft = 0, lTop = 0;         // saved image rectangle; right and
    int32_t lRight = 2, lBottom = 2;     // bottom set from the picture
    // Straight RGBA, top row first.
    std::vector<uint8_t> vRgba = {200, 100, 50, 128,   10, 20, 30, 0,
                                  255, 255, 255, 255,  0, 0, 0, 255};
    std::vector<uint16_t> vChannelTypes = {1, 2, 3, 0};
    // Replaces the encoded data of channel i when not empty.
    std::vector<std::vector<uint8_t>> vRawChannels;
};

void Put16(std::vector<uint8_t>& v, uint32_t w)
{
    v.push_back(static_cast<uint8_t>(w));
    v.push_back(static_cast<uint8_t>(w >> 8));
}

void Put32(std::vector<uint8_t>& v, uint32_t ul)
{
    Put16(v, ul & 0xFFFF);
    Put16(v, ul >> 16);
}

void PutBlock(std::vector<uint8_t>& v, uint16_t wId, const std::vector<uint8_t>& data)
{
    for (char c : {'~', 'B', 'K', '\0'})
        v.push_back(static_cast<uint8_t>(c));
    Put16(v, wId);
    Put32(v, static_cast<uint32_t>(data.size()));
    v.insert(v.end(), data.begin(), data.end());
}

std::vector<uint8_t> EncodeRunLength(const std::vector<uint8_t>& in)
{
    std::vector<uint8_t> out;
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

std::vector<uint8_t> WritePsp(const PspOptions& o)
{
    const uint32_t ulPixels = static_cast<uint32_t>(o.vRgba.size() / 4);
    std::vector<uint8_t> file;
    const std::string strSignature = "Paint Shop Pro Image File\n\x1a";
    file.assign(strSignature.begin(), strSignature.end());
    file.resize(32, 0);
    Put16(file, o.wMajor);
    Put16(file, 0);

    std::vector<uint8_t> attributes;
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

    std::vector<uint8_t> layer;
    std::vector<uint8_t> info;
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
        std::vector<uint8_t> plane;
        for (uint32_t p = 0; p < ulPixels; ++p)
            plane.push_back(o.vRgba[p * 4 + (wType == 0 ? 3 : wType - 1)]);
        std::vector<uint8_t> data = o.wCompression == 1 ? EncodeRunLength(plane) : plane;
        if (i < o.vRawChannels.size() && !o.vRawChannels[i].empty())
            data = o.vRawChannels[i];
        std::vector<uint8_t> channel;
        Put32(channel, 16);
        Put32(channel, static_cast<uint32_t>(data.size()));
        Put32(channel, ulPixels);
        Put16(channel, wType == 0 ? 1 : 0);
        Put16(channel, wType);
        channel.insert(channel.end(), data.begin(), data.end());
        PutBlock(layer, 5, channel);
    }
    std::vector<uint8_t> start;
    PutBlock(start, o.wLayerId, layer);
    PutBlock(file, o.wLayerStartId, start);
    return file;
}

// Run-length data giving nPixels bytes of one value.
std::vector<uint8_t> Runs(size_t nPixels, uint8_t bValue)
{
    std::vector<uint8_t> out;
    for (size_t n = 0; n < nPixels; n += 127) {
        out.push_back(static_cast<uint8_t>(128 + (nPixels - n < 127 ? nPixels - n : 127)));
        out.push_back(bValue);
    }
    return out;
}

std::vector<uint8_t> Pixel(const C_PspImage& image, uint32_t x, uint32_t y)
{
    const auto& v = image.GetPixels();
    const size_t n = (static_cast<size_t>(y) * image.GetWidth() + x) * 4;
    return {v[n], v[n + 1], v[n + 2], v[n + 3]};
}

using Bytes = std::vector<uint8_t>;

TEST(PspImage, ReadsPremultipliedBgraTopRowFirst)
{
    struct Case {
        const char* pszName;
        uint16_t wCompression;
        std::vector<uint16_t> vTypes;
    };
    for (const Case& c : std::vector<Case>{{"run-length", 1, {1, 2, 3, 0}},
                                           {"raw", 0, {1, 2, 3, 0}},
                                           {"alpha first", 1, {0, 3, 2, 1}}}) {
        SCOPED_TRACE(c.pszName);
        PspOptions o;
        o.wCompression = c.wCompression;
        o.vChannelTypes = c.vTypes;
        C_PspImage image;
        const Bytes file = WritePsp(o);
        ASSERT_TRUE(image.Read(file.data(), file.size()));
        EXPECT_EQ(image.GetWidth(), 2u);
        EXPECT_EQ(image.GetHeight(), 2u);
        ASSERT_EQ(image.GetPixels().size(), 16u);
        // 200 * 128 / 255 = 100.4, 100 * 128 / 255 = 50.2, 50 * 128 / 255 = 25.1
        EXPECT_EQ(Pixel(image, 0, 0), (Bytes{25, 50, 100, 128}));
        EXPECT_EQ(Pixel(image, 1, 0), (Bytes{0, 0, 0, 0}));
        EXPECT_EQ(Pixel(image, 0, 1), (Bytes{255, 255, 255, 255}));
        EXPECT_EQ(Pixel(image, 1, 1), (Bytes{0, 0, 0, 255}));
    }
}

TEST(PspImage, SizeComesFromTheSavedRectangle)
{
    PspOptions o;
    o.lLeft = -3;
    o.lTop = 10;
    o.lRight = -1;
    o.lBottom = 12;
    C_PspImage image;
    const Bytes file = WritePsp(o);
    ASSERT_TRUE(image.Read(file.data(), file.size()));
    EXPECT_EQ(image.GetWidth(), 2u);
    EXPECT_EQ(image.GetHeight(), 2u);
}

TEST(PspImage, RunLengthCodes)
{
    // Alpha of the 2x2 picture written by hand: 128 stands for nothing,
    // 0 copies nothing, the rest must give exactly four bytes.
    struct Case {
        const char* pszName;
        Bytes vAlpha;
        bool bRead;
    };
    for (const Case& c : std::vector<Case>{
             {"one run", {132, 255}, true},
             {"copy and run", {2, 255, 255, 130, 255}, true},
             {"empty codes between", {128, 0, 130, 255, 128, 0, 2, 255, 255}, true},
             {"bytes after the end are ignored", {132, 255, 7, 7}, true},
             {"run overruns", {133, 255}, false},
             {"copy overruns", {5, 1, 2, 3, 4, 5}, false},
             {"run past the picture after a copy", {3, 255, 255, 255, 130, 255}, false},
             {"ends early", {130, 255}, false},
             {"run without its byte", {2, 255, 255, 130}, false},
             {"copy longer than the data", {4, 255, 255}, false},
             {"only empty codes", {128, 128, 0, 0}, false},
         }) {
        SCOPED_TRACE(c.pszName);
        PspOptions o;
        o.vRgba = {1, 2, 3, 255, 1, 2, 3, 255, 1, 2, 3, 255, 1, 2, 3, 255};
        o.vRawChannels = {{}, {}, {}, c.vAlpha};
        C_PspImage image;
        const Bytes file = WritePsp(o);
        EXPECT_EQ(image.Read(file.data(), file.size()), c.bRead);
        if (c.bRead) {
            EXPECT_EQ(Pixel(image, 1, 1), (Bytes{3, 2, 1, 255}));
        }
    }
}

TEST(PspImage, RefusesEverythingButTheOneLayout)
{
    struct Case {
        const char* pszName;
        std::function<void(PspOptions&)> change;
        std::function<void(Bytes&)> patch;
    };
    const std::vector<Case> cases = {
        {"two layers", [](PspOptions& o) { o.wLayers = 2; }, nullptr},
        {"no layer", [](PspOptions& o) { o.wLayers = 0; }, nullptr},
        {"8-bit colour", [](PspOptions& o) { o.wBitDepth = 8; }, nullptr},
        {"32-bit colour", [](PspOptions& o) { o.wBitDepth = 32; }, nullptr},
        {"another compression", [](PspOptions& o) { o.wCompression = 2; }, nullptr},
        {"two planes", [](PspOptions& o) { o.wPlanes = 2; }, nullptr},
        {"major version 3", [](PspOptions& o) { o.wMajor = 3; }, nullptr},
        {"three channels",
         [](PspOptions& o) {
             o.wChannelCount = 3;
             o.vChannelTypes = {1, 2, 3};
         },
         nullptr},
        {"three channel blocks", [](PspOptions& o) { o.vChannelTypes = {1, 2, 3}; }, nullptr},
        {"channel type 4", [](PspOptions& o) { o.vChannelTypes = {1, 2, 4, 0}; }, nullptr},
        {"no layer start", [](PspOptions& o) { o.wLayerStartId = 6; }, nullptr},
        {"layer start without a layer", [](PspOptions& o) { o.wLayerId = 5; }, nullptr},
        {"empty width", [](PspOptions& o) { o.lRight = o.lLeft; }, nullptr},
        {"negative height", [](PspOptions& o) { o.lBottom = -2; }, nullptr},
        {"side over the cap",
         [](PspOptions& o) {
             o.lRight = C_PspImage::kMaxSide + 1;
             o.vRawChannels.assign(4, Runs((C_PspImage::kMaxSide + 1) * 2, 255));
         },
         nullptr},
        {"rectangle wider than 32 bits",
         [](PspOptions& o) {
             o.lLeft = INT32_MIN;
             o.lRight = INT32_MAX;
         },
         nullptr},
        {"pixels over the cap",
         [](PspOptions& o) {
             o.lRight = 8192;
             o.lBottom = 2049;
             o.vRawChannels.assign(4, Runs(8192u * 2049u, 255));
         },
         nullptr},
        {"raw data shorter than the picture",
         [](PspOptions& o) {
             o.wCompression = 0;
             o.vRawChannels = {{}, {}, {1, 2, 3}, {}};
         },
         nullptr},
        // A big picture from a few bytes: refused before anything is allocated.
        {"run-length data far too short for the size",
         [](PspOptions& o) {
             o.lRight = 8192;
             o.lBottom = 2048;
             o.vRawChannels.assign(4, Bytes{255, 0, 255, 0});
         },
         nullptr},
        {"signature", nullptr, [](Bytes& b) { b[0] = 'p'; }},
        {"signature end byte", nullptr, [](Bytes& b) { b[26] = 0x1B; }},
        {"signature padding", nullptr, [](Bytes& b) { b[31] = 1; }},
        {"first block not attributes", nullptr, [](Bytes& b) { b[40] = 1; }},
        {"block marker", nullptr, [](Bytes& b) { b[36] = '-'; }},
        {"attributes block too short", nullptr,
         [](Bytes& b) {
             b[42] = 41;    // the attributes' length
             b.erase(b.begin() + 46 + 41);
         }},
        {"attributes length past the end", nullptr, [](Bytes& b) { b[45] = 0x10; }},
        {"last block one byte short", nullptr, [](Bytes& b) { b.pop_back(); }},
    };
    PspOptions base;
    const Bytes good = WritePsp(base);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        PspOptions o;
        if (c.change)
            c.change(o);
        Bytes file = WritePsp(o);
        if (c.patch)
            c.patch(file);
        C_PspImage image;
        ASSERT_TRUE(image.Read(good.data(), good.size()));
        EXPECT_FALSE(image.Read(file.data(), file.size()));
        // A refusal leaves the picture read before.
        EXPECT_EQ(image.GetWidth(), 2u);
        EXPECT_EQ(Pixel(image, 0, 1), (Bytes{255, 255, 255, 255}));
    }
}

TEST(PspImage, RefusesEveryTruncation)
{
    for (uint16_t wCompression : {0, 1}) {
        PspOptions o;
        o.wCompression = wCompression;
        o.bCreatorBlock = false;
        const Bytes file = WritePsp(o);
        C_PspImage image;
        ASSERT_TRUE(image.Read(file.data(), file.size()));
        for (size_t n = 0; n < file.size(); ++n) {
            SCOPED_TRACE(n);
            // A copy of exactly n bytes, so that a sanitizer sees any read past it.
            const Bytes part(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(n));
            C_PspImage cut;
            EXPECT_FALSE(cut.Read(part.data(), part.size()));
            EXPECT_TRUE(cut.IsEmpty());
        }
    }
}

TEST(PspImage, ReadsTheLargestPicture)
{
    PspOptions o;
    o.lRight = 8192;
    o.lBottom = 2048;
    o.vRawChannels = {Runs(8192u * 2048u, 255), Runs(8192u * 2048u, 128), Runs(8192u * 2048u, 0),
                      Runs(8192u * 2048u, 255)};
    const Bytes file = WritePsp(o);
    C_PspImage image;
    ASSERT_TRUE(image.Read(file.data(), file.size()));
    EXPECT_EQ(image.GetWidth(), 8192u);
    EXPECT_EQ(image.GetHeight(), 2048u);
    EXPECT_EQ(Pixel(image, 8191, 2047), (Bytes{0, 128, 255, 255}));
}

TEST(PspImage, SkipsBlocksBeforeAndIgnoresBlocksAfterTheLayer)
{
    PspOptions o;
    Bytes file = WritePsp(o);
    PutBlock(file, 9, {1, 2, 3});
    C_PspImage image;
    EXPECT_TRUE(image.Read(file.data(), file.size()));

    // A second layer-start block after the first is never looked at.
    Bytes twice = WritePsp(o);
    PutBlock(twice, 3, {0});
    EXPECT_TRUE(image.Read(twice.data(), twice.size()));
}

} // namespace
