#include "app/win/Settings.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <vector>

#include "app/core/NumberScan.h"
#include "app/core/ProgramPaths.h"
#include "app/win/ProgramFile.h"

namespace {

constexpr const char* kDefaultIniSection = "Settings";
// First buffer for a registry text; a longer one is read again at its size.
constexpr DWORD kFirstRegistryRead = 256;
// First buffer for an INI text; doubled while the text fills it, six reads in all.
constexpr DWORD kFirstIniRead = 512;
constexpr int kIniReads = 6;

bool IsTextType(DWORD dwType)
{
    return dwType == REG_SZ || dwType == REG_EXPAND_SZ || dwType == REG_MULTI_SZ;
}

int Failed(LONG lResult)
{
    ::SetLastError(static_cast<DWORD>(lResult));
    return 0;
}

} // namespace

int C_Settings::Open(uint32_t ulBackendIn, HKEY hRootIn, const char* pszKeyPath, const char* pszFileName)
{
    Close();
    if (ulBackendIn != SETTINGS_REGISTRY && ulBackendIn != SETTINGS_INI) {
        ::SetLastError(ERROR_NOT_SUPPORTED);
        return 0;
    }
    if (ulBackendIn == SETTINGS_INI) {
        const std::string strProgram = ProgramFilePath();
        if (strProgram.empty())
            return 0;
        strFilePath = SettingsFileFor(strProgram, pszFileName);
    }
    ulBackend = ulBackendIn;
    hRoot = hRootIn;
    strKeyPath = pszKeyPath != nullptr ? pszKeyPath : "";
    return 1;
}

void C_Settings::Close()
{
    ulBackend = 0;
    hRoot = nullptr;
    strKeyPath.clear();
    strFilePath.clear();
}

std::string C_Settings::KeyPath(const char* pszSection) const
{
    if (pszSection == nullptr || *pszSection == '\0')
        return strKeyPath;
    return strKeyPath + "\\" + pszSection;
}

const char* C_Settings::IniSection(const char* pszSection) const
{
    return (pszSection != nullptr && *pszSection != '\0') ? pszSection : kDefaultIniSection;
}

