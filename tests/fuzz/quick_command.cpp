// The console runner's arguments and the texts it writes out: any bytes
// as arguments (split at line ends) must parse or fail cleanly, and the
// JSON strings and query values made of them must stay well formed.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/core/ConsoleArguments.h"
#include "quick/core/QuickCommand.h"
#include "quick/core/QuickJson.h"
#include "quick/core/QuickResults.h"

namespace {

void CheckCommand(const std::vector<std::string>& vArgs)
{
    S_QuickCommand command;
    command.ullFileSizeMBytes = 12345;
    std::string strError;
    if (ParseQuickCommand(vArgs, command, strError)) {
        if (!command.bHelp && command.vTargets.empty())
            std::abort();
        if (command.ullFileSizeMBytes == 0 || command.ullFileSizeMBytes > kMaxQuickFileSizeMBytes)
            std::abort();
        if (command.ulBlockSize != 4096 && command.ulBlockSize != 65536 && command.ulBlockSize != 1048576)
            std::abort();
        for (const std::string& strTarget : command.vTargets) {
            if (strTarget.empty())
                std::abort();
            char cLetter = 0;
            if (DriveLetterOfTarget(strTarget, cLetter) && (cLetter < 'A' || cLetter > 'Z'))
                std::abort();
        }
    } else if (strError.empty() || command.ullFileSizeMBytes != 12345) {
        std::abort();
    }
}

void CheckJsonString(const std::string& strText)
{
    const std::string strJson = JsonString(strText);
    if (strJson.size() < 2 || strJson.front() != '"' || strJson.back() != '"')
        std::abort();
    for (size_t i = 1; i + 1 < strJson.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(strJson[i]);
        if (c < 0x20 || c >= 0x7F)
            std::abort();
        if (c == '\\') {
            const char cNext = strJson[++i];
            if (cNext == 'u')
                i += 4;
            else if (cNext != '"' && cNext != '\\')
                std::abort();
        } else if (c == '"') {
            std::abort();
        }
    }
}

void CheckQueryValue(const std::string& strText)
{
    const std::string strEncoded = PercentEncode(strText);
    for (const char c : strEncoded)
        if (c == '&' || c == '#' || c == '=' || c == ' ' || c == '?' || c == '+' || static_cast<unsigned char>(c) >= 0x7F)
            std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    const std::string strInput(reinterpret_cast<const char*>(pData), nSize);
    std::vector<std::string> vArgs;
    size_t nStart = 0;
    for (size_t nEnd; (nEnd = strInput.find('\n', nStart)) != std::string::npos; nStart = nEnd + 1)
        vArgs.push_back(strInput.substr(nStart, nEnd - nStart));
    vArgs.push_back(strInput.substr(nStart));
    CheckCommand(vArgs);
    CheckJsonString(strInput);
    CheckJsonString(Cp1252ToUtf8(strInput));
    CheckQueryValue(strInput);
    return 0;
}
