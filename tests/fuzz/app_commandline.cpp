// The program's command line and its response files come from the user or
// from files anyone may have written: any bytes must parse without a crash,
// a hang or unbounded memory, and a failed parse must change nothing.
//
// Input: the command line, then up to four response files "0" to "3", the
// parts separated by zero bytes. Files may name themselves and each other.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "app/core/CommandLine.h"
#include "app/core/NumberScan.h"
#include "framework/core/OptionWord.h"
#include "app/core/ProgramOptions.h"

namespace {

class C_FuzzFiles : public I_ResponseFiles {
public:
    std::map<std::string, std::string> files;
    int nReads = 0;

    bool ReadResponseFile(const std::string& strName, std::string& strContent) override
    {
        ++nReads;
        const auto it = files.find(strName);
        if (it == files.end())
            return false;
        strContent = it->second;
        return true;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    const std::string strInput(reinterpret_cast<const char*>(pData), nSize);
    std::vector<std::string> parts;
    size_t nStart = 0;
    while (parts.size() < 5) {
        const size_t nEnd = strInput.find('\0', nStart);
        parts.push_back(strInput.substr(nStart, nEnd == std::string::npos ? std::string::npos : nEnd - nStart));
        if (nEnd == std::string::npos)
            break;
        nStart = nEnd + 1;
    }
    C_FuzzFiles files;
    for (size_t i = 1; i < parts.size(); ++i)
        files.files[std::to_string(i - 1)] = parts[i];
    const std::string& strCommandLine = parts[0];

    // The program's options, applied to values that must stay put on failure.
    S_FileAccessValues fileAccess;
    fileAccess.strTestFile = "keep";
    S_QuickAccessValues quickAccess;
    C_OptionWord word;
    const S_CommandLineChanges changes = ParseProgramCommandLine(strCommandLine.c_str(), &files, "C:\\Tools\\");
    if (files.nReads > C_CommandLine::kMaxResponseFiles)
        std::abort();
    ApplyCommandLineChanges(changes, word, fileAccess, quickAccess);
    if (!changes.bParsed &&
        (word.Get() != kOptionWordStart || fileAccess.strTestFile != "keep" || fileAccess.ullFileSize != 0 ||
         !quickAccess.strPreselect.empty()))
        std::abort();
    // Only the program's own bits change.
    if ((word.Get() ^ kOptionWordStart) & ~0x1760707Fu)
        std::abort();

    // Every kind of entry, including the hexadecimal one the program does not use.
    C_FuzzFiles files2;
    files2.files = files.files;
    C_CommandLine commandLine(&files2);
    commandLine.Add("h", CMDLINE_HEX);
    commandLine.Add("d", CMDLINE_DECIMAL);
    commandLine.Add("t", CMDLINE_TEXT);
    commandLine.Add("t", CMDLINE_SWITCH);
    commandLine.ParseArguments(strCommandLine.c_str());
    if (files2.nReads > C_CommandLine::kMaxResponseFiles)
        std::abort();
    const char* pszText = commandLine.GetText("t");
    if (pszText != nullptr && *pszText == '\0')
        std::abort();

    // Words never grow and always move forward.
    size_t nPos = 0;
    std::string strWord;
    while (ReadCommandLineWord(strCommandLine, nPos, strWord)) {
        if (strWord.size() > strCommandLine.size() || nPos > strCommandLine.size())
            std::abort();
    }

    uint64_t ullValue = 0;
    for (const int nBase : {0, 10, 16})
        ScanInteger(strCommandLine, nBase, ullValue);
    return 0;
}
