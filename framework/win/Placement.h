#ifndef QUENVALE_FRAMEWORK_PLACEMENT_H
#define QUENVALE_FRAMEWORK_PLACEMENT_H

#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/core/PlacementText.h"

// Somewhere to keep named texts: the program's settings store, or one
// registry key directly.
class I_TextStore {
public:
    virtual ~I_TextStore() = default;
    // False when the value is missing or unreadable; strText is then untouched.
    virtual bool ReadText(const char* pszName, std::string& strText) = 0;
    virtual bool WriteText(const char* pszName, const char* pszText) = 0;
};

// Texts as REG_SZ values of one key (created on the first write).
class C_RegistryTextStore : public I_TextStore {
public:
    C_RegistryTextStore(HKEY hRootIn, const char* pszKeyIn) : hRoot(hRootIn), strKey(pszKeyIn) {}
    bool ReadText(const char* pszName, std::string& strText) override;
    bool WriteText(const char* pszName, const char* pszText) override;

private:
    HKEY hRoot;
    std::string strKey;
};

// Saves the window's show command and normal-position rectangle (or pRect
// when given, with show command 5). A window that is not visible is saved
// with show command 0 unless PLACEMENT_SAVE_HIDDEN_STATE is given.
bool SaveWindowPlacement(HWND hWnd, I_TextStore& store, const char* pszValueName,
                         uint32_t ulFlags, const RECT* pRect = nullptr);

// Restores a saved placement, keeping the window on a monitor.
bool RestoreWindowPlacement(HWND hWnd, I_TextStore& store, const char* pszValueName,
                            uint32_t ulFlags);

#endif
