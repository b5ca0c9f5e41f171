#ifndef QUENVALE_APP_STOREDVALUES_H
#define QUENVALE_APP_STOREDVALUES_H

#include <cstdint>
#include <string>

#include "fileaccess/core/FileAccessValues.h"

// The values the program keeps in its settings store (no section unless
// stated), and how they are written.

// Where the settings live outside portable mode (under HKEY_CURRENT_USER).
constexpr const char* kSettingsKey = "Software\\Ternwick\\Quenvale";

// Integers
constexpr const char* kSettingFlags = "Flags";            // the option word AND kStoredFlagsMask
constexpr const char* kSettingAutoUpdate = "AutoUpdate";  // 1 = check for updates at start
constexpr uint64_t kAutoUpdateDefault = 1;
// The update check's time of its last query (seconds since 1970); the version
// the user declined is kept as this name followed by "Version".
constexpr const char* kSettingLastCheck = "LastCheck";

// File Access texts: "%I64u", "%u", "%I64u" and the path
constexpr const char* kSettingFileSize = "FileSize";
constexpr const char* kSettingBlockSize = "BlockSize";
constexpr const char* kSettingPreReadSize = "PreReadSize";
constexpr const char* kSettingTestFile = "TestFile";

// Block Access texts, with their defaults.
struct S_TextSetting {
    const char* pszName;
    const char* pszDefault;
};
constexpr S_TextSetting kSettingBlockStart = {"BlockStart", "0"};
constexpr S_TextSetting kSettingBlockEnd = {"BlockEnd", "0"};
constexpr S_TextSetting kSettingBlockSkip = {"BlockSkip", "0"};
constexpr S_TextSetting kSettingBlockCalc = {"BlockCalc", "1"};
constexpr S_TextSetting kSettingBlockRepeat = {"BlockRepeat", "100"};
constexpr S_TextSetting kSettingSaveReadData = {"SaveReadData", "_data.bin"};

// Per-device write permission: an integer in this section, 1 = do not ask
// again before writing to the device; missing = 0.
constexpr const char* kSettingWriteSection = "Write";

// The graph window's placement: a registry text under kSettingsKey, never in
// the settings store, and only outside portable mode.
constexpr const char* kSettingGraph = "Graph";

// The name of a device's write-permission value: vendor, product, revision,
// serial number, info text and drive letters, each followed by a blank but
// the last.
std::string DeviceWriteValueName(const std::string& strVendor, const std::string& strProduct,
                                 const std::string& strRevision, const std::string& strSerial,
                                 const std::string& strInfo, const std::string& strLetters);

// The stored File Access values as texts.
struct S_FileAccessTexts {
    std::string strFileSize;
    std::string strBlockSize;
    std::string strPreReadSize;
    std::string strTestFile;
};

S_FileAccessTexts FileAccessTextsOf(const S_FileAccessValues& values);

// Reads stored texts into the values; an empty text, or one that is no
// number, leaves its value as the command line or the page's start gave it.
void ApplyFileAccessTexts(const S_FileAccessTexts& texts, S_FileAccessValues& values);

// The bits of a stored "Flags" that may be combined into the option word:
// only those the program stores.
uint32_t StoredFlagBits(uint64_t ullStoredFlags);

#endif
