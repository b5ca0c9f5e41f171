#include "device/core/Toc.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <vector>

#include "device/core/RudvaneTypes.h"
#include "tests/support/core/SimulatedScsiTarget.h"

namespace {

constexpr uint8_t kData = 0x4;
constexpr uint8_t kAudio = 0x0;

uint32_t Block(uint32_t m, uint32_t s, uint32_t f)
{
    return m * 4500 + s * 75 + f - 150;
}

TEST(TocTest, MixedModeDiscGivesDataTrackThenAudioTracksUpToTheLeadOut)
{
    const auto v = C_FullToc()
                       .Add(1, kData, 0xA0, 1, 0, 0)
                       .Add(1, kAudio, 0xA1, 3, 0, 0)
                       .Add(1, kAudio, 0xA2, 60, 0, 0)
                       .Add(1, kData, 1, 0, 2, 0)
                       .Add(1, kAudio, 2, 20, 0, 0)
                       .Add(1, kAudio, 3, 40, 1, 74)
                       .Bytes();
    const auto vTracks = ParseFullToc(v.data(), v.size());
    ASSERT_EQ(vTracks.size(), 3u);
    EXPECT_TRUE(vTracks[0].bData);
    EXPECT_EQ(vTracks[0].ulStart, 0u);
    EXPECT_FALSE(vTracks[1].bData);
    EXPECT_EQ(vTracks[1].ulStart, Block(20, 0, 0));
    EXPECT_EQ(vTracks[2].ulTrack, 3u);
    EXPECT_EQ(vTracks[2].ulStart, Block(40, 1, 74));
    for (const S_TocTrack& t : vTracks)
        EXPECT_EQ(t.ulLeadOut, Block(60, 0, 0));
}

TEST(TocTest, MultiSessionTracksTakeTheLeadOutOfTheirOwnSession)
{
    const auto v = C_FullToc()
                       .Add(1, kAudio, 0xA0, 1, 0, 0)
                       .Add(1, kAudio, 0xA1, 2, 0, 0)
                       .Add(1, kAudio, 0xA2, 10, 0, 0)
                       .Add(1, kAudio, 1, 0, 2, 0)
                       .Add(1, kAudio, 2, 5, 0, 0)
                       .Add(1, kData, 0xB0, 12, 30, 0)
                       .Add(1, kData, 0xC0, 95, 0, 0)
                       .Add(2, kData, 0xA0, 3, 0, 0)
                       .Add(2, kData, 0xA1, 3, 0, 0)
                       .Add(2, kData, 0xA2, 30, 0, 0)
                       .Add(2, kData, 3, 12, 32, 0)
                       .Bytes(2);
    const auto vTracks = ParseFullToc(v.data(), v.size());
    ASSERT_EQ(vTracks.size(), 3u);
    EXPECT_EQ(vTracks[1].ulLeadOut, Block(10, 0, 0));
    EXPECT_EQ(vTracks[2].ulTrack, 3u);
    EXPECT_TRUE(vTracks[2].bData);
    EXPECT_EQ(vTracks[2].ulStart, Block(12, 32, 0));
    EXPECT_EQ(vTracks[2].ulLeadOut, Block(30, 0, 0));
}

TEST(TocTest, TracksNeedALeadOutBeforeThemAndEntriesMustFit)
{
    const auto vLate = C_FullToc()
                           .Add(1, kAudio, 1, 0, 2, 0)
                           .Add(1, kAudio, 0xA2, 10, 0, 0)
                           .Add(1, kAudio, 2, 5, 0, 0)
                           .Bytes();
    const auto vTracks = ParseFullToc(vLate.data(), vLate.size());
    ASSERT_EQ(vTracks.size(), 1u);
    EXPECT_EQ(vTracks[0].ulTrack, 2u);

    // The data length claims more than arrived: only whole entries that
    // arrived count; lengths below 2 and short answers give nothing.
    auto vShort = C_FullToc().Add(1, kAudio, 0xA2, 10, 0, 0).Add(1, kAudio, 1, 0, 2, 0).Bytes();
    vShort[1] = 0xFF;
    EXPECT_EQ(ParseFullToc(vShort.data(), vShort.size()).size(), 1u);
    EXPECT_EQ(ParseFullToc(vShort.data(), vShort.size() - 1).size(), 0u);
    vShort[0] = 0;
    vShort[1] = 1;
    EXPECT_TRUE(ParseFullToc(vShort.data(), vShort.size()).empty());
    EXPECT_TRUE(ParseFullToc(vShort.data(), 3).empty());
}

TEST(TocTest, AddressesBeforeTheFirstBlockNeverWrap)
{
    EXPECT_EQ(TocBlockOfMsf(0, 0, 0), 0u);
    EXPECT_EQ(TocBlockOfMsf(0, 1, 74), 0u);
    EXPECT_EQ(TocBlockOfMsf(0, 2, 0), 0u);
    EXPECT_EQ(TocBlockOfMsf(0, 2, 1), 1u);
    EXPECT_EQ(TocBlockOfMsf(255, 255, 255), 255u * 4500 + 255u * 75 + 255 - 150);
}

TEST(TocTest, TrackNumbersOfDifferentDrivesNeverMeet)
{
    std::set<int32_t> numbers;
    for (int32_t lParent : {0, 1, 2, 42, 68, 90, 0x0F0707})
        for (uint32_t ulKind : {RUDVANE_KIND_CDROM, RUDVANE_KIND_VOLUME, RUDVANE_KIND_ASPI})
            for (uint32_t ulTrack = 1; ulTrack <= 99; ++ulTrack)
                EXPECT_TRUE(numbers.insert(TrackRecordNumber(ulTrack, lParent, ulKind)).second)
                    << lParent << " " << ulKind << " " << ulTrack;
}

TEST(TocTest, AudioTrackLimitComesFromTheDrivesLimitInBytes)
{
    EXPECT_EQ(AudioTrackMaxBlocks(32, 2048), 26u);  // 65536 / 2352 = 27, minus 1
    EXPECT_EQ(AudioTrackMaxBlocks(1, 2048), 1u);
    EXPECT_EQ(AudioTrackMaxBlocks(0, 0), 1u);
    EXPECT_EQ(AudioTrackMaxBlocks(0xFFFFFFFF, 0xFFFFFFFF), 0xFFFFFFFFu);
}

} // namespace
