#ifndef QUENVALE_APP_PROGRAMSETTINGS_H
#define QUENVALE_APP_PROGRAMSETTINGS_H

#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/core/OptionWord.h"
#include "fileaccess/core/FileAccessValues.h"
#include "app/core/StoredValues.h"
#include "app/win/Settings.h"

// The program's own values in its settings store (names and defaults in
// app/core/StoredValues.h).

// Opens the store where the option word says: the INI file beside the
// program in portable mode, else HKEY_CURRENT_USER\Software\Ternwick\Quenvale.
int OpenProgramSettings(C_Settings& settings, uint32_t ulOptionWord);

// At start, after the command line: the stored "Flags" is OR-ed into the
// option word (never assigned, so a bit the command line cleared comes
// back when it is stored), and the stored File Access values replace the
// ones the command line or the page gave, where they are present.
void LoadFileAccessSettings(const C_Settings& settings, C_OptionWord& optionWord, S_FileAccessValues& values);

// At exit: the saved bits of the option word and the File Access values.
void SaveFileAccessSettings(C_Settings& settings, uint32_t ulOptionWord, const S_FileAccessValues& values);

// "AutoUpdate": true when the update check runs at start (the stored value
// is 1, also when none is stored).
bool ReadAutoUpdate(const I_SettingsStore& settings);
int WriteAutoUpdate(I_SettingsStore& settings, bool bOn);

// A text value with its default (the Block Access values).
std::string ReadTextSetting(const C_Settings& settings, const S_TextSetting& setting);
int WriteTextSetting(C_Settings& settings, const S_TextSetting& setting, const char* pszText);

// Whether the user allowed writing to the device of that name
// (DeviceWriteValueName) without asking again, and the permission itself.
bool IsDeviceWriteAllowed(const C_Settings& settings, const std::string& strDeviceName);
int AllowDeviceWrite(C_Settings& settings, const std::string& strDeviceName);

// The graph window's placement, kept in the registry value "Graph" under
// the program's key whatever the store is, and not at all in portable
// mode: then nothing is read or written (false).
bool RestoreGraphPlacement(HWND hWnd, uint32_t ulOptionWord, uint32_t ulPlacementFlags);
bool SaveGraphPlacement(HWND hWnd, uint32_t ulOptionWord, uint32_t ulPlacementFlags);

#endif
