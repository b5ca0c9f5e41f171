#include "framework/win/Stopwatch.h"

#include <windows.h>
#include <mmsystem.h>

#include "framework/core/OsVersion.h"
#include "framework/win/OsWord.h"
#include "framework/core/TransferRate.h"

C_Stopwatch::C_Stopwatch()
{
    LARGE_INTEGER frequency;
    if (IsWindowsAtLeast(OS_VISTA) && ::QueryPerformanceFrequency(&frequency) && frequency.QuadPart > 0) {
        bPerformanceCounter = true;
        llFrequency = frequency.QuadPart;
    }
}

void C_Stopwatch::UseCounter(T_Counter pfnCounterIn, int64_t llFrequencyIn)
{
    pfnCounter = pfnCounterIn;
    llFrequency = llFrequencyIn;
}

int64_t C_Stopwatch::Now() const
{
    if (pfnCounter != nullptr)
        return pfnCounter();
    if (bPerformanceCounter) {
        LARGE_INTEGER counter;
        ::QueryPerformanceCounter(&counter);
        return counter.QuadPart;
    }
    return static_cast<int64_t>(::timeGetTime());
}

uint64_t C_Stopwatch::ToMicroseconds(int64_t llCounts) const
{
    if (llCounts <= 0)
        return 0;
    if (pfnCounter == nullptr && !bPerformanceCounter)
        return static_cast<uint64_t>(static_cast<uint32_t>(llCounts)) * 1000;
    return CountsToMicroseconds(static_cast<uint64_t>(llCounts), static_cast<uint64_t>(llFrequency));
}

void C_Stopwatch::Start()
{
    llDifference.store(0);
    llStart.store(Now());
}

uint64_t C_Stopwatch::Stop()
{
    int64_t llCounts = Now() - llStart.load();
    if (pfnCounter == nullptr && !bPerformanceCounter)
        llCounts = static_cast<uint32_t>(llCounts);   // timeGetTime wraps after 49.7 days
    llDifference.store(llCounts);
    return ToMicroseconds(llCounts);
}

uint64_t C_Stopwatch::Elapsed() const
{
    return ToMicroseconds(llDifference.load());
}

uint64_t C_Stopwatch::ElapsedSoFar() const
{
    int64_t llCounts = Now() - llStart.load();
    if (pfnCounter == nullptr && !bPerformanceCounter)
        llCounts = static_cast<uint32_t>(llCounts);
    return ToMicroseconds(llCounts);
}
