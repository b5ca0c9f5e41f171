#include "quick/core/LatencyHistogram.h"

#include <cmath>

namespace {

// Index of the highest set bit; ullValue above 0.
int HighestBit(uint64_t ullValue)
{
    int nBit = 0;
    for (int nShift = 32; nShift > 0; nShift /= 2) {
        if (ullValue >> nShift) {
            ullValue >>= nShift;
            nBit += nShift;
        }
    }
    return nBit;
}

} // namespace

int C_LatencyHistogram::BucketOf(uint64_t ullValue)
{
    if (ullValue < 64)
        return static_cast<int>(ullValue);
    const int nBit = HighestBit(ullValue);
    if (nBit >= kTopBit)
        return kBuckets - 1;
    const int nSub = static_cast<int>((ullValue >> (nBit - kSubBits)) & ((1 << kSubBits) - 1));
    return 64 + (nBit - 6) * (1 << kSubBits) + nSub;
}

uint64_t C_LatencyHistogram::BucketLow(int nBucket)
{
    if (nBucket < 64)
        return static_cast<uint64_t>(nBucket);
    const int nBit = (nBucket - 64) / (1 << kSubBits) + 6;
    const int nSub = (nBucket - 64) % (1 << kSubBits);
    return static_cast<uint64_t>((1 << kSubBits) + nSub) << (nBit - kSubBits);
}

uint64_t C_LatencyHistogram::BucketWidth(int nBucket)
{
    if (nBucket < 64)
        return 1;
    const int nBit = (nBucket - 64) / (1 << kSubBits) + 6;
    return uint64_t{1} << (nBit - kSubBits);
}

void C_LatencyHistogram::Record(uint64_t ullNanoseconds)
{
    ++aCounts[static_cast<size_t>(BucketOf(ullNanoseconds))];
    ++ullCount;
    ullSum += ullNanoseconds;
    if (ullNanoseconds > ullMax)
        ullMax = ullNanoseconds;
    if (ullNanoseconds < ullMin)
        ullMin = ullNanoseconds;
}

void C_LatencyHistogram::Add(const C_LatencyHistogram& other)
{
    for (size_t i = 0; i < aCounts.size(); ++i)
        aCounts[i] += other.aCounts[i];
    ullCount += other.ullCount;
    ullSum += other.ullSum;
    if (other.ullMax > ullMax)
        ullMax = other.ullMax;
    if (other.ullMin < ullMin)
        ullMin = other.ullMin;
}

void C_LatencyHistogram::Clear()
{
    *this = C_LatencyHistogram();
}

double C_LatencyHistogram::Mean() const
{
    return ullCount != 0 ? static_cast<double>(ullSum) / static_cast<double>(ullCount) : 0.0;
}

uint64_t C_LatencyHistogram::Percentile(double dPercent) const
{
    if (ullCount == 0)
        return 0;
    double dRank = std::ceil(dPercent / 100.0 * static_cast<double>(ullCount));
    if (!(dRank >= 1.0))
        dRank = 1.0;
    const uint64_t ullRank =
        dRank >= static_cast<double>(ullCount) ? ullCount : static_cast<uint64_t>(dRank);
    uint64_t ullSeen = 0;
    for (int nBucket = 0; nBucket < kBuckets; ++nBucket) {
        ullSeen += aCounts[static_cast<size_t>(nBucket)];
        if (ullSeen >= ullRank) {
            uint64_t ullValue = BucketLow(nBucket) + BucketWidth(nBucket) / 2;
            if (ullValue > ullMax)
                ullValue = ullMax;
            if (ullValue < Min())
                ullValue = Min();
            return ullValue;
        }
    }
    return ullMax;
}
