#ifndef QUENVALE_BLOCKACCESS_VERIFYARGUMENTS_H
#define QUENVALE_BLOCKACCESS_VERIFYARGUMENTS_H

#include <string>
#include <vector>

// The console runner's capacity check:
//   verify <drive-letter | device path> [--quick | --full] [--restore] [--yes] [--json]
struct S_VerifyArguments {
    std::string strTarget;         // as given
    char cDriveLetter = 0;         // 'A'..'Z' for a drive letter target, else 0
    std::string strDevicePath;     // "\\.\PhysicalDrive1" for a device path target, else empty
    bool bFull = false;            // --full: every block; otherwise probe regions (--quick)
    bool bRestore = false;         // --restore: the probed regions get their contents back (quick only)
    bool bYes = false;             // answers the write question for this run; nothing is stored
    bool bJson = false;
    bool bHelp = false;            // "--help" or "-h": print the usage, run nothing
};

// Reads the arguments after the program name ("verify" first). On failure
// strError says why, in one line, and argumentsOut is left untouched.
bool ParseVerifyArguments(const std::vector<std::string>& vArgs, S_VerifyArguments& argumentsOut,
                          std::string& strError);

// The verify command's usage text, lines ending in '\n'.
std::string VerifyUsageText();

#endif
