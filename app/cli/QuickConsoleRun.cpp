#include "app/cli/QuickConsoleRun.h"

#include <windows.h>

#include <atomic>
#include <cctype>
#include <string>
#include <vector>

#include "app/cli/ConsoleEvents.h"
#include "app/cli/ConsoleText.h"
#include "app/win/Log.h"
#include "framework/core/ConsoleArguments.h"
#include "framework/win/Event.h"
#include "framework/win/Texts.h"
#include "framework/win/Thread.h"
#include "quick/core/QuickJson.h"
#include "quick/core/QuickRate.h"
#include "quick/core/QuickTextIds.h"
#include "quick/win/DeviceLayerInfo.h"
#include "quick/win/QuickEngine.h"
#include "framework/win/TestFile.h"

namespace {

// The system ends the process this long after it has sent a close, logoff
// or shutdown event (5 s on every Windows since XP), whatever the handler
// is doing; the handler waits a little less for the run to clean up.
constexpr DWORD kCloseCleanupMilliseconds = 4500;

// The run that the control handler stops, and its end: set (the event
// reset) before the run's thread starts, cleared after it has ended.
std::atomic<C_QuickState*> g_pRunState{nullptr};
C_Event g_runEnded;   // manual reset; set by the run's thread when the engine is done

struct S_RunJob {
    C_QuickEngine* pEngine;
    const std::vector<S_QuickDrive>* pDrives;
    S_QuickRunOptions options;
};

DWORD RunJob(void* pJob, uint32_t)
{
    const S_RunJob& job = *static_cast<S_RunJob*>(pJob);
    job.pEngine->Run(*job.pDrives, job.options);
    g_runEnded.Set();
    return 0;
}

// A drive letter, or a folder on any drive (its letter names it in the log).
bool ResolveTarget(const std::string& strTarget, I_QuickDeviceInfo& devices, S_QuickDrive& driveOut,
                   std::string& strError)
{
    char cLetter = 0;
    if (DriveLetterOfTarget(strTarget, cLetter)) {
        const std::string strRoot = std::string(1, cLetter) + ":\\";
        if (::GetDriveTypeA(strRoot.c_str()) == DRIVE_NO_ROOT_DIR) {
            strError = "there is no drive " + std::string(1, cLetter) + ":";
            return false;
        }
        driveOut = MakeQuickDrive(cLetter, devices);
        return true;
    }
    char szFull[MAX_PATH];
    const DWORD dwLength = ::GetFullPathNameA(strTarget.c_str(), MAX_PATH, szFull, nullptr);
    const DWORD dwAttributes = dwLength > 0 && dwLength < MAX_PATH ? ::GetFileAttributesA(szFull)
                                                                    : INVALID_FILE_ATTRIBUTES;
    if (dwAttributes == INVALID_FILE_ATTRIBUTES || !(dwAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        strError = "\"" + strTarget + "\" is neither a drive letter nor a folder";
        return false;
    }
    std::string strFolder = szFull;
    if (strFolder.back() != '\\')
        strFolder += '\\';
    S_QuickDrive drive;
    drive.cLetter = strFolder.size() >= 2 && strFolder[1] == ':'
                        ? static_cast<char>(std::toupper(static_cast<unsigned char>(strFolder[0])))
                        : '?';
    drive.strRoot = strFolder;
    drive.strName = strFolder.substr(0, strFolder.size() - 1);
    S_QuickDriveInfo info;
    if (drive.cLetter != '?' && devices.DescribeDrive(drive.cLetter, info)) {
        drive.strDescription = info.strDescription;
        drive.ulBusBits = info.ulBusBits;
    }
    driveOut = drive;
    return true;
}

std::string PaddedLabel(int nTextId, size_t nWidth)
{
    std::string strLabel = Texts().LoadText(nTextId);
    if (strLabel.size() < nWidth)
        strLabel += std::string(nWidth - strLabel.size(), ' ');
    return strLabel;
}

// One drive's results in the page's order: each write row, then each read
// row, the sequential rows followed by their warning.
std::string ResultsText(const S_QuickDriveReport& report)
{
    size_t nWidth = 0;
    for (const int nId : {TEXT_SEQ_WRITE_LABEL, TEXT_RANDOM_LABEL, TEXT_SEQ_READ_LABEL}) {
        const size_t nLength = Texts().LoadText(nId).size();
        nWidth = nLength > nWidth ? nLength : nWidth;
    }
    nWidth += 2;
    std::string strText = report.strName;
    if (!report.strDescription.empty())
        strText += "  " + report.strDescription;
    strText += "\n";
    if (!report.strUsbText.empty())
        strText += "  " + report.strUsbText + "\n";
    struct S_Row {
        int nLabel;
        E_QuickPass ePass;
    };
    for (const S_Row& row : {S_Row{TEXT_SEQ_WRITE_LABEL, E_QuickPass::SequentialWrite},
                             S_Row{TEXT_RANDOM_LABEL, E_QuickPass::Qd32Write},
                             S_Row{TEXT_SEQ_READ_LABEL, E_QuickPass::SequentialRead},
                             S_Row{TEXT_RANDOM_LABEL, E_QuickPass::Qd32Read}}) {
        const size_t nIndex = PassIndex(row.ePass);
        strText += "  " + PaddedLabel(row.nLabel, nWidth) + report.aResults[nIndex] + "\n";
        if (!report.aWarnings[nIndex].empty())
            strText += "  " + std::string(nWidth, ' ') + report.aWarnings[nIndex] + "\n";
    }
    return strText;
}

} // namespace

BOOL WINAPI QuickConsoleControl(DWORD dwType)
{
    const bool bEnding = dwType == CTRL_CLOSE_EVENT || dwType == CTRL_LOGOFF_EVENT || dwType == CTRL_SHUTDOWN_EVENT;
    if (dwType != CTRL_C_EVENT && dwType != CTRL_BREAK_EVENT && !bEnding)
        return FALSE;
    C_QuickState* pState = g_pRunState.load();
    if (pState == nullptr)
        return FALSE;
    pState->RequestStop();
    // After Ctrl+C the runner goes on and reports. After the other events
    // the process ends as soon as this returns: not before the run has
    // removed its test file.
    if (bEnding)
        g_runEnded.Wait(kCloseCleanupMilliseconds);
    return TRUE;
}

int RunQuickCommand(const S_QuickCommand& command)
{
    C_DeviceLayerInfo devices;   // starts the device layer and runs its Quick Access passes
    C_ConsoleEvents events;
    std::vector<S_QuickDrive> vDrives;
    for (const std::string& strTarget : command.vTargets) {
        S_QuickDrive drive;
        std::string strError;
        if (!ResolveTarget(strTarget, devices, drive, strError)) {
            events.PrintError("quenvale-cli: " + strError);
            return CLI_EXIT_USAGE;
        }
        vDrives.push_back(drive);
    }

    C_Log log;
    if (!command.strLogFile.empty()) {
        if (!log.Open(LOG_FOLDER_NONE, command.strLogFile.c_str())) {
            events.PrintError("quenvale-cli: cannot write the log file \"" + command.strLogFile + "\"");
            return CLI_EXIT_USAGE;
        }
        log.SetOptions(kProgramLogOptions);
    }

    C_TestFile file;
    C_QuickEngine engine(file, devices, events, log.IsOpen() ? &log : nullptr);
    S_RunJob job{&engine, &vDrives, S_QuickRunOptions()};
    job.options.ullFileSize = command.ullFileSizeMBytes * kMByte;
    job.options.ulBlockSize = command.ulBlockSize;
    job.options.bSkipRandom = command.bSkipRandom;
    job.options.bSaveResultsFile = false;   // the console prints what the results file would get

    C_QuickState& state = engine.State();
    if (!g_runEnded.IsValid())
        g_runEnded.Create(true, false);
    g_runEnded.Reset();
    g_pRunState.store(&state);
    ::SetConsoleCtrlHandler(QuickConsoleControl, TRUE);
    C_Thread worker;
    if (!worker.Start(RunJob, &job, 0)) {
        ::SetConsoleCtrlHandler(QuickConsoleControl, FALSE);
        g_pRunState.store(nullptr);
        events.PrintError("quenvale-cli: cannot start the test thread");
        return CLI_EXIT_FAILED;
    }
    while (!worker.WaitForEnd(300) && worker.IsRunning())
        events.ShowProgress(state.ProgressPercent(), state.LiveRateText());
    const bool bStopped = state.IsStopRequested();
    ::SetConsoleCtrlHandler(QuickConsoleControl, FALSE);
    g_pRunState.store(nullptr);
    events.ShowProgress(0, std::string());

    const std::vector<S_QuickDriveReport>& vReports = engine.GetReports();
    bool bAllOk = !vReports.empty();
    for (const S_QuickDriveReport& report : vReports)
        bAllOk = bAllOk && report.bSuccess;
    const bool bSummary = !vReports.empty() && vReports.back().bSuccess;

    if (command.bJson) {
        S_QuickRunRecord record;
        record.ullFileSize = job.options.ullFileSize;
        record.ulBlockSize = job.options.ulBlockSize;
        record.bSkipRandom = job.options.bSkipRandom;
        record.bStopped = bStopped;
        record.strSummary = bSummary ? engine.MakeSummary() : std::string();
        record.vDrives = vReports;
        WriteStandard(STD_OUTPUT_HANDLE, QuickRunJson(record, AnsiToUtf8));
    } else {
        std::string strOut;
        for (const S_QuickDriveReport& report : vReports)
            strOut += ResultsText(report) + "\n";
        if (bSummary)
            strOut += engine.MakeSummary() + "\n";
        WriteStandard(STD_OUTPUT_HANDLE, strOut);
    }
    if (bStopped) {
        events.PrintError("quenvale-cli: stopped");
        return CLI_EXIT_STOPPED;
    }
    return bAllOk ? CLI_EXIT_OK : CLI_EXIT_FAILED;
}
