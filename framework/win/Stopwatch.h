#ifndef QUENVALE_FRAMEWORK_STOPWATCH_H
#define QUENVALE_FRAMEWORK_STOPWATCH_H

#include <atomic>
#include <cstdint>

// Microsecond stopwatch. From Windows Vista on, when the system has a
// performance counter, it counts with QueryPerformanceCounter; otherwise
// with timeGetTime (milliseconds).
//
// The worker starts and stops it; another thread may read the time so far
// (ElapsedSoFar) or the last stop (Elapsed) at any moment.
class C_Stopwatch {
public:
    C_Stopwatch();
    C_Stopwatch(const C_Stopwatch&) = delete;
    C_Stopwatch& operator=(const C_Stopwatch&) = delete;

    void Start();
    // Stores the time since Start and returns it in microseconds.
    uint64_t Stop();
    // Microseconds between Start and the last Stop.
    uint64_t Elapsed() const;
    // Microseconds since Start, without storing them.
    uint64_t ElapsedSoFar() const;

    bool UsesPerformanceCounter() const { return pfnCounter == nullptr && bPerformanceCounter; }
    // The counter value of the last Start, in counts of the clock in use.
    int64_t StartCount() const { return llStart.load(); }
    // The clock's counts now.
    int64_t Now() const;

    // Tests only: a clock of their own (counts, counts per second) in place
    // of the system's.
    using T_Counter = int64_t (*)();
    void UseCounter(T_Counter pfnCounterIn, int64_t llFrequencyIn);

private:
    uint64_t ToMicroseconds(int64_t llCounts) const;

    bool bPerformanceCounter = false;
    int64_t llFrequency = 1000;         // counts per second
    T_Counter pfnCounter = nullptr;
    std::atomic<int64_t> llStart{0};
    std::atomic<int64_t> llDifference{0};
};

#endif
