#include "blockaccess/core/BlockRateGroups.h"

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdio>

#include "blockaccess/core/BlockSequence.h"
#include "framework/core/SizeText.h"
#include "framework/core/TransferRate.h"

namespace {

// Median bins: 128 per doubling of the rate from 1 byte/s to 2^48 bytes/s.
constexpr int kBinsPerOctave = 128;
constexpr int kOctaves = 48;
constexpr size_t kBins = static_cast<size_t>(kBinsPerOctave * kOctaves);

size_t BinOf(float fBytesPerSecond)
{
    if (!(fBytesPerSecond > 1.0f))
        return 0;
    const double dBin = std::log2(static_cast<double>(fBytesPerSecond)) * kBinsPerOctave;
    return dBin >= static_cast<double>(kBins - 1) ? kBins - 1 : static_cast<size_t>(dBin);
}

// The geometric middle of a bin.
float BinRate(size_t nBin)
{
    return static_cast<float>(std::exp2((static_cast<double>(nBin) + 0.5) / kBinsPerOctave));
}

} // namespace

S_BlockGroupRate BlockGroupRate(uint32_t ulBufferBytes, uint32_t ulCalcEvery, uint64_t ullMicroseconds,
                                const std::string& strTooFast)
{
    S_BlockGroupRate rate;
    rate.ullMicroseconds = ullMicroseconds;
    if (ullMicroseconds == 0) {
        rate.bTooFast = true;
        rate.strSpeed = strTooFast;
        return rate;
    }
    rate.fBytesPerSecond = TransferRate(static_cast<uint64_t>(ulBufferBytes) * ulCalcEvery, ullMicroseconds);
    const float fKBytesPerSecond = rate.fBytesPerSecond / 1024.0f;
    rate.fMBytesPerSecond = fKBytesPerSecond / 1024.0f;
    const uint64_t ullWholeKBytes = static_cast<uint64_t>(fKBytesPerSecond);
    char szTime[32];
    std::snprintf(szTime, sizeof(szTime), "/sec - %" PRIu64 " msec", ullMicroseconds / 1000);
    rate.strSpeed = FormatSize(ullWholeKBytes * 1024, 0, 1) + szTime;
    return rate;
}

C_BlockRateGroups::C_BlockRateGroups(uint64_t ullLoopMax, uint32_t ulCalcEveryIn, uint32_t ulBufferBytesIn,
                                     const std::string& strTooFastIn, size_t nExactSamplesIn)
    : ulCalcEvery(ulCalcEveryIn == 0 ? 1 : ulCalcEveryIn), ulBufferBytes(ulBufferBytesIn), strTooFast(strTooFastIn),
      ullGraphStep(::GraphStep(ullLoopMax)), vGraph(static_cast<size_t>(GraphPoints(ullLoopMax)), kNoGraphPoint),
      nExactSamples(nExactSamplesIn)
{
    if (ulCalcEvery != 1 && !vGraph.empty())
        vGraph[0] = 0.0f;
}

bool C_BlockRateGroups::AccessDone()
{
    ++summary.ullAccesses;
    summary.ullBytes += ulBufferBytes;
    if (ulInGroup >= ulCalcEvery)
        return true;
    ++ulInGroup;
    return false;
}

S_BlockGroupRate C_BlockRateGroups::CloseGroup(uint64_t ullLoop, uint64_t ullMicroseconds)
{
    ulInGroup = 1;
    S_BlockGroupRate rate = BlockGroupRate(ulBufferBytes, ulCalcEvery, ullMicroseconds, strTooFast);
    rate.ullPoint = ullLoop / ullGraphStep;
    rate.bPointInGraph = rate.ullPoint < vGraph.size();
    if (rate.bPointInGraph)
        vGraph[static_cast<size_t>(rate.ullPoint)] = rate.fMBytesPerSecond;
    ++summary.ullGroups;
    if (rate.bTooFast) {
        ++summary.ullTooFastGroups;
        return rate;
    }
    const uint64_t ullGroupBytes = static_cast<uint64_t>(ulBufferBytes) * ulCalcEvery;
    summary.ullMicroseconds += ullMicroseconds;
    summary.ullTimedBytes += ullGroupBytes;
    if (ullTimedGroups == 0 || rate.fBytesPerSecond < summary.fMinBytesPerSecond)
        summary.fMinBytesPerSecond = rate.fBytesPerSecond;
    if (ullTimedGroups == 0 || rate.fBytesPerSecond > summary.fMaxBytesPerSecond)
        summary.fMaxBytesPerSecond = rate.fBytesPerSecond;
    KeepSample(rate.fBytesPerSecond);
    return rate;
}

void C_BlockRateGroups::KeepSample(float fBytesPerSecond)
{
    ++ullTimedGroups;
    if (vBins.empty() && vSamples.size() < nExactSamples) {
        vSamples.push_back(fBytesPerSecond);
        return;
    }
    if (vBins.empty()) {
        vBins.assign(kBins, 0);
        for (const float fSample : vSamples)
            ++vBins[BinOf(fSample)];
        std::vector<float>().swap(vSamples);
    }
    ++vBins[BinOf(fBytesPerSecond)];
}

S_BlockRateSummary C_BlockRateGroups::Summary() const
{
    S_BlockRateSummary result = summary;
    if (result.ullMicroseconds != 0)
        result.dBytesPerSecond =
            static_cast<double>(result.ullTimedBytes) * 1000000.0 / static_cast<double>(result.ullMicroseconds);
    if (!vSamples.empty()) {
        std::vector<float> vSorted = vSamples;
        const size_t nMiddle = vSorted.size() / 2;
        std::nth_element(vSorted.begin(), vSorted.begin() + static_cast<std::ptrdiff_t>(nMiddle), vSorted.end());
        result.fMedianBytesPerSecond = vSorted[nMiddle];
    } else if (!vBins.empty()) {
        uint64_t ullBelow = 0;
        size_t nBin = 0;
        while (nBin + 1 < vBins.size() && ullBelow + vBins[nBin] <= ullTimedGroups / 2)
            ullBelow += vBins[nBin++];
        // A bin's middle, kept within the rates actually seen.
        result.fMedianBytesPerSecond =
            std::min(std::max(BinRate(nBin), result.fMinBytesPerSecond), result.fMaxBytesPerSecond);
    }
    return result;
}