uint64_t C_Settings::GetInt(const char* pszName, uint64_t ullDefault, const char* pszSection) const
{
    if (ulBackend == SETTINGS_REGISTRY) {
        HKEY hKey = nullptr;
        if (::RegOpenKeyExA(hRoot, KeyPath(pszSection).c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
            return ullDefault;
        // Up to 8 bytes, little-endian: a REG_DWORD reads as its 32-bit number.
        BYTE data[8] = {};
        DWORD dwSize = sizeof(data);
        DWORD dwType = REG_NONE;
        const LONG lResult = ::RegQueryValueExA(hKey, pszName, nullptr, &dwType, data, &dwSize);
        ::RegCloseKey(hKey);
        if (lResult != ERROR_SUCCESS || IsTextType(dwType))
            return ullDefault;
        uint64_t ullValue = 0;
        for (int i = 7; i >= 0; --i)
            ullValue = (ullValue << 8) | data[i];
        return ullValue;
    }
    if (ulBackend == SETTINGS_INI) {
        char szText[64];
        ::GetPrivateProfileStringA(IniSection(pszSection), pszName, "", szText, sizeof(szText),
                                   strFilePath.c_str());
        uint64_t ullValue = ullDefault;
        if (ScanUnsigned64(szText, ullValue))
            return ullValue;
    }
    return ullDefault;
}

int C_Settings::SetInt(const char* pszName, uint64_t ullValue, const char* pszSection)
{
    if (ulBackend == SETTINGS_REGISTRY) {
        HKEY hKey = nullptr;
        LONG lResult = ::RegCreateKeyA(hRoot, KeyPath(pszSection).c_str(), &hKey);
        if (lResult != ERROR_SUCCESS)
            return Failed(lResult);
        BYTE data[8];
        for (int i = 0; i < 8; ++i)
            data[i] = static_cast<BYTE>(ullValue >> (8 * i));
        lResult = ::RegSetValueExA(hKey, pszName, 0, REG_QWORD, data, 8);
        if (lResult != ERROR_SUCCESS)   // systems without REG_QWORD keep the low 32 bits
            lResult = ::RegSetValueExA(hKey, pszName, 0, REG_DWORD, data, 4);
        ::RegCloseKey(hKey);
        return lResult == ERROR_SUCCESS ? 1 : Failed(lResult);
    }
    if (ulBackend == SETTINGS_INI) {
        char szText[32];
        std::snprintf(szText, sizeof(szText), "%" PRIu64, ullValue);
        return ::WritePrivateProfileStringA(IniSection(pszSection), pszName, szText, strFilePath.c_str()) ? 1
                                                                                                          : 0;
    }
    ::SetLastError(ERROR_INVALID_HANDLE);
    return 0;
}

bool C_Settings::ReadRegistryText(const char* pszName, std::string& strText, const char* pszSection) const
{
    HKEY hKey = nullptr;
    if (::RegOpenKeyExA(hRoot, KeyPath(pszSection).c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return false;
    std::vector<char> buffer(kFirstRegistryRead);
    DWORD dwSize = kFirstRegistryRead;
    DWORD dwType = REG_NONE;
    LONG lResult = ::RegQueryValueExA(hKey, pszName, nullptr, &dwType, reinterpret_cast<BYTE*>(buffer.data()),
                                      &dwSize);
    if (lResult == ERROR_MORE_DATA) {
        buffer.resize(dwSize);
        lResult = ::RegQueryValueExA(hKey, pszName, nullptr, &dwType, reinterpret_cast<BYTE*>(buffer.data()),
                                     &dwSize);
    }
    ::RegCloseKey(hKey);
    if (lResult != ERROR_SUCCESS || !IsTextType(dwType))
        return false;

    std::string strValue(buffer.data(), dwSize <= buffer.size() ? dwSize : buffer.size());
    if (dwType == REG_MULTI_SZ) {
        // "a\0b\0\0" reads as "a\x01b": the closing zeros go, the inner ones become 0x01.
        while (!strValue.empty() && strValue.back() == '\0')
            strValue.pop_back();
        for (char& c : strValue) {
            if (c == '\0')
                c = '\x01';
        }
    } else {
        const size_t nEnd = strValue.find('\0');
        if (nEnd != std::string::npos)
            strValue.resize(nEnd);
    }
    strText = std::move(strValue);
    return true;
}

void C_Settings::GetString(const char* pszName, std::string& strOut, const char* pszDefault,
                           const char* pszSection) const
{
    const char* pszFallback = pszDefault != nullptr ? pszDefault : "";
    if (ulBackend == SETTINGS_REGISTRY) {
        if (!ReadRegistryText(pszName, strOut, pszSection))
            strOut = pszFallback;
        return;
    }
    if (ulBackend == SETTINGS_INI) {
        std::vector<char> buffer(kFirstIniRead);
        DWORD dwLength = 0;
        for (int nRead = 0; nRead < kIniReads; ++nRead) {
            if (nRead > 0)
                buffer.resize(buffer.size() * 2);
            dwLength = ::GetPrivateProfileStringA(IniSection(pszSection), pszName, pszFallback, buffer.data(),
                                                  static_cast<DWORD>(buffer.size()), strFilePath.c_str());
            if (dwLength + 1 < buffer.size())
                break;
        }
        strOut.assign(buffer.data(), dwLength < buffer.size() ? dwLength : buffer.size() - 1);
        return;
    }
    strOut = pszFallback;
}

int C_Settings::SetString(const char* pszName, const char* pszText, const char* pszSection)
{
    const char* pszValue = pszText != nullptr ? pszText : "";
    if (ulBackend == SETTINGS_REGISTRY) {
        HKEY hKey = nullptr;
        LONG lResult = ::RegCreateKeyA(hRoot, KeyPath(pszSection).c_str(), &hKey);
        if (lResult != ERROR_SUCCESS)
            return Failed(lResult);
        lResult = ::RegSetValueExA(hKey, pszName, 0, REG_SZ, reinterpret_cast<const BYTE*>(pszValue),
                                   static_cast<DWORD>(std::strlen(pszValue) + 1));
        ::RegCloseKey(hKey);
        return lResult == ERROR_SUCCESS ? 1 : Failed(lResult);
    }
    if (ulBackend == SETTINGS_INI)
        return ::WritePrivateProfileStringA(IniSection(pszSection), pszName, pszValue, strFilePath.c_str()) ? 1
                                                                                                            : 0;
    ::SetLastError(ERROR_INVALID_HANDLE);
    return 0;
}

bool C_Settings::ReadText(const char* pszName, std::string& strText)
{
    if (ulBackend == SETTINGS_REGISTRY)
        return ReadRegistryText(pszName, strText, nullptr);
    std::string strValue;
    GetString(pszName, strValue, "", nullptr);
    if (strValue.empty())
        return false;
    strText = std::move(strValue);
    return true;
}

bool C_Settings::WriteText(const char* pszName, const char* pszText)
{
    return SetString(pszName, pszText, nullptr) != 0;
}
