#include "device/win/AspiLayer.h"

#include <string>

namespace {

const char kAspiFile[] = "wnaspi32.dll";
const char kAppPathKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\nero.exe";

// The "Path" value of the App Paths key, or empty.
std::string ReadAppPath()
{
    HKEY hKey = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kAppPathKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return std::string();
    char szPath[MAX_PATH] = {};
    DWORD dwSize = sizeof(szPath) - 1;
    DWORD dwType = 0;
    const LONG lResult = ::RegQueryValueExA(hKey, "Path", nullptr, &dwType,
                                            reinterpret_cast<BYTE*>(szPath), &dwSize);
    ::RegCloseKey(hKey);
    if (lResult != ERROR_SUCCESS || (dwType != REG_SZ && dwType != REG_EXPAND_SZ))
        return std::string();
    szPath[sizeof(szPath) - 1] = '\0';
    return szPath;
}

} // namespace

C_AspiLayer& C_AspiLayer::Get()
{
    static C_AspiLayer layer;
    return layer;
}

int C_AspiLayer::Load()
{
    Unload();
    if (!library.Load(kAspiFile)) {
        const std::string strFolder = ReadAppPath();
        if (strFolder.empty() || !library.Load((strFolder + "\\" + kAspiFile).c_str()))
            return 0;
    }
    pSend = library.GetAs<SendFunction>("SendASPI32Command");
    pSupportInfo = library.GetAs<SupportInfoFunction>("GetASPI32SupportInfo");
    if (!IsLoaded()) {
        Unload();
        ::SetLastError(ERROR_PROC_NOT_FOUND);
        return 0;
    }
    return 1;
}

void C_AspiLayer::Unload()
{
    pSend = nullptr;
    pSupportInfo = nullptr;
    library.Free();
}

DWORD C_AspiLayer::GetSupportInfo() const
{
    return pSupportInfo != nullptr ? pSupportInfo() : 0;
}

DWORD C_AspiLayer::Send(void* pRequest) const
{
    if (pSend == nullptr)
        return 0;
#if defined(_MSC_VER)
    __try {
        return pSend(pRequest);
    } __except (EXCEPTION_EXECUTE_HANDLER) {
        return 0xFF;
    }
#else
    return pSend(pRequest);
#endif
}
