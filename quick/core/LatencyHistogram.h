#ifndef QUENVALE_QUICK_LATENCYHISTOGRAM_H
#define QUENVALE_QUICK_LATENCYHISTOGRAM_H

#include <array>
#include <cstdint>

// Latencies in nanoseconds, counted in buckets: exact below 64 ns, above
// that 32 buckets per power of two, so a percentile read back is within
// 1/32 of the true value. Values from 2^40 ns (about 18 minutes) on share
// the last bucket. Recording never allocates; one histogram per thread,
// added together afterwards.
class C_LatencyHistogram {
public:
    void Record(uint64_t ullNanoseconds);
    void Add(const C_LatencyHistogram& other);
    void Clear();

    uint64_t Count() const { return ullCount; }
    uint64_t Max() const { return ullMax; }
    uint64_t Min() const { return ullCount != 0 ? ullMin : 0; }
    // Exact mean; 0 when empty.
    double Mean() const;
    // The value below or at which dPercent percent of the samples lie (the
    // middle of that sample's bucket, kept within Min..Max); 0 when empty.
    uint64_t Percentile(double dPercent) const;

    static constexpr int kSubBits = 5;
    static constexpr int kTopBit = 40;
    static constexpr int kBuckets = 64 + (kTopBit - 6) * (1 << kSubBits);

    static int BucketOf(uint64_t ullValue);
    // Smallest value of a bucket and the number of values it holds.
    static uint64_t BucketLow(int nBucket);
    static uint64_t BucketWidth(int nBucket);

private:
    std::array<uint64_t, kBuckets> aCounts{};
    uint64_t ullCount = 0;
    uint64_t ullSum = 0;
    uint64_t ullMax = 0;
    uint64_t ullMin = UINT64_MAX;
};

#endif
