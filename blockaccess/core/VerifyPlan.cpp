#include "blockaccess/core/VerifyPlan.h"

#include <algorithm>
#include <cmath>

namespace {

uint64_t Blocks(const std::vector<S_BlockSpan>& vSpans)
{
    uint64_t ullSum = 0;
    for (const S_BlockSpan& span : vSpans)
        ullSum += span.ullCount;
    return ullSum;
}

uint64_t CeilDiv(uint64_t ullValue, uint64_t ullDivisor)
{
    return ullValue / ullDivisor + (ullValue % ullDivisor != 0 ? 1 : 0);
}

// The regions of a round over an interval of ullSpan blocks: the square root
// of the interval's region count balances the regions written against the
// window read back; within the limits.
uint64_t RegionCount(uint64_t ullSpan, uint64_t ullRegion, const S_VerifyLimits& limits)
{
    const double dRoot = std::ceil(std::sqrt(static_cast<double>(CeilDiv(ullSpan, ullRegion))));
    uint64_t ullCount = static_cast<uint64_t>(dRoot);
    ullCount = std::max<uint64_t>(ullCount, std::max<uint32_t>(limits.ulMinRegions, 1));
    return std::min<uint64_t>(ullCount, std::max<uint32_t>(limits.ulMaxRegions, 1));
}

// The lowest blocks of the area outside the probes, ullWanted of them.
// Block 0 is never filler: writing it may make the system clean the disk,
// which wipes its first and last megabyte.
std::vector<S_BlockSpan> LowestFreeBlocks(const S_VerifyArea& area,
                                          const std::vector<S_BlockSpan>& vProbes,
                                          uint64_t ullWanted)
{
    std::vector<S_BlockSpan> vFiller;
    uint64_t ullAt = std::max<uint64_t>(area.ullFirstBlock, 1);
    auto take = [&](uint64_t ullEnd) {
        if (ullEnd > ullAt && ullWanted > 0) {
            const uint64_t ullCount = std::min(ullEnd - ullAt, ullWanted);
            vFiller.push_back({ullAt, ullCount});
            ullWanted -= ullCount;
        }
    };
    for (const S_BlockSpan& probe : vProbes) {
        take(probe.ullFirst);
        ullAt = std::max(ullAt, probe.End());
    }
    take(area.End());
    return vFiller;
}

} // namespace

uint64_t S_VerifyRound::ProbeBlocks() const
{
    return Blocks(vProbes);
}

uint64_t S_VerifyRound::FillerBlocks() const
{
    return Blocks(vFiller);
}

uint64_t VerifyRegionBlocks(const S_VerifyArea& area, const S_VerifyLimits& limits)
{
    if (area.ulBlockSize == 0)
        return 1;
    return std::max<uint64_t>(1, limits.ullRegionBytes / area.ulBlockSize);
}

std::vector<S_BlockSpan> MergeSpans(std::vector<S_BlockSpan> vSpans)
{
    vSpans.erase(std::remove_if(vSpans.begin(), vSpans.end(),
                                [](const S_BlockSpan& span) { return span.ullCount == 0; }),
                 vSpans.end());
    std::sort(vSpans.begin(), vSpans.end(), [](const S_BlockSpan& a, const S_BlockSpan& b) {
        return a.ullFirst < b.ullFirst;
    });
    std::vector<S_BlockSpan> vMerged;
    for (const S_BlockSpan& span : vSpans) {
        if (!vMerged.empty() && span.ullFirst <= vMerged.back().End()) {
            const uint64_t ullEnd = std::max(vMerged.back().End(), span.End());
            vMerged.back().ullCount = ullEnd - vMerged.back().ullFirst;
        } else {
            vMerged.push_back(span);
        }
    }
    return vMerged;
}

std::vector<S_BlockSpan> SplitSpans(const std::vector<S_BlockSpan>& vSpans,
                                    uint64_t ullPieceBlocks)
{
    ullPieceBlocks = std::max<uint64_t>(ullPieceBlocks, 1);
    std::vector<S_BlockSpan> vPieces;
    for (const S_BlockSpan& span : vSpans)
        for (uint64_t ullAt = span.ullFirst; ullAt < span.End(); ullAt += ullPieceBlocks)
            vPieces.push_back({ullAt, std::min(ullPieceBlocks, span.End() - ullAt)});
    return vPieces;
}

S_VerifyRound PlanVerifyRound(const S_VerifyArea& area, const S_VerifyLimits& limits,
                              uint64_t ullLow, uint64_t ullHigh)
{
    S_VerifyRound round;
    ullLow = std::max(ullLow, area.ullFirstBlock);
    ullHigh = std::min(ullHigh, area.End());
    if (ullHigh <= ullLow)
        return round;
    const uint64_t ullSpan = ullHigh - ullLow;
    const uint64_t ullRegion = VerifyRegionBlocks(area, limits);
    const uint64_t ullCount = RegionCount(ullSpan, ullRegion, limits);

    // Tiled when the regions would cover the interval, or when covering it
    // writes no more than the round writes anyway (with the filler).
    const uint64_t ullBlockSize = std::max<uint32_t>(area.ulBlockSize, 1);
    const uint64_t ullWantedBlocks = CeilDiv(limits.ullMinWriteBytes, ullBlockSize);
    const uint64_t ullMostTiled = std::min<uint64_t>(std::max<uint32_t>(limits.ulMaxRegions, 1) * ullRegion,
                                                     ullWantedBlocks);
    if (ullSpan <= ullCount * ullRegion || ullSpan <= ullMostTiled) {
        round.bTiled = true;
        round.ullSpacing = std::min(ullRegion, ullSpan);
        round.vProbes.push_back({ullLow, ullSpan});
    } else {
        round.ullSpacing = CeilDiv(ullSpan, ullCount);
        std::vector<S_BlockSpan> vRegions;
        for (uint64_t i = 0; i < ullCount && i * round.ullSpacing < ullSpan; ++i) {
            const uint64_t ullAt = ullLow + i * round.ullSpacing;
            vRegions.push_back({ullAt, std::min(ullRegion, ullHigh - ullAt)});
        }
        if (ullHigh == area.End())
            vRegions.push_back({ullHigh - ullRegion, ullRegion});
        round.vProbes = MergeSpans(vRegions);
    }
    round.window = {area.ullFirstBlock, std::min(round.ullSpacing, area.ullBlocks)};

    const uint64_t ullProbes = round.ProbeBlocks();
    if (ullWantedBlocks > ullProbes)
        round.vFiller = LowestFreeBlocks(area, round.vProbes, ullWantedBlocks - ullProbes);
    return round;
}
