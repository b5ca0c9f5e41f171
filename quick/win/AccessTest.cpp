#include "quick/win/AccessTest.h"

#include <array>
#include <atomic>
#include <ctime>
#include <memory>
#include <vector>

#include "framework/win/Event.h"
#include "framework/win/Thread.h"
#include "framework/win/TransferBuffer.h"
#include "quick/core/AccessPosition.h"
#include "quick/core/LatencyHistogram.h"
#include "quick/core/QuickRate.h"

namespace {

// What one access thread owns; made before the threads are released.
struct S_AccessSlot {
    C_Event eventReady;              // automatic reset; set by the thread when it waits for the start
    std::unique_ptr<I_TransferAccessor> pAccessor;   // the thread's own handle on the test file
    uint8_t* pReadBuffer = nullptr;  // 4096 bytes of its own for reads
    C_LatencyHistogram latency;      // nanoseconds per counted access
    DWORD dwError = 0;               // the error of its failed access
};

// The job block of one random pass, shared by its 32 threads.
struct S_AccessJob {
    int nDirection = 0;
    uint8_t* pWriteData = nullptr;   // 4096 random bytes, the data written (only read by the threads)
    uint64_t ullFileSize = 0;
    std::atomic<uint32_t>* pAccessCount = nullptr;
    std::atomic<int> nStop{0};       // set once to 1 by the coordinator
    std::atomic<int> nResult{1};     // only ever set to 0, by any thread
    C_Event eventStart;              // manual reset; releases all threads together
    uint32_t ulSeedTime = 0;         // seconds; thread i seeds its generator with this + i
    int64_t llCounterFrequency = 0;  // performance counter counts per second; 0 = no latencies
    std::array<S_AccessSlot, kAccessThreads> aSlots;
    // The write data and the threads' read buffers, 4096 bytes each.
    std::vector<uint8_t> vBuffers;
};

int64_t Counter()
{
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    return counter.QuadPart;
}

uint64_t CountsToNanoseconds(int64_t llCounts, int64_t llFrequency)
{
    if (llCounts <= 0 || llFrequency <= 0)
        return 0;
    const uint64_t ullCounts = static_cast<uint64_t>(llCounts);
    const uint64_t ullFrequency = static_cast<uint64_t>(llFrequency);
    return ullCounts / ullFrequency * 1000000000 + ullCounts % ullFrequency * 1000000000 / ullFrequency;
}

uint8_t* AlignUp(uint8_t* p)
{
    const uintptr_t ullAddress = reinterpret_cast<uintptr_t>(p);
    return p + ((kAccessSize - ullAddress % kAccessSize) % kAccessSize);
}

} // namespace

DWORD WorkerDoAccesstestThread(void* pJobIn, uint32_t ulIndex)
{
    S_AccessJob& job = *static_cast<S_AccessJob*>(pJobIn);
    S_AccessSlot& slot = job.aSlots[ulIndex];
    C_CrtRandom random(job.ulSeedTime + ulIndex);
    const uint64_t ullFileSize = job.ullFileSize;
    const bool bWrite = job.nDirection == 1;
    uint8_t* pBuffer = bWrite ? job.pWriteData : slot.pReadBuffer;
    I_TransferAccessor& accessor = *slot.pAccessor;
    const int64_t llFrequency = job.llCounterFrequency;

    slot.eventReady.Set();
    job.eventStart.Wait(INFINITE);

    // Accesses follow each other without a pause, so one counter reading
    // after each access ends it and starts the next: the latency of an
    // access is the time between two readings (the loop's own few
    // instructions included), at half the cost of timing both ends.
    int64_t llLast = llFrequency != 0 ? Counter() : 0;
    while (job.nStop.load() == 0) {
        const uint64_t ullPosition = AccessPosition(random.Next(), ullFileSize);
        const bool bOk = bWrite ? accessor.WriteAt(ullPosition, pBuffer, kAccessSize)
                                : accessor.ReadAt(ullPosition, pBuffer, kAccessSize);
        if (!bOk) {
            slot.dwError = ::GetLastError();
            job.nResult.store(0);
            break;
        }
        if (job.nStop.load() != 0)
            break;   // finished after the end: not counted
        job.pAccessCount->fetch_add(1);
        if (llFrequency != 0) {
            const int64_t llNow = Counter();
            slot.latency.Record(CountsToNanoseconds(llNow - llLast, llFrequency));
            llLast = llNow;
        }
    }
    return 0;
}

