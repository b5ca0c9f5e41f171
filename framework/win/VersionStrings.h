#ifndef QUENVALE_FRAMEWORK_VERSIONSTRINGS_H
#define QUENVALE_FRAMEWORK_VERSIONSTRINGS_H

#include <windows.h>

#include <string>
#include <vector>

// The string values of a module's version resource ("ProductName",
// "CompanyName", "InternalName", "FileVersion", "Comments", ...).
class C_VersionStrings {
public:
    // Reads the version resource of hModule (null = the program). False
    // when the module has none; every value is then empty.
    bool Read(HMODULE hModule);

    // The value in the resource's own language (its first translation),
    // else in US English or German; empty when missing.
    std::string Get(const char* pszName) const;
    // The same with a default for a missing or empty value.
    std::string Get(const char* pszName, const char* pszDefault) const;

private:
    std::vector<char> vData;
};

#endif
