#include "app/win/ProgramSettings.h"

#include "framework/core/OptionFlags.h"

int OpenProgramSettings(C_Settings& settings, uint32_t ulOptionWord)
{
    const uint32_t ulBackend = (ulOptionWord & FLAG_PORTABLE) ? SETTINGS_INI : SETTINGS_REGISTRY;
    return settings.Open(ulBackend, HKEY_CURRENT_USER, kSettingsKey, nullptr);
}

void LoadFileAccessSettings(const C_Settings& settings, C_OptionWord& optionWord, S_FileAccessValues& values)
{
    // Only bits the program stores come back: a "Flags" written by anything
    // else must not request a test or switch the store at start.
    optionWord.Set(StoredFlagBits(settings.GetInt(kSettingFlags, optionWord.Get())));

    S_FileAccessTexts texts;
    settings.GetString(kSettingFileSize, texts.strFileSize, "");
    settings.GetString(kSettingBlockSize, texts.strBlockSize, "");
    settings.GetString(kSettingPreReadSize, texts.strPreReadSize, "");
    settings.GetString(kSettingTestFile, texts.strTestFile, "");
    ApplyFileAccessTexts(texts, values);
}

void SaveFileAccessSettings(C_Settings& settings, uint32_t ulOptionWord, const S_FileAccessValues& values)
{
    // Failures are not reported: a read-only portable folder keeps the defaults.
    settings.SetInt(kSettingFlags, ulOptionWord & kStoredFlagsMask);
    const S_FileAccessTexts texts = FileAccessTextsOf(values);
    settings.SetString(kSettingFileSize, texts.strFileSize.c_str());
    settings.SetString(kSettingBlockSize, texts.strBlockSize.c_str());
    settings.SetString(kSettingPreReadSize, texts.strPreReadSize.c_str());
    settings.SetString(kSettingTestFile, texts.strTestFile.c_str());
}

bool ReadAutoUpdate(const I_SettingsStore& settings)
{
    return settings.GetInt(kSettingAutoUpdate, kAutoUpdateDefault, nullptr) == 1;
}

int WriteAutoUpdate(I_SettingsStore& settings, bool bOn)
{
    return settings.SetInt(kSettingAutoUpdate, bOn ? 1 : 0, nullptr);
}

std::string ReadTextSetting(const C_Settings& settings, const S_TextSetting& setting)
{
    std::string strText;
    settings.GetString(setting.pszName, strText, setting.pszDefault);
    return strText;
}

int WriteTextSetting(C_Settings& settings, const S_TextSetting& setting, const char* pszText)
{
    return settings.SetString(setting.pszName, pszText);
}

bool IsDeviceWriteAllowed(const C_Settings& settings, const std::string& strDeviceName)
{
    return settings.GetInt(strDeviceName.c_str(), 0, kSettingWriteSection) != 0;
}

int AllowDeviceWrite(C_Settings& settings, const std::string& strDeviceName)
{
    return settings.SetInt(strDeviceName.c_str(), 1, kSettingWriteSection);
}

bool RestoreGraphPlacement(HWND hWnd, uint32_t ulOptionWord, uint32_t ulPlacementFlags)
{
    if (ulOptionWord & FLAG_PORTABLE)
        return false;
    C_RegistryTextStore store(HKEY_CURRENT_USER, kSettingsKey);
    return RestoreWindowPlacement(hWnd, store, kSettingGraph, ulPlacementFlags);
}

bool SaveGraphPlacement(HWND hWnd, uint32_t ulOptionWord, uint32_t ulPlacementFlags)
{
    if (ulOptionWord & FLAG_PORTABLE)
        return false;
    C_RegistryTextStore store(HKEY_CURRENT_USER, kSettingsKey);
    return SaveWindowPlacement(hWnd, store, kSettingGraph, ulPlacementFlags);
}
