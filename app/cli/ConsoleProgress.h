#ifndef QUENVALE_CLI_CONSOLEPROGRESS_H
#define QUENVALE_CLI_CONSOLEPROGRESS_H

#include <windows.h>

#include <string>

// The lines a console run writes to stderr: messages, and a progress line
// "<label>  42%" that a console rewrites in place, while a file or pipe
// gets the label once when the progress begins. The worker prints, the
// main thread shows the progress; one lock keeps their lines apart.
class C_ConsoleProgress {
public:
    C_ConsoleProgress();
    ~C_ConsoleProgress();
    C_ConsoleProgress(const C_ConsoleProgress&) = delete;
    C_ConsoleProgress& operator=(const C_ConsoleProgress&) = delete;

    // The progress of strLabel begins; Show draws it until End.
    void Begin(const std::string& strLabel);
    void Show(int nPercent);
    void End();
    // A progress line of its own (a console only, else nothing): replaces
    // the one on screen, blanking what a longer one left.
    void ShowText(const std::string& strText);
    bool OnConsole() const { return bConsole; }
    // One line, the progress line cleared first.
    void Print(const std::string& strLine);

private:
    void Clear();

    CRITICAL_SECTION lock;
    bool bConsole;
    std::string strLabel;       // empty outside Begin .. End
    size_t nWidth = 0;          // characters of the progress line on screen
};

#endif
