#ifndef QUENVALE_QUICK_QUICKFIGURES_H
#define QUENVALE_QUICK_QUICKFIGURES_H

#include <array>
#include <cstdint>
#include <string>

#include "quick/core/QuickAccessLog.h"

// Per-access latency of a random pass, in milliseconds.
struct S_LatencyFigures {
    uint64_t ullSamples = 0;
    double dMeanMs = 0;
    double dMedianMs = 0;
    double dP99Ms = 0;
    double dMaxMs = 0;
};

// The raw figures of one pass, beside the text that the page shows.
struct S_QuickPassFigures {
    bool bRan = false;              // false: skipped, or not reached after an earlier failure
    bool bSuccess = false;
    uint64_t ullBytes = 0;          // what the rate counts: the file size (sequential), accesses × 4096 (random)
    uint64_t ullBytesMoved = 0;     // bytes actually transferred in the timed part
    uint64_t ullTransfers = 0;      // blocks (sequential) or counted accesses (random)
    uint64_t ullMicroseconds = 0;
    double dBytesPerSecond = 0;     // as the page computes it (single precision)
    double dIops = 0;               // transfers per second
    double dMeanMs = 0;             // milliseconds per transfer (random: as the page computes it)
    uint32_t ulError = 0;           // Windows error of a failed pass (0: none, or stopped)
    bool bHasLatency = false;       // random passes measured with the performance counter
    S_LatencyFigures latency;
};

// Index of a pass in the arrays below.
inline size_t PassIndex(E_QuickPass ePass)
{
    return static_cast<size_t>(ePass);
}

// What one drive's sequence gave.
struct S_QuickDriveReport {
    char cLetter = 0;                       // the letter in the log lines
    std::string strRoot;                    // folder that holds the test folder, with its trailing '\'
    std::string strName;                    // the drive's list text
    std::string strDescription;             // vendor, product, revision; may be empty
    uint32_t ulBusBits = 0;
    int nUsbCode = -1;
    std::string strUsbText;
    bool bSuccess = false;                  // the last pass that ran succeeded
    std::array<std::string, 4> aResults;    // by PassIndex; empty when failed or not run
    std::array<std::string, 4> aWarnings;   // sequential passes only
    std::array<S_QuickPassFigures, 4> aFigures;
};

#endif
