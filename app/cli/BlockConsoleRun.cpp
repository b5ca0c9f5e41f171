#include "app/cli/BlockConsoleRun.h"

#include <windows.h>

#include <atomic>
#include <cinttypes>
#include <cstdio>
#include <utility>

#include "app/cli/ConsoleProgress.h"
#include "app/cli/BlockTarget.h"
#include "app/cli/ConsoleText.h"
#include "app/cli/FileConsoleRun.h"
#include "app/cli/QuickConsoleRun.h"
#include "app/core/StoredValues.h"
#include "app/win/DeviceWriteConfirmations.h"
#include "app/win/ProgramFile.h"
#include "app/win/Settings.h"
#include "app/win/StartOptions.h"
#include "blockaccess/core/BlockCommand.h"
#include "blockaccess/core/BlockJson.h"
#include "blockaccess/win/BlockEngine.h"
#include "device/core/RudvaneTypes.h"
#include "device/win/Rudvane.h"
#include "device/win/RudvaneDevice.h"
#include "framework/win/ErrorText.h"
#include "framework/win/TestFile.h"
#include "framework/win/Texts.h"
#include "framework/win/Thread.h"

namespace {

// String-table labels of the page's boxes and lines.
enum : int {
    kTextBufferSize = 7,
    kTextSpeed = 8,
    kTextStart = 9,
    kTextEnd = 10,
    kTextBlocks = 11,
    kTextSkip = 12,
    kTextRepeats = 17,
    kTextCalcEvery = 18,
};

std::atomic<C_BlockEngine*> g_pRunEngine{nullptr};

BOOL WINAPI OnConsoleControl(DWORD dwType)
{
    if (dwType != CTRL_C_EVENT && dwType != CTRL_BREAK_EVENT && dwType != CTRL_CLOSE_EVENT)
        return FALSE;
    C_BlockEngine* pEngine = g_pRunEngine.load();
    if (pEngine == nullptr)
        return FALSE;
    pEngine->RequestStop();
    return TRUE;
}

// The console's side of a run: messages and the question on stderr, the
// question answered by --yes, the progress line.
class C_BlockConsoleEvents : public I_BlockEvents {
public:
    C_BlockConsoleEvents(bool bYesIn, std::string strLabelIn) : bYes(bYesIn), strLabel(std::move(strLabelIn)) {}

    void ShowMessage(const S_BlockMessage& message) override { PrintGateMessage(progress, message); }
    bool AskQuestion(const S_BlockMessage& message) override { return AnswerGateQuestion(progress, bYes, message); }

    void ProgressStarting() override { progress.Begin(strLabel); }
    void RunEnded(const S_BlockRunResult&) override { progress.End(); }

