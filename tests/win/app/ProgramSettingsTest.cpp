#include "app/win/ProgramSettings.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "framework/core/OptionFlags.h"
#include "app/win/ProgramFile.h"
#include "tests/win/app/AppTestFiles.h"

namespace {

constexpr const char* kTestKey = "Software\\Ternwick\\QuenvaleProgramTest";

// The program's values through both kinds of store: a test registry key and
// an INI file in a temporary folder.
class ProgramSettings : public ::testing::TestWithParam<uint32_t> {
protected:
    void SetUp() override
    {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey);
        ASSERT_TRUE(settings.Open(GetParam(), HKEY_CURRENT_USER, kTestKey, (folder / "Quenvale.ini").c_str()));
    }
    void TearDown() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey); }

    C_TempFolder folder;
    C_Settings settings;
};

TEST_P(ProgramSettings, StoredFlagsAreOredInNeverAssigned)
{
    struct S_Case {
        uint64_t ullStored;
        uint32_t ulWord;      // after the command line
        uint32_t ulLoaded;
    };
    const std::vector<S_Case> cases = {
        // Ended on Block Access, started with "-n": Block Access again.
        {0x9019, 0x9018, 0x9019},
        // A stored bit stays set even though "-c" cleared it.
        {0x9018, 0x9008, 0x9018},
        // Nothing stored in common: the union.
        {FLAG_FA_EXPERT, FLAG_FA_READ, FLAG_FA_EXPERT | FLAG_FA_READ},
        // Bits that are never stored do not come back from a foreign value.
        {0xFFFFFFFFFFFFFFFFull, 0, kStoredFlagsMask},
        {FLAG_PORTABLE | FLAG_FA_WRITE | FLAG_BA_WRITE, 0x9018, 0x9018},
    };
    for (const S_Case& c : cases) {
        SCOPED_TRACE(c.ullStored);
        ASSERT_TRUE(settings.SetInt(kSettingFlags, c.ullStored));
        C_OptionWord word(c.ulWord);
        S_FileAccessValues values;
        LoadFileAccessSettings(settings, word, values);
        EXPECT_EQ(word.Get(), c.ulLoaded);
    }
}

TEST_P(ProgramSettings, SavedFlagsKeepOnlyTheStoredBits)
{
    SaveFileAccessSettings(settings, 0xFFFFFFFF, S_FileAccessValues());
    EXPECT_EQ(settings.GetInt(kSettingFlags, 0), static_cast<uint64_t>(kStoredFlagsMask));
    SaveFileAccessSettings(settings, kOptionWordStart | FLAG_PORTABLE | FLAG_FLOPPY | FLAG_FA_READ, S_FileAccessValues());
    EXPECT_EQ(settings.GetInt(kSettingFlags, 0), static_cast<uint64_t>(kOptionWordStart));
}

TEST_P(ProgramSettings, FileAccessValuesRoundTripAndMissingOnesKeepTheCommandLine)
{
    // Nothing stored: the values from the command line stay.
    S_FileAccessValues given;
    given.ullFileSize = 123;
    given.ulBlockSize = 4096;
    given.ullPreReadSize = 0;
    given.strTestFile = "e:\\";
    C_OptionWord word;
    S_FileAccessValues loaded = given;
    LoadFileAccessSettings(settings, word, loaded);
    EXPECT_EQ(loaded.ullFileSize, 123u);
    EXPECT_EQ(loaded.ulBlockSize, 4096u);
    EXPECT_EQ(loaded.strTestFile, "e:\\");
    EXPECT_EQ(word.Get(), kOptionWordStart);

    S_FileAccessValues saved;
    saved.ullFileSize = 10737418240ull;
    saved.ulBlockSize = 1048576;
    saved.ullPreReadSize = 3145728;
    saved.strTestFile = "D:\\Data\\big file.bin";
    SaveFileAccessSettings(settings, kOptionWordStart, saved);
    std::string strText;
    settings.GetString(kSettingFileSize, strText, "");
    EXPECT_EQ(strText, "10737418240");
    settings.GetString(kSettingBlockSize, strText, "");
    EXPECT_EQ(strText, "1048576");

    loaded = given;
    LoadFileAccessSettings(settings, word, loaded);
    EXPECT_EQ(loaded.ullFileSize, saved.ullFileSize);
    EXPECT_EQ(loaded.ulBlockSize, saved.ulBlockSize);
    EXPECT_EQ(loaded.ullPreReadSize, saved.ullPreReadSize);
    EXPECT_EQ(loaded.strTestFile, saved.strTestFile);

    // An empty stored text counts as missing.
    ASSERT_TRUE(settings.SetString(kSettingTestFile, ""));
    loaded = given;
    LoadFileAccessSettings(settings, word, loaded);
    EXPECT_EQ(loaded.strTestFile, "e:\\");
}

