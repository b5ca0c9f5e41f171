#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/core/PspImage.h"
#include "tests/core/framework/PspTestFile.h"

namespace {

using psptest::Bytes;
using PspOptions = psptest::S_PspOptions;
using psptest::PutBlock;
using psptest::Runs;
using psptest::WritePsp;

std::vector<uint8_t> Pixel(const C_PspImage& image, uint32_t x, uint32_t y)
{
    const auto& v = image.GetPixels();
    const size_t n = (static_cast<size_t>(y) * image.GetWidth() + x) * 4;
    return {v[n], v[n + 1], v[n + 2], v[n + 3]};
}

TEST(PspImage, ReadsPremultipliedBgraTopRowFirst)
{
    struct Case {
        const char* pszName;
        uint16_t wCompression;
        std::vector<uint16_t> vTypes;
        int32_t lLeft, lTop;   // the saved rectangle, 2 x 2 from here
    };
    for (const Case& c : std::vector<Case>{{"run-length", 1, {1, 2, 3, 0}, 0, 0},
                                           {"raw", 0, {1, 2, 3, 0}, 0, 0},
                                           {"alpha first", 1, {0, 3, 2, 1}, 0, 0},
                                           {"rectangle off the origin", 1, {1, 2, 3, 0}, -3, 10}}) {
        SCOPED_TRACE(c.pszName);
        PspOptions o;
        o.wCompression = c.wCompression;
        o.vChannelTypes = c.vTypes;
        o.lLeft = c.lLeft;
        o.lTop = c.lTop;
        o.lRight = c.lLeft + 2;
        o.lBottom = c.lTop + 2;
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
