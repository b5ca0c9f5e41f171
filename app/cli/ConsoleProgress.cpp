#include "app/cli/ConsoleProgress.h"

#include <cstdio>

#include "app/cli/ConsoleText.h"

C_ConsoleProgress::C_ConsoleProgress() : bConsole(IsConsole(STD_ERROR_HANDLE))
{
    ::InitializeCriticalSection(&lock);
}

C_ConsoleProgress::~C_ConsoleProgress()
{
    ::DeleteCriticalSection(&lock);
}

void C_ConsoleProgress::Begin(const std::string& strLabelIn)
{
    ::EnterCriticalSection(&lock);
    Clear();
    strLabel = strLabelIn;
    if (!bConsole)
        WriteStandard(STD_ERROR_HANDLE, strLabel + "...\n");
    ::LeaveCriticalSection(&lock);
}

void C_ConsoleProgress::Show(int nPercent)
{
    ::EnterCriticalSection(&lock);
    if (!strLabel.empty()) {
        char szLine[128];
        std::snprintf(szLine, sizeof(szLine), "%.100s  %3d%%", strLabel.c_str(), nPercent);
        ShowText(szLine);
    }
    ::LeaveCriticalSection(&lock);
}

void C_ConsoleProgress::ShowText(const std::string& strText)
{
    if (!bConsole)
        return;
    ::EnterCriticalSection(&lock);
    std::string strLine = "\r" + strText;
    if (strText.size() < nWidth)
        strLine += std::string(nWidth - strText.size(), ' ');
    WriteStandard(STD_ERROR_HANDLE, strLine);
    nWidth = strText.size();
    ::LeaveCriticalSection(&lock);
}

void C_ConsoleProgress::End()
{
    ::EnterCriticalSection(&lock);
    Clear();
    strLabel.clear();
    ::LeaveCriticalSection(&lock);
}

void C_ConsoleProgress::Print(const std::string& strLine)
{
    ::EnterCriticalSection(&lock);
    Clear();
    WriteStandard(STD_ERROR_HANDLE, strLine + "\n");
    ::LeaveCriticalSection(&lock);
}

void C_ConsoleProgress::Clear()
{
    if (nWidth == 0)
        return;
    WriteStandard(STD_ERROR_HANDLE, "\r" + std::string(nWidth, ' ') + "\r");
    nWidth = 0;
}
