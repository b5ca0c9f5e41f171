#ifndef QUENVALE_FILEACCESS_FILECOMMAND_H
#define QUENVALE_FILEACCESS_FILECOMMAND_H

#include <cstdint>
#include <string>
#include <vector>

#include "fileaccess/core/FileOptions.h"

// The console runner's File Access commands:
//   file <path> --write|--read [--size MB] [--block BYTES] [--unbuffered]
//        [--write-through] [--random] [--spin-up] [--preread MB]
//        [--save-read FILE] [--biggest] [--fastest] [--yes] [--json]
//   fastest <drive-letter|image-file> [--min-size BYTES] [--json]
struct S_FileCommand {
    std::string strPath;
    bool bWrite = false;
    bool bRead = false;
    uint64_t ullSizeMBytes = 0;          // 0 = not given
    uint32_t ulBlockSize = 1048576;
    bool bUnbuffered = false;
    bool bWriteThrough = false;
    bool bRandom = false;
    bool bSpinUp = false;
    uint64_t ullPreReadMBytes = 3;
    std::string strSaveRead;             // empty = the read data is not kept
    bool bBiggest = false;
    bool bFastest = false;
    bool bYes = false;                   // every question of the run is answered Yes
    bool bJson = false;
    bool bHelp = false;
};

struct S_FastestCommand {
    std::string strTarget;
    uint64_t ullMinSize = 0;             // bytes; the search compares its low 32 bits
    bool bJson = false;
    bool bHelp = false;
};

// Largest values the commands take.
constexpr uint64_t kMaxFileSizeMBytes = 1048576;   // 1 TiB
constexpr uint32_t kMaxFileBlockSize = 1073741824;  // 1 GiB

// Read the arguments after the program name ("file ..." or "fastest ...").
// On failure strError says why and the command is left untouched.
bool ParseFileCommand(const std::vector<std::string>& vArgs, S_FileCommand& commandOut, std::string& strError);
bool ParseFastestCommand(const std::vector<std::string>& vArgs, S_FastestCommand& commandOut,
                         std::string& strError);

// The run a file command asks for. The console states every option, so the
// run is in Expert Mode: transfers are unbuffered only with --unbuffered.
S_FileRunOptions FileRunOptionsOf(const S_FileCommand& command);

// The usage text of both commands, lines ending in '\n'.
std::string FileUsageText();

#endif
