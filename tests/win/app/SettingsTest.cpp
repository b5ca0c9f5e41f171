#include "app/win/Settings.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/win/ProgramFile.h"
#include "tests/win/app/AppTestFiles.h"

namespace {

constexpr const char* kTestKey = "Software\\Ternwick\\QuenvaleSettingsTest";

// A settings store on a test key of the real registry, removed before and after.
class RegistrySettings : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey);
        ASSERT_TRUE(settings.Open(SETTINGS_REGISTRY, HKEY_CURRENT_USER, kTestKey, nullptr));
    }
    void TearDown() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, kTestKey); }

    void WriteRaw(const char* pszName, DWORD dwType, const void* pData, DWORD dwSize, const char* pszKey = kTestKey)
    {
        HKEY hKey = nullptr;
        ASSERT_EQ(::RegCreateKeyA(HKEY_CURRENT_USER, pszKey, &hKey), ERROR_SUCCESS);
        ASSERT_EQ(::RegSetValueExA(hKey, pszName, 0, dwType, static_cast<const BYTE*>(pData), dwSize), ERROR_SUCCESS);
        ::RegCloseKey(hKey);
    }

    DWORD TypeOf(const char* pszName, const char* pszKey = kTestKey)
    {
        HKEY hKey = nullptr;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, pszKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
            return REG_NONE;
        DWORD dwType = REG_NONE;
        const LONG lResult = ::RegQueryValueExA(hKey, pszName, nullptr, &dwType, nullptr, nullptr);
        ::RegCloseKey(hKey);
        return lResult == ERROR_SUCCESS ? dwType : REG_NONE;
    }

    C_Settings settings;
};

TEST_F(RegistrySettings, IntegersAreQwords)
{
    for (const uint64_t ullValue : {0ull, 1ull, 0xFFFFFFFFull, 0x100000000ull, 0xFFFFFFFFFFFFFFFFull}) {
        SCOPED_TRACE(ullValue);
        ASSERT_TRUE(settings.SetInt("Value", ullValue));
        EXPECT_EQ(TypeOf("Value"), static_cast<DWORD>(REG_QWORD));
        EXPECT_EQ(settings.GetInt("Value", 77), ullValue);
    }
}

