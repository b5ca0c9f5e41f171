#ifndef QUENVALE_CLI_FASTESTCOMMAND_H
#define QUENVALE_CLI_FASTESTCOMMAND_H

#include <string>
#include <vector>

// Runs "fastest <drive-letter|image-file> [--min-size BYTES] [--json]"
// (vArgs from the command word on): on a drive letter the search through
// SCSI commands to the drive, on an image file the same walk over the
// file's sectors (the data track from sector 0 on). Prints the chosen path,
// its start sector and its size, or why none was found. Returns the exit
// code (CLI_EXIT_).
int RunFastestCommand(const std::vector<std::string>& vArgs);

#endif
