#ifndef QUENVALE_QUICK_QUICKSTATE_H
#define QUENVALE_QUICK_QUICKSTATE_H

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "framework/win/Event.h"
#include "framework/win/Stopwatch.h"

class C_Thread;

// Which pass runs (the state bits).
enum : uint32_t {
    QUICK_STATE_SEQ_READ = 0x1,
    QUICK_STATE_SEQ_WRITE = 0x2,
    QUICK_STATE_RANDOM_READ = 0x4,
    QUICK_STATE_RANDOM_WRITE = 0x8,
};

// What a Quick Access run shares with the threads that watch it: progress
// counters, the stopwatch, the state bits and the stop request.
//
// The worker side (the run's thread and the random pass's threads) writes
// the counters; any thread may read them at any time (each is one atomic
// value). The stop request may be set from any thread.
class C_QuickState {
public:
    C_QuickState();
    C_QuickState(const C_QuickState&) = delete;
    C_QuickState& operator=(const C_QuickState&) = delete;

    // Bytes moved so far in the current sequential pass.
    std::atomic<uint64_t> ullBytesDone{0};
    // Whole seconds of the current random pass.
    std::atomic<uint32_t> ulSecondsElapsed{0};
    // Accesses completed in the current random pass.
    std::atomic<uint32_t> ulAccessCount{0};
    // Bytes of the test file of the current run.
    std::atomic<uint64_t> ullFileSize{0};
    // QUICK_STATE_ bits of the pass that runs.
    std::atomic<uint32_t> ulStateBits{0};
    C_Stopwatch stopwatch;

    // Asks the run to stop; it stays asked until ClearStop (the run's start).
    void RequestStop();
    void ClearStop();
    // The stop request, or that of the page's worker thread when one was
    // named with SetStopThread (its own RequestStop counts as well).
    bool IsStopRequested() const;
    void SetStopThread(const C_Thread* pThreadIn) { pStopThread.store(pThreadIn); }
    // Waits up to dwMilliseconds; true at once when a stop is requested.
    bool WaitForStop(DWORD dwMilliseconds) const;

    // The progress bar's percent: of the file for a sequential pass, of the
    // periods for a random pass, 0 between passes.
    int ProgressPercent() const;
    // The live rate as the page shows it while a pass runs: the rate so
    // far ("12.3 MByte/sec"; empty in the first 10 µs) of a sequential
    // pass, "<rate>/sec " (or "..." before the first access) of a random
    // pass; empty between passes. *pulBitsOut gets the state bits it is for.
    std::string LiveRateText(uint32_t* pulBitsOut = nullptr) const;

    // Length of the random pass: the periods and their milliseconds
    // (6 × 1000 ms; tests make them short).
    void SetAccessPeriods(uint32_t ulPeriods, uint32_t ulPeriodMs);
    uint32_t GetAccessPeriods() const { return ulAccessPeriods.load(); }
    uint32_t GetAccessPeriodMs() const { return ulAccessPeriodMs.load(); }

private:
    std::atomic<bool> bStopRequested{false};
    std::atomic<const C_Thread*> pStopThread{nullptr};
    C_Event eventStop;
    std::atomic<uint32_t> ulAccessPeriods;
    std::atomic<uint32_t> ulAccessPeriodMs;
};

#endif
