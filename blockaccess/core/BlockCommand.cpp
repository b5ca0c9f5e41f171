#include "blockaccess/core/BlockCommand.h"

#include "framework/core/ConsoleArguments.h"

namespace {

bool ParseMode(const std::string& strText, E_BlockMode& modeOut)
{
    for (const E_BlockMode mode : {E_BlockMode::Linear, E_BlockMode::Random, E_BlockMode::Seek})
        if (strText == BlockModeName(mode)) {
            modeOut = mode;
            return true;
        }
    return false;
}

struct S_NumberOption {
    const char* pszName;
    uint64_t ullMin;
    uint64_t ullMax;
    const char* pszError;
};

const S_NumberOption kNumberOptions[] = {
    {"--start", 0, UINT64_MAX, "--start wants a block address, a whole number"},
    {"--end", 0, UINT64_MAX, "--end wants a block address, a whole number"},
    {"--blocks", 1, UINT64_MAX, "--blocks wants a whole number of blocks from 1"},
    {"--skip", 0, UINT64_MAX, "--skip wants a whole number of blocks"},
    {"--repeats", 1, UINT64_MAX, "--repeats wants a whole number from 1"},
    {"--calc", 1, UINT32_MAX, "--calc wants a whole number from 1 to 4294967295"},
};

} // namespace

const char* BlockModeName(E_BlockMode mode)
{
    switch (mode) {
    case E_BlockMode::Random:
        return "random";
    case E_BlockMode::Seek:
        return "seek";
    default:
        return "linear";
    }
}

bool ParseBlockCommand(const std::vector<std::string>& vArgs, S_BlockCommand& commandOut, std::string& strError)
{
    if (vArgs.empty() || vArgs[0] != "block") {
        strError = vArgs.empty() ? "no command given" : "unknown command \"" + vArgs[0] + "\"";
        return false;
    }
    S_BlockCommand command;
    bool bRead = false;
    bool bSkipGiven = false;
    bool bRepeatsGiven = false;
    const auto numberOption = [](const std::string& strName) -> const S_NumberOption* {
        for (const S_NumberOption& option : kNumberOptions)
            if (strName == option.pszName)
                return &option;
        return nullptr;
    };
    const auto takesValue = [&](const std::string& strName) {
        return numberOption(strName) != nullptr || strName == "--mode" || strName == "--data";
    };
    std::vector<S_ConsoleArgument> vSplit;
    if (!SplitConsoleArguments(vArgs, 1, takesValue, vSplit, strError))
        return false;
    for (const S_ConsoleArgument& argument : vSplit) {
        const std::string& strArg = argument.strText;
        const std::string& strValue = argument.strValue;
        if (argument.bTarget) {
            if (!command.strTarget.empty()) {
                strError = "one target only: \"" + command.strTarget + "\" and \"" + strArg + "\"";
                return false;
            }
            command.strTarget = strArg;
            continue;
        }
        const S_NumberOption* pNumber = numberOption(strArg);
        if (pNumber != nullptr) {
            uint64_t ullValue = 0;
            if (!ParseWholeNumber(strValue, ullValue) || ullValue < pNumber->ullMin || ullValue > pNumber->ullMax) {
                strError = pNumber->pszError;
                return false;
            }
            if (strArg == "--start") {
                command.bStartGiven = true;
                command.ullStart = ullValue;
            } else if (strArg == "--end") {
                command.bEndGiven = true;
                command.ullEnd = ullValue;
            } else if (strArg == "--blocks") {
                command.bBlocksGiven = true;
                command.ullBlocks = ullValue;
            } else if (strArg == "--skip") {
                bSkipGiven = true;
                command.ullSkip = ullValue;
            } else if (strArg == "--repeats") {
                bRepeatsGiven = true;
                command.ullRepeats = ullValue;
            } else {
                command.ulCalcEvery = static_cast<uint32_t>(ullValue);
            }
        } else if (strArg == "--mode") {
            if (!ParseMode(strValue, command.mode)) {
                strError = "--mode wants linear, random or seek";
                return false;
            }
        } else if (strArg == "--data") {
            if (strValue.empty()) {
                strError = "--data needs a file name";
                return false;
            }
            command.strDataFile = strValue;
        } else if (strArg == "--read") {
            bRead = true;
        } else if (strArg == "--write") {
            command.bWrite = true;
        } else if (strArg == "--crc") {
            command.bCrc = true;
        } else if (strArg == "--yes") {
            command.bYes = true;
        } else if (strArg == "--json") {
            command.bJson = true;
        } else if (strArg == "--help" || strArg == "-h") {
            command.bHelp = true;
        } else {
            strError = "unknown option " + strArg;
            return false;
        }
    }
    if (command.bHelp) {
        commandOut = command;
        return true;
    }
    if (command.strTarget.empty()) {
        strError = "no drive letter or device path given";
        return false;
    }
    if (bRead == command.bWrite) {
        strError = bRead ? "--read and --write exclude each other" : "--read or --write is needed";
        return false;
    }
    const bool bLinear = command.mode == E_BlockMode::Linear;
    const char* pszLinearOnly = !command.strDataFile.empty() ? "--data"
                                : command.bCrc               ? "--crc"
                                : bSkipGiven                 ? "--skip"
                                                             : nullptr;
    if (!bLinear && pszLinearOnly != nullptr) {
        strError = std::string(pszLinearOnly) + " works in linear mode only";
        return false;
    }
    if (bLinear && bRepeatsGiven) {
        strError = "--repeats works in random and seek mode only";
        return false;
    }
    if (!DriveLetterOfTarget(command.strTarget, command.cDriveLetter))
        command.strDevicePath = command.strTarget;
    commandOut = command;
    return true;
}

