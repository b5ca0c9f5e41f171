#include "blockaccess/core/VerifyTally.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

namespace {

// A tally keeps this many pending flags at most; beyond it the device is
// so far from its claim that the first bad block is long known.
constexpr size_t kMaxFlagged = 1u << 20;

} // namespace

C_VerifyTally::C_VerifyTally(const S_VerifyArea& areaIn) : area(areaIn) {}

void C_VerifyTally::BeginRound(const std::vector<S_BlockSpan>& vProbesIn, uint64_t ullEarlyBlock)
{
    mapProbes.clear();
    for (const S_BlockSpan& span : MergeSpans(vProbesIn))
        mapProbes[span.ullFirst] = span.End();
    ullEarly = ullEarlyBlock;
    setFlagged.clear();
}

bool C_VerifyTally::IsProbe(uint64_t ullAddress) const
{
    auto it = mapProbes.upper_bound(ullAddress);
    if (it == mapProbes.begin())
        return false;
    --it;
    return ullAddress < it->second;
}

std::vector<S_BlockSpan> C_VerifyTally::Probes() const
{
    std::vector<S_BlockSpan> vProbes;
    for (const auto& probe : mapProbes)
        vProbes.push_back({probe.first, probe.second - probe.first});
    return vProbes;
}

void C_VerifyTally::Good(uint64_t ullAddress)
{
    ++counts.ullProbed;
    if (!vGood.empty() && vGood.back().End() == ullAddress)
        ++vGood.back().ullCount;
    else
        vGood.push_back({ullAddress, 1});
}

void C_VerifyTally::Bad(uint64_t ullFirst, uint64_t ullCount)
{
    if (ullCount == 0)
        return;
    counts.ullProbed += ullCount;
    counts.ullBad += ullCount;
    if (!bAnyBad || ullFirst < ullFirstBad)
        ullFirstBad = ullFirst;
    bAnyBad = true;
}

void C_VerifyTally::BlockRead(uint64_t ullAddress, const S_StampCheck& check)
{
    const bool bProbe = IsProbe(ullAddress);
    bool bHigherOnThisStorage = false;
    if (check.eResult == E_StampCheck::WrongAddress && check.ullNamedAddress > ullAddress) {
        bHigherOnThisStorage = true;
        if (IsProbe(check.ullNamedAddress) && setFlagged.size() < kMaxFlagged)
            setFlagged.insert(check.ullNamedAddress);
    }
    if (!bProbe)
        return;
    const auto itFlag = setFlagged.find(ullAddress);
    const bool bFlagged = itFlag != setFlagged.end();
    if (bFlagged)
        setFlagged.erase(itFlag);

    if (check.eResult == E_StampCheck::Good && !bFlagged) {
        Good(ullAddress);
    } else if (bHigherOnThisStorage && ullAddress == ullEarly && !bFlagged) {
        // Written before its alias, which took the storage over: the block
        // itself is real.
        Good(ullAddress);
    } else if (check.eResult == E_StampCheck::StaleKey && !bFlagged) {
        ++counts.ullStale;
        Bad(ullAddress, 1);
    } else if (bFlagged || check.eResult == E_StampCheck::WrongAddress) {
        ++counts.ullWrapped;
        Bad(ullAddress, 1);
    } else {
        Bad(ullAddress, 1);
    }
}

uint64_t C_VerifyTally::TakeProbes(uint64_t ullFirst, uint64_t ullCount, uint64_t& ullLowest)
{
    const uint64_t ullEnd = ullFirst + ullCount;
    uint64_t ullTaken = 0;
    auto it = mapProbes.upper_bound(ullFirst);
    if (it != mapProbes.begin() && std::prev(it)->second > ullFirst)
        --it;
    while (it != mapProbes.end() && it->first < ullEnd) {
        const uint64_t ullProbeFirst = it->first;
        const uint64_t ullProbeEnd = it->second;
        const uint64_t ullFrom = std::max(ullProbeFirst, ullFirst);
        const uint64_t ullTo = std::min(ullProbeEnd, ullEnd);
        if (ullTaken == 0)
            ullLowest = ullFrom;
        ullTaken += ullTo - ullFrom;
        it = mapProbes.erase(it);
        if (ullProbeFirst < ullFrom)
            mapProbes[ullProbeFirst] = ullFrom;
        if (ullTo < ullProbeEnd)
            it = mapProbes.emplace(ullTo, ullProbeEnd).first;
    }
    return ullTaken;
}

