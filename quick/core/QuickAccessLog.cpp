#include "quick/core/QuickAccessLog.h"

namespace {

std::string Text(const char* psz)
{
    return psz != nullptr ? psz : "";
}

std::string Drive(char cDrive)
{
    return std::string(1, cDrive) + ":\\";
}

std::string PassPrefix(E_QuickPass ePass)
{
    return std::string("Quick Access ") + QuickPassName(ePass) + ": ";
}

} // namespace

const char* QuickPassName(E_QuickPass ePass)
{
    switch (ePass) {
    case E_QuickPass::SequentialWrite:
        return "Sequential Write";
    case E_QuickPass::SequentialRead:
        return "Sequential Read";
    case E_QuickPass::Qd32Write:
        return "QD32 Write";
    case E_QuickPass::Qd32Read:
        return "QD32 Read";
    }
    return "";
}

std::string C_QuickAccessLog::DriveStartText(char cDrive, const char* pszUsbText)
{
    return "Quick Access: Start test on " + Drive(cDrive) + " " + Text(pszUsbText) + ".";
}

std::string C_QuickAccessLog::PassStartText(E_QuickPass ePass, char cDrive)
{
    return PassPrefix(ePass) + "Start test on " + Drive(cDrive) + ".";
}

std::string C_QuickAccessLog::PassResultText(E_QuickPass ePass, char cDrive, const char* pszResult)
{
    return PassPrefix(ePass) + "Test result on " + Drive(cDrive) + ": " + Text(pszResult) + ".";
}

std::string C_QuickAccessLog::PassFailedText(E_QuickPass ePass, char cDrive)
{
    return PassPrefix(ePass) + "Test failed on " + Drive(cDrive) + ".";
}

std::string C_QuickAccessLog::PassWarningText(E_QuickPass ePass, char cDrive, const char* pszWarning)
{
    return PassPrefix(ePass) + "Warning on " + Drive(cDrive) + ": " + Text(pszWarning) + ".";
}

std::string C_QuickAccessLog::DriveFinishText(char cDrive)
{
    return "Quick Access: Finish test on " + Drive(cDrive) + ".";
}

void C_QuickAccessLog::Write(const std::string& strMessage)
{
    if (pSink != nullptr)
        pSink->WriteMessage(strMessage.c_str());
}

void C_QuickAccessLog::DriveStart(char cDrive, const char* pszUsbText)
{
    Write(DriveStartText(cDrive, pszUsbText));
}

void C_QuickAccessLog::PassStart(E_QuickPass ePass, char cDrive)
{
    Write(PassStartText(ePass, cDrive));
}

void C_QuickAccessLog::PassResult(E_QuickPass ePass, char cDrive, const char* pszResult)
{
    Write(PassResultText(ePass, cDrive, pszResult));
}

void C_QuickAccessLog::PassFailed(E_QuickPass ePass, char cDrive)
{
    Write(PassFailedText(ePass, cDrive));
}

void C_QuickAccessLog::PassWarning(E_QuickPass ePass, char cDrive, const char* pszWarning)
{
    if (pszWarning != nullptr && *pszWarning != '\0')
        Write(PassWarningText(ePass, cDrive, pszWarning));
}

void C_QuickAccessLog::DriveFinish(char cDrive)
{
    Write(DriveFinishText(cDrive));
}
