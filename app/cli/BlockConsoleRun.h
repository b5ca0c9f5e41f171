#ifndef QUENVALE_CLI_BLOCKCONSOLERUN_H
#define QUENVALE_CLI_BLOCKCONSOLERUN_H

#include <string>
#include <vector>

// Runs "block <drive-letter | device path> --read|--write [options]" (vArgs
// from the command word on) on the Block Access engine, on the record that
// the Block Access refresh lists for the target: progress on stderr, the
// checked parameters, the buffer size, the last speed line and the CRC line
// (or, with --json, the run as JSON) on stdout.
//
// A write needs the confirmation the page stored for the device (in the
// registry, or in the settings file beside the program in portable mode)
// or --yes, which confirms for this run only and stores nothing; without
// either the question is printed and nothing is written. Ctrl+C ends the
// run after the access under way, with the files closed.
//
// Returns the exit code: 0 every access made, 1 an access failed, 2 bad
// arguments, a refusal or parameters that allow no access, 130 stopped.
int RunBlockCommand(const std::vector<std::string>& vArgs);

#endif
