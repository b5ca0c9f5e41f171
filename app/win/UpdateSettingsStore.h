#ifndef QUENVALE_APP_UPDATESETTINGSSTORE_H
#define QUENVALE_APP_UPDATESETTINGSSTORE_H

#include <cstdint>
#include <string>

#include "app/win/Settings.h"
#include "framework/core/UpdateSettings.h"

// The update check's values ("LastCheck", "LastCheckVersion") in the
// program's settings store, without a section.
class C_UpdateSettingsStore : public I_UpdateSettings {
public:
    explicit C_UpdateSettingsStore(C_Settings& settingsIn) : settings(settingsIn) {}

    uint64_t GetInt(const char* pszName, uint64_t ullDefault) override { return settings.GetInt(pszName, ullDefault); }
    bool SetInt(const char* pszName, uint64_t ullValue) override { return settings.SetInt(pszName, ullValue) != 0; }
    bool GetString(const char* pszName, std::string& strText) override;
    bool SetString(const char* pszName, const char* pszText) override
    {
        return settings.SetString(pszName, pszText) != 0;
    }

private:
    C_Settings& settings;
};

#endif
