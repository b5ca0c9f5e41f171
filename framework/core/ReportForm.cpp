#include "framework/core/ReportForm.h"

#include "framework/core/FormBody.h"

namespace {

std::string Replace(std::string strText, const std::string& strKey, const std::string& strValue)
{
    const size_t nPos = strText.find(strKey);
    if (nPos != std::string::npos)
        strText.replace(nPos, strKey.size(), strValue);
    return strText;
}

std::string Link(const std::string& strPath)
{
    return "<a href=\"" + strPath + "\">" + FileNameOfPath(strPath) + "</a>";
}

} // namespace

std::string CleanFieldValue(const std::string& strValue)
{
    std::string strOut = strValue;
    for (char& c : strOut)
        if (c == '\r' || c == '\n' || c == '\0')
            c = ' ';
    return strOut;
}

std::vector<S_FormPart> BuildReportForm(const S_ReportAnswers& a)
{
    std::vector<S_FormPart> vParts = {
        {"a", "r", false},
        {"p", CleanFieldValue(a.strProduct), false},
        {"s", CleanFieldValue(a.strExtra), false},
        {"v", CleanFieldValue(a.strVersion), false},
        {"g", CleanFieldValue(a.strMachineId), false},
        {"e", CleanFieldValue(a.strDescription), false},
        {"x", CleanFieldValue(a.strEmail), false},
    };
    if (!a.strDumpPath.empty())
        vParts.push_back({"d", a.strDumpPath, true});
    if (!a.strTextPath.empty())
        vParts.push_back({"t", a.strTextPath, true});
    return vParts;
}

std::string WebAddressInText(const std::string& strText)
{
    size_t nStart = strText.find("http://");
    const size_t nSecure = strText.find("https://");
    if (nSecure != std::string::npos && (nStart == std::string::npos || nSecure < nStart))
        nStart = nSecure;
    if (nStart == std::string::npos)
        return std::string();
    const size_t nEnd = strText.find(']', nStart);
    std::string strAddress = strText.substr(nStart, nEnd == std::string::npos ? std::string::npos : nEnd - nStart);
    while (!strAddress.empty() && (strAddress.back() == ' ' || strAddress.back() == '\t'))
        strAddress.pop_back();
    const size_t nHostStart = strAddress.find("://") + 3;
    if (strAddress.size() > nHostStart && strAddress.back() == '/')
        strAddress.pop_back();
    // "http://" alone is no address.
    return strAddress.size() > nHostStart ? strAddress : std::string();
}

std::string ReportTitleText(const std::string& strProduct)
{
    return strProduct + " has stopped working.";
}

std::string ReportInviteText(const std::string& strCompany, const std::string& strAddress, bool bLink)
{
    const std::string strWho = strCompany.empty() ? std::string("us") : strCompany;
    std::string strText = Replace("Please tell %s about this problem.", "%s", strWho);
    if (strAddress.empty())
        return strText;
    const size_t nScheme = strAddress.find("://");
    const std::string strShown = nScheme == std::string::npos ? strAddress : strAddress.substr(nScheme + 3);
    if (bLink)
        return strText + "\n\nYou can check the website <a href=\"" + strAddress + "\">" + strShown +
               "</a> for a newer version.";
    return strText + "\n\nYou can check the website '" + strAddress + "' for a newer version.";
}

std::string ReportFilesText(const std::string& strTextPath, const std::string& strDumpPath, bool bLink)
{
    const auto shown = [bLink](const std::string& strPath) { return bLink ? Link(strPath) : strPath; };
    if (!strDumpPath.empty() && !strTextPath.empty())
        return "The files " + shown(strTextPath) + " and " + shown(strDumpPath) +
               " will be send. They do not contain any personal information.";
    const std::string& strOnly = strTextPath.empty() ? strDumpPath : strTextPath;
    if (strOnly.empty())
        return std::string();
    return "The file " + shown(strOnly) + " will be send. It does not contain any personal information.";
}
