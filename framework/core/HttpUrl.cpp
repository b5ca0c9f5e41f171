#include "framework/core/HttpUrl.h"

#include <cctype>
#include <cstdlib>

namespace {

std::string Lower(std::string str)
{
    for (char& c : str)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return str;
}

bool IsHostCharacter(char c)
{
    const unsigned char u = static_cast<unsigned char>(c);
    return std::isalnum(u) || c == '-' || c == '.' || c == '_';
}

} // namespace

bool ParseHttpUrl(const std::string& strUrl, S_HttpUrl& url)
{
    S_HttpUrl parsed;
    const std::string strLower = Lower(strUrl.substr(0, 8));
    size_t nPos = 0;
    if (strLower.rfind("https://", 0) == 0) {
        parsed.bSecure = true;
        nPos = 8;
    } else if (strLower.rfind("http://", 0) == 0) {
        nPos = 7;
    } else {
        return false;
    }
    const size_t nEnd = strUrl.find_first_of("/?#", nPos);
    const std::string strAuthority = strUrl.substr(nPos, nEnd == std::string::npos ? std::string::npos : nEnd - nPos);
    if (strAuthority.find('@') != std::string::npos)
        return false;
    std::string strPort;
    if (!strAuthority.empty() && strAuthority[0] == '[') {
        const size_t nClose = strAuthority.find(']');
        if (nClose == std::string::npos || nClose < 2)
            return false;
        parsed.strHost = Lower(strAuthority.substr(1, nClose - 1));
        for (char c : parsed.strHost)
            if (!std::isxdigit(static_cast<unsigned char>(c)) && c != ':' && c != '.')
                return false;
        if (nClose + 1 < strAuthority.size()) {
            if (strAuthority[nClose + 1] != ':')
                return false;
            strPort = strAuthority.substr(nClose + 2);
            if (strPort.empty())
                return false;
        }
    } else {
        const size_t nColon = strAuthority.find(':');
        parsed.strHost = Lower(strAuthority.substr(0, nColon));
        if (nColon != std::string::npos) {
            strPort = strAuthority.substr(nColon + 1);
            if (strPort.empty())
                return false;
        }
        if (parsed.strHost.empty())
            return false;
        for (char c : parsed.strHost)
            if (!IsHostCharacter(c))
                return false;
    }
    if (!strPort.empty()) {
        if (strPort.size() > 5)
            return false;
        unsigned long ulPort = 0;
        for (char c : strPort) {
            if (!std::isdigit(static_cast<unsigned char>(c)))
                return false;
            ulPort = ulPort * 10 + static_cast<unsigned long>(c - '0');
        }
        if (ulPort == 0 || ulPort > 65535)
            return false;
        parsed.wPort = static_cast<uint16_t>(ulPort);
    } else {
        parsed.wPort = parsed.bSecure ? 443 : 80;
    }
    parsed.strPath = nEnd == std::string::npos ? "/" : strUrl.substr(nEnd);
    if (parsed.strPath[0] != '/')
        parsed.strPath.insert(0, "/");
    const size_t nFragment = parsed.strPath.find('#');
    if (nFragment != std::string::npos)
        parsed.strPath.resize(nFragment);
    url = parsed;
    return true;
}

bool IsLoopbackHost(const std::string& strHost)
{
    const std::string strLower = Lower(strHost);
    if (strLower == "localhost" || strLower == "::1" || strLower == "0:0:0:0:0:0:0:1")
        return true;
    // A dotted IPv4 address in 127.0.0.0/8: four numbers of 0..255.
    if (strLower.rfind("127.", 0) != 0)
        return false;
    int nParts = 0;
    size_t nPos = 0;
    while (nPos <= strLower.size()) {
        const size_t nDot = strLower.find('.', nPos);
        const std::string strPart = strLower.substr(nPos, nDot == std::string::npos ? std::string::npos : nDot - nPos);
        if (strPart.empty() || strPart.size() > 3)
            return false;
        for (char c : strPart)
            if (!std::isdigit(static_cast<unsigned char>(c)))
                return false;
        if (std::atoi(strPart.c_str()) > 255)
            return false;
        ++nParts;
        if (nDot == std::string::npos)
            break;
        nPos = nDot + 1;
    }
    return nParts == 4;
}

bool IsTrustedTransport(const S_HttpUrl& url)
{
    return url.bSecure || IsLoopbackHost(url.strHost);
}

std::string PercentEncode(const std::string& strValue)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string strOut;
    for (char c : strValue) {
        const unsigned char u = static_cast<unsigned char>(c);
        if ((u < 0x80 && std::isalnum(u)) || c == '-' || c == '.' || c == '_' || c == '~') {
            strOut += c;
        } else {
            strOut += '%';
            strOut += kHex[u >> 4];
            strOut += kHex[u & 15];
        }
    }
    return strOut;
}
