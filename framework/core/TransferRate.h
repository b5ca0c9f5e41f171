#ifndef QUENVALE_FRAMEWORK_TRANSFERRATE_H
#define QUENVALE_FRAMEWORK_TRANSFERRATE_H

#include <cstdint>
#include <string>

// The transfer rate of every benchmark pass.

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

// FormatSize of the rate truncated to whole bytes (long units, one
// decimal) followed by "/sec": "35.2 MByte/sec".
std::string RateText(float fBytesPerSecond);

#endif
