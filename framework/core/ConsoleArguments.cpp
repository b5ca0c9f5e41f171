#include "framework/core/ConsoleArguments.h"

#include <cctype>

bool WalkConsoleArguments(const std::vector<std::string>& vArgs, size_t nFirst,
                          const std::function<bool(const std::string&)>& takesValue,
                          const std::function<bool(const S_ConsoleArgument&)>& onArgument, std::string& strError)
{
    bool bOptionsEnd = false;
    for (size_t i = nFirst; i < vArgs.size(); ++i) {
        S_ConsoleArgument argument;
        argument.strText = vArgs[i];
        if (bOptionsEnd || argument.strText.empty() || argument.strText[0] != '-' || argument.strText == "-") {
            argument.bTarget = true;
            if (!onArgument(argument))
                return false;
            continue;
        }
        if (argument.strText == "--") {
            bOptionsEnd = true;
            continue;
        }
        bool bInlineValue = false;
        const size_t nEquals = argument.strText.find('=');
        if (argument.strText.compare(0, 2, "--") == 0 && nEquals != std::string::npos) {
            argument.strValue = argument.strText.substr(nEquals + 1);
            argument.strText.resize(nEquals);
            bInlineValue = true;
        }
        const bool bTakesValue = takesValue(argument.strText);
        if (bTakesValue && !bInlineValue) {
            if (i + 1 >= vArgs.size()) {
                strError = argument.strText + " needs a value";
                return false;
            }
            argument.strValue = vArgs[++i];
        } else if (!bTakesValue && bInlineValue) {
            strError = argument.strText + " takes no value";
            return false;
        }
        if (!onArgument(argument))
            return false;
    }
    return true;
}

bool SplitConsoleArguments(const std::vector<std::string>& vArgs, size_t nFirst,
                           const std::function<bool(const std::string&)>& takesValue,
                           std::vector<S_ConsoleArgument>& vOut, std::string& strError)
{
    std::vector<S_ConsoleArgument> vSplit;
    const auto collect = [&](const S_ConsoleArgument& argument) {
        if (argument.bTarget && argument.strText.empty()) {
            strError = "empty target";
            return false;
        }
        vSplit.push_back(argument);
        return true;
    };
    if (!WalkConsoleArguments(vArgs, nFirst, takesValue, collect, strError))
        return false;
    vOut = vSplit;
    return true;
}

bool ParseWholeNumber(const std::string& strText, uint64_t& ullOut)
{
    if (strText.empty() || strText.size() > 20)
        return false;
    uint64_t ullValue = 0;
    for (const char c : strText) {
        if (c < '0' || c > '9')
            return false;
        const uint64_t ullDigit = static_cast<uint64_t>(c - '0');
        if (ullValue > (UINT64_MAX - ullDigit) / 10)
            return false;
        ullValue = ullValue * 10 + ullDigit;
    }
    ullOut = ullValue;
    return true;
}

bool DriveLetterOfTarget(const std::string& strTarget, char& cLetterOut)
{
    const unsigned char c0 = strTarget.empty() ? 0 : static_cast<unsigned char>(strTarget[0]);
    if (c0 >= 0x80 || !std::isalpha(c0) || strTarget.size() > 3)
        return false;
    if (strTarget.size() >= 2 && strTarget[1] != ':')
        return false;
    if (strTarget.size() == 3 && strTarget[2] != '\\' && strTarget[2] != '/')
        return false;
    cLetterOut = static_cast<char>(std::toupper(c0));
    return true;
}
