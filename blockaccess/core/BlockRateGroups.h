#ifndef QUENVALE_BLOCKACCESS_BLOCKRATEGROUPS_H
#define QUENVALE_BLOCKACCESS_BLOCKRATEGROUPS_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The rate of one group of ulCalcEvery accesses of ulBufferBytes each that
// took ullMicroseconds, as the page shows it.
struct S_BlockGroupRate {
    uint64_t ullMicroseconds = 0;
    bool bTooFast = false;           // 0 µs: no rate
    float fBytesPerSecond = 0.0f;
    float fMBytesPerSecond = 0.0f;   // the graph's value: KiB/s over 1024
    // "<FormatSize of the whole KiB/s × 1024>/sec - <ms> msec", e.g.
    // "98.5 MByte/sec - 10 msec"; the too-fast text for 0 µs.
    std::string strSpeed;
    uint64_t ullPoint = 0;           // the graph point: index of the group's last access / graph step
    bool bPointInGraph = false;      // false when ullPoint is past the graph's last point
};

// The rate figures of a group; the byte count is taken in 64 bits, so long
// groups of large buffers do not wrap. strTooFast is the text of string 57.
S_BlockGroupRate BlockGroupRate(uint32_t ulBufferBytes, uint32_t ulCalcEvery, uint64_t ullMicroseconds,
                                const std::string& strTooFast = "[Too Fast]");

// What a whole run's groups came to.
struct S_BlockRateSummary {
    uint64_t ullAccesses = 0;         // successful accesses
    uint64_t ullBytes = 0;            // bytes they moved
    uint64_t ullGroups = 0;           // closed groups
    uint64_t ullTooFastGroups = 0;    // groups of 0 µs (no rate; left out of the figures below)
    uint64_t ullMicroseconds = 0;     // the timed groups' time
    uint64_t ullTimedBytes = 0;       // the timed groups' bytes
    double dBytesPerSecond = 0.0;     // timed bytes over timed time; 0 without a timed group
    float fMinBytesPerSecond = 0.0f;  // of the timed groups; 0 without one
    // The middle rate (of an even count the upper of the two middle ones);
    // exact up to the exact samples' count of timed groups, beyond within 0.6 %.
    float fMedianBytesPerSecond = 0.0f;
    float fMaxBytesPerSecond = 0.0f;
};

// Marks a graph point that no group reached.
constexpr float kNoGraphPoint = -1.0f;

// The rate groups of one run: which access starts and ends a group, the
// group rates, the graph points the speed graph would draw (one per
// GraphPoints(ullLoopMax), later groups of a point replacing earlier ones,
// point 0 set to 0 when ulCalcEvery is not 1), and the run's summary. Used
// by the worker's thread alone.
//
//   C_BlockRateGroups groups(sequence.LoopMax(), params.ulCalcEvery, ulBufferBytes);
//   for each access ullLoop:
//       if (groups.StartsGroup()) stopwatch.Start();
//       if (!access()) break;
//       if (groups.AccessDone()) {
//           stopwatch.Stop();
//           const S_BlockGroupRate rate = groups.CloseGroup(ullLoop, stopwatch.Elapsed());
//           show rate.strSpeed; feed the graph with rate.ullPoint, rate.fMBytesPerSecond
//       }
class C_BlockRateGroups {
public:
    // nExactSamples: timed groups whose rates are kept one by one for the
    // median; beyond them the median comes from logarithmic bins.
    C_BlockRateGroups(uint64_t ullLoopMax, uint32_t ulCalcEvery, uint32_t ulBufferBytesIn,
                      const std::string& strTooFastIn = "[Too Fast]", size_t nExactSamplesIn = size_t{1} << 20);

    // True before the first access of a group (the stopwatch starts then).
    bool StartsGroup() const { return ulInGroup == 1; }
    // Counts a successful access; true when it completes its group, which
    // the caller then closes with CloseGroup.
    bool AccessDone();
    // Records the group that access ullLoop completed.
    S_BlockGroupRate CloseGroup(uint64_t ullLoop, uint64_t ullMicroseconds);

    uint64_t GraphStep() const { return ullGraphStep; }
    // One entry per graph point in MByte/s, kNoGraphPoint where none came.
    const std::vector<float>& GraphValues() const { return vGraph; }
    S_BlockRateSummary Summary() const;

private:
    void KeepSample(float fBytesPerSecond);

    uint32_t ulCalcEvery;
    uint32_t ulBufferBytes;
    std::string strTooFast;
    uint32_t ulInGroup = 1;           // accesses of the open group, counting the next one
    uint64_t ullGraphStep;
    std::vector<float> vGraph;
    S_BlockRateSummary summary;
    // Rates kept for the median: each timed group's up to nExactSamples of
    // them, then counts per logarithmic bin, so a run of any length keeps little.
    size_t nExactSamples;
    std::vector<float> vSamples;
    std::vector<uint64_t> vBins;
    uint64_t ullTimedGroups = 0;
};

#endif
