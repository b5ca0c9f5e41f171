#ifndef QUENVALE_QUICK_QUICKRATE_H
#define QUENVALE_QUICK_QUICKRATE_H

#include <cstdint>
#include <string>

// Constants of the Quick Access passes.
constexpr uint32_t kAccessSize = 4096;          // bytes per random access
constexpr uint32_t kAccessThreads = 32;         // random accesses in flight
constexpr uint32_t kAccessPeriods = 6;          // a random pass runs this many periods...
constexpr uint32_t kAccessPeriodMs = 1000;      // ...of this many milliseconds
constexpr uint64_t kMByte = 1048576;

// A pass of this many microseconds or fewer is too fast to rate.
constexpr uint64_t kTooFastMicroseconds = 10;

inline bool IsTooFast(uint64_t ullMicroseconds)
{
    return ullMicroseconds <= kTooFastMicroseconds;
}

// Stopwatch counts as microseconds: counts × 1000000 / frequency in 64-bit
// integers; 0 for a zero frequency.
uint64_t CountsToMicroseconds(uint64_t ullCounts, uint64_t ullFrequency);

// Bytes per second in single precision: bytes × 1000 × 1000 rounded to
// single precision, divided by the microseconds, rounded again. 0 for 0 µs.
float TransferRate(uint64_t ullBytes, uint64_t ullMicroseconds);

// Whole MByte per second, truncated toward zero.
uint32_t WholeMBytesPerSecond(float fBytesPerSecond);

// FormatSize of the rate truncated to whole bytes (long units, one
// decimal) followed by "/sec": "35.2 MByte/sec".
std::string RateText(float fBytesPerSecond);

// The figures of a random pass with ulAccesses accesses of kAccessSize
// bytes in ullMicroseconds (above 0):
// bytes per second = n × 4096 × 1000 × 1000 / t, each step in single precision;
float AccessRate(uint32_t ulAccesses, uint64_t ullMicroseconds);
// accesses per second = n × 1000 × 1000 / t;
float AccessIops(uint32_t ulAccesses, uint64_t ullMicroseconds);
// mean milliseconds per access = (t / 1000 in single precision) / n.
float AccessMeanMs(uint32_t ulAccesses, uint64_t ullMicroseconds);
// "12.3 MByte/sec, 3149.6 IOPS, 0.32 ms".
std::string AccessResultText(uint32_t ulAccesses, uint64_t ullMicroseconds);

#endif
