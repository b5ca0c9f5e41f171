#include "framework/core/ReportEndpoint.h"

#include "framework/core/HttpUrl.h"

namespace {

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// %XX escapes of the user part; false for a broken escape or a decoded
// control character.
bool PercentDecode(const std::string& strIn, std::string& strOut)
{
    strOut.clear();
    for (size_t i = 0; i < strIn.size(); ++i) {
        char c = strIn[i];
        if (c == '%') {
            const int nHigh = i + 1 < strIn.size() ? HexValue(strIn[i + 1]) : -1;
            const int nLow = i + 2 < strIn.size() ? HexValue(strIn[i + 2]) : -1;
            if (nHigh < 0 || nLow < 0)
                return false;
            c = static_cast<char>(nHigh * 16 + nLow);
            i += 2;
        }
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return false;
        strOut += c;
    }
    return true;
}

} // namespace

bool ParseReportUrl(const std::string& strUrl, const std::string& strDefaultPath, S_ReportEndpoint& endpoint)
{
    // Nothing that could end the request line or a header early.
    for (char c : strUrl)
        if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7F)
            return false;
    const size_t nScheme = strUrl.find("://");
    if (nScheme == std::string::npos)
        return false;
    const size_t nAuthority = nScheme + 3;
    const size_t nAuthorityEnd = strUrl.find_first_of("/?#", nAuthority);
    const size_t nAt = strUrl.rfind('@', nAuthorityEnd == std::string::npos ? std::string::npos : nAuthorityEnd);

    S_ReportEndpoint parsed;
    std::string strPlain = strUrl;
    if (nAt != std::string::npos && nAt >= nAuthority) {
        const std::string strUserInfo = strUrl.substr(nAuthority, nAt - nAuthority);
        const size_t nColon = strUserInfo.find(':');
        if (!PercentDecode(strUserInfo.substr(0, nColon), parsed.strUser) || parsed.strUser.empty())
            return false;
        if (nColon != std::string::npos && !PercentDecode(strUserInfo.substr(nColon + 1), parsed.strPassword))
            return false;
        strPlain.erase(nAuthority, nAt + 1 - nAuthority);
    }
    S_HttpUrl url;
    if (!ParseHttpUrl(strPlain, url) || !IsTrustedTransport(url))
        return false;
    parsed.strHost = url.strHost;
    parsed.wPort = url.wPort;
    parsed.bSecure = url.bSecure;
    parsed.strPath = nAuthorityEnd == std::string::npos ? strDefaultPath : url.strPath;
    endpoint = parsed;
    return true;
}

bool ResolveReportEndpoint(const std::string& strHost, const std::string& strPath, const char* pszOverrideUrl,
                           S_ReportEndpoint& endpoint)
{
    if (pszOverrideUrl != nullptr)
        return ParseReportUrl(pszOverrideUrl, strPath, endpoint);
    if (strHost.empty())
        return false;
    return ParseReportUrl("https://" + strHost, strPath, endpoint);
}
