#include "quick/win/QuickEngine.h"

#include <windows.h>
#include <shellapi.h>

#include "framework/win/Texts.h"
#include "framework/win/TimeText.h"
#include "quick/core/QuickResults.h"
#include "quick/core/QuickTextIds.h"
#include "quick/core/UsbRating.h"
#include "quick/win/AccessTest.h"
#include "quick/win/ProcessorQuery.h"
#include "quick/win/ResultsFile.h"
#include "quick/win/SpeedTest.h"
#include "framework/win/TransferBuffer.h"

namespace {

uint32_t StateBitOf(E_QuickPass ePass)
{
    switch (ePass) {
    case E_QuickPass::SequentialWrite:
        return QUICK_STATE_SEQ_WRITE;
    case E_QuickPass::SequentialRead:
        return QUICK_STATE_SEQ_READ;
    case E_QuickPass::Qd32Write:
        return QUICK_STATE_RANDOM_WRITE;
    case E_QuickPass::Qd32Read:
        return QUICK_STATE_RANDOM_READ;
    }
    return 0;
}

int DirectionOf(E_QuickPass ePass)
{
    return ePass == E_QuickPass::SequentialWrite || ePass == E_QuickPass::Qd32Write ? 1 : 0;
}

} // namespace

S_QuickDrive MakeQuickDrive(char cLetter, I_QuickDeviceInfo& devices)
{
    S_QuickDrive drive;
    drive.cLetter = cLetter;
    drive.strRoot = std::string(1, cLetter) + ":\\";
    S_QuickDriveInfo info;
    if (devices.DescribeDrive(cLetter, info)) {
        drive.strName = info.strName;
        drive.strDescription = info.strDescription;
        drive.ulBusBits = info.ulBusBits;
    }
    if (drive.strName.empty())
        drive.strName = std::string(1, cLetter) + ":";
    return drive;
}

C_QuickEngine::C_QuickEngine(I_TransferFile& fileIn, I_QuickDeviceInfo& devicesIn, I_QuickEvents& eventsIn,
                             I_LogSink* pLogSinkIn)
    : file(fileIn), devices(devicesIn), events(eventsIn), log(pLogSinkIn)
{
}

bool C_QuickEngine::Run(const std::vector<S_QuickDrive>& vDrives, const S_QuickRunOptions& options)
{
    state.ClearStop();
    ulReadRate = 0;
    ulWriteRate = 0;
    strDeviceDescription.clear();
    strDriveName.clear();
    ulBusBits = 0;
    strReadText.clear();
    strWriteText.clear();
    strResultsText.clear();
    vReports.clear();
    state.ullFileSize.store(options.ullFileSize);
    if (options.ullFileSize == 0 || options.ulBlockSize == 0)
        return false;

    C_TransferBuffer buffer;
    if (!buffer.Allocate(options.ulBlockSize))
        return false;
    FillRandom(buffer.Data(), buffer.Size());   // without a generator the data stays as allocated

    std::string strDate;
    std::string strTime;
    FormatDate(strDate, DATE_LONGDATE, nullptr, false);
    FormatTime(strTime, 0, nullptr, false);
    strResultsText = strDate + " " + strTime + "\r\n";

    bool bLastOk = false;
    for (const S_QuickDrive& drive : vDrives) {
        events.DriveStarting(drive);
        S_QuickDriveReport report;
        bLastOk = RunDriveSequence(drive, options.bSkipRandom, buffer.Data(), options.ulBlockSize, report);
        strResultsText += ResultsLine(drive.strName, report.aResults[PassIndex(E_QuickPass::SequentialRead)],
                                      report.aResults[PassIndex(E_QuickPass::Qd32Read)],
                                      report.aResults[PassIndex(E_QuickPass::SequentialWrite)],
                                      report.aResults[PassIndex(E_QuickPass::Qd32Write)]);
        if (!drive.strDescription.empty()) {
            strDeviceDescription = drive.strDescription;
            strDriveName = drive.strName;
        } else {
            strDeviceDescription = drive.strName;
            strDriveName.clear();
        }
        ulBusBits = drive.ulBusBits;
        strReadText = report.aResults[PassIndex(E_QuickPass::SequentialRead)];
        strWriteText = report.aResults[PassIndex(E_QuickPass::SequentialWrite)];
        vReports.push_back(report);
        events.DriveEnded(drive, report);
    }
    if (!vDrives.empty() && bLastOk)
        events.SummaryMade(MakeSummary());
    if (vDrives.size() > 1 && options.bSaveResultsFile) {
        std::string strPath;
        if (SaveResultsFile(strResultsText,
                            options.strResultsFolder.empty() ? nullptr : options.strResultsFolder.c_str(), &strPath))
            events.ResultsFileSaved(strPath);
    }
    return !vDrives.empty() && bLastOk;
}

