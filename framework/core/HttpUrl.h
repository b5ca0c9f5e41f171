#ifndef QUENVALE_FRAMEWORK_HTTPURL_H
#define QUENVALE_FRAMEWORK_HTTPURL_H

#include <cstdint>
#include <string>

// An "http://" or "https://" address taken apart.
struct S_HttpUrl {
    bool bSecure = false;      // https
    std::string strHost;       // without brackets for an IPv6 literal, lower case
    uint16_t wPort = 0;        // the given port, else 80 or 443
    std::string strPath;       // from the first '/' on, query included; "/" when none
};

// False for other schemes, user names ("user@host"), an empty or malformed
// host, and a port that is no number from 1 to 65535.
bool ParseHttpUrl(const std::string& strUrl, S_HttpUrl& url);

// 127.0.0.0/8, "localhost" and ::1.
bool IsLoopbackHost(const std::string& strHost);

// Whether a program may fetch from this address: https, or plain http to a
// loopback host (local tests and mirrors on the same machine).
bool IsTrustedTransport(const S_HttpUrl& url);

// Percent-encoding of a query value: letters, digits and "-._~" stay, every
// other byte becomes "%XX".
std::string PercentEncode(const std::string& strValue);

#endif
