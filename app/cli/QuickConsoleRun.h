#ifndef QUENVALE_CLI_QUICKCONSOLERUN_H
#define QUENVALE_CLI_QUICKCONSOLERUN_H

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

#endif
