#ifndef QUENVALE_BLOCKACCESS_BLOCKCOMMAND_H
#define QUENVALE_BLOCKACCESS_BLOCKCOMMAND_H

#include <cstdint>
#include <string>
#include <vector>

#include "blockaccess/core/BlockParameters.h"
#include "blockaccess/core/BlockSequence.h"

// The console runner's block command:
//   block <drive-letter | device path> --read|--write [--mode linear|random|seek]
//         [--start N] [--end N] [--blocks N] [--skip N] [--repeats N] [--calc N]
//         [--data FILE] [--crc] [--yes] [--json]
// Numbers are decimal; block addresses and counts are in device blocks.
struct S_BlockCommand {
    std::string strTarget;            // as given
    char cDriveLetter = 0;            // 'A'..'Z' for a drive letter target, else 0
    std::string strDevicePath;        // "\\.\PhysicalDrive1" for a device path target, else empty
    bool bWrite = false;              // --write; otherwise --read
    E_BlockMode mode = E_BlockMode::Linear;
    // Not given: the device record's first block, block count and largest
    // transfer (ulMaxBlocks).
    bool bStartGiven = false;
    uint64_t ullStart = 0;
    bool bEndGiven = false;
    uint64_t ullEnd = 0;
    bool bBlocksGiven = false;
    uint64_t ullBlocks = 0;
    uint64_t ullSkip = 0;
    uint64_t ullRepeats = 100;        // the page's setting default
    uint32_t ulCalcEvery = 1;
    std::string strDataFile;          // empty = none (linear only)
    bool bCrc = false;                // linear only
    bool bYes = false;                // answers the write question for this run; nothing is stored
    bool bJson = false;
    bool bHelp = false;               // "--help" or "-h": print the usage, run nothing
};

// Reads the arguments after the program name ("block" first). On failure
// strError says why, in one line, and commandOut is left untouched.
bool ParseBlockCommand(const std::vector<std::string>& vArgs, S_BlockCommand& commandOut, std::string& strError);

// The block command's usage text, lines ending in '\n'.
std::string BlockUsageText();

// What the device record gives the parameters that the command leaves out.
struct S_BlockRecordDefaults {
    uint64_t ullFirstBlock = 0;
    uint64_t ullBlockCount = 0;
    uint32_t ulMaxBlocks = 1;
};

// The parameter boxes as the page would hold them for this command on that
// record; ReadAndCheckValues then clamps them as it does the page's.
S_BlockBoxTexts BlockBoxTextsOfCommand(const S_BlockCommand& command, const S_BlockRecordDefaults& record);

// "linear", "random" or "seek".
const char* BlockModeName(E_BlockMode mode);

#endif
