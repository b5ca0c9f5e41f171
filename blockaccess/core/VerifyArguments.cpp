#include "blockaccess/core/VerifyArguments.h"

#include "framework/core/ConsoleArguments.h"

bool ParseVerifyArguments(const std::vector<std::string>& vArgs, S_VerifyArguments& argumentsOut,
                          std::string& strError)
{
    if (vArgs.empty() || vArgs[0] != "verify") {
        strError = vArgs.empty() ? "no command given" : "unknown command \"" + vArgs[0] + "\"";
        return false;
    }
    std::vector<S_ConsoleArgument> vSplit;
    if (!SplitConsoleArguments(vArgs, 1, [](const std::string&) { return false; }, vSplit, strError))
        return false;
    S_VerifyArguments arguments;
    bool bQuick = false;
    for (const S_ConsoleArgument& argument : vSplit) {
        const std::string& strArg = argument.strText;
        if (argument.bTarget) {
            if (!arguments.strTarget.empty()) {
                strError = "one target only: \"" + arguments.strTarget + "\" and \"" + strArg + "\"";
                return false;
            }
            arguments.strTarget = strArg;
        } else if (strArg == "--quick") {
            bQuick = true;
        } else if (strArg == "--full") {
            arguments.bFull = true;
        } else if (strArg == "--restore") {
            arguments.bRestore = true;
        } else if (strArg == "--yes") {
            arguments.bYes = true;
        } else if (strArg == "--json") {
            arguments.bJson = true;
        } else if (strArg == "--help" || strArg == "-h") {
            arguments.bHelp = true;
        } else {
            strError = "unknown option " + strArg;
            return false;
        }
    }
    if (!arguments.bHelp) {
        if (arguments.strTarget.empty()) {
            strError = "no drive letter or device path given";
            return false;
        }
        if (bQuick && arguments.bFull) {
            strError = "--quick and --full exclude each other";
            return false;
        }
        if (arguments.bFull && arguments.bRestore) {
            strError = "--restore works with --quick only: --full overwrites every block";
            return false;
        }
        if (!DriveLetterOfTarget(arguments.strTarget, arguments.cDriveLetter))
            arguments.strDevicePath = arguments.strTarget;
    }
    argumentsOut = arguments;
    return true;
}

std::string VerifyUsageText()
{
    return "usage: quenvale-cli verify <drive-letter | device-path> [--quick | --full]\n"
           "                          [--restore] [--yes] [--json]\n"
           "\n"
           "verify finds out whether a device holds what it claims: it writes blocks\n"
           "that carry their own address and this run's key, reads them back, and\n"
           "names the real size of a device that wraps or drops what lies beyond it.\n"
           "\n"
           "WARNING: verify writes to the raw device and DESTROYS the data on it:\n"
           "  --quick overwrites 1 MiB regions spread over the whole device, its\n"
           "  first and last blocks among them (up to 1 GiB a round; all of a device\n"
           "  of 1 GiB or less), --full every block. Writing a whole device's first\n"
           "  block has the system remove its partition table. Without --restore the\n"
           "  file system is gone afterwards.\n"
           "\n"
           "Give the whole device (\\\\.\\PhysicalDrive1, as \"quenvale-cli devices --block\"\n"
           "lists it) rather than a drive letter: a counterfeit lies about the device's\n"
           "size, and a drive letter covers only its volume.\n"
           "\n"
           "  --quick     probe 1 MiB regions over the whole capacity (default); seconds\n"
           "              to a few minutes\n"
           "  --full      write every block, then read every block back; gives the\n"
           "              write and read rates, shows the time left\n"
           "  --restore   quick only: save the probed regions first and write them back\n"
           "              at the end, also after Ctrl+C (which then waits for it)\n"
           "  --yes       answer the write question with yes for this run\n"
           "  --json      print the figures as JSON\n"
           "\n"
           "Exit codes: 0 the capacity holds, 1 it does not (or the check failed),\n"
           "2 bad arguments or a refusal, 130 stopped with Ctrl+C.\n";
}
