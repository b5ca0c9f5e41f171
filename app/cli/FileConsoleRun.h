#ifndef QUENVALE_CLI_FILECONSOLERUN_H
#define QUENVALE_CLI_FILECONSOLERUN_H

#include <string>
#include <vector>

// Runs "file <path> --write|--read [options]" (vArgs from the command
// word on) on the File Access engine: progress on stderr, the result lines
// as the page shows them (or, with --json, the figures as JSON) on stdout.
// A question of the run is answered by --yes; without it the question is
// printed and the run ends before anything is written (exit code 2, like
// a read file that does not exist). Ctrl+C stops the run. Returns the exit
// code (CLI_EXIT_).
int RunFileCommand(const std::vector<std::string>& vArgs);

// For a command whose arguments did not parse (bParsed false: why and the
// usage text on stderr) or that asked for help (the usage text on stdout):
// the exit code; -1 when the command is to run.
int UsageExitCode(bool bParsed, bool bHelp, const std::string& strError, const std::string& strUsage);

// A message of several lines on one line, for stderr.
std::string OneLineText(std::string strText);

#endif
