#ifndef QUENVALE_CLI_CONSOLEEVENTS_H
#define QUENVALE_CLI_CONSOLEEVENTS_H

#include <windows.h>

#include <string>

#include "quick/win/QuickEvents.h"

// The console's side of a Quick Access run: pass messages become printed
// errors, pass starts and the live progress go to stderr. The worker thread
// reports, the main thread prints the progress; one lock keeps their lines
// apart.
class C_ConsoleEvents : public I_QuickEvents {
public:
    C_ConsoleEvents();
    ~C_ConsoleEvents() override;
    C_ConsoleEvents(const C_ConsoleEvents&) = delete;
    C_ConsoleEvents& operator=(const C_ConsoleEvents&) = delete;

    void PassMessage(const S_PassMessage& message) override;
    void PassStarting(const S_QuickDrive& drive, E_QuickPass ePass) override;
    void PassEnded(const S_QuickDrive& drive, E_QuickPass ePass, const std::string& strResult,
                   const std::string& strWarning, bool bSuccess) override;

    // The progress line (percent and live rate), rewritten in place on a
    // console; nothing on a file or pipe, which get one line per pass.
    void ShowProgress(int nPercent, const std::string& strRate);
    // Any line for stderr.
    void PrintError(const std::string& strLine);

private:
    void ClearProgress();

    CRITICAL_SECTION lock;
    bool bConsole;
    size_t nProgressWidth = 0;   // characters of the progress line on screen
    std::string strPassLabel;    // "Q: Sequential Write"
};

#endif