bool C_QuickEngine::RunDriveSequence(const S_QuickDrive& drive, bool bSkipRandom, uint8_t* pBuffer,
                                     uint32_t ulBlockSize, S_QuickDriveReport& reportOut)
{
    S_QuickDriveReport report;
    report.cLetter = drive.cLetter;
    report.strRoot = drive.strRoot;
    report.strName = drive.strName;
    report.strDescription = drive.strDescription;
    report.ulBusBits = drive.ulBusBits;

    const std::string strFolder = drive.strRoot + "QuenvaleTest";
    const std::string strPath = strFolder + "\\QuenvaleTest.bin";
    file.CreateFolder(strFolder.c_str());
    file.RemoveFile(strPath.c_str());

    report.nUsbCode = devices.GetUsbSpeedCode(drive.cLetter);
    report.strUsbText = UsbSpeedText(report.nUsbCode);
    log.DriveStart(drive.cLetter, report.strUsbText.c_str());

    bool bOk = RunSequentialPass(drive, E_QuickPass::SequentialWrite, strPath.c_str(), pBuffer, ulBlockSize, report);
    if (bOk)
        bOk = RunSequentialPass(drive, E_QuickPass::SequentialRead, strPath.c_str(), pBuffer, ulBlockSize, report);
    if (bOk)
        bOk = RunRandomPass(drive, E_QuickPass::Qd32Write, strPath.c_str(), bSkipRandom, report);
    if (bOk)
        bOk = RunRandomPass(drive, E_QuickPass::Qd32Read, strPath.c_str(), bSkipRandom, report);

    file.RemoveFile(strPath.c_str());
    file.RemoveFolder(strFolder.c_str());
    log.DriveFinish(drive.cLetter);
    report.bSuccess = bOk;
    reportOut = report;
    return bOk;
}

bool C_QuickEngine::RunSequentialPass(const S_QuickDrive& drive, E_QuickPass ePass, const char* pszPath,
                                      uint8_t* pBuffer, uint32_t ulBlockSize, S_QuickDriveReport& report)
{
    const size_t nIndex = PassIndex(ePass);
    const int nDirection = DirectionOf(ePass);
    state.ullBytesDone.store(0);
    state.ulSecondsElapsed.store(0);
    log.PassStart(ePass, drive.cLetter);
    events.PassStarting(drive, ePass);
    state.ulStateBits.fetch_or(StateBitOf(ePass));

    std::string strResult;
    std::string strWarning;
    uint32_t ulRate = 0;
    const S_QuickPassContext context{state, file, events};
    const bool bOk = WorkerDoSpeedtest(context, nDirection, pszPath, pBuffer, ulBlockSize, strResult,
                                       report.nUsbCode, strWarning, ulRate, &report.aFigures[nIndex]) != 0;
    state.ulStateBits.fetch_and(~StateBitOf(ePass));
    (nDirection == 1 ? ulWriteRate : ulReadRate) = ulRate;

    if (bOk)
        log.PassResult(ePass, drive.cLetter, strResult.c_str());
    else
        log.PassFailed(ePass, drive.cLetter);
    log.PassWarning(ePass, drive.cLetter, strWarning.c_str());
    report.aResults[nIndex] = strResult;
    report.aWarnings[nIndex] = strWarning;
    events.PassEnded(drive, ePass, strResult, strWarning, bOk);
    return bOk;
}

bool C_QuickEngine::RunRandomPass(const S_QuickDrive& drive, E_QuickPass ePass, const char* pszPath, bool bSkip,
                                  S_QuickDriveReport& report)
{
    const size_t nIndex = PassIndex(ePass);
    std::string strResult;
    bool bOk = true;
    if (bSkip) {
        strResult = Texts().LoadText(TEXT_NOT_TESTED);
    } else {
        state.ulSecondsElapsed.store(0);
        log.PassStart(ePass, drive.cLetter);
        events.PassStarting(drive, ePass);
        state.ulStateBits.fetch_or(StateBitOf(ePass));
        const S_QuickPassContext context{state, file, events};
        bOk = WorkerDoAccesstest(context, DirectionOf(ePass), pszPath, strResult, &report.aFigures[nIndex]) != 0;
        state.ulStateBits.fetch_and(~StateBitOf(ePass));
    }
    if (bOk)
        log.PassResult(ePass, drive.cLetter, strResult.c_str());
    else
        log.PassFailed(ePass, drive.cLetter);
    report.aResults[nIndex] = strResult;
    events.PassEnded(drive, ePass, strResult, std::string(), bOk);
    return bOk;
}

std::string C_QuickEngine::MakeSummary() const
{
    return SummaryLine(strDeviceDescription, strDriveName, strReadText, strWriteText, ulBusBits);
}

std::string C_QuickEngine::ComparisonPageAddress(const std::string& strProcessor) const
{
    return ::ComparisonPageAddress(ulReadRate, ulWriteRate, strDeviceDescription, ulBusBits, strProcessor);
}

bool C_QuickEngine::OpenComparisonPage() const
{
    const std::string strParameters = "url.dll,FileProtocolHandler " + ComparisonPageAddress(QueryProcessorText());
    const HINSTANCE hResult =
        ::ShellExecuteA(nullptr, "open", "rundll32.exe", strParameters.c_str(), nullptr, SW_SHOWDEFAULT);
    return reinterpret_cast<INT_PTR>(hResult) > 32;
}