TEST_P(ProgramSettings, OtherValuesAndTheirDefaults)
{
    EXPECT_TRUE(ReadAutoUpdate(settings));
    ASSERT_TRUE(WriteAutoUpdate(settings, false));
    EXPECT_FALSE(ReadAutoUpdate(settings));
    ASSERT_TRUE(settings.SetInt(kSettingAutoUpdate, 2));
    EXPECT_FALSE(ReadAutoUpdate(settings));   // only 1 starts the check

    for (const S_TextSetting& setting : {kSettingBlockStart, kSettingBlockEnd, kSettingBlockSkip, kSettingBlockCalc,
                                         kSettingBlockRepeat, kSettingSaveReadData}) {
        SCOPED_TRACE(setting.pszName);
        EXPECT_EQ(ReadTextSetting(settings, setting), setting.pszDefault);
        ASSERT_TRUE(WriteTextSetting(settings, setting, "77"));
        EXPECT_EQ(ReadTextSetting(settings, setting), "77");
    }

    const std::string strDevice = DeviceWriteValueName("ACME", "Disk", "1.0", "S1", "ACME Disk", "E");
    EXPECT_FALSE(IsDeviceWriteAllowed(settings, strDevice));
    ASSERT_TRUE(AllowDeviceWrite(settings, strDevice));
    EXPECT_TRUE(IsDeviceWriteAllowed(settings, strDevice));
    EXPECT_EQ(settings.GetInt(strDevice.c_str(), 0, kSettingWriteSection), 1u);
    EXPECT_FALSE(IsDeviceWriteAllowed(settings, DeviceWriteValueName("ACME", "Disk", "1.0", "S2", "ACME Disk", "E")));
}

INSTANTIATE_TEST_SUITE_P(Stores, ProgramSettings, ::testing::Values(SETTINGS_REGISTRY, SETTINGS_INI),
                         [](const ::testing::TestParamInfo<uint32_t>& paramInfo) {
                             return std::string(paramInfo.param == SETTINGS_REGISTRY ? "Registry" : "Ini");
                         });

// The program's own key: emptied before and after each test.
class ProgramKey : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
        strIniFile = ProgramFolder() + ProgramBaseName() + ".ini";
        ::DeleteFileA(strIniFile.c_str());
        hWindow = ::CreateWindowExA(0, "STATIC", "graph", WS_OVERLAPPEDWINDOW, 50, 60, 300, 200, nullptr, nullptr,
                                    ::GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(hWindow, nullptr);
    }
    void TearDown() override
    {
        ::DestroyWindow(hWindow);
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
        ::DeleteFileA(strIniFile.c_str());
    }

    RECT WindowRect() const
    {
        RECT rc = {};
        ::GetWindowRect(hWindow, &rc);
        return rc;
    }

    std::string strIniFile;
    HWND hWindow = nullptr;
};

TEST_F(ProgramKey, PortableModeNeverTouchesTheRegistry)
{
    C_OptionWord word(kOptionWordStart | FLAG_PORTABLE);
    C_Settings settings;
    ASSERT_TRUE(OpenProgramSettings(settings, word.Get()));
    EXPECT_EQ(settings.GetBackend(), static_cast<uint32_t>(SETTINGS_INI));
    EXPECT_EQ(settings.GetFilePath(), strIniFile);

    S_FileAccessValues values;
    LoadFileAccessSettings(settings, word, values);
    ReadAutoUpdate(settings);
    EXPECT_FALSE(SaveGraphPlacement(hWindow, word.Get(), 0));
    EXPECT_FALSE(RestoreGraphPlacement(hWindow, word.Get(), 0));
    SaveFileAccessSettings(settings, word.Get(), values);
    settings.Close();

    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kSettingsKey));
    EXPECT_NE(ReadWholeFile(strIniFile).find("Flags=36888\r\n"), std::string::npos);   // 0x9018
}

TEST_F(ProgramKey, GraphPlacementOnlyOutsidePortableMode)
{
    // Outside portable mode: a hidden window is saved with show command 0.
    ASSERT_TRUE(SaveGraphPlacement(hWindow, kOptionWordStart, 0));
    C_RegistryTextStore store(HKEY_CURRENT_USER, kSettingsKey);
    std::string strText;
    ASSERT_TRUE(store.ReadText(kSettingGraph, strText));
    EXPECT_EQ(strText.substr(0, 2), "0,");

    // A value left from a run outside portable mode is not read in portable mode...
    ASSERT_TRUE(store.WriteText(kSettingGraph, "1,120,130,420,330"));
    const RECT before = WindowRect();
    EXPECT_FALSE(RestoreGraphPlacement(hWindow, kOptionWordStart | FLAG_PORTABLE, PLACEMENT_NO_MONITOR_CHECK));
    EXPECT_EQ(WindowRect().left, before.left);
    EXPECT_EQ(WindowRect().top, before.top);
    // ...nor overwritten.
    EXPECT_FALSE(SaveGraphPlacement(hWindow, kOptionWordStart | FLAG_PORTABLE, 0));
    ASSERT_TRUE(store.ReadText(kSettingGraph, strText));
    EXPECT_EQ(strText, "1,120,130,420,330");

    // Outside portable mode it is.
    EXPECT_TRUE(RestoreGraphPlacement(hWindow, kOptionWordStart, PLACEMENT_NO_MONITOR_CHECK));
    EXPECT_EQ(WindowRect().left, 120);
    EXPECT_EQ(WindowRect().top, 130);
}

TEST_F(ProgramKey, RegistryModeUsesTheProgramKey)
{
    C_Settings settings;
    ASSERT_TRUE(OpenProgramSettings(settings, kOptionWordStart));
    EXPECT_EQ(settings.GetBackend(), static_cast<uint32_t>(SETTINGS_REGISTRY));
    SaveFileAccessSettings(settings, 0x9019, S_FileAccessValues());
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kSettingsKey));
    EXPECT_FALSE(PathExists(strIniFile));
    C_OptionWord word(0x9018);
    S_FileAccessValues values;
    LoadFileAccessSettings(settings, word, values);
    EXPECT_EQ(word.Get(), 0x9019u);
}

} // namespace
