#include "quick/core/QuickCommand.h"

#include <cctype>

#include "framework/core/ConsoleArguments.h"

namespace {

bool ParseMBytes(const std::string& strText, uint64_t& ullOut)
{
    if (strText.empty() || strText.size() > 9)
        return false;
    uint64_t ullValue = 0;
    for (const char c : strText) {
        if (c < '0' || c > '9')
            return false;
        ullValue = ullValue * 10 + static_cast<uint64_t>(c - '0');
    }
    if (ullValue == 0 || ullValue > kMaxQuickFileSizeMBytes)
        return false;
    ullOut = ullValue;
    return true;
}

bool ParseBlock(std::string strText, uint32_t& ulOut)
{
    for (char& c : strText)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (strText == "4k")
        ulOut = 4096;
    else if (strText == "64k")
        ulOut = 65536;
    else if (strText == "1m")
        ulOut = 1048576;
    else
        return false;
    return true;
}

} // namespace

bool ParseQuickCommand(const std::vector<std::string>& vArgs, S_QuickCommand& commandOut, std::string& strError)
{
    S_QuickCommand command;
    if (vArgs.empty()) {
        strError = "no command given";
        return false;
    }
    if (vArgs[0] == "--help" || vArgs[0] == "-h") {
        command.bHelp = true;
        commandOut = command;
        return true;
    }
    if (vArgs[0] != "quick") {
        strError = "unknown command \"" + vArgs[0] + "\"";
        return false;
    }
    std::vector<S_ConsoleArgument> vSplit;
    const auto takesValue = [](const std::string& strName) {
        return strName == "--size" || strName == "--block" || strName == "--log";
    };
    if (!SplitConsoleArguments(vArgs, 1, takesValue, vSplit, strError))
        return false;
    for (const S_ConsoleArgument& argument : vSplit) {
        const std::string& strArg = argument.strText;
        const std::string& strValue = argument.strValue;
        if (argument.bTarget) {
            command.vTargets.push_back(strArg);
            continue;
        }
        if (strArg == "--size") {
            if (!ParseMBytes(strValue, command.ullFileSizeMBytes)) {
                strError = "--size wants a whole number of MByte from 1 to 1048576";
                return false;
            }
        } else if (strArg == "--block") {
            if (!ParseBlock(strValue, command.ulBlockSize)) {
                strError = "--block wants 4k, 64k or 1m";
                return false;
            }
        } else if (strArg == "--log") {
            if (strValue.empty()) {
                strError = "--log needs a file name";
                return false;
            }
            command.strLogFile = strValue;
        } else if (strArg == "--skip-random") {
            command.bSkipRandom = true;
        } else if (strArg == "--json") {
            command.bJson = true;
        } else if (strArg == "--help" || strArg == "-h") {
            command.bHelp = true;
        } else {
            strError = "unknown option " + strArg;
            return false;
        }
    }
    if (command.vTargets.empty() && !command.bHelp) {
        strError = "no drive letter or folder given";
        return false;
    }
    commandOut = command;
    return true;
}

std::string QuickUsageText()
{
    return "usage: quenvale-cli quick <drive-letter-or-folder>... [options]\n"
           "       quenvale-cli devices [--quick|--block] [--json]\n"
           "\n"
           "quick writes and reads a test file on each target sequentially, then runs\n"
           "random 4 kByte writes and reads with 32 requests in flight.\n"
           "\n"
           "  --size MB        test file size in MByte (default 4000)\n"
           "  --block SIZE     block size of the sequential passes: 4k, 64k or 1m (default 1m)\n"
           "  --skip-random    leave out the random passes\n"
           "  --log FILE       append the steps to a log file\n"
           "  --json           print the results and raw figures as JSON\n"
           "\n"
           "Ctrl+C stops the run; the test file is removed.\n"
           "\n"
           "devices lists the drives and devices that the device layer finds;\n"
           "\"quenvale-cli devices --help\" tells more.\n";
}