    void ShowProgress(int nPercent) { progress.Show(nPercent); }
    void Print(const std::string& strLine) { progress.Print(strLine); }

private:
    bool bYes;
    std::string strLabel;   // "read \\.\R:"
    C_ConsoleProgress progress;
};

struct S_BlockJob {
    C_BlockEngine* pEngine;
    C_RudvaneDevice* pDevice;
    S_BlockRunOptions options;
    S_BlockRunResult result;
};

DWORD RunJob(void* pJob, uint32_t)
{
    S_BlockJob& job = *static_cast<S_BlockJob*>(pJob);
    job.result = job.pEngine->Run(job.pDevice, job.options);
    return 0;
}

std::string FullPath(const std::string& strPath)
{
    char szFull[MAX_PATH];
    const DWORD dwLength = ::GetFullPathNameA(strPath.c_str(), MAX_PATH, szFull, nullptr);
    return dwLength > 0 && dwLength < MAX_PATH ? std::string(szFull) : strPath;
}

std::string Line(int nLabel, const std::string& strValue)
{
    std::string strText = Texts().LoadText(nLabel);
    strText.resize(strText.size() < 24 ? 24 : strText.size() + 1, ' ');
    return "  " + strText + strValue + "\n";
}

// The device, the checked parameters, the buffer size, the last speed line
// and, with --crc, the CRC of the last buffer.
std::string ResultText(const S_BlockRunRecord& record)
{
    char szText[160];
    std::snprintf(szText, sizeof(szText), "%s  (%" PRIu64 " blocks of %" PRIu32 " bytes)\n  %s, %s\n",
                  record.strPath.c_str(), record.ullBlockCount, record.ulBlockSize, record.bWrite ? "write" : "read",
                  BlockModeName(record.mode));
    std::string strText = szText;
    const S_BlockParameters& params = record.params;
    strText += Line(kTextStart, BlockNumberText(params.ullStart));
    strText += Line(kTextEnd, BlockNumberText(params.ullEnd));
    strText += Line(kTextBlocks, BlockNumberText(params.ullBlocks));
    if (record.mode == E_BlockMode::Linear)
        strText += Line(kTextSkip, BlockNumberText(params.ullSkip));
    else
        strText += Line(kTextRepeats, BlockNumberText(params.ullRepeats));
    strText += Line(kTextCalcEvery, BlockNumberText(params.ulCalcEvery));
    strText += Line(kTextBufferSize, record.strBufferSize);
    strText += Line(kTextSpeed, record.strSpeed);
    if (record.bCrc)
        strText += "  UDMA CRC                " + record.strCrc + "\n";
    return strText;
}

// Why a run whose parameters allow no access made none; the engine says it
// only for random and seek ranges too small for one access.
std::string NoAccessText(const S_BlockRunRecord& record)
{
    switch (record.problem) {
    case E_BlockRunProblem::LinearDoesNotFit:
        return "the range from start to end holds no access of blocks plus skipped blocks";
    case E_BlockRunProblem::BufferTooLarge:
        return "one access of " + BlockNumberText(record.params.ullBlocks) + " blocks needs a buffer of 4 GiB or more";
    case E_BlockRunProblem::NoRepeats:
        return "no repeats";
    default:
        return std::string();
    }
}

int ExitCodeOf(E_BlockRunEnd eEnd)
{
    switch (eEnd) {
    case E_BlockRunEnd::Completed:
        return CLI_EXIT_OK;
    case E_BlockRunEnd::Stopped:
        return CLI_EXIT_STOPPED;
    case E_BlockRunEnd::AccessFailed:
    case E_BlockRunEnd::NoBuffer:
        return CLI_EXIT_FAILED;
    default:
        return CLI_EXIT_USAGE;
    }
}

int RunOnRecord(const S_BlockCommand& command, C_RudvaneDevice& device, C_BlockConsoleEvents& events)
{
    C_Settings settings;
    OpenPageSettings(settings);   // without a store every write asks
    C_DeviceWriteConfirmations confirmations(settings, false);
    C_TestFile dataFile;
    C_BlockEngine engine(events, confirmations, dataFile, nullptr);

    S_BlockRecordDefaults defaults;
    defaults.ullFirstBlock = device.ullFirstBlock;
    defaults.ullBlockCount = device.ullBlockCount;
    defaults.ulMaxBlocks = device.ulMaxBlocks;
    S_BlockJob job{&engine, &device, S_BlockRunOptions(), S_BlockRunResult()};
    job.options.mode = command.mode;
    job.options.bWrite = command.bWrite;
    job.options.bCrc = command.bCrc;
    job.options.bSaveData = !command.strDataFile.empty();
    job.options.strDataFile = job.options.bSaveData ? FullPath(command.strDataFile) : std::string();
    job.options.boxes = BlockBoxTextsOfCommand(command, defaults);

    g_pRunEngine.store(&engine);
    ::SetConsoleCtrlHandler(OnConsoleControl, TRUE);
    C_Thread worker;
    const bool bStarted = worker.Start(RunJob, &job, 0);
    while (bStarted && !worker.WaitForEnd(300) && worker.IsRunning())
        events.ShowProgress(engine.ProgressPercent());
    ::SetConsoleCtrlHandler(OnConsoleControl, FALSE);
    g_pRunEngine.store(nullptr);
    if (!bStarted) {
        events.Print("quenvale-cli: cannot start the test thread");
        return CLI_EXIT_FAILED;
    }

    const S_BlockRunRecord& record = job.result.record;
    if (job.result.eEnd == E_BlockRunEnd::NoAccess && !NoAccessText(record).empty())
        events.Print("quenvale-cli: no access made: " + NoAccessText(record));
    if (job.result.eEnd == E_BlockRunEnd::NoBuffer)
        events.Print("quenvale-cli: cannot allocate a buffer of " + record.strBufferSize);
    if (job.result.ullZeroedBlocks != 0)
        events.Print("quenvale-cli: " + BlockNumberText(job.result.ullZeroedBlocks) +
                     " blocks failed with CRC or device errors and were read as zeros");
    const bool bCaptureFailed = job.result.ullDataFileMisses != 0;
    if (bCaptureFailed) {
        char szError[kErrorTextBuffer];
        const char* pszError = GetErrorText(job.result.dwDataFileError, szError);
        events.Print("quenvale-cli: \"" + record.strDataFile + "\" misses the last " +
                     BlockNumberText(job.result.ullDataFileMisses) + " buffers: Win32Error " +
                     std::to_string(job.result.dwDataFileError) + " - " + (pszError != nullptr ? pszError : ""));
    }
    if (job.result.eEnd != E_BlockRunEnd::Refused && job.result.eEnd != E_BlockRunEnd::Declined)
        WriteStandard(STD_OUTPUT_HANDLE, command.bJson ? BlockRunJson(record, AnsiToUtf8) : ResultText(record));
    if (job.result.eEnd == E_BlockRunEnd::Stopped)
        events.Print("quenvale-cli: stopped");
    // A capture that stopped short is no copy of the device.
    if (bCaptureFailed && job.result.eEnd == E_BlockRunEnd::Completed)
        return CLI_EXIT_FAILED;
    return ExitCodeOf(job.result.eEnd);
}

} // namespace

int RunBlockCommand(const std::vector<std::string>& vArgs)
{
    S_BlockCommand command;
    std::string strError;
    const int nUsage = UsageExitCode(ParseBlockCommand(vArgs, command, strError), command.bHelp, strError,
                                     BlockUsageText());
    if (nUsage >= 0)
        return nUsage;
    return RunOnBlockTarget(command.strTarget, command.cDriveLetter, command.strDevicePath,
                            [&command](C_RudvaneDevice& device) {
                                C_BlockConsoleEvents events(command.bYes, std::string(command.bWrite ? "write " : "read ") +
                                                                              command.strTarget);
                                return RunOnRecord(command, device, events);
                            });
}
