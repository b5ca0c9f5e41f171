#include "app/cli/ConsoleEvents.h"

#include <cstdio>

#include "app/cli/ConsoleText.h"
#include "quick/win/QuickEngine.h"

namespace {

// A multi-line message on one line.
std::string OneLine(std::string strText)
{
    while (!strText.empty() && (strText.back() == '\n' || strText.back() == '\r'))
        strText.pop_back();
    std::string strLine;
    for (size_t i = 0; i < strText.size(); ++i) {
        if (strText[i] == '\r')
            continue;
        if (strText[i] == '\n') {
            if (!strLine.empty() && strLine.back() != ' ')
                strLine += ' ';
            continue;
        }
        strLine += strText[i];
    }
    return strLine;
}

} // namespace

C_ConsoleEvents::C_ConsoleEvents() : bConsole(IsConsole(STD_ERROR_HANDLE))
{
    ::InitializeCriticalSection(&lock);
}

C_ConsoleEvents::~C_ConsoleEvents()
{
    ::DeleteCriticalSection(&lock);
}

void C_ConsoleEvents::ClearProgress()
{
    if (nProgressWidth == 0)
        return;
    WriteStandard(STD_ERROR_HANDLE, "\r" + std::string(nProgressWidth, ' ') + "\r");
    nProgressWidth = 0;
}

void C_ConsoleEvents::PrintError(const std::string& strLine)
{
    ::EnterCriticalSection(&lock);
    ClearProgress();
    WriteStandard(STD_ERROR_HANDLE, strLine + "\n");
    ::LeaveCriticalSection(&lock);
}

void C_ConsoleEvents::PassMessage(const S_PassMessage& message)
{
    PrintError("error: " + OneLine(PassMessageText(message)));
}

void C_ConsoleEvents::PassStarting(const S_QuickDrive& drive, E_QuickPass ePass)
{
    ::EnterCriticalSection(&lock);
    ClearProgress();
    strPassLabel = drive.strName + " " + QuickPassName(ePass);
    if (!bConsole)
        WriteStandard(STD_ERROR_HANDLE, strPassLabel + "...\n");
    ::LeaveCriticalSection(&lock);
}

void C_ConsoleEvents::PassEnded(const S_QuickDrive& drive, E_QuickPass ePass, const std::string& strResult,
                                const std::string& strWarning, bool bSuccess)
{
    ::EnterCriticalSection(&lock);
    ClearProgress();
    strPassLabel.clear();
    ::LeaveCriticalSection(&lock);
}

void C_ConsoleEvents::ShowProgress(int nPercent, const std::string& strRate)
{
    ::EnterCriticalSection(&lock);
    if (bConsole && !strPassLabel.empty()) {
        char szPercent[16];
        std::snprintf(szPercent, sizeof(szPercent), "%3d%%", nPercent > 100 ? 100 : nPercent);
        std::string strLine = strPassLabel + "  " + szPercent + "  " + strRate;
        const size_t nWidth = strLine.size();
        if (nWidth < nProgressWidth)
            strLine += std::string(nProgressWidth - nWidth, ' ');
        WriteStandard(STD_ERROR_HANDLE, "\r" + strLine);
        nProgressWidth = nWidth > nProgressWidth ? nWidth : nProgressWidth;
    }
    ::LeaveCriticalSection(&lock);
}
