#ifndef QUENVALE_FRAMEWORK_SETTINGSSTORE_H
#define QUENVALE_FRAMEWORK_SETTINGSSTORE_H

#include <cstdint>
#include <string>

// Named integers and texts kept between runs, as the pages see them; the
// program's store (the registry or, in portable mode, an INI file) is the
// shell's. pszSection names a subsection of the program's values ("Write",
// for example), null the program's own.
//
// Reads never fail: a missing or unreadable value gives the default. Writes
// return nonzero on success; on failure GetLastError() holds the reason.
// Any thread may read and write.
class I_SettingsStore {
public:
    virtual ~I_SettingsStore() = default;

    virtual uint64_t GetInt(const char* pszName, uint64_t ullDefault, const char* pszSection) const = 0;
    virtual int SetInt(const char* pszName, uint64_t ullValue, const char* pszSection) = 0;
    virtual void GetString(const char* pszName, std::string& strOut, const char* pszDefault,
                           const char* pszSection) const = 0;
    virtual int SetString(const char* pszName, const char* pszText, const char* pszSection) = 0;
};

#endif
