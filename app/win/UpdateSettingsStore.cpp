#include "app/win/UpdateSettingsStore.h"

bool C_UpdateSettingsStore::GetString(const char* pszName, std::string& strText)
{
    return settings.ReadText(pszName, strText);
}
