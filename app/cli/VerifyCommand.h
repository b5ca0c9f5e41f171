#ifndef QUENVALE_CLI_VERIFYCOMMAND_H
#define QUENVALE_CLI_VERIFYCOMMAND_H

#include <string>
#include <vector>

// Runs "verify <drive-letter | device path> [--quick | --full] [--restore]
// [--yes] [--json]" (vArgs from the command word on): the capacity check
// on the record that the Block Access refresh lists for the target, behind
// the same write checks as "block --write" (the write confirmation the
// page stored, or --yes for this run; the identity of the listed device;
// never the system device). Progress and failed blocks on stderr, the
// figures and the verdict (or, with --json, all as JSON) on stdout. Ctrl+C
// ends the run after the access under way; with --restore only once the
// saved regions are written back.
//
// Returns the exit code: 0 the capacity holds, 1 it does not or the check
// failed (a restore that failed included), 2 bad arguments or a refusal,
// 130 stopped.
int RunVerifyCommand(const std::vector<std::string>& vArgs);

#endif
