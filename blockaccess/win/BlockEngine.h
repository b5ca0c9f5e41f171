#ifndef QUENVALE_BLOCKACCESS_BLOCKENGINE_H
#define QUENVALE_BLOCKACCESS_BLOCKENGINE_H

#include <atomic>
#include <cstdint>
#include <string>

#include "blockaccess/core/BlockJson.h"
#include "blockaccess/core/BlockParameters.h"
#include "blockaccess/core/BlockSequence.h"
#include "blockaccess/win/BlockEvents.h"
#include "blockaccess/win/BlockGraph.h"
#include "blockaccess/win/BlockWriteConfirmations.h"
#include "framework/win/Stopwatch.h"
#include "framework/win/TransferFile.h"

class C_RudvaneDevice;
class C_Thread;

// What one run is asked to do. The page fills it from its option word and
// boxes: the run bit (FLAG_BA_RUN_LINEAR / _RANDOM / _SEEK) gives the mode,
// FLAG_BA_WRITE the direction, FLAG_BA_GRAPH, FLAG_BA_CRC and
// FLAG_SAVE_READ_DATA the three switches, which count in linear runs only.
struct S_BlockRunOptions {
    E_BlockMode mode = E_BlockMode::Linear;
    bool bWrite = false;
    bool bGraph = false;           // feed the speed graph
    bool bCrc = false;             // the UDMA CRC of every buffer
    bool bSaveData = false;        // a read appends every buffer to the data file, a write sends its first buffer
    std::string strDataFile;       // box 1067
    S_BlockBoxTexts boxes;         // the six parameter boxes as the user left them
    S_BlockParameters params;      // the values before the boxes are read (an unreadable box keeps its value)
};

// How a run ended.
enum class E_BlockRunEnd {
    NoDevice,       // no device record was given
    Refused,        // a check or the data file refused the run, after its message
    Declined,       // the write question was answered No
    NoAccess,       // the parameters allow no access (record.problem says why)
    NoBuffer,       // the transfer buffer could not be had
    AccessFailed,   // an access failed, after its message
    Stopped,        // a stop request ended it before all accesses were made
    Completed,      // every access was made
};

// What a run came to. record holds the device, the checked parameters,
// the last speed and CRC lines, the group rates and the graph points as a
// console prints them; it is filled as far as the run got.
struct S_BlockRunResult {
    E_BlockRunEnd eEnd = E_BlockRunEnd::NoDevice;
    S_BlockRunRecord record;
    // Blocks read as zeros because they failed with ERROR_CRC or
    // ERROR_IO_DEVICE when an access that met ERROR_CRC was read again block
    // by block.
    uint64_t ullZeroedBlocks = 0;
};

// The Block Access engine, which the page runs on its worker thread and the
// console runner on a thread of its own: the checks before a run, the
// accesses of the chosen pattern over a device record with the rate of each
// group of accesses, the data file, the UDMA CRC and the graph feed.
//
// Threads: Run belongs to one thread at a time. While it runs, any thread
// may read the progress and request a stop; the stop is seen before the
// next access, so the access under way ends.
class C_BlockEngine {
public:
    // dataFile is the data file of a linear run with bSaveData; pGraph (may
    // be null) the graph of a run with bGraph.
    C_BlockEngine(I_BlockEvents& eventsIn, I_BlockWriteConfirmations& confirmationsIn, I_TransferFile& dataFileIn,
                  I_BlockGraph* pGraphIn);
    C_BlockEngine(const C_BlockEngine&) = delete;
    C_BlockEngine& operator=(const C_BlockEngine&) = delete;

    // One run on pDevice (the selected record; null ends at once). The
    // record must stay listed until Run returns. Returns what the run came
    // to, which RunEnded reported too.
    S_BlockRunResult Run(C_RudvaneDevice* pDevice, const S_BlockRunOptions& options);

    // Accesses made and planned in the current or last run.
    uint64_t GetLoop() const { return ullLoop.load(); }
    uint64_t GetLoopMax() const { return ullLoopMax.load(); }
    // The progress bar's position: accesses made × 100 / accesses planned
    // (64-bit), 0 while none are planned.
    int ProgressPercent() const;

    // Asks the run to stop before its next access; it stays asked until the
    // next run starts.
    void RequestStop() { bStopRequested.store(true); }
    // The stop request, or that of the page's worker thread when one was
    // named here.
    bool IsStopRequested() const;
    void SetStopThread(const C_Thread* pThreadIn) { pStopThread.store(pThreadIn); }

    C_Stopwatch& Stopwatch() { return stopwatch; }

private:
    struct S_Run;

    void Prepare(S_Run& run);
    void Loop(S_Run& run);
    // One access at the current block: 1 on success; 0 with the Windows
    // error left for the caller.
    int Access(S_Run& run, uint64_t ullBlock);
    // A read that met ERROR_CRC, again block by block.
    int ReadBlockByBlock(S_Run& run, uint64_t ullBlock);
    void TellAccessFailed(const S_Run& run, uint64_t ullBlock, DWORD dwError);
    bool OpenDataFile(S_Run& run);
    void Tell(int nTextId, const std::string& strText, DWORD dwError = 0);

    I_BlockEvents& events;
    I_BlockWriteConfirmations& confirmations;
    I_TransferFile& dataFile;
    I_BlockGraph* pGraph;
    C_Stopwatch stopwatch;

    std::atomic<uint64_t> ullLoop{0};
    std::atomic<uint64_t> ullLoopMax{0};
    std::atomic<bool> bStopRequested{false};
    std::atomic<const C_Thread*> pStopThread{nullptr};
};

#endif