std::string BlockUsageText()
{
    return "usage: quenvale-cli block <drive-letter | device-path> --read|--write [options]\n"
           "\n"
           "block reads or writes a device by block address, below any file system.\n"
           "The target is a drive letter (E:) for its volume, or a device path as\n"
           "\"quenvale-cli devices --block\" lists it (\\\\.\\PhysicalDrive1).\n"
           "Addresses and counts are in the device's blocks.\n"
           "\n"
           "  --read | --write     the direction; a write asks first unless --yes is given\n"
           "                       or the confirmation was stored for the device before\n"
           "  --mode MODE          linear (default), random or seek\n"
           "  --start N            first block (default: the device's first usable block)\n"
           "  --end N              end block (default: the device's block count)\n"
           "  --blocks N           blocks per access (default: the device's largest transfer)\n"
           "  --skip N             linear: blocks skipped after each access (default 0)\n"
           "  --repeats N          random and seek: number of accesses (default 100)\n"
           "  --calc N             rate every N accesses (default 1)\n"
           "  --data FILE          linear: a read appends every buffer to FILE,\n"
           "                       a write sends FILE's first buffer\n"
           "  --crc                linear: the UDMA CRC of the last buffer\n"
           "  --yes                answer the write question with yes for this run\n"
           "  --json               print the parameters and results as JSON\n"
           "\n"
           "Ctrl+C stops the run after the access under way.\n";
}

S_BlockBoxTexts BlockBoxTextsOfCommand(const S_BlockCommand& command, const S_BlockRecordDefaults& record)
{
    S_BlockBoxTexts texts;
    texts.strStart = BlockNumberText(command.bStartGiven ? command.ullStart : record.ullFirstBlock);
    texts.strEnd = BlockNumberText(command.bEndGiven ? command.ullEnd : record.ullBlockCount);
    texts.strBlocks = BlockNumberText(command.bBlocksGiven ? command.ullBlocks : record.ulMaxBlocks);
    texts.strSkip = BlockNumberText(command.ullSkip);
    texts.strCalcEvery = BlockNumberText(command.ulCalcEvery);
    texts.strRepeats = BlockNumberText(command.ullRepeats);
    return texts;
}