void C_VerifyTally::BlocksUnreadable(uint64_t ullFirst, uint64_t ullCount)
{
    uint64_t ullLowest = 0;
    const uint64_t ullTaken = TakeProbes(ullFirst, ullCount, ullLowest);
    counts.ullUnreadable += ullTaken;
    Bad(ullLowest, ullTaken);
}

void C_VerifyTally::BlocksUnwritten(uint64_t ullFirst, uint64_t ullCount)
{
    uint64_t ullLowest = 0;
    const uint64_t ullTaken = TakeProbes(ullFirst, ullCount, ullLowest);
    counts.ullUnwritten += ullTaken;
    Bad(ullLowest, ullTaken);
}

void C_VerifyTally::EndRound()
{
    vGood = MergeSpans(vGood);
    setFlagged.clear();
}

bool C_VerifyTally::HighestGoodBelow(uint64_t ullLimit, uint64_t& ullOut) const
{
    bool bFound = false;
    for (const S_BlockSpan& span : vGood) {
        if (span.ullFirst >= ullLimit)
            continue;
        const uint64_t ullTop = std::min(span.End(), ullLimit) - 1;
        if (!bFound || ullTop > ullOut)
            ullOut = ullTop;
        bFound = true;
    }
    return bFound;
}

bool C_VerifyTally::NextInterval(uint64_t& ullLow, uint64_t& ullHigh) const
{
    if (!bAnyBad)
        return false;
    uint64_t ullGood = 0;
    const uint64_t ullFrom = HighestGoodBelow(ullFirstBad, ullGood) ? ullGood + 1 : area.ullFirstBlock;
    if (ullFrom >= ullFirstBad)
        return false;
    ullLow = ullFrom;
    ullHigh = ullFirstBad;
    return true;
}

S_VerifyFindings C_VerifyTally::Findings() const
{
    S_VerifyFindings findings;
    findings.area = area;
    findings.counts = counts;
    findings.bAnyBad = bAnyBad;
    findings.ullFirstBad = bAnyBad ? ullFirstBad : 0;
    if (!bAnyBad) {
        findings.ullGoodBlocks = area.ullBlocks;
        findings.bResolved = true;
        return findings;
    }
    uint64_t ullGood = 0;
    findings.ullGoodBlocks =
        HighestGoodBelow(ullFirstBad, ullGood) ? ullGood + 1 - area.ullFirstBlock : 0;
    uint64_t ullLow = 0, ullHigh = 0;
    findings.bResolved = !NextInterval(ullLow, ullHigh);
    return findings;
}

std::string VerifyGigabyteText(uint64_t ullBytes)
{
    if (ullBytes == 0)
        return "0";
    const double dGigabytes = static_cast<double>(ullBytes) / 1e9;
    int nDecimals = dGigabytes >= 100 ? 0 : dGigabytes >= 10 ? 1 : dGigabytes >= 0.1 ? 2 : 3;
    char sz[64];
    for (;; ++nDecimals) {
        std::snprintf(sz, sizeof(sz), "%.*f", nDecimals, dGigabytes);
        if (nDecimals >= 9 || std::string(sz).find_first_not_of("0.") != std::string::npos)
            return sz;
    }
}

std::string VerifyVerdictText(const S_VerifyFindings& findings)
{
    if (!findings.bAnyBad)
        return "capacity holds";
    return "only the first " + VerifyGigabyteText(findings.GoodBytes()) +
           " GB hold: counterfeit or damaged";
}
