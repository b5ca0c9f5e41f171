#include "framework/core/UpdateRules.h"

#include <cctype>
#include <cstdio>

#include "framework/core/HttpUrl.h"
#include "framework/core/ZipArchive.h"

namespace {

bool ReadNumber(const std::string& strText, size_t& nPos, unsigned& uValue)
{
    const size_t nStart = nPos;
    unsigned long long ullValue = 0;
    while (nPos < strText.size() && std::isdigit(static_cast<unsigned char>(strText[nPos]))) {
        ullValue = ullValue * 10 + static_cast<unsigned>(strText[nPos] - '0');
        if (ullValue > 0xFFFFFFFFull)
            return false;
        ++nPos;
    }
    uValue = static_cast<unsigned>(ullValue);
    return nPos > nStart;
}

} // namespace

bool ParseVersionText(const std::string& strText, S_Version& version)
{
    size_t nPos = strText.find_first_not_of(" \t\r\n");
    if (nPos == std::string::npos)
        return false;
    S_Version parsed;
    if (!ReadNumber(strText, nPos, parsed.uMajor) || nPos >= strText.size() || strText[nPos] != '.')
        return false;
    ++nPos;
    if (!ReadNumber(strText, nPos, parsed.uMinor))
        return false;
    version = parsed;
    return true;
}

bool IsNewerVersion(const S_Version& offered, const S_Version& running)
{
    return offered.uMajor > running.uMajor || (offered.uMajor == running.uMajor && offered.uMinor > running.uMinor);
}

E_UpdateGate UpdateGate(uint64_t ullStored, uint64_t ullNow, bool bForce)
{
    if (ullStored == ~0ull || ullStored == 0xFFFFFFFFull)
        return E_UpdateGate::ResetOnly;
    if (bForce || ullStored + kUpdateInterval < ullNow || ullStored > ullNow + kUpdateInterval)
        return E_UpdateGate::Check;
    return E_UpdateGate::Wait;
}

std::string BuildUpdateQuery(const std::string& strAddress, const S_UpdateQuery& query)
{
    std::string strUrl = strAddress + (strAddress.find('?') != std::string::npos ? "&" : "?");
    if (!query.bInventory)
        return strUrl + "v=" + PercentEncode(query.strVersion) + "&id=" + PercentEncode(query.strMachineId);
    const std::string strInventory = "<Ashwend><Inventory><Item Type=\"" + query.strItemType + "\" Name=\"" +
                                     query.strItemName + "\" Version=\"" + query.strVersion +
                                     "\" /></Inventory></Ashwend>";
    return strUrl + "a=updates&d=0&f=16&l=" + PercentEncode(query.strLanguage) +
           "&g=" + PercentEncode(query.strMachineId) + "&i=" + PercentEncode(strInventory);
}

std::string UpdateAddressFor(const std::string& strEndpoint, const std::string& strProgramName)
{
    std::string strName = strProgramName;
    for (char& c : strName)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return strEndpoint + (strEndpoint.find('?') != std::string::npos ? "&p=" : "?p=") + PercentEncode(strName);
}

std::string SuffixedFileName(const std::string& strName, const char* pszSuffix)
{
    const size_t nSlash = strName.find_last_of("\\/");
    const size_t nBase = nSlash == std::string::npos ? 0 : nSlash + 1;
    const size_t nDot = strName.find_last_of('.');
    if (nDot == std::string::npos || nDot < nBase || strName.size() - nDot - 1 > 3)
        return strName + pszSuffix;
    return strName.substr(0, nDot) + pszSuffix + strName.substr(nDot);
}

std::string AddressFileName(const std::string& strUrl)
{
    std::string strPath = strUrl;
    const size_t nEnd = strPath.find_first_of("?#");
    if (nEnd != std::string::npos)
        strPath.resize(nEnd);
    const size_t nScheme = strPath.find("://");
    if (nScheme != std::string::npos) {
        const size_t nFirst = strPath.find('/', nScheme + 3);
        strPath = nFirst == std::string::npos ? std::string() : strPath.substr(nFirst);
    }
    const size_t nSlash = strPath.find_last_of('/');
    return nSlash == std::string::npos ? strPath : strPath.substr(nSlash + 1);
}

bool IsPlainRelativeName(const std::string& strName, std::string& strRelative)
{
    return ZipEntryRelativePath(strName, strRelative);
}

bool IsAllowedUpdateAddress(const std::string& strEndpoint, const std::string& strUrl)
{
    S_HttpUrl endpoint;
    S_HttpUrl url;
    if (!ParseHttpUrl(strEndpoint, endpoint) || !ParseHttpUrl(strUrl, url))
        return false;
    return IsTrustedTransport(url) && url.strHost == endpoint.strHost;
}
