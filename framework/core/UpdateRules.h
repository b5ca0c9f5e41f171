#ifndef QUENVALE_FRAMEWORK_UPDATERULES_H
#define QUENVALE_FRAMEWORK_UPDATERULES_H

#include <cstdint>
#include <string>

// The rules of the update check that need no system: versions, the query
// address, the names of the downloaded and kept files, and which addresses
// a reply may send the program to.

struct S_Version {
    unsigned uMajor = 0;
    unsigned uMinor = 0;
};

// "%u.%u": digits, a dot and digits, blanks around allowed, anything after
// the minor number ignored ("2.7.1" is 2.7). False for anything else.
bool ParseVersionText(const std::string& strText, S_Version& version);
// Newer: a greater major number, or the same with a greater minor one.
bool IsNewerVersion(const S_Version& offered, const S_Version& running);

// The weekly rule on the stored time of the last check (seconds since 1970).
enum class E_UpdateGate {
    Check,       // ask the service now (and store now as the last check)
    Wait,        // the last check is less than a week old
    ResetOnly,   // the stored value is -1: store 0 and do nothing else this time
};
constexpr uint64_t kUpdateInterval = 604800;   // 7 days in seconds
// -1 is read as all bits set, in 64 bits or, from an older 32-bit value, in
// 32. A last check more than a week in the future (a clock that was set
// back) does not hold the checks off.
E_UpdateGate UpdateGate(uint64_t ullStored, uint64_t ullNow, bool bForce);

// What the query tells the service.
struct S_UpdateQuery {
    std::string strVersion;       // "%u.%u" of the running program
    std::string strMachineId;     // "%04X-%04X-%04X-%04X"
    bool bInventory = false;      // the inventory form (flag 0x1)
    std::string strLanguage;      // two letters, the inventory form only
    std::string strItemType;
    std::string strItemName;
};

// The update address followed by "&" when it holds a "?" already, else "?",
// then "v=<version>&id=<machine id>", or for the inventory form
// "a=updates&d=0&f=16&l=<language>&g=<machine id>&i=<inventory XML>".
// Every value is percent-encoded.
std::string BuildUpdateQuery(const std::string& strAddress, const S_UpdateQuery& query);

// The endpoint with the program's key: strEndpoint, then "?p=" or "&p="
// and the program's name in lower case.
std::string UpdateAddressFor(const std::string& strEndpoint, const std::string& strProgramName);

// A name with a suffix before its extension, the extension being the text
// after the last '.' of the last part when it has at most three characters:
// ("Tool.exe", "_new") is "Tool_new.exe", ("docs\README", "_old")
// "docs\README_old", ("page.html", "_new") "page.html_new".
std::string SuffixedFileName(const std::string& strName, const char* pszSuffix);

// The last part of an address's path, without query or fragment
// ("https://h/files/setup.exe?x=1" is "setup.exe"); empty when there is none.
std::string AddressFileName(const std::string& strUrl);

// A file name from a reply may only name a file in the program folder (or
// one of its subfolders): the rules of ZipEntryRelativePath.
bool IsPlainRelativeName(const std::string& strName, std::string& strRelative);

// Whether the program may fetch strUrl for an update served by strEndpoint:
// both parse, strUrl is https (or plain http to a loopback host) and lies on
// the endpoint's host.
bool IsAllowedUpdateAddress(const std::string& strEndpoint, const std::string& strUrl);

#endif
