#include "quick/win/QuickState.h"

#include "framework/win/Thread.h"
#include "framework/win/TimeText.h"
#include "quick/core/QuickRate.h"

C_QuickState::C_QuickState() : ulAccessPeriods(kAccessPeriods), ulAccessPeriodMs(kAccessPeriodMs)
{
    eventStop.Create(true, false);
}

void C_QuickState::RequestStop()
{
    bStopRequested.store(true);
    eventStop.Set();
}

void C_QuickState::ClearStop()
{
    bStopRequested.store(false);
    eventStop.Reset();
}

bool C_QuickState::IsStopRequested() const
{
    if (bStopRequested.load())
        return true;
    const C_Thread* pThread = pStopThread.load();
    return pThread != nullptr && pThread->IsStopRequested();
}

bool C_QuickState::WaitForStop(DWORD dwMilliseconds) const
{
    // The thread's own stop request sets no event: look at it every 50 ms.
    const uint64_t ullEnd = TickCount64() + dwMilliseconds;
    for (;;) {
        if (IsStopRequested())
            return true;
        const uint64_t ullNow = TickCount64();
        if (ullNow >= ullEnd)
            return false;
        const DWORD dwSlice = static_cast<DWORD>(ullEnd - ullNow < 50 ? ullEnd - ullNow : 50);
        ::WaitForSingleObject(eventStop.GetHandle(), dwSlice);
    }
}

int C_QuickState::ProgressPercent() const
{
    const uint32_t ulBits = ulStateBits.load();
    if (ulBits & (QUICK_STATE_SEQ_READ | QUICK_STATE_SEQ_WRITE)) {
        const uint64_t ullHundredth = ullFileSize.load() / 100;
        return ullHundredth > 0 ? static_cast<int>(ullBytesDone.load() / ullHundredth) : 0;
    }
    if (ulBits & (QUICK_STATE_RANDOM_READ | QUICK_STATE_RANDOM_WRITE)) {
        const uint32_t ulPeriods = ulAccessPeriods.load();
        return ulPeriods > 0 ? static_cast<int>(ulSecondsElapsed.load() * 100 / ulPeriods) : 0;
    }
    return 0;
}

std::string C_QuickState::LiveRateText(uint32_t* pulBitsOut) const
{
    const uint32_t ulBits = ulStateBits.load();
    if (pulBitsOut != nullptr)
        *pulBitsOut = ulBits;
    if (ulBits & (QUICK_STATE_SEQ_READ | QUICK_STATE_SEQ_WRITE)) {
        const uint64_t ullMicroseconds = stopwatch.ElapsedSoFar();
        if (IsTooFast(ullMicroseconds))
            return std::string();
        return RateText(TransferRate(ullBytesDone.load(), ullMicroseconds));
    }
    if (ulBits & (QUICK_STATE_RANDOM_READ | QUICK_STATE_RANDOM_WRITE)) {
        const uint64_t ullMicroseconds = stopwatch.ElapsedSoFar();
        const uint32_t ulCount = ulAccessCount.load();
        if (ullMicroseconds == 0 || ulCount == 0)
            return "...";
        return RateText(AccessRate(ulCount, ullMicroseconds)) + " ";
    }
    return std::string();
}

void C_QuickState::SetAccessPeriods(uint32_t ulPeriods, uint32_t ulPeriodMs)
{
    ulAccessPeriods.store(ulPeriods);
    ulAccessPeriodMs.store(ulPeriodMs);
}
