// The disc walk of the fastest-file search over crafted sectors: the
// choice of the file, the names, and records that lie.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fileaccess/core/CdfsRequests.h"
#include "fileaccess/core/CdfsWalker.h"
#include "fileaccess/core/MemorySectorReader.h"
#include "tests/core/fileaccess/CraftedDisc.h"

namespace {

// A disc of 64 sectors with a primary descriptor at 16 and the set
// terminator at 17; the root directory is sector 20.
C_CraftedDisc PrimaryDisc()
{
    C_CraftedDisc disc(64);
    disc.Descriptor(16, 1, 20, 2048);
    disc.Descriptor(17, 255);
    disc.SelfAndParent(20, 20);
    return disc;
}

S_CdfsFile Walk(const C_CraftedDisc& disc, uint32_t ulMinSize = 0, uint32_t* pulReads = nullptr)
{
    C_MemorySectorReader reader(disc.Bytes().data(), disc.Bytes().size());
    C_CdfsWalker walker(reader, ulMinSize);
    walker.ProcessDescriptors(0, "E:\\");
    if (pulReads != nullptr)
        *pulReads = reader.Reads();
    return walker.Best();
}

TEST(CdfsNames, VersionsCutAndJolietNarrowed)
{
    struct S_Case {
        std::string strRaw;
        bool bJoliet;
        const char* pszName;
    };
    for (const S_Case& c : std::vector<S_Case>{
             {"README.TXT;1", false, "README.TXT"},
             {"NAME.;1", false, "NAME"},
             {"NAME.", false, "NAME."},
             {"A;1;1", false, "A;1"},    // only one version is cut
             {"FILE.TXT;2", false, "FILE.TXT;2"},
             {C_CraftedDisc::Ucs2("a long name.txt;1"), true, "a long name.txt"},
             {C_CraftedDisc::Ucs2("Ab") + "\0", true, "Ab"},   // an odd last byte is dropped
             {std::string("\0", 1), true, ""},
         }) {
        SCOPED_TRACE(c.pszName);
        EXPECT_EQ(CdfsRecordName(reinterpret_cast<const uint8_t*>(c.strRaw.data()), c.strRaw.size(), c.bJoliet),
                  c.pszName);
    }
}

TEST(CdfsWalk, HighestStartSectorWinsAmongLargeEnoughFiles)
{
    C_CraftedDisc disc = PrimaryDisc();
    disc.Record(20, "BIG.BIN;1", 40, 900000, false);
    disc.Record(20, "SUB", 21, 2048, true);
    disc.Record(20, "TINY.BIN;1", 50, 10, false);
    disc.SelfAndParent(21, 20);
    disc.Record(21, "MID.BIN;1", 45, 5000, false);

    // Every file competes at minimum 0, so the one that starts last wins.
    const S_CdfsFile any = Walk(disc, 0);
    EXPECT_EQ(any.strPath, "E:\\TINY.BIN");
    EXPECT_EQ(any.ulStartSector, 50u);
    EXPECT_EQ(any.ulDataLength, 10u);
    // Sizes only decide who competes.
    EXPECT_EQ(Walk(disc, 11).strPath, "E:\\SUB\\MID.BIN");
    EXPECT_EQ(Walk(disc, 5001).strPath, "E:\\BIG.BIN");
    EXPECT_EQ(Walk(disc, 900000).strPath, "E:\\BIG.BIN");
    EXPECT_EQ(Walk(disc, 900001).strPath, "");
}

TEST(CdfsWalk, JolietTreeRenamesTheSameFile)
{
    const auto disc = [](bool bThirdTree) {
        C_CraftedDisc crafted(64);
        crafted.Descriptor(16, 1, 20);
        crafted.Descriptor(17, 2, 22, 2048, "%/E");
        if (bThirdTree)
            crafted.Descriptor(18, 2, 24, 2048, "%/Q");   // no Joliet level: names as they are
        crafted.Descriptor(bThirdTree ? 19 : 18, 255);
        crafted.SelfAndParent(20, 20);
        crafted.Record(20, "LONGFI~1.TXT;1", 40, 4000, false);
        crafted.SelfAndParent(22, 22);
        crafted.Record(22, C_CraftedDisc::Ucs2("A long file name.txt;1"), 40, 4000, false);
        crafted.SelfAndParent(24, 24);
        crafted.Record(24, "OTHER;1", 40, 4000, false);
        return crafted;
    };
    EXPECT_EQ(Walk(disc(false)).strPath, "E:\\A long file name.txt");
    EXPECT_EQ(Walk(disc(true)).strPath, "E:\\OTHER");
}

TEST(CdfsWalk, DescriptorScanStopsAtTerminatorOrAfterHundred)
{
    C_CraftedDisc disc(200);
    disc.Descriptor(16, 0);            // a boot record: passed over
    disc.Descriptor(18, 255);
    disc.Descriptor(19, 1, 40);        // after the terminator: never looked at
    disc.SelfAndParent(40, 40);
    disc.Record(40, "LATE.BIN;1", 60, 100, false);
    EXPECT_EQ(Walk(disc).strPath, "");

    C_CraftedDisc far(200);
    far.Descriptor(16 + 99, 1, 150);   // the hundredth sector
    far.SelfAndParent(150, 150);
    far.Record(150, "LAST.BIN;1", 160, 100, false);
    EXPECT_EQ(Walk(far).strPath, "E:\\LAST.BIN");
    C_CraftedDisc beyond(200);
    beyond.Descriptor(16 + 100, 1, 150);
    beyond.SelfAndParent(150, 150);
    beyond.Record(150, "LAST.BIN;1", 160, 100, false);
    EXPECT_EQ(Walk(beyond).strPath, "");
}

TEST(CdfsWalk, DirectoriesOfSeveralSectorsAndTheRecordStep)
{
    C_CraftedDisc disc(64);
    disc.Descriptor(16, 1, 20, 3 * 2048 + 100);   // three whole sectors; the partial fourth is not read
    disc.Descriptor(17, 255);
    disc.SelfAndParent(20, 20);
    disc.Record(20, "ONE;1", 30, 10, false);
    disc.Record(21, "TWO;1", 31, 10, false);
    // A record of length 0 steps on by its name length.
    const size_t nZero = disc.Record(22, "ZERO;1", 32, 10, false);
    disc.Sector(22)[nZero] = 0;
    disc.Record(22, "AFTER;1", 33, 10, false);
    disc.Record(23, "FOURTH;1", 60, 10, false);
    EXPECT_EQ(Walk(disc).strPath, "E:\\AFTER");

    C_CraftedDisc single(64);
    single.Descriptor(16, 1, 20, 0);               // length 0: the first sector still counts
    single.Descriptor(17, 255);
    single.Record(20, "ONLY;1", 33, 10, false);
    EXPECT_EQ(Walk(single).strPath, "E:\\ONLY");
}

TEST(CdfsWalk, LoopsAndRepeatsEndTheWalk)
{
    C_CraftedDisc disc = PrimaryDisc();
    disc.Record(20, "A", 21, 2048, true);
    disc.Record(20, "AGAIN", 21, 2048, true);        // the same directory twice
    disc.SelfAndParent(21, 20);
    disc.Record(21, "UP", 20, 2048, true);           // back to the root
    disc.Record(21, "SELF", 21, 2048, true);         // itself
    disc.Record(21, "B", 22, 2 * 2048, true);        // ends inside C below
    disc.SelfAndParent(22, 21);
    disc.Record(22, "FILE.BIN;1", 40, 100, false);
    disc.Record(22, "C", 23, 2048, true);            // ...and C is B's second sector
    disc.SelfAndParent(23, 22);
    disc.Record(23, "DEEP.BIN;1", 41, 100, false);
    uint32_t ulReads = 0;
    const S_CdfsFile found = Walk(disc, 0, &ulReads);
    EXPECT_EQ(found.strPath, "E:\\A\\B\\C\\DEEP.BIN");
    // Descriptors 16 and 17, then each directory sector once.
    EXPECT_EQ(ulReads, 2u + 4u);
}

TEST(CdfsWalk, DepthIsBounded)
{
    // Each directory holds the next one: deeper than the walk goes.
    const uint32_t ulLevels = kMaxCdfsDepth + 10;
    C_CraftedDisc disc(40 + ulLevels + 2);
    disc.Descriptor(16, 1, 40);
    disc.Descriptor(17, 255);
    for (uint32_t i = 0; i < ulLevels; ++i) {
        disc.Record(40 + i, "D", 41 + i, 2048, true);
        disc.Record(40 + i, "F" + std::to_string(i), 1000 + i, 1, false);
    }
    const S_CdfsFile found = Walk(disc);
    const std::string strDeepest = "F" + std::to_string(kMaxCdfsDepth);
    ASSERT_GE(found.strPath.size(), strDeepest.size());
    EXPECT_EQ(found.strPath.substr(found.strPath.size() - strDeepest.size()), strDeepest);
    EXPECT_EQ(found.ulStartSector, 1000 + kMaxCdfsDepth);
}

TEST(CdfsWalk, RecordsThatClaimTooMuchEndTheirSector)
{
    struct S_Case {
        const char* pszWhat;
        uint8_t bEntryLength;
        uint8_t bNameLength;
    };
    for (const S_Case& c : std::vector<S_Case>{
             {"record shorter than its name", 20, 8},
             {"record past the sector's end", 120, 8},
             {"name past the sector's end", 0, 250},
         }) {
        SCOPED_TRACE(c.pszWhat);
        C_CraftedDisc disc(64);
        disc.Descriptor(16, 1, 20, 2 * 2048);
        disc.Descriptor(17, 255);
        disc.Record(20, "GOOD.BIN;1", 30, 100, false);
        for (int i = 0; i < 8; ++i)
            disc.Record(20, "FILL;1", 1, 0, false, 238);
        // The bad record at 1948 would win if it were believed.
        uint8_t* pBad = disc.Sector(20) + 1948;
        pBad[0] = c.bEntryLength;
        pBad[2] = 55;
        pBad[32] = c.bNameLength;
        std::memcpy(pBad + 33, "BAD", 3);
        disc.Record(21, "NEXT.BIN;1", 31, 100, false);   // the directory's next sector is still walked
        const S_CdfsFile found = Walk(disc);
        EXPECT_EQ(found.strPath, "E:\\NEXT.BIN");
        EXPECT_EQ(found.ulStartSector, 31u);
    }
}

TEST(CdfsRequests, TrackChoiceFromTheTop)
{
    // First and last track, then 8-byte descriptors: control, start.
    const auto toc = [](uint8_t bFirst, uint8_t bLast, std::vector<std::pair<uint8_t, uint32_t>> vTracks) {
        std::vector<uint8_t> v(4, 0);
        v[2] = bFirst;
        v[3] = bLast;
        for (const auto& track : vTracks)
            v.insert(v.end(), {0, static_cast<uint8_t>(0x10 | track.first), 0, 0,
                               static_cast<uint8_t>(track.second >> 24), static_cast<uint8_t>(track.second >> 16),
                               static_cast<uint8_t>(track.second >> 8), static_cast<uint8_t>(track.second)});
        return v;
    };
    struct S_Case {
        const char* pszWhat;
        std::vector<uint8_t> vToc;
        bool bFound;
        uint32_t ulStart;
    };
    for (const S_Case& c : std::vector<S_Case>{
             {"data only", toc(1, 1, {{4, 0}}), true, 0},
             {"audio first, data last", toc(1, 3, {{0, 0}, {0, 15000}, {4, 30000}}), true, 30000},
             {"two data sessions", toc(1, 2, {{4, 0}, {4, 250000}}), true, 250000},
             {"data first, audio after", toc(1, 3, {{4, 0}, {0, 1000}, {0, 2000}}), true, 0},
             {"audio only", toc(1, 2, {{0, 0}, {0, 1000}}), false, 0},
             {"track 0 listed", toc(0, 0, {{4, 77}}), false, 0},
             {"last below first", toc(3, 1, {{4, 0}, {4, 1}, {4, 2}}), false, 0},
             {"descriptor beyond the answer", toc(1, 9, {{4, 123}}), true, 123},
         }) {
        SCOPED_TRACE(c.pszWhat);
        uint32_t ulStart = 0xDEAD;
        EXPECT_EQ(ChooseDataTrackStart(c.vToc.data(), c.vToc.size(), ulStart), c.bFound);
        if (c.bFound) {
            EXPECT_EQ(ulStart, c.ulStart);
        }
    }
    uint32_t ulStart = 0;
    EXPECT_FALSE(ChooseDataTrackStart(nullptr, 0, ulStart));
}

} // namespace
