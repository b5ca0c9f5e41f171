#include "blockaccess/win/BlockEngine.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>

#include "blockaccess/core/BlockRateGroups.h"
#include "blockaccess/core/UdmaCrc.h"
#include "blockaccess/win/BlockTextIds.h"
#include "blockaccess/win/BlockWriteGate.h"
#include "device/win/RudvaneDevice.h"
#include "framework/win/ErrorText.h"
#include "framework/win/Texts.h"
#include "framework/win/Thread.h"
#include "framework/win/TransferBuffer.h"

// Everything one run keeps, from the checks to its end.
struct C_BlockEngine::S_Run {
    S_Run(C_RudvaneDevice& deviceIn, const S_BlockRunOptions& optionsIn, S_BlockRunResult& resultIn)
        : device(deviceIn), options(optionsIn), result(resultIn), params(optionsIn.params),
          bLinear(optionsIn.mode == E_BlockMode::Linear)
    {
    }

    C_RudvaneDevice& device;
    const S_BlockRunOptions& options;
    S_BlockRunResult& result;
    S_BlockParameters params;
    bool bLinear;
    bool bGraph = false;          // a linear run that feeds the graph
    bool bDataFile = false;       // a linear run with the data file
    std::unique_ptr<C_BlockSequence> pSequence;
    std::unique_ptr<C_BlockRateGroups> pGroups;
    C_TransferBuffer buffer;
    uint32_t ulBufferBytes = 0;
    uint32_t ulBlocks = 0;        // blocks per access; fits, since the buffer does
    bool bDataOpen = false;
    bool bLastFailed = false;
    C_BlockDeviceHold hold;
};

C_BlockEngine::C_BlockEngine(I_BlockEvents& eventsIn, I_BlockWriteConfirmations& confirmationsIn,
                             I_TransferFile& dataFileIn, I_BlockGraph* pGraphIn)
    : events(eventsIn), confirmations(confirmationsIn), dataFile(dataFileIn), pGraph(pGraphIn)
{
}

int C_BlockEngine::ProgressPercent() const
{
    const uint64_t ullMax = ullLoopMax.load();
    const uint64_t ullDone = ullLoop.load();
    if (ullMax == 0)
        return 0;
    if (ullDone >= ullMax)
        return 100;
    // Past 2^64 / 100 accesses the product would wrap.
    return static_cast<int>(ullDone <= UINT64_MAX / 100 ? ullDone * 100 / ullMax : ullDone / (ullMax / 100));
}

bool C_BlockEngine::IsStopRequested() const
{
    if (bStopRequested.load())
        return true;
    const C_Thread* pThread = pStopThread.load();
    return pThread != nullptr && pThread->IsStopRequested();
}

void C_BlockEngine::Tell(int nTextId, const std::string& strText, DWORD dwError)
{
    S_BlockMessage message;
    message.nTextId = nTextId;
    message.strText = strText;
    message.dwError = dwError;
    events.ShowMessage(message);
}

S_BlockRunResult C_BlockEngine::Run(C_RudvaneDevice* pDevice, const S_BlockRunOptions& options)
{
    bStopRequested.store(false);
    ullLoop.store(0);
    ullLoopMax.store(0);
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    events.SpeedChanged(std::string());
    events.CrcChanged(std::string());

    S_BlockRunResult result;
    S_BlockRunRecord& record = result.record;
    record.bWrite = options.bWrite;
    record.mode = options.mode;
    record.params = options.params;
    record.bCrc = options.bCrc && options.mode == E_BlockMode::Linear;
    if (pDevice == nullptr) {
        events.RunEnded(result);
        return result;
    }
    record.strName = pDevice->strVendor + " " + pDevice->strProduct + " " + pDevice->strRevision;
    record.strPath = pDevice->strInfo;
    record.strLetters = pDevice->strLetters;
    record.ulBlockSize = pDevice->ulBlockSize;
    record.ullBlockCount = pDevice->ullBlockCount;
    record.ullFirstBlock = pDevice->ullFirstBlock;

    S_Run run(*pDevice, options, result);
    Prepare(run);
    if (run.pSequence != nullptr)
        Loop(run);

    // The end, whatever came before.
    run.hold.Release();
    run.buffer.Free();
    if (run.bDataOpen)
        dataFile.Close();
    if (run.pGroups != nullptr) {
        record.summary = run.pGroups->Summary();
        record.ullGraphStep = run.pGroups->GraphStep();
        record.vGraphValues = run.pGroups->GraphValues();
    }
    record.bStopped = result.eEnd == E_BlockRunEnd::Stopped;
    record.bSuccess = result.eEnd == E_BlockRunEnd::Completed || result.eEnd == E_BlockRunEnd::Stopped;
    if (run.bGraph && (run.bLastFailed || record.summary.ullAccesses == 0))
        pGraph->CloseAfterFailedRun();
    events.RunEnded(result);
    return result;
}

