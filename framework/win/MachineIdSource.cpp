#include "framework/win/MachineIdSource.h"

#include <windows.h>
#include <iphlpapi.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "framework/win/Library.h"

namespace {

constexpr const char* kCurrentVersionKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

bool ReadMachineText(const char* pszKey, const char* pszValue, std::string& strText)
{
    HKEY hKey = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, pszKey, 0, KEY_READ | KEY_WOW64_64KEY, &hKey) != ERROR_SUCCESS)
        return false;
    char szText[256] = {};
    DWORD dwSize = sizeof(szText) - 1;
    DWORD dwType = 0;
    const LONG lResult = ::RegQueryValueExA(hKey, pszValue, nullptr, &dwType, reinterpret_cast<BYTE*>(szText), &dwSize);
    ::RegCloseKey(hKey);
    if (lResult != ERROR_SUCCESS || dwType != REG_SZ)
        return false;
    strText = szText;
    return !strText.empty();
}

bool KeyExists(const char* pszKey)
{
    HKEY hKey = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, pszKey, 0, KEY_READ | KEY_WOW64_64KEY, &hKey) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(hKey);
    return true;
}

std::string AdapterAddresses()
{
    C_Library iphlpapi("iphlpapi.dll");
    auto pGetAdaptersInfo = iphlpapi.GetAs<ULONG(WINAPI*)(PIP_ADAPTER_INFO, PULONG)>("GetAdaptersInfo");
    if (pGetAdaptersInfo == nullptr)
        return std::string();
    ULONG ulSize = 0;
    if (pGetAdaptersInfo(nullptr, &ulSize) != ERROR_BUFFER_OVERFLOW || ulSize == 0)
        return std::string();
    std::vector<uint8_t> buffer(ulSize);
    auto pInfo = reinterpret_cast<PIP_ADAPTER_INFO>(buffer.data());
    if (pGetAdaptersInfo(pInfo, &ulSize) != ERROR_SUCCESS)
        return std::string();
    std::vector<std::string> vAddresses;
    for (; pInfo != nullptr; pInfo = pInfo->Next) {
        if (pInfo->Type != MIB_IF_TYPE_ETHERNET && pInfo->Type != IF_TYPE_IEEE80211)
            continue;
        if (pInfo->AddressLength == 0 || pInfo->AddressLength > sizeof(pInfo->Address))
            continue;
        std::string strAddress;
        for (UINT i = 0; i < pInfo->AddressLength; ++i) {
            char szByte[4];
            std::snprintf(szByte, sizeof(szByte), "%02X", pInfo->Address[i]);
            strAddress += szByte;
        }
        vAddresses.push_back(strAddress);
    }
    std::sort(vAddresses.begin(), vAddresses.end());
    std::string strJoined;
    for (const std::string& strAddress : vAddresses)
        strJoined += strAddress + ";";
    return strJoined;
}

uint8_t Environment()
{
    C_Library ntdll("ntdll.dll");
    if (ntdll.Get("wine_get_version") != nullptr)
        return MACHINE_ENV_WINE;
    if (KeyExists("SOFTWARE\\ReactOS"))
        return MACHINE_ENV_REACTOS;
    char szUser[64] = {};
    DWORD dwUser = sizeof(szUser);
    if (::GetEnvironmentVariableA("USERNAME", szUser, dwUser) > 0 && _stricmp(szUser, "WDAGUtilityAccount") == 0)
        return MACHINE_ENV_SANDBOX;
    return MACHINE_ENV_WINDOWS;
}

void WindowsVersion(uint32_t& ulMajor, uint32_t& ulMinor)
{
    // GetVersionEx answers what the manifest allows; the kernel tells the truth.
    C_Library ntdll("ntdll.dll");
    auto pRtlGetVersion = ntdll.GetAs<LONG(WINAPI*)(OSVERSIONINFOW*)>("RtlGetVersion");
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    if (pRtlGetVersion != nullptr && pRtlGetVersion(&info) == 0) {
        ulMajor = info.dwMajorVersion;
        ulMinor = info.dwMinorVersion;
        return;
    }
    const DWORD dwVersion = ::GetVersion();
    ulMajor = LOBYTE(LOWORD(dwVersion));
    ulMinor = HIBYTE(LOWORD(dwVersion));
}

std::string SystemVolumeSerial()
{
    char szWindows[MAX_PATH] = {};
    if (::GetWindowsDirectoryA(szWindows, MAX_PATH) < 3)
        return std::string();
    char szRoot[4] = {szWindows[0], ':', '\\', '\0'};
    DWORD dwSerial = 0;
    if (!::GetVolumeInformationA(szRoot, nullptr, 0, &dwSerial, nullptr, nullptr, nullptr, 0))
        return std::string();
    char szSerial[16];
    std::snprintf(szSerial, sizeof(szSerial), "%08lX", static_cast<unsigned long>(dwSerial));
    return szSerial;
}

} // namespace

S_MachineSources ReadMachineSources()
{
    S_MachineSources sources;
    sources.strAdapters = AdapterAddresses();
    sources.bEnvironment = Environment();
    WindowsVersion(sources.ulMajor, sources.ulMinor);
    ReadMachineText(kCurrentVersionKey, "ProductId", sources.strProductId);
    sources.strDisk = SystemVolumeSerial();
    if (!ReadMachineText("SOFTWARE\\Microsoft\\Cryptography", "MachineGuid", sources.strMachine)) {
        char szName[MAX_COMPUTERNAME_LENGTH + 1] = {};
        DWORD dwName = sizeof(szName);
        if (::GetComputerNameA(szName, &dwName))
            sources.strMachine = szName;
    }
    return sources;
}

MachineIdBytes GetMachineId(uint8_t bPurpose)
{
    return MakeMachineId(ReadMachineSources(), bPurpose);
}

std::string GetMachineIdText(uint8_t bPurpose)
{
    return MachineIdText(GetMachineId(bPurpose));
}
