#ifndef QUENVALE_FRAMEWORK_UPDATESETTINGS_H
#define QUENVALE_FRAMEWORK_UPDATESETTINGS_H

#include <cstdint>
#include <string>

// Where the update check keeps its values between runs: the time of the
// last check and the version the user declined. The program hands it its
// settings store (registry or, in portable mode, the INI file).
class I_UpdateSettings {
public:
    virtual ~I_UpdateSettings() = default;
    // The default when the value is missing or unreadable.
    virtual uint64_t GetInt(const char* pszName, uint64_t ullDefault) = 0;
    virtual bool SetInt(const char* pszName, uint64_t ullValue) = 0;
    // False (strText untouched) when the value is missing.
    virtual bool GetString(const char* pszName, std::string& strText) = 0;
    virtual bool SetString(const char* pszName, const char* pszText) = 0;
};

#endif
