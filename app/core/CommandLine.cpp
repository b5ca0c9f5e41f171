#include "app/core/CommandLine.h"

#include "app/core/NumberScan.h"

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    }
    return true;
}

// Removes the two enclosing double quotes and turns each pair of double
// quotes into one.
std::string Unquote(const std::string& strWord)
{
    std::string strOut;
    strOut.reserve(strWord.size());
    for (size_t i = 1; i + 1 < strWord.size(); ++i) {
        strOut += strWord[i];
        if (strWord[i] == '"' && i + 2 < strWord.size() && strWord[i + 1] == '"')
            ++i;
    }
    return strOut;
}

} // namespace

bool ReadCommandLineWord(std::string_view text, size_t& nPos, std::string& strWord)
{
    size_t i = nPos;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    if (i >= text.size()) {
        nPos = i;
        return false;
    }
    const size_t nStart = i;
    bool bQuoted = false;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '"') {
            if (i + 1 < text.size() && text[i + 1] == '"') {
                i += 2;   // a pair stands for one quote character and does not switch
                continue;
            }
            bQuoted = !bQuoted;
        } else if (!bQuoted && IsBlank(c)) {
            break;
        }
        ++i;
    }
    std::string strText(text.substr(nStart, i - nStart));
    if (strText.size() > 1 && strText.front() == '"' && strText.back() == '"')
        strText = Unquote(strText);
    strWord = std::move(strText);
    nPos = i;
    return true;
}

void C_CommandLine::Add(const char* pszName, int nType)
{
    S_CommandLineEntry entry;
    entry.strName = pszName != nullptr ? pszName : "";
    entry.nType = nType;
    vEntries.push_back(std::move(entry));
}

std::string C_CommandLine::ArgumentsOf(const char* pszCommandLine)
{
    if (pszCommandLine == nullptr)
        return std::string();
    const std::string_view text(pszCommandLine);
    size_t i = 0;
    bool bQuoted = false;
    for (; i < text.size(); ++i) {
        if (text[i] == '"')
            bQuoted = !bQuoted;
        else if (!bQuoted && IsBlank(text[i]))
            break;
    }
    if (i < text.size())
        ++i;   // the blank after the program name
    size_t nEnd = text.size();
    while (i < nEnd && IsBlank(text[i]))
        ++i;
    while (nEnd > i && IsBlank(text[nEnd - 1]))
        --nEnd;
    return std::string(text.substr(i, nEnd - i));
}

bool C_CommandLine::Parse(const char* pszCommandLine)
{
    return ParseArguments(ArgumentsOf(pszCommandLine).c_str());
}

bool C_CommandLine::ParseArguments(const char* pszArguments)
{
    S_ParseRun run;
    const bool bResult = ParseText(pszArguments != nullptr ? pszArguments : "", 0, run);
    return bResult && !run.bAbort;
}

bool C_CommandLine::ParseText(std::string_view text, int nDepth, S_ParseRun& run)
{
    bool bResult = true;
    size_t i = 0;
    while (i < text.size() && !run.bAbort) {
        const char c = text[i];
        if (IsBlank(c)) {
            ++i;
        } else if (c == '-' || c == '/') {
            i = ParseOption(text, i + 1, bResult);
        } else if (c == '@') {
            std::string strName;
            size_t nPos = i + 1;
            if (ReadCommandLineWord(text, nPos, strName)) {
                if (!ParseResponseFile(strName, nDepth, run))
                    bResult = false;
            } else {
                bResult = false;
            }
            i = nPos;
        } else {
            std::string strWord;
            size_t nPos = i;
            if (ReadCommandLineWord(text, nPos, strWord))
                vFreeWords.push_back(std::move(strWord));
            else
                bResult = false;
            i = nPos;
        }
    }
    return bResult && !run.bAbort;
}

