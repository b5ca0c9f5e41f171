#include "app/cli/ConsoleProgress.h"

#include <cstdio>
#include <cstring>

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
    if (bConsole && !strLabel.empty()) {
        char szLine[128];
        std::snprintf(szLine, sizeof(szLine), "\r%.100s  %3d%%", strLabel.c_str(), nPercent);
        WriteStandard(STD_ERROR_HANDLE, szLine);
        nWidth = std::strlen(szLine) - 1;
    }
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
