#ifndef QUENVALE_QUICK_QUICKRATE_H
#define QUENVALE_QUICK_QUICKRATE_H

#include <cstdint>
#include <string>

#include "framework/core/TransferRate.h"

// Constants of the Quick Access passes.
constexpr uint32_t kAccessSize = 4096;          // bytes per random access
constexpr uint32_t kAccessThreads = 32;         // random accesses in flight
constexpr uint32_t kAccessPeriods = 6;          // a random pass runs this many periods...
constexpr uint32_t kAccessPeriodMs = 1000;      // ...of this many milliseconds
constexpr uint64_t kMByte = 1048576;

// Whole MByte per second, truncated toward zero.
uint32_t WholeMBytesPerSecond(float fBytesPerSecond);

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
