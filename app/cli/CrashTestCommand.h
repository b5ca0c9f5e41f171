#ifndef QUENVALE_CLI_CRASHTESTCOMMAND_H
#define QUENVALE_CLI_CRASHTESTCOMMAND_H

#include <string>
#include <vector>

// quenvale-cli crash-test
//
// Sets the problem reporter up as the program does at start, then writes to
// address 0, so that an administrator can see the report files appear, the
// report dialog and, with QUENVALE_REPORT_URL, the report reach a
// collector. vArgs starts with "crash-test". Does not return unless the
// arguments are wrong (exit code 2) or help is asked for (0).
int RunCrashTestCommand(const std::vector<std::string>& vArgs);

// The lines of the usage text that name the command.
std::string CrashTestUsageText();

#endif
