#ifndef QUENVALE_CLI_DEVICESCOMMAND_H
#define QUENVALE_CLI_DEVICESCOMMAND_H

#include <string>
#include <vector>

// quenvale-cli devices [--quick|--block] [--json]
//
// Refreshes the device layer with the Quick Access passes (Plug and Play
// interfaces and drive letters) or, by default, the Block Access passes
// (volumes, physical drives, CD-ROM devices, Windows 9x drives, ASPI
// targets, CD tracks), then lists every record the refresh found: as text,
// or with --json as one JSON array. vArgs starts with "devices". Returns the
// console runner's exit code.
int RunDevicesCommand(const std::vector<std::string>& vArgs);

#endif
