#ifndef QUENVALE_FRAMEWORK_VERSIONSTRINGS_H
#define QUENVALE_FRAMEWORK_VERSIONSTRINGS_H

#include <windows.h>

#include <string>
#include <vector>

// The version resource of a module or file: its string values
// ("ProductName", "CompanyName", "InternalName", "Comments", ...) and its
// fixed file information.
class C_VersionStrings {
public:
    // Reads the version resource of hModule (null = the program). False
    // when the module has none; every value is then empty.
    bool Read(HMODULE hModule);
    // The same for a file on disk.
    bool ReadPath(const char* pszPath);

    // The value in the resource's own language (its first translation),
    // else in US English or German; empty when missing.
    std::string Get(const char* pszName) const;
    // The same with a default for a missing or empty value.
    std::string Get(const char* pszName, const char* pszDefault) const;
    // The fixed file information; null when there is none.
    const VS_FIXEDFILEINFO* GetFixed() const;

private:
    std::vector<char> vData;
};

#endif
