#ifndef QUENVALE_FRAMEWORK_REPORTENDPOINT_H
#define QUENVALE_FRAMEWORK_REPORTENDPOINT_H

#include <cstdint>
#include <string>

// Where a problem report is posted. Reports go over https; plain http is
// accepted only for a loopback address (a collector on this machine).

struct S_ReportEndpoint {
    std::string strHost;       // lower case, without brackets for an IPv6 literal
    uint16_t wPort = 443;
    std::string strPath;
    bool bSecure = true;
    // Basic authorisation from the address's "user:password@", if any.
    std::string strUser;
    std::string strPassword;
};

// Reads "http[s]://[user:password@]host[:port][/path]". The path defaults
// to strDefaultPath. False for anything else, for control characters or
// blanks anywhere, for a port outside 1..65535, and for plain http to a
// host that is not a loopback address.
bool ParseReportUrl(const std::string& strUrl, const std::string& strDefaultPath, S_ReportEndpoint& endpoint);

// The endpoint for the configured host and path, or for the override
// address when one is given (pszOverrideUrl not null): an override that
// cannot be used gives false rather than the configured host, so that
// reports meant for an organisation's own collector never go elsewhere.
// False too when neither a host nor an override is given.
bool ResolveReportEndpoint(const std::string& strHost, const std::string& strPath, const char* pszOverrideUrl,
                           S_ReportEndpoint& endpoint);

#endif