size_t C_CommandLine::ParseOption(std::string_view text, size_t nNameStart, bool& bResult)
{
    size_t nNameEnd = nNameStart;
    while (nNameEnd < text.size() && !IsBlank(text[nNameEnd]))
        ++nNameEnd;
    const std::string_view name = text.substr(nNameStart, nNameEnd - nNameStart);

    std::string strWord;
    for (S_CommandLineEntry& entry : vEntries) {
        if (!EqualNoCase(entry.strName, name))
            continue;
        size_t nPos = nNameEnd;
        switch (entry.nType) {
        case CMDLINE_DECIMAL:
        case CMDLINE_HEX: {
            // The number is read from the text after the name; the parse
            // goes on after the next word, whatever that word was.
            int64_t llValue = 0;
            if (ScanSigned64(text.substr(nNameEnd), entry.nType == CMDLINE_HEX ? 16 : 0, llValue)) {
                entry.llNumber = llValue;
                entry.bGiven = true;
            }
            ReadCommandLineWord(text, nPos, strWord);
            return nPos;
        }
        case CMDLINE_SWITCH:
            entry.llNumber = 1;
            entry.bGiven = true;
            return nNameEnd;
        case CMDLINE_TEXT:
            if (ReadCommandLineWord(text, nPos, strWord)) {
                entry.strText = std::move(strWord);
                entry.bGiven = true;
                return nPos;
            }
            break;   // without its text this entry does not take the option
        default:
            break;
        }
    }

    // No entry takes it: the parse fails, and the name is read as a free word.
    bResult = false;
    size_t nPos = nNameStart;
    if (ReadCommandLineWord(text, nPos, strWord))
        vFreeWords.push_back(std::move(strWord));
    return nPos;
}

bool C_CommandLine::ParseResponseFile(const std::string& strName, int nDepth, S_ParseRun& run)
{
    if (nDepth >= kMaxResponseDepth || run.nResponseFiles >= kMaxResponseFiles) {
        run.bAbort = true;
        return false;
    }
    ++run.nResponseFiles;
    std::string strContent;
    if (pResponseFiles == nullptr || !pResponseFiles->ReadResponseFile(strName, strContent))
        return false;

    size_t nStart = 0;
    for (;;) {
        size_t nEnd = strContent.find('\n', nStart);
        if (nEnd == std::string::npos)
            nEnd = strContent.size();
        // A line is text: it ends at a zero byte, and carriage returns are dropped.
        std::string strLine;
        for (size_t i = nStart; i < nEnd && strContent[i] != '\0'; ++i) {
            if (strContent[i] != '\r')
                strLine += strContent[i];
        }
        if (!ParseText(strLine, nDepth + 1, run))
            return false;
        if (nEnd >= strContent.size())
            return true;
        nStart = nEnd + 1;
    }
}

const S_CommandLineEntry* C_CommandLine::Find(const char* pszName, bool bText) const
{
    if (pszName == nullptr)
        return nullptr;
    for (const S_CommandLineEntry& entry : vEntries) {
        const bool bIsText = entry.nType == CMDLINE_TEXT;
        const bool bIsNumber = entry.nType == CMDLINE_DECIMAL || entry.nType == CMDLINE_HEX ||
                               entry.nType == CMDLINE_SWITCH;
        if ((bText ? bIsText : bIsNumber) && EqualNoCase(entry.strName, pszName))
            return &entry;
    }
    return nullptr;
}

int64_t C_CommandLine::GetNumber(const char* pszName) const
{
    const S_CommandLineEntry* pEntry = Find(pszName, false);
    return pEntry != nullptr ? pEntry->llNumber : 0;
}

const char* C_CommandLine::GetText(const char* pszName) const
{
    const S_CommandLineEntry* pEntry = Find(pszName, true);
    return (pEntry != nullptr && !pEntry->strText.empty()) ? pEntry->strText.c_str() : nullptr;
}

bool C_CommandLine::IsGiven(const char* pszName) const
{
    if (pszName == nullptr)
        return false;
    for (const S_CommandLineEntry& entry : vEntries) {
        if (EqualNoCase(entry.strName, pszName))
            return entry.bGiven;
    }
    return false;
}
