#ifndef QUENVALE_APP_PROGRAMOPTIONS_H
#define QUENVALE_APP_PROGRAMOPTIONS_H

#include <cstdint>
#include <string>

#include "app/core/CommandLine.h"
#include "framework/core/OptionWord.h"
#include "fileaccess/core/FileAccessValues.h"
#include "quick/core/QuickAccessValues.h"

// The program's command-line options:
//   -a -n        start with Block Access / not
//   -b -c        no buffering / buffering          -d -e  save read data / not
//   -p -f        pre-read / not                    -r -w  start a read / write test
//   -m -v        biggest file / not                -t -u  fastest file / not
//   -o -q -s     linear / random / seek block test
//   -x           floppy drives                     -y     not File Access at start
//   -z           portable mode
//   -i n -j n -k n   file size, block size, pre-read size in bytes
//   -l name      test file ("?" = the root of the program's drive), drive to preselect
//   -log name    log file
// Opposite switches are applied in this fixed order, so "-c" beats "-b"
// wherever each stands, and so on; a later entry of "-o", "-q", "-s" wins.

// Registers the program's options, in their fixed order.
void AddProgramOptions(C_CommandLine& commandLine);

// What a command line asks for.
struct S_CommandLineChanges {
    bool bParsed = false;        // false: the command line failed and nothing below applies

    // The option word becomes (word AND NOT ulClearBits) OR ulSetBits.
    uint32_t ulClearBits = 0;
    uint32_t ulSetBits = 0;

    // File Access values; each only when its flag is set.
    bool bFileSize = false;
    uint64_t ullFileSize = 0;
    bool bBlockSize = false;
    uint32_t ulBlockSize = 0;
    bool bPreReadSize = false;
    uint64_t ullPreReadSize = 0;
    std::string strTestFile;     // empty = unchanged

    // Quick Access values; 0 or empty = unchanged.
    uint64_t ullQuickFileSize = 0;
    uint32_t ulQuickBlockSize = 0;
    std::string strPreselect;

    std::string strLogFile;      // empty = no log
};

// Reads the changes from a parsed command line (the program's options
// registered). pszProgramFolder is the program file's folder with its
// trailing '\', for "-l ?".
S_CommandLineChanges ReadCommandLineChanges(const C_CommandLine& commandLine, bool bParsed,
                                            const char* pszProgramFolder);

// Parses the program's whole command line (the program name first) and
// reads its changes.
S_CommandLineChanges ParseProgramCommandLine(const char* pszCommandLine, I_ResponseFiles* pResponseFiles,
                                             const char* pszProgramFolder);

// Applies the changes: one atomic update of the option word, then the page
// values. Nothing at all when the command line failed. The log file and
// portable mode are the caller's.
void ApplyCommandLineChanges(const S_CommandLineChanges& changes, C_OptionWord& optionWord,
                             S_FileAccessValues& fileAccess, S_QuickAccessValues& quickAccess);

#endif
