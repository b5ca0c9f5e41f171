#ifndef QUENVALE_CLI_QUICKCONSOLERUN_H
#define QUENVALE_CLI_QUICKCONSOLERUN_H

#include <windows.h>

#include "quick/core/QuickCommand.h"

// Exit codes of the console runner.
enum : int {
    CLI_EXIT_OK = 0,          // every target's sequence succeeded
    CLI_EXIT_FAILED = 1,      // a pass failed
    CLI_EXIT_USAGE = 2,       // bad arguments, a missing target, a log file that cannot be written
    CLI_EXIT_STOPPED = 130,   // stopped with Ctrl+C
};

// Runs "quick" on its targets in order: the drive sequence on each, the
// progress on stderr, then the results as the page shows them (or, with
// --json, the results and raw figures as JSON) on stdout. Ctrl+C stops the
// run the way the page's Stop button does. Returns the exit code.
int RunQuickCommand(const S_QuickCommand& command);

// The console control handler that RunQuickCommand installs while its run
// goes on (called on a thread of the system's). Ctrl+C and Ctrl+Break ask
// the run to stop and return at once; a close, logoff or shutdown event
// asks it to stop and returns only once the run has cleaned up (or just
// before the system's time for that event is up), because the system ends
// the process when it returns. FALSE when no run goes on.
BOOL WINAPI QuickConsoleControl(DWORD dwType);

#endif
