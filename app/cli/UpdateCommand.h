#ifndef QUENVALE_CLI_UPDATECOMMAND_H
#define QUENVALE_CLI_UPDATECOMMAND_H

#include <string>
#include <vector>

// quenvale-cli update [--check] [--yes] [--json]
//
// Asks the update service (QUENVALE_UPDATE_URL replaces its address) as the
// main window's check does, without the weekly rule and without questions,
// and prints the running and the offered version. --check (the default)
// stores and changes nothing; --yes also downloads the offered files and
// installs them into the program's folder, keeping the replaced ones as
// N_old.E, and never restarts or starts a program. vArgs starts with
// "update". Exit codes: 0 up to date or installed, 1 a failure (network,
// reply, file), 2 bad arguments, 3 a newer version is offered and was not
// installed.
int RunUpdateCommand(const std::vector<std::string>& vArgs);

// A paragraph on the update command for the runner's usage text.
const char* UpdateUsageText();

#endif