TEST_F(RegistrySettings, IntegersInOtherEncodings)
{
    const DWORD dwFlags = 0x0225F179;
    WriteRaw("Dword", REG_DWORD, &dwFlags, sizeof(dwFlags));
    const BYTE three[3] = {1, 2, 3};
    WriteRaw("Binary3", REG_BINARY, three, sizeof(three));
    const BYTE nine[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    WriteRaw("Binary9", REG_BINARY, nine, sizeof(nine));
    WriteRaw("Text", REG_SZ, "5", 2);

    struct S_Case {
        const char* pszName;
        uint64_t ullValue;
    };
    const std::vector<S_Case> cases = {
        {"Dword", 0x0225F179},      // a REG_DWORD from an older system reads as the same number
        {"Binary3", 0x030201},
        {"Binary9", 77},            // longer than 8 bytes: the default
        {"Text", 77},               // a text is no number
        {"Missing", 77},
    };
    for (const S_Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        EXPECT_EQ(settings.GetInt(c.pszName, 77), c.ullValue);
    }

    C_Settings missingKey;
    ASSERT_TRUE(missingKey.Open(SETTINGS_REGISTRY, HKEY_CURRENT_USER, "Software\\Ternwick\\NoSuchKey", nullptr));
    EXPECT_EQ(missingKey.GetInt("Dword", 5), 5u);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\Ternwick\\NoSuchKey"));   // reading creates nothing
}

TEST_F(RegistrySettings, Texts)
{
    const std::string strLong(5000, 'x');   // larger than the first read
    ASSERT_TRUE(settings.SetString("Long", strLong.c_str()));
    ASSERT_TRUE(settings.SetString("Empty", ""));
    EXPECT_EQ(TypeOf("Long"), static_cast<DWORD>(REG_SZ));
    WriteRaw("Multi", REG_MULTI_SZ, "ab\0cd\0\0", 7);
    WriteRaw("Expand", REG_EXPAND_SZ, "%TEMP%", 7);
    WriteRaw("Unterminated", REG_SZ, "abc", 3);
    const DWORD dwNumber = 5;
    WriteRaw("Number", REG_DWORD, &dwNumber, sizeof(dwNumber));

    struct S_Case {
        const char* pszName;
        std::string strText;
    };
    const std::vector<S_Case> cases = {
        {"Long", strLong},
        {"Empty", ""},
        {"Multi", "ab\x01" "cd"},   // inner zeros become 0x01
        {"Expand", "%TEMP%"},       // not expanded
        {"Unterminated", "abc"},
        {"Number", "dflt"},
        {"Missing", "dflt"},
    };
    for (const S_Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        std::string strText = "old";
        settings.GetString(c.pszName, strText, "dflt");
        EXPECT_EQ(strText, c.strText);
    }

    std::string strText = "untouched";
    EXPECT_FALSE(settings.ReadText("Missing", strText));
    EXPECT_EQ(strText, "untouched");
    EXPECT_TRUE(settings.WriteText("Graph", "1,2,3,4,5"));
    EXPECT_TRUE(settings.ReadText("Graph", strText));
    EXPECT_EQ(strText, "1,2,3,4,5");
}

TEST_F(RegistrySettings, SectionsAreSubkeys)
{
    ASSERT_TRUE(settings.SetInt("ACME Disk 1.0 S1 Info EF", 1, "Write"));
    EXPECT_EQ(TypeOf("ACME Disk 1.0 S1 Info EF", "Software\\Ternwick\\QuenvaleSettingsTest\\Write"),
              static_cast<DWORD>(REG_QWORD));
    EXPECT_EQ(settings.GetInt("ACME Disk 1.0 S1 Info EF", 0, "Write"), 1u);
    EXPECT_EQ(settings.GetInt("ACME Disk 1.0 S1 Info EF", 0), 0u);
}

TEST_F(RegistrySettings, NothingIsCachedAndCloseForgetsThePlace)
{
    C_Settings other;
    ASSERT_TRUE(other.Open(SETTINGS_REGISTRY, HKEY_CURRENT_USER, kTestKey, nullptr));
    ASSERT_TRUE(settings.SetInt("Shared", 3));
    EXPECT_EQ(other.GetInt("Shared", 0), 3u);
    ASSERT_TRUE(other.SetInt("Shared", 4));
    EXPECT_EQ(settings.GetInt("Shared", 0), 4u);

    settings.Close();
    EXPECT_EQ(settings.GetInt("Shared", 9), 9u);
    EXPECT_FALSE(settings.SetInt("Shared", 5));
    EXPECT_EQ(other.GetInt("Shared", 0), 4u);

    EXPECT_FALSE(settings.Open(4, HKEY_CURRENT_USER, kTestKey, nullptr));   // no XML store here
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
}

class IniSettings : public ::testing::Test {
protected:
    void SetUp() override
    {
        strFile = folder / "Quenvale.ini";
        ASSERT_TRUE(settings.Open(SETTINGS_INI, HKEY_CURRENT_USER, kTestKey, strFile.c_str()));
    }

    C_TempFolder folder;
    std::string strFile;
    C_Settings settings;
};

TEST_F(IniSettings, FileBesideTheProgramByDefault)
{
    C_Settings besideProgram;
    ASSERT_TRUE(besideProgram.Open(SETTINGS_INI, HKEY_CURRENT_USER, kTestKey, nullptr));
    EXPECT_EQ(besideProgram.GetFilePath(), ProgramFolder() + ProgramBaseName() + ".ini");
    C_Settings named;
    ASSERT_TRUE(named.Open(SETTINGS_INI, HKEY_CURRENT_USER, kTestKey, "other.ini"));
    EXPECT_EQ(named.GetFilePath(), ProgramFolder() + "other.ini");
    EXPECT_EQ(settings.GetFilePath(), strFile);
}

TEST_F(IniSettings, IntegersAsDecimalText)
{
    for (const uint64_t ullValue : {0ull, 1ull, 0x100000000ull, 0xFFFFFFFFFFFFFFFFull}) {
        SCOPED_TRACE(ullValue);
        ASSERT_TRUE(settings.SetInt("Value", ullValue));
        EXPECT_EQ(settings.GetInt("Value", 77), ullValue);
    }
    EXPECT_NE(ReadWholeFile(strFile).find("[Settings]\r\nValue=18446744073709551615\r\n"), std::string::npos);

    struct S_Case {
        const char* pszText;
        uint64_t ullValue;
    };
    const std::vector<S_Case> cases = {
        {"abc", 1},         // no number: the default
        {"", 1},
        {"0", 0},
        {" 12", 12},
        {"12abc", 12},
    };
    for (const S_Case& c : cases) {
        SCOPED_TRACE(c.pszText);
        ASSERT_TRUE(::WritePrivateProfileStringA("Settings", "AutoUpdate", c.pszText, strFile.c_str()));
        EXPECT_EQ(settings.GetInt("AutoUpdate", 1), c.ullValue);
    }
    EXPECT_EQ(settings.GetInt("Missing", 42), 42u);
}

TEST_F(IniSettings, TextsAndSections)
{
    ASSERT_TRUE(settings.SetString("TestFile", "E:\\My Files\\test.bin"));
    ASSERT_TRUE(settings.SetInt("ACME Disk", 1, "Write"));
    std::string strText;
    settings.GetString("TestFile", strText, "dflt");
    EXPECT_EQ(strText, "E:\\My Files\\test.bin");
    settings.GetString("TestFile", strText, "dflt", "Write");
    EXPECT_EQ(strText, "dflt");
    settings.GetString("Missing", strText, "_data.bin");
    EXPECT_EQ(strText, "_data.bin");
    const std::string strFileText = ReadWholeFile(strFile);
    EXPECT_NE(strFileText.find("[Settings]\r\nTestFile=E:\\My Files\\test.bin\r\n"), std::string::npos);
    EXPECT_NE(strFileText.find("[Write]\r\nACME Disk=1\r\n"), std::string::npos);

    // Texts longer than the first buffer are read whole, up to the last doubling.
    for (const size_t nLength : {511u, 512u, 3000u, 16383u}) {
        SCOPED_TRACE(nLength);
        const std::string strLong(nLength, 'y');
        ASSERT_TRUE(settings.SetString("Long", strLong.c_str()));
        settings.GetString("Long", strText, "");
        EXPECT_EQ(strText, strLong);
    }

    strText = "untouched";
    EXPECT_FALSE(settings.ReadText("Missing", strText));
    EXPECT_EQ(strText, "untouched");
}

TEST(IniSettingsFailure, UnwritableFileFailsQuietlyAndReadsDefaults)
{
    C_TempFolder folder;
    ASSERT_TRUE(WriteWholeFile(folder / "blocker", "x"));
    C_Settings settings;
    const std::string strFile = folder / "blocker\\Quenvale.ini";   // inside a file: cannot exist
    ASSERT_TRUE(settings.Open(SETTINGS_INI, HKEY_CURRENT_USER, kTestKey, strFile.c_str()));
    EXPECT_FALSE(settings.SetInt("Flags", 1));
    EXPECT_FALSE(settings.SetString("TestFile", "x"));
    EXPECT_EQ(settings.GetInt("Flags", 7), 7u);
}

} // namespace