// The checks and everything before the first access, the device's Open
// last. Leaves pSequence null when the run ends here, with result.eEnd set.
void C_BlockEngine::Prepare(S_Run& run)
{
    S_BlockRunRecord& record = run.result.record;
    const bool bGraphWanted = run.bLinear && run.options.bGraph && pGraph != nullptr;
    const auto end = [&](E_BlockRunEnd eEnd) {
        run.result.eEnd = eEnd;
        // A linear graph run that makes no access closes the graph the page opened.
        run.bGraph = bGraphWanted;
    };

    C_BlockWriteGate gate(events, confirmations);
    const E_BlockGate admitted = gate.Admit(run.device, run.options.bWrite);
    if (admitted != E_BlockGate::Admitted) {
        end(admitted == E_BlockGate::Declined ? E_BlockRunEnd::Declined : E_BlockRunEnd::Refused);
        return;
    }

    events.RunStarting();
    S_BlockDevice checked;
    checked.ullFirstBlock = run.device.ullFirstBlock;
    checked.ullBlockCount = run.device.ullBlockCount;
    checked.ulBlockSize = run.device.ulBlockSize;
    const S_BlockCheckResult check = ReadAndCheckValues(run.options.boxes, &checked, run.params);
    events.ValuesChecked(check);
    record.params = run.params;
    record.strBufferSize = check.strBufferSize;

    auto pSequence = std::make_unique<C_BlockSequence>(run.options.mode, run.params);
    record.ullLoopMax = pSequence->LoopMax();
    record.problem = pSequence->Problem();
    if (record.problem == E_BlockRunProblem::None &&
        !AccessBufferBytes(run.params.ullBlocks, run.device.ulBlockSize, run.ulBufferBytes))
        record.problem = E_BlockRunProblem::BufferTooLarge;
    record.ulBufferBytes = run.ulBufferBytes;
    run.pGroups = std::make_unique<C_BlockRateGroups>(record.ullLoopMax, run.params.ulCalcEvery, run.ulBufferBytes,
                                                      Texts().LoadText(BLOCK_TEXT_TOO_FAST));
    if (record.problem != E_BlockRunProblem::None) {
        // Random and seek accesses that cannot fit between start and end
        // are refused as the device would refuse the blocks past the end.
        if (record.problem == E_BlockRunProblem::RangeSmallerThanAccess)
            TellAccessFailed(run, run.params.ullStart, ERROR_SECTOR_NOT_FOUND);
        end(E_BlockRunEnd::NoAccess);
        return;
    }
    run.ulBlocks = static_cast<uint32_t>(run.params.ullBlocks);

    run.bGraph = bGraphWanted;
    if (run.bGraph)
        pGraph->Start(static_cast<uint32_t>(GraphPoints(record.ullLoopMax)));

    if (!run.buffer.Allocate(run.ulBufferBytes)) {
        end(E_BlockRunEnd::NoBuffer);
        return;
    }
    // Reads overwrite it; writes send it.
    FillRandom(run.buffer.Data(), run.ulBufferBytes);

    run.bDataFile = run.bLinear && run.options.bSaveData;
    if (run.bDataFile) {
        record.strDataFile = run.options.strDataFile;
        if (!OpenDataFile(run)) {
            end(E_BlockRunEnd::Refused);
            return;
        }
    }

    // The device stays open from the first access to the last.
    if (gate.Open(run.device, run.options.bWrite, run.hold) != E_BlockGate::Admitted) {
        end(E_BlockRunEnd::Refused);
        return;
    }

    ullLoopMax.store(record.ullLoopMax);
    events.ProgressStarting();
    if (run.bGraph && run.params.ulCalcEvery != 1)
        pGraph->Add(0, 0.0f);
    run.pSequence = std::move(pSequence);
}

