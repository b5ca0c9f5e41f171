#include "fileaccess/core/FileCommand.h"

#include <cctype>

#include "framework/core/ConsoleArguments.h"

namespace {

// A whole number of at most 20 digits, with an optional k or m (KiB, MiB)
// when bUnits; false when it does not fit 64 bits.
bool ParseNumber(const std::string& strText, bool bUnits, uint64_t& ullOut)
{
    std::string strDigits = strText;
    uint64_t ullUnit = 1;
    if (bUnits && !strDigits.empty()) {
        const char cUnit = static_cast<char>(std::tolower(static_cast<unsigned char>(strDigits.back())));
        if (cUnit == 'k' || cUnit == 'm') {
            ullUnit = cUnit == 'k' ? 1024 : 1048576;
            strDigits.pop_back();
        }
    }
    uint64_t ullValue = 0;
    if (!ParseWholeNumber(strDigits, ullValue))
        return false;
    if (ullValue > UINT64_MAX / ullUnit)
        return false;
    ullOut = ullValue * ullUnit;
    return true;
}

bool InRange(const std::string& strText, bool bUnits, uint64_t ullLow, uint64_t ullHigh, uint64_t& ullOut)
{
    uint64_t ullValue = 0;
    if (!ParseNumber(strText, bUnits, ullValue) || ullValue < ullLow || ullValue > ullHigh)
        return false;
    ullOut = ullValue;
    return true;
}

bool TakeTarget(const std::string& strArg, std::string& strTarget, const char* pszWhat, std::string& strError)
{
    if (strArg.empty()) {
        strError = std::string("empty ") + pszWhat;
        return false;
    }
    if (!strTarget.empty()) {
        strError = std::string("more than one ") + pszWhat + " given";
        return false;
    }
    strTarget = strArg;
    return true;
}

// The options without a value of the file command; false for any other.
bool SetSwitch(const std::string& strName, S_FileCommand& command)
{
    static const struct {
        const char* pszName;
        bool S_FileCommand::*pbFlag;
    } switches[] = {{"--write", &S_FileCommand::bWrite},
                    {"--read", &S_FileCommand::bRead},
                    {"--unbuffered", &S_FileCommand::bUnbuffered},
                    {"--write-through", &S_FileCommand::bWriteThrough},
                    {"--random", &S_FileCommand::bRandom},
                    {"--spin-up", &S_FileCommand::bSpinUp},
                    {"--biggest", &S_FileCommand::bBiggest},
                    {"--fastest", &S_FileCommand::bFastest},
                    {"--yes", &S_FileCommand::bYes},
                    {"--json", &S_FileCommand::bJson},
                    {"--help", &S_FileCommand::bHelp},
                    {"-h", &S_FileCommand::bHelp}};
    for (const auto& entry : switches) {
        if (strName == entry.pszName) {
            command.*entry.pbFlag = true;
            return true;
        }
    }
    return false;
}

} // namespace

bool ParseFileCommand(const std::vector<std::string>& vArgs, S_FileCommand& commandOut, std::string& strError)
{
    if (vArgs.empty() || vArgs[0] != "file") {
        strError = "not a file command";
        return false;
    }
    S_FileCommand command;
    const auto takesValue = [](const std::string& strName) {
        return strName == "--size" || strName == "--block" || strName == "--preread" || strName == "--save-read";
    };
    const auto onArgument = [&](const S_ConsoleArgument& argument) {
        if (argument.bTarget)
            return TakeTarget(argument.strText, command.strPath, "path", strError);
        const std::string& strName = argument.strText;
        const std::string& strValue = argument.strValue;
        uint64_t ullValue = 0;
        if (strName == "--size") {
            if (!InRange(strValue, false, 1, kMaxFileSizeMBytes, command.ullSizeMBytes)) {
                strError = "--size wants a whole number of MByte from 1 to 1048576";
                return false;
            }
        } else if (strName == "--block") {
            if (!InRange(strValue, true, 1, kMaxFileBlockSize, ullValue)) {
                strError = "--block wants a number of bytes from 1 to 1024m (k and m allowed: 64k, 1m)";
                return false;
            }
            command.ulBlockSize = static_cast<uint32_t>(ullValue);
        } else if (strName == "--preread") {
            if (!InRange(strValue, false, 1, kMaxFileSizeMBytes, command.ullPreReadMBytes)) {
                strError = "--preread wants a whole number of MByte from 1 to 1048576";
                return false;
            }
        } else if (strName == "--save-read") {
            if (strValue.empty()) {
                strError = "--save-read needs a file name";
                return false;
            }
            command.strSaveRead = strValue;
        } else if (!SetSwitch(strName, command)) {
            strError = "unknown option " + strName;
            return false;
        }
        return true;
    };
    if (!WalkConsoleArguments(vArgs, 1, takesValue, onArgument, strError))
        return false;
    if (!command.bHelp) {
        if (command.strPath.empty()) {
            strError = "no test file or folder given";
            return false;
        }
        if (!command.bWrite && !command.bRead) {
            strError = "--write or --read is needed";
            return false;
        }
    }
    commandOut = command;
    return true;
}

