#ifndef QUENVALE_APP_SETTINGS_H
#define QUENVALE_APP_SETTINGS_H

#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/core/SettingsStore.h"
#include "framework/win/Placement.h"

// Where a settings store keeps its values.
enum : uint32_t {
    SETTINGS_REGISTRY = 1,   // values of a registry key
    SETTINGS_INI = 2,        // an INI file
};

// Named integers and texts kept between runs, in the registry or in an INI
// file. Every call opens what it needs and closes it again; nothing is
// cached, so several stores (or programs) may share the same place.
//
// Integers: REG_QWORD (REG_DWORD with the low 32 bits where the system
// refuses REG_QWORD), in the INI file decimal digits. Texts: REG_SZ, in the
// INI file the text itself.
//
// Sections: a registry subkey of the key ("<key>\<section>"); an INI
// section, "Settings" when none is given.
//
// Reads never fail: a missing or unreadable value gives the default. Writes
// return nonzero on success; on failure GetLastError() holds the reason.
class C_Settings : public I_SettingsStore, public I_TextStore {
public:
    C_Settings() = default;
    C_Settings(const C_Settings&) = delete;
    C_Settings& operator=(const C_Settings&) = delete;

    // ulBackend SETTINGS_REGISTRY: hRoot and pszKeyPath name the key.
    // SETTINGS_INI: pszFileName names the file; null = the program's name
    // with ".ini", and a name without a folder lies in the program's folder.
    int Open(uint32_t ulBackend, HKEY hRoot, const char* pszKeyPath, const char* pszFileName);
    // Forgets where the values live; later reads give their defaults.
    void Close();

    // I_SettingsStore
    uint64_t GetInt(const char* pszName, uint64_t ullDefault, const char* pszSection = nullptr) const override;
    int SetInt(const char* pszName, uint64_t ullValue, const char* pszSection = nullptr) override;
    void GetString(const char* pszName, std::string& strOut, const char* pszDefault,
                   const char* pszSection = nullptr) const override;
    int SetString(const char* pszName, const char* pszText, const char* pszSection = nullptr) override;

    // I_TextStore: texts without a section. ReadText is false when the
    // value is missing (or, in an INI file, empty).
    bool ReadText(const char* pszName, std::string& strText) override;
    bool WriteText(const char* pszName, const char* pszText) override;

    uint32_t GetBackend() const { return ulBackend; }
    const std::string& GetFilePath() const { return strFilePath; }

private:
    std::string KeyPath(const char* pszSection) const;
    const char* IniSection(const char* pszSection) const;
    bool ReadRegistryText(const char* pszName, std::string& strText, const char* pszSection) const;

    uint32_t ulBackend = 0;
    HKEY hRoot = nullptr;
    std::string strKeyPath;
    std::string strFilePath;
};

#endif
