#ifndef QUENVALE_TESTS_QUICKTESTCLOCK_H
#define QUENVALE_TESTS_QUICKTESTCLOCK_H

#include <atomic>
#include <cstdint>

#include "framework/win/Stopwatch.h"

// A stopwatch clock that moves only when a test moves it: one count is one
// microsecond.
class C_QuickTestClock {
public:
    static std::atomic<int64_t>& Microseconds()
    {
        static std::atomic<int64_t> llNow{1000000};
        return llNow;
    }
    static int64_t Counter() { return Microseconds().load(); }
    static void Advance(int64_t llMicroseconds) { Microseconds().fetch_add(llMicroseconds); }
    static void Attach(C_Stopwatch& stopwatch) { stopwatch.UseCounter(Counter, 1000000); }
};

#endif
