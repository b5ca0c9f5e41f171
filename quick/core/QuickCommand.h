#ifndef QUENVALE_QUICK_QUICKCOMMAND_H
#define QUENVALE_QUICK_QUICKCOMMAND_H

#include <cstdint>
#include <string>
#include <vector>

// The console runner's command:
//   quick <drive-letter-or-folder>... [--size MB] [--block 4k|64k|1m]
//         [--skip-random] [--log FILE] [--json]
struct S_QuickCommand {
    std::vector<std::string> vTargets;
    uint64_t ullFileSizeMBytes = 4000;     // the page's default choice
    uint32_t ulBlockSize = 1048576;        // the page's default choice
    bool bSkipRandom = false;
    bool bJson = false;
    bool bHelp = false;                    // "--help" or "-h": print the usage, run nothing
    std::string strLogFile;                // empty = no log
};

// Largest file size the runner takes, in MByte (1 TiB).
constexpr uint64_t kMaxQuickFileSizeMBytes = 1048576;

// Reads the arguments after the program name. On failure strError says
// why and commandOut is left untouched.
bool ParseQuickCommand(const std::vector<std::string>& vArgs, S_QuickCommand& commandOut, std::string& strError);

// The console runner's usage text, lines ending in '\n': the quick command
// in full, and the devices command (which has its own "--help").
std::string QuickUsageText();

#endif
