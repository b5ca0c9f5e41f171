#include "app/core/ProgramPaths.h"

namespace {

size_t LastSeparator(const std::string& strPath)
{
    return strPath.find_last_of("\\/");
}

bool HasSeparator(const std::string& strPath)
{
    return LastSeparator(strPath) != std::string::npos;
}

} // namespace

std::string FolderOfPath(const std::string& strPath)
{
    const size_t nSeparator = LastSeparator(strPath);
    return nSeparator == std::string::npos ? std::string() : strPath.substr(0, nSeparator + 1);
}

std::string BaseNameOfPath(const std::string& strPath)
{
    const size_t nSeparator = LastSeparator(strPath);
    std::string strName = nSeparator == std::string::npos ? strPath : strPath.substr(nSeparator + 1);
    const size_t nDot = strName.rfind('.');
    if (nDot != std::string::npos && strName.size() - nDot - 1 <= 3)
        strName.resize(nDot);
    return strName;
}

std::string SettingsFileFor(const std::string& strProgramPath, const char* pszFileName)
{
    std::string strFile = (pszFileName != nullptr && *pszFileName != '\0')
                              ? std::string(pszFileName)
                              : BaseNameOfPath(strProgramPath) + ".ini";
    if (!HasSeparator(strFile))
        strFile = FolderOfPath(strProgramPath) + strFile;
    return strFile;
}

std::string WithTrailingSeparator(const std::string& strFolder)
{
    if (strFolder.empty() || strFolder.back() == '\\' || strFolder.back() == '/')
        return strFolder;
    return strFolder + "\\";
}
