#include "app/cli/VerifyCommand.h"

#include <windows.h>

#include <atomic>
#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "app/cli/BlockTarget.h"
#include "app/cli/ConsoleProgress.h"
#include "app/cli/ConsoleText.h"
#include "app/cli/FileConsoleRun.h"
#include "app/cli/QuickConsoleRun.h"
#include "app/core/StoredValues.h"
#include "app/win/DeviceWriteConfirmations.h"
#include "app/win/ProgramFile.h"
#include "app/win/Settings.h"
#include "app/win/StartOptions.h"
#include "blockaccess/core/VerifyArguments.h"
#include "blockaccess/core/VerifyReport.h"
#include "blockaccess/win/BlockWriteGate.h"
#include "blockaccess/win/VerifyRunner.h"
#include "blockaccess/win/VerifyVolumeLock.h"
#include "device/core/RudvaneTypes.h"
#include "device/win/Rudvane.h"
#include "device/win/RudvaneDevice.h"
#include "framework/core/DurationText.h"
#include "framework/win/ErrorText.h"
#include "framework/win/Event.h"
#include "framework/win/Thread.h"

namespace {

// Failed accesses printed one by one; the rest only counted.
constexpr int kMaxFailureLines = 20;

std::atomic<C_VerifyRunner*> g_pRunner{nullptr};
std::atomic<HANDLE> g_hRunEnded{nullptr};

BOOL WINAPI OnConsoleControl(DWORD dwType)
{
    if (dwType != CTRL_C_EVENT && dwType != CTRL_BREAK_EVENT && dwType != CTRL_CLOSE_EVENT)
        return FALSE;
    C_VerifyRunner* pRunner = g_pRunner.load();
    if (pRunner == nullptr)
        return FALSE;
    pRunner->RequestStop();
    // Closing the console ends the process once this returns: give the
    // restore the time the system allows.
    const HANDLE hEnded = g_hRunEnded.load();
    if (dwType == CTRL_CLOSE_EVENT && hEnded != nullptr)
        ::WaitForSingleObject(hEnded, INFINITE);
    return TRUE;
}

std::string ErrorText(uint32_t ulError)
{
    char szText[kErrorTextBuffer];
    return GetErrorText(ulError, szText) != nullptr ? std::string(szText) : "Win32Error " + std::to_string(ulError);
}

// The console's side of a check: the gate's messages and question and the
// failed accesses on stderr, the progress line on a console (phase lines
// where stderr is a file or pipe).
class C_VerifyConsoleEvents : public I_BlockGateEvents, public I_VerifyEvents {
public:
    C_VerifyConsoleEvents(bool bYesIn, std::string strLabelIn) : bYes(bYesIn), strLabel(std::move(strLabelIn)) {}

    void ShowMessage(const S_BlockMessage& message) override { PrintGateMessage(progress, message); }
    bool AskQuestion(const S_BlockMessage& message) override { return AnswerGateQuestion(progress, bYes, message); }

    void PhaseStarting(uint32_t ulRound, E_VerifyPhase ePhase, uint64_t ullBytes) override
    {
        if (progress.OnConsole())
            return;
        char szLine[128];
        std::snprintf(szLine, sizeof(szLine), "%s  round %" PRIu32 ", %s %" PRIu64 " bytes", strLabel.c_str(),
                      ulRound, VerifyPhaseName(ePhase), ullBytes);
        Print(szLine);
    }

    void AccessFailed(E_VerifyPhase ePhase, uint64_t ullLba, uint64_t ullCount, uint32_t ulError) override
    {
        if (++nFailures > kMaxFailureLines)
            return;
        char szLine[128];
        std::snprintf(szLine, sizeof(szLine), "%s: %s failed at block %" PRIu64 " (%" PRIu64 " blocks): ",
                      strLabel.c_str(), VerifyPhaseName(ePhase), ullLba, ullCount);
        Print(szLine + ErrorText(ulError) +
              (nFailures == kMaxFailureLines ? " (further failures are only counted)" : ""));
    }

    void ShowProgress(const S_VerifyProgress& state)
    {
        if (state.ulRound == 0)
            return;
        char szLine[160];
        std::snprintf(szLine, sizeof(szLine), "%s  round %" PRIu32 "  %-9s %3d%%", strLabel.c_str(), state.ulRound,
                      VerifyPhaseName(state.ePhase), state.nPercent);
        std::string strLine = szLine;
        if (state.ullSecondsLeft != UINT64_MAX)
            strLine += "  " + FormatLongDuration(state.ullSecondsLeft) + " left";
        progress.ShowText(strLine);
    }

