#include "framework/core/ReportEndpoint.h"

#include <cctype>
#include <cstdlib>

namespace {

std::string Lower(std::string str)
{
    for (char& c : str)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return str;
}

// Dotted IPv4 with four decimal parts, the first 127.
bool IsLoopbackIpv4(const std::string& strHost)
{
    int nParts = 0;
    size_t nPos = 0;
    unsigned uFirst = 0;
    while (nPos <= strHost.size()) {
        const size_t nDot = strHost.find('.', nPos);
        const std::string strPart = strHost.substr(nPos, nDot == std::string::npos ? std::string::npos : nDot - nPos);
        if (strPart.empty() || strPart.size() > 3)
            return false;
        unsigned uValue = 0;
        for (char c : strPart) {
            if (c < '0' || c > '9')
                return false;
            uValue = uValue * 10 + static_cast<unsigned>(c - '0');
        }
        if (uValue > 255)
            return false;
        if (nParts == 0)
            uFirst = uValue;
        ++nParts;
        if (nDot == std::string::npos)
            break;
        nPos = nDot + 1;
    }
    return nParts == 4 && uFirst == 127;
}

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

bool IsLoopbackHost(const std::string& strHost)
{
    const std::string strLower = Lower(strHost);
    return strLower == "localhost" || strLower == "::1" || strLower == "[::1]" || IsLoopbackIpv4(strLower);
}

bool ParseReportUrl(const std::string& strUrl, const std::string& strDefaultPath, S_ReportEndpoint& endpoint)
{
    for (char c : strUrl)
        if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7F)
            return false;
    const std::string strLower = Lower(strUrl);
    S_ReportEndpoint parsed;
    size_t nPos;
    if (strLower.compare(0, 8, "https://") == 0) {
        nPos = 8;
        parsed.bSecure = true;
        parsed.wPort = 443;
    } else if (strLower.compare(0, 7, "http://") == 0) {
        nPos = 7;
        parsed.bSecure = false;
        parsed.wPort = 80;
    } else {
        return false;
    }

    const size_t nPathStart = strUrl.find_first_of("/?#", nPos);
    std::string strAuthority = strUrl.substr(nPos, nPathStart == std::string::npos ? std::string::npos
                                                                                    : nPathStart - nPos);
    std::string strRest = nPathStart == std::string::npos ? std::string() : strUrl.substr(nPathStart);
    const size_t nFragment = strRest.find('#');
    if (nFragment != std::string::npos)
        strRest.erase(nFragment);
    if (strRest.empty())
        parsed.strPath = strDefaultPath;
    else if (strRest[0] == '?')
        parsed.strPath = "/" + strRest;
    else
        parsed.strPath = strRest;

    const size_t nAt = strAuthority.rfind('@');
    if (nAt != std::string::npos) {
        const std::string strUserInfo = strAuthority.substr(0, nAt);
        strAuthority.erase(0, nAt + 1);
        const size_t nColon = strUserInfo.find(':');
        if (!PercentDecode(strUserInfo.substr(0, nColon), parsed.strUser))
            return false;
        if (nColon != std::string::npos && !PercentDecode(strUserInfo.substr(nColon + 1), parsed.strPassword))
            return false;
        if (parsed.strUser.empty())
            return false;
    }

    std::string strPort;
    if (!strAuthority.empty() && strAuthority[0] == '[') {
        const size_t nClose = strAuthority.find(']');
        if (nClose == std::string::npos)
            return false;
        parsed.strHost = strAuthority.substr(1, nClose - 1);
        const std::string strAfter = strAuthority.substr(nClose + 1);
        if (!strAfter.empty()) {
            if (strAfter[0] != ':')
                return false;
            strPort = strAfter.substr(1);
            if (strPort.empty())
                return false;
        }
        if (parsed.strHost.empty() || parsed.strHost.find_first_not_of("0123456789abcdefABCDEF:.") != std::string::npos)
            return false;
    } else {
        const size_t nColon = strAuthority.find(':');
        parsed.strHost = strAuthority.substr(0, nColon);
        if (nColon != std::string::npos) {
            strPort = strAuthority.substr(nColon + 1);
            if (strPort.empty())
                return false;
        }
        if (parsed.strHost.empty() ||
            parsed.strHost.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.-") !=
                std::string::npos)
            return false;
    }
    if (!strPort.empty()) {
        if (strPort.size() > 5 || strPort.find_first_not_of("0123456789") != std::string::npos)
            return false;
        const long lPort = std::strtol(strPort.c_str(), nullptr, 10);
        if (lPort < 1 || lPort > 65535)
            return false;
        parsed.wPort = static_cast<uint16_t>(lPort);
    }
    if (!parsed.bSecure && !IsLoopbackHost(parsed.strHost))
        return false;
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