int WorkerDoAccesstest(const S_QuickPassContext& context, int nDirection, const char* pszPath,
                       std::string& strResult, S_QuickPassFigures* pFigures)
{
    C_QuickState& state = context.state;
    I_TransferFile& file = context.file;
    S_QuickPassFigures figures;
    figures.bRan = true;

    // Everything the threads use exists before they are released.
    auto pJob = std::make_unique<S_AccessJob>();
    S_AccessJob& job = *pJob;
    std::array<C_Thread, kAccessThreads> aThreads;
    job.nDirection = nDirection;
    job.ullFileSize = state.ullFileSize.load();
    job.pAccessCount = &state.ulAccessCount;
    job.ulSeedTime = static_cast<uint32_t>(std::time(nullptr));
    LARGE_INTEGER frequency;
    if (::QueryPerformanceFrequency(&frequency))
        job.llCounterFrequency = frequency.QuadPart;
    // One spare block for the alignment. The run's transfer buffer is only
    // as long as its block size, which may be shorter than an access.
    job.vBuffers.resize((kAccessThreads + 2) * kAccessSize);
    uint8_t* pBuffers = AlignUp(job.vBuffers.data());
    job.pWriteData = pBuffers;
    if (nDirection == 1)
        FillRandom(job.pWriteData, kAccessSize);   // without a generator the data stays zero
    bool bReady = job.eventStart.Create(true, false);
    for (uint32_t i = 0; i < kAccessThreads; ++i) {
        S_AccessSlot& slot = job.aSlots[i];
        slot.pReadBuffer = pBuffers + (i + 1) * kAccessSize;
        bReady = slot.eventReady.Create(false, false) && bReady;
    }
    state.ulAccessCount.store(0);

    bool bOpen = bReady && file.Open(pszPath, nDirection, 0);
    if (bOpen && IsNtError(file.DisableLocalBuffering())) {
        // Positions and lengths are multiples of 4096: a local file can be
        // read and written unbuffered.
        file.Close();
        bOpen = file.Open(pszPath, nDirection, FILE_FLAG_NO_BUFFERING);
    }
    bool bOk = bOpen && job.ullFileSize >= kAccessSize;
    if (!bOpen)
        figures.ulError = ::GetLastError();
    if (bOk && nDirection == 1) {
        // Full length, and the system allocates the file up to its end.
        const uint64_t ullLast = job.ullFileSize - kAccessSize;
        if (file.Seek(job.ullFileSize)) {
            file.SetEnd();
            bOk = file.Seek(ullLast) && file.Write(job.pWriteData, kAccessSize) && file.Flush();
        } else {
            bOk = false;
        }
        if (!bOk)
            figures.ulError = ::GetLastError();
    }
    // Each thread transfers through a handle of its own, so that every
    // access carries its position and 32 are in flight at once.
    for (uint32_t i = 0; i < kAccessThreads && bOk; ++i) {
        job.aSlots[i].pAccessor = file.OpenAccessor();
        if (!job.aSlots[i].pAccessor) {
            figures.ulError = ::GetLastError();
            bOk = false;
        } else {
            // Refused by local file systems, whose handles are unbuffered.
            job.aSlots[i].pAccessor->DisableLocalBuffering();
        }
    }
    if (!bOk)
        job.nResult.store(0);

    uint32_t ulStarted = 0;
    bool bAbandon = false;
    if (bOk) {
        for (uint32_t i = 0; i < kAccessThreads; ++i) {
            if (!aThreads[i].Start(WorkerDoAccesstestThread, &job, i)) {
                figures.ulError = ::GetLastError();
                job.nResult.store(0);
                bAbandon = true;
                break;
            }
            ++ulStarted;
            if (state.IsStopRequested()) {
                job.nResult.store(0);
                break;
            }
        }
        for (uint32_t i = 0; i < ulStarted; ++i)
            job.aSlots[i].eventReady.Wait(INFINITE);

        state.stopwatch.Start();
        job.eventStart.Set();

        const uint32_t ulPeriods = state.GetAccessPeriods();
        const uint32_t ulPeriodMs = state.GetAccessPeriodMs();
        for (uint32_t ulPeriod = 0; ulPeriod < ulPeriods && !bAbandon; ++ulPeriod) {
            if (state.WaitForStop(ulPeriodMs)) {
                job.nResult.store(0);
                break;
            }
            state.ulSecondsElapsed.fetch_add(1);
        }
        job.nStop.store(1);
        const uint32_t ulCount = state.ulAccessCount.load();
        // A pass with a failed access keeps its count for the live display
        // but gets no result text.
        if (job.nResult.load() == 1 && !state.IsStopRequested() && ulCount > 0) {
            const uint64_t ullMicroseconds = state.stopwatch.Stop();
            strResult = AccessResultText(ulCount, ullMicroseconds);
            figures.ullBytes = static_cast<uint64_t>(ulCount) * kAccessSize;
            figures.ullMicroseconds = ullMicroseconds;
            figures.dBytesPerSecond = AccessRate(ulCount, ullMicroseconds);
            figures.dIops = AccessIops(ulCount, ullMicroseconds);
            figures.dMeanMs = AccessMeanMs(ulCount, ullMicroseconds);
        }
        figures.ullTransfers = ulCount;
        figures.ullBytesMoved = static_cast<uint64_t>(ulCount) * kAccessSize;
    }

    for (uint32_t i = 0; i < ulStarted; ++i)
        aThreads[i].WaitForEnd(0);
    for (S_AccessSlot& slot : job.aSlots)
        slot.pAccessor.reset();
    file.Close();
    if (nDirection == 0)
        file.RemoveFile(pszPath);

    const int nResult = job.nResult.load();
    if (pFigures != nullptr) {
        C_LatencyHistogram latency;
        for (const S_AccessSlot& slot : job.aSlots) {
            latency.Add(slot.latency);
            if (figures.ulError == 0 && slot.dwError != 0)
                figures.ulError = slot.dwError;
        }
        if (job.llCounterFrequency != 0 && latency.Count() != 0) {
            figures.bHasLatency = true;
            figures.latency.ullSamples = latency.Count();
            figures.latency.dMeanMs = latency.Mean() / 1e6;
            figures.latency.dMedianMs = static_cast<double>(latency.Percentile(50)) / 1e6;
            figures.latency.dP99Ms = static_cast<double>(latency.Percentile(99)) / 1e6;
            figures.latency.dMaxMs = static_cast<double>(latency.Max()) / 1e6;
        }
        figures.bSuccess = nResult == 1;
        *pFigures = figures;
    }
    return nResult;
}
