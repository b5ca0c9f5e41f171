#include "device/win/EnumIo.h"

#include <shellapi.h>

#include <cstring>

#include "framework/win/Library.h"

namespace {

std::string Root(char cLetter)
{
    return std::string(1, cLetter) + ":\\";
}

class C_RegKey {
public:
    C_RegKey(HKEY hParent, const std::string& strPath)
    {
        if (::RegOpenKeyExA(hParent, strPath.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
            hKey = nullptr;
    }
    ~C_RegKey()
    {
        if (hKey != nullptr)
            ::RegCloseKey(hKey);
    }
    C_RegKey(const C_RegKey&) = delete;
    C_RegKey& operator=(const C_RegKey&) = delete;
    HKEY Get() const { return hKey; }

private:
    HKEY hKey = nullptr;
};

} // namespace

C_EnumIo& C_EnumIo::System()
{
    static C_EnumIo io;
    return io;
}

DWORD C_EnumIo::LogicalDrives()
{
    return ::GetLogicalDrives();
}

UINT C_EnumIo::DriveType(const std::string& strRoot)
{
    return ::GetDriveTypeA(strRoot.c_str());
}

bool C_EnumIo::VolumeInfo(char cLetter, std::string& strLabel, std::string& strFileSystem,
                          DWORD& dwSerial)
{
    char szLabel[MAX_PATH + 1] = {};
    char szFileSystem[MAX_PATH + 1] = {};
    DWORD dwMaxName = 0, dwFlags = 0, dwVolumeSerial = 0;
    if (!::GetVolumeInformationA(Root(cLetter).c_str(), szLabel, MAX_PATH, &dwVolumeSerial,
                                 &dwMaxName, &dwFlags, szFileSystem, MAX_PATH))
        return false;
    strLabel = szLabel;
    strFileSystem = szFileSystem;
    dwSerial = dwVolumeSerial;
    return true;
}

bool C_EnumIo::DisplayName(char cLetter, std::string& strName)
{
    using GetFileInfoFunction = DWORD_PTR(WINAPI*)(LPCSTR, DWORD, SHFILEINFOA*, UINT, UINT);
    static C_Library shell("shell32.dll");
    auto pGetFileInfo = shell.GetAs<GetFileInfoFunction>("SHGetFileInfoA");
    if (pGetFileInfo == nullptr)
        return false;
    SHFILEINFOA info;
    ZeroMemory(&info, sizeof(info));
    if (pGetFileInfo(Root(cLetter).c_str(), 0, &info, sizeof(info), SHGFI_DISPLAYNAME) == 0)
        return false;
    strName = info.szDisplayName;
    return true;
}

bool C_EnumIo::DosDeviceTarget(char cLetter, std::string& strTarget)
{
    const char szName[3] = {cLetter, ':', '\0'};
    char szTarget[1024] = {};
    if (::QueryDosDeviceA(szName, szTarget, sizeof(szTarget) - 1) == 0 || szTarget[0] == '\0')
        return false;
    strTarget = szTarget;
    return true;
}

int C_EnumIo::VolumeName(const std::string& strMountPoint, std::string& strName)
{
    using VolumeNameFunction = BOOL(WINAPI*)(LPCSTR, LPSTR, DWORD);
    static C_Library kernel("kernel32.dll");
    auto pVolumeName = kernel.GetAs<VolumeNameFunction>("GetVolumeNameForVolumeMountPointA");
    if (pVolumeName == nullptr)
        return -1;
    char szName[MAX_PATH + 1] = {};
    if (!pVolumeName(strMountPoint.c_str(), szName, MAX_PATH))
        return 0;
    strName = szName;
    return 1;
}

bool C_EnumIo::ListClass(const S_ClassGuid& guid, bool bInterface, std::vector<S_ClassDevice>& out)
{
    return C_DeviceNodes::Get().ListClass(guid, bInterface, out);
}

bool C_EnumIo::NodeParent(uint32_t ulNode, uint32_t& ulParent)
{
    return C_DeviceNodes::Get().GetParent(ulNode, ulParent);
}

bool C_EnumIo::NodeChild(uint32_t ulNode, uint32_t& ulChild)
{
    return C_DeviceNodes::Get().GetChild(ulNode, ulChild);
}

bool C_EnumIo::NodeInstanceId(uint32_t ulNode, std::string& strOut)
{
    return C_DeviceNodes::Get().GetInstanceId(ulNode, strOut);
}

std::string C_EnumIo::InstanceIdOf(uint32_t ulNode)
{
    std::string strId;
    NodeInstanceId(ulNode, strId);
    return strId;
}

bool C_EnumIo::NodeText(uint32_t ulNode, E_NodeText eText, std::string& strOut)
{
    return C_DeviceNodes::Get().GetText(ulNode, eText, strOut);
}

bool C_EnumIo::RemovalRelations(const std::string& strInstanceId, std::vector<std::string>& out)
{
    return C_DeviceNodes::Get().GetRemovalRelations(strInstanceId, out);
}

bool C_EnumIo::InterfacePath(const std::string& strInstanceId, const S_ClassGuid& guid,
                             std::string& strOut)
{
    return C_DeviceNodes::Get().GetInterfacePath(strInstanceId, guid, strOut);
}

bool C_EnumIo::MountedDevices(std::vector<std::pair<std::string, std::vector<uint8_t>>>& out)
{
    out.clear();
    C_RegKey key(HKEY_LOCAL_MACHINE, "SYSTEM\\MountedDevices");
    if (key.Get() == nullptr)
        return false;
    for (DWORD i = 0;; ++i) {
        char szName[512] = {};
        DWORD dwNameLength = sizeof(szName) - 1;
        DWORD dwType = 0;
        BYTE data[1024];
        DWORD dwDataLength = sizeof(data);
        const LONG lResult = ::RegEnumValueA(key.Get(), i, szName, &dwNameLength, nullptr, &dwType,
                                             data, &dwDataLength);
        if (lResult == ERROR_NO_MORE_ITEMS)
            break;
        if (lResult != ERROR_SUCCESS)
            continue;
        out.emplace_back(szName, std::vector<uint8_t>(data, data + dwDataLength));
    }
    return true;
}

bool C_EnumIo::HardwareKeyText(const std::string& strInstanceId, const char* pszValue,
                               std::string& strOut)
{
    C_RegKey key(HKEY_LOCAL_MACHINE, "Enum\\" + strInstanceId);
    if (key.Get() == nullptr)
        return false;
    char szValue[256] = {};
    DWORD dwLength = sizeof(szValue) - 1;
    DWORD dwType = 0;
    if (::RegQueryValueExA(key.Get(), pszValue, nullptr, &dwType, reinterpret_cast<BYTE*>(szValue),
                           &dwLength) != ERROR_SUCCESS ||
        (dwType != REG_SZ && dwType != REG_BINARY))
        return false;
    strOut.assign(szValue, strnlen(szValue, dwLength));
    return true;
}
