#include "framework/core/ConsoleArguments.h"

bool SplitConsoleArguments(const std::vector<std::string>& vArgs, size_t nFirst,
                           const std::function<bool(const std::string&)>& takesValue,
                           std::vector<S_ConsoleArgument>& vOut, std::string& strError)
{
    std::vector<S_ConsoleArgument> vSplit;
    bool bOptionsEnd = false;
    for (size_t i = nFirst; i < vArgs.size(); ++i) {
        S_ConsoleArgument argument;
        argument.strText = vArgs[i];
        if (bOptionsEnd || argument.strText.empty() || argument.strText[0] != '-' || argument.strText == "-") {
            if (argument.strText.empty()) {
                strError = "empty target";
                return false;
            }
            argument.bTarget = true;
            vSplit.push_back(argument);
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
        vSplit.push_back(argument);
    }
    vOut = vSplit;
    return true;
}