bool C_BlockEngine::OpenDataFile(S_Run& run)
{
    const std::string& strPath = run.options.strDataFile;
    const bool bWrite = run.options.bWrite;
    // A read run creates the file it fills; a write run sends the file's
    // first buffer on every access.
    if (!dataFile.Open(strPath.c_str(), bWrite ? 0 : 1, FILE_FLAG_SEQUENTIAL_SCAN)) {
        const DWORD dwError = ::GetLastError();
        const int nTextId = bWrite ? BLOCK_TEXT_CANT_OPEN_DATA : BLOCK_TEXT_CANT_CREATE_DATA;
        Tell(nTextId, Texts().FormatText(nTextId, strPath.c_str()), dwError);
        return false;
    }
    run.bDataOpen = true;
    if (bWrite && !dataFile.Read(run.buffer.Data(), run.ulBufferBytes)) {
        const DWORD dwError = ::GetLastError();
        Tell(BLOCK_TEXT_CANT_READ_DATA, Texts().FormatText(BLOCK_TEXT_CANT_READ_DATA, strPath.c_str()), dwError);
        return false;
    }
    return true;
}

void C_BlockEngine::Loop(S_Run& run)
{
    S_BlockRunRecord& record = run.result.record;
    C_BlockSequence& sequence = *run.pSequence;
    C_BlockRateGroups& groups = *run.pGroups;
    run.result.eEnd = E_BlockRunEnd::Completed;
    for (uint64_t ullDone = 0; ullDone < sequence.LoopMax(); ++ullDone) {
        if (IsStopRequested()) {
            run.result.eEnd = E_BlockRunEnd::Stopped;
            break;
        }
        if (groups.StartsGroup())
            stopwatch.Start();
        const uint64_t ullBlock = sequence.Current();
        if (Access(run, ullBlock) == 0) {
            const DWORD dwError = ::GetLastError();
            run.bLastFailed = true;
            record.ulError = dwError;
            record.ullFailedBlock = ullBlock;
            TellAccessFailed(run, ullBlock, dwError);
            run.result.eEnd = E_BlockRunEnd::AccessFailed;
            break;
        }
        if (groups.AccessDone()) {
            const S_BlockGroupRate rate = groups.CloseGroup(ullDone, stopwatch.Stop());
            record.strSpeed = rate.strSpeed;
            events.SpeedChanged(rate.strSpeed);
            if (run.bGraph && rate.bPointInGraph)
                pGraph->Add(static_cast<uint32_t>(rate.ullPoint), rate.fMBytesPerSecond);
        }
        // The data file's failures are not reported: the run goes on.
        if (run.bDataFile && !run.options.bWrite)
            dataFile.Write(run.buffer.Data(), run.ulBufferBytes);
        if (run.bLinear && run.options.bCrc) {
            record.strCrc = UdmaCrcText(UdmaCrc(run.buffer.Data(), run.ulBufferBytes));
            events.CrcChanged(record.strCrc);
        }
        sequence.Advance(static_cast<uint32_t>(std::rand()));
        ullLoop.store(ullDone + 1);   // the page's timer reads it
    }
}

int C_BlockEngine::Access(S_Run& run, uint64_t ullBlock)
{
    if (run.options.bWrite)
        return run.device.WriteBlocks(ullBlock, run.ulBlocks, run.buffer.Data());
    if (run.device.ReadBlocks(ullBlock, run.ulBlocks, run.buffer.Data()) != 0)
        return 1;
    if (::GetLastError() != ERROR_CRC)
        return 0;
    return ReadBlockByBlock(run, ullBlock);
}

int C_BlockEngine::ReadBlockByBlock(S_Run& run, uint64_t ullBlock)
{
    const uint32_t ulBlockSize = run.device.ulBlockSize;
    for (uint32_t j = 0; j < run.ulBlocks; ++j) {
        uint8_t* pBlock = run.buffer.Data() + static_cast<size_t>(j) * ulBlockSize;
        if (run.device.ReadBlocks(ullBlock + j, 1, pBlock) != 0)
            continue;
        const DWORD dwError = ::GetLastError();
        if (dwError != ERROR_CRC && dwError != ERROR_IO_DEVICE)
            return 0;
        // A damaged block reads as zeros and the access goes on.
        std::memset(pBlock, 0, ulBlockSize);
        ++run.result.ullZeroedBlocks;
    }
    return 1;
}

void C_BlockEngine::TellAccessFailed(const S_Run& run, uint64_t ullBlock, DWORD dwError)
{
    char szError[kErrorTextBuffer];
    const char* pszError = GetErrorText(dwError, szError);
    const std::string strHint =
        dwError == ERROR_INVALID_PARAMETER ? Texts().LoadText(BLOCK_TEXT_HINT_87) : std::string();
    Tell(BLOCK_TEXT_CANT_ACCESS,
         Texts().FormatText(BLOCK_TEXT_CANT_ACCESS, run.params.ullBlocks, ullBlock, dwError,
                            pszError != nullptr ? pszError : "", strHint.c_str()),
         dwError);
}