bool ParseFastestCommand(const std::vector<std::string>& vArgs, S_FastestCommand& commandOut,
                         std::string& strError)
{
    if (vArgs.empty() || vArgs[0] != "fastest") {
        strError = "not a fastest command";
        return false;
    }
    S_FastestCommand command;
    const auto takesValue = [](const std::string& strName) { return strName == "--min-size"; };
    const auto onArgument = [&](const S_ConsoleArgument& argument) {
        if (argument.bTarget)
            return TakeTarget(argument.strText, command.strTarget, "drive letter or image file", strError);
        const std::string& strName = argument.strText;
        if (strName == "--min-size") {
            if (!ParseNumber(argument.strValue, true, command.ullMinSize)) {
                strError = "--min-size wants a number of bytes (k and m allowed)";
                return false;
            }
        } else if (strName == "--json") {
            command.bJson = true;
        } else if (strName == "--help" || strName == "-h") {
            command.bHelp = true;
        } else {
            strError = "unknown option " + strName;
            return false;
        }
        return true;
    };
    if (!WalkConsoleArguments(vArgs, 1, takesValue, onArgument, strError))
        return false;
    if (!command.bHelp && command.strTarget.empty()) {
        strError = "no drive letter or image file given";
        return false;
    }
    commandOut = command;
    return true;
}

S_FileRunOptions FileRunOptionsOf(const S_FileCommand& command)
{
    S_FileRunOptions options;
    options.strPath = command.strPath;
    options.ullFileSize = command.ullSizeMBytes * kFileMByte;
    options.bSizeGiven = command.ullSizeMBytes != 0;
    options.ulBlockSize = command.ulBlockSize;
    options.ullPreReadSize = command.ullPreReadMBytes * kFileMByte;
    uint32_t ulFlags = FILE_OPT_EXPERT;
    const struct {
        bool bSet;
        uint32_t ulBit;
    } bits[] = {{command.bRead, FILE_OPT_READ},
                {command.bWrite, FILE_OPT_WRITE},
                {command.bSpinUp, FILE_OPT_SPIN_UP},
                {command.bUnbuffered, FILE_OPT_NO_BUFFERING},
                {!command.strSaveRead.empty(), FILE_OPT_SAVE_READ_DATA},
                {command.bBiggest, FILE_OPT_BIGGEST_FILE},
                {command.bWriteThrough, FILE_OPT_WRITE_THROUGH},
                {command.bFastest, FILE_OPT_FASTEST_FILE},
                {command.bRandom, FILE_OPT_RANDOM}};
    for (const auto& bit : bits)
        ulFlags |= bit.bSet ? bit.ulBit : 0;
    options.ulFlags = ulFlags;
    return options;
}

std::string FileUsageText()
{
    return "usage: quenvale-cli file <path> --write|--read [options]\n"
           "       quenvale-cli fastest <drive-letter|image-file> [--min-size BYTES] [--json]\n"
           "\n"
           "file writes or reads one test file block by block (a write needs a name that\n"
           "begins with '_'; on a folder it writes \"_TestFile\" in it):\n"
           "  --size MB        file size of a write; a minimum for --fastest\n"
           "  --block BYTES    bytes per transfer (default 1m; k and m allowed)\n"
           "  --unbuffered     without the system's file buffering (the block size is\n"
           "                   rounded up to the sector size)\n"
           "  --write-through  writes go through the drive's cache\n"
           "  --random         blocks at random positions\n"
           "  --spin-up        read --preread MB (default 3) first on a CD-ROM drive\n"
           "  --save-read FILE keep what the read pass reads in FILE\n"
           "  --biggest        read the biggest file of the path's folder instead\n"
           "  --fastest        read the file that starts last on the CD instead\n"
           "  --yes            answer the run's questions Yes (without: print and exit 2)\n"
           "  --json           print the path, sizes, flags and figures as JSON\n"
           "\n"
           "fastest names the file that starts last on a CD (drive letter, through SCSI\n"
           "commands) or in an ISO image file, of at least --min-size bytes.\n";
}
