#include "framework/core/ReportNames.h"

#include "framework/core/FormBody.h"

namespace {

size_t NameStart(const std::string& strPath)
{
    const size_t nSeparator = strPath.find_last_of("\\/:");
    return nSeparator == std::string::npos ? 0 : nSeparator + 1;
}

std::string WithoutExtension(const std::string& strPath)
{
    const size_t nDot = strPath.find_last_of('.');
    if (nDot == std::string::npos || nDot < NameStart(strPath))
        return strPath;
    return strPath.substr(0, nDot);
}

} // namespace

std::string ReportBaseBesideProgram(const std::string& strProgramPath)
{
    return WithoutExtension(strProgramPath);
}

std::string ReportBaseInFolder(const std::string& strFolder, const std::string& strProgramPath)
{
    std::string strBase = strFolder;
    if (!strBase.empty() && strBase.back() != '\\' && strBase.back() != '/')
        strBase += '\\';
    const std::string strName = FileNameOfPath(WithoutExtension(strProgramPath));
    return strBase + (strName.empty() ? std::string("MiniDump") : strName);
}

std::string ReportFileName(const std::string& strBase, bool bDump)
{
    return strBase + (bDump ? "_Debug.dmp" : "_Debug.txt");
}

std::wstring CommandLineArguments(const std::wstring& strCommandLine)
{
    size_t n = 0;
    bool bQuoted = false;
    while (n < strCommandLine.size() && (bQuoted || (strCommandLine[n] != L' ' && strCommandLine[n] != L'\t'))) {
        if (strCommandLine[n] == L'"')
            bQuoted = !bQuoted;
        ++n;
    }
    const size_t nFirst = strCommandLine.find_first_not_of(L" \t", n);
    if (nFirst == std::wstring::npos)
        return std::wstring();
    const size_t nLast = strCommandLine.find_last_not_of(L" \t");
    return strCommandLine.substr(nFirst, nLast - nFirst + 1);
}