    void Print(const std::string& strLine) { progress.Print(strLine); }
    void EndProgress() { progress.End(); }

private:
    bool bYes;
    std::string strLabel;   // "verify R:"
    C_ConsoleProgress progress;
    int nFailures = 0;      // worker thread only
};

enum class E_VerifyEnd { Refused, Declined, Ran };

struct S_VerifyJob {
    C_RudvaneDevice* pDevice;
    C_VerifyConsoleEvents* pEvents;
    I_BlockWriteConfirmations* pConfirmations;
    C_VerifyRunner* pRunner;
    C_Event* pEnded;              // set when the job is over
    S_VerifyOptions options;
    E_VerifyEnd eEnd = E_VerifyEnd::Refused;
    S_VerifyRunRecord record;
};

// The gate, the hold, the volume lock and the run, all on the worker thread.
void RunChecked(S_VerifyJob& job)
{
    C_BlockWriteGate gate(*job.pEvents, *job.pConfirmations);
    const E_BlockGate admitted = gate.Admit(*job.pDevice, true);
    if (admitted != E_BlockGate::Admitted) {
        job.eEnd = admitted == E_BlockGate::Declined ? E_VerifyEnd::Declined : E_VerifyEnd::Refused;
        return;
    }
    C_BlockDeviceHold hold;
    if (gate.Open(*job.pDevice, true, hold) != E_BlockGate::Admitted)
        return;
    C_VerifyVolumeLock volumeLock;
    volumeLock.Lock(*job.pDevice);
    job.record = job.pRunner->Run(job.options);
    job.eEnd = E_VerifyEnd::Ran;
}

DWORD RunJob(void* pJob, uint32_t)
{
    S_VerifyJob& job = *static_cast<S_VerifyJob*>(pJob);
    RunChecked(job);
    job.pEnded->Set();
    return 0;
}

std::string DeviceName(const C_RudvaneDevice& device)
{
    std::string strName;
    for (const std::string* pPart : {&device.strVendor, &device.strProduct, &device.strRevision}) {
        if (pPart->empty())
            continue;
        if (!strName.empty())
            strName += ' ';
        strName += *pPart;
    }
    return strName;
}

int ExitCodeOf(const S_VerifyRunRecord& record)
{
    if (record.bRestore && !record.bRestored)
        return CLI_EXIT_FAILED;
    if (record.bStopped)
        return CLI_EXIT_STOPPED;
    if (!record.bFinished)
        return CLI_EXIT_FAILED;
    return record.findings.bAnyBad ? CLI_EXIT_FAILED : CLI_EXIT_OK;
}

int RunOnRecord(const S_VerifyArguments& arguments, C_RudvaneDevice& device)
{
    C_VerifyConsoleEvents events(arguments.bYes, "verify " + arguments.strTarget);
    if (device.ulMediaClass == RUDVANE_MEDIA_OPTICAL || device.ulMediaClass == RUDVANE_MEDIA_TAPE) {
        events.Print("quenvale-cli: verify checks disks and memory cards, not optical discs or tapes");
        return CLI_EXIT_USAGE;
    }
    C_Settings settings;
    OpenPageSettings(settings);   // without a store every write asks
    C_DeviceWriteConfirmations confirmations(settings, false);
    C_VerifyRunner runner(device, events);
    C_Event ended;
    if (!ended.Create(true, false)) {
        events.Print("quenvale-cli: cannot create an event: " + ErrorText(::GetLastError()));
        return CLI_EXIT_FAILED;
    }
    S_VerifyJob job{&device, &events, &confirmations, &runner, &ended, S_VerifyOptions()};
    job.options.bFull = arguments.bFull;
    job.options.bRestore = arguments.bRestore;

    C_Thread worker;
    g_pRunner.store(&runner);
    g_hRunEnded.store(ended.GetHandle());
    ::SetConsoleCtrlHandler(OnConsoleControl, TRUE);
    const bool bStarted = worker.Start(RunJob, &job, 0);
    if (!bStarted)
        ended.Set();
    while (bStarted && !worker.WaitForEnd(300) && worker.IsRunning())
        events.ShowProgress(runner.Progress());
    ::SetConsoleCtrlHandler(OnConsoleControl, FALSE);
    g_pRunner.store(nullptr);
    g_hRunEnded.store(nullptr);
    events.EndProgress();
    if (!bStarted) {
        events.Print("quenvale-cli: cannot start the check's thread");
        return CLI_EXIT_FAILED;
    }
    if (job.eEnd != E_VerifyEnd::Ran)
        return CLI_EXIT_USAGE;

    S_VerifyRunRecord& record = job.record;
    record.strName = DeviceName(device);
    record.strPath = device.strInfo;
    record.strLetters = device.strLetters;
    if (record.ulError != 0)
        record.strError += ": " + ErrorText(record.ulError);
    WriteStandard(STD_OUTPUT_HANDLE, arguments.bJson ? VerifyRunJson(record, AnsiToUtf8) : VerifyRunText(record));
    if (record.bRestore && !record.bRestored)
        events.Print("quenvale-cli: " + std::to_string(record.ullUnrestoredBlocks) +
                     " saved blocks could not be written back");
    if (record.bStopped)
        events.Print(record.bRestore ? "quenvale-cli: stopped after writing the saved regions back"
                                     : "quenvale-cli: stopped");
    return ExitCodeOf(record);
}

} // namespace

int RunVerifyCommand(const std::vector<std::string>& vArgs)
{
    S_VerifyArguments arguments;
    std::string strError;
    const int nUsage = UsageExitCode(ParseVerifyArguments(vArgs, arguments, strError), arguments.bHelp, strError,
                                     VerifyUsageText());
    if (nUsage >= 0)
        return nUsage;
    return RunOnBlockTarget(arguments.strTarget, arguments.cDriveLetter, arguments.strDevicePath,
                            [&arguments](C_RudvaneDevice& device) { return RunOnRecord(arguments, device); });
}
