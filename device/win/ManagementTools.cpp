#include "device/win/ManagementTools.h"

#include <atomic>
#include <vector>

#include "framework/win/Library.h"

namespace {

// The utility's progress callback has no context: each call of the utility
// runs on its caller's thread, which keeps its own result.
thread_local bool tlsUtilityDone = false;

constexpr DWORD kFmifsDone = 11;          // callback command: finished, info is BOOLEAN*
constexpr DWORD kFmifsFixedDisk = 0x0C;   // media flag of FormatEx

using FmifsCallback = BOOLEAN(WINAPI*)(DWORD dwCommand, DWORD dwSubAction, PVOID pInfo);
using FormatExFunction = void(WINAPI*)(PWCHAR pszRoot, DWORD dwMedia, PWCHAR pszFormat,
                                       PWCHAR pszLabel, BOOL bQuick, DWORD dwClusterSize,
                                       FmifsCallback pCallback);
using ChkdskFunction = void(WINAPI*)(PWCHAR pszRoot, PWCHAR pszFormat, BOOL bFix, BOOL bVerbose,
                                     BOOL bOnlyIfDirty, BOOL bScan, PVOID p2, PVOID p3,
                                     FmifsCallback pCallback);

BOOLEAN WINAPI UtilityCallback(DWORD dwCommand, DWORD, PVOID pInfo)
{
    if (dwCommand == kFmifsDone && pInfo != nullptr)
        tlsUtilityDone = *static_cast<BOOLEAN*>(pInfo) != FALSE;
    return TRUE;
}

std::wstring Wide(const std::string& strText)
{
    std::wstring strWide;
    for (char c : strText)
        strWide += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return strWide;
}

std::string SystemPath(const char* pszFile)
{
    char szFolder[MAX_PATH] = {};
    const UINT uLength = ::GetSystemDirectoryA(szFolder, MAX_PATH);
    if (uLength == 0 || uLength >= MAX_PATH)
        return std::string();
    return std::string(szFolder) + "\\" + pszFile;
}

bool Unsupported()
{
    ::SetLastError(ERROR_NOT_SUPPORTED);
    return false;
}

std::atomic<C_ManagementTools*> g_pTools{nullptr};

} // namespace

bool C_ManagementTools::FormatVolume(const std::string& strRoot, const std::string& strFileSystem,
                                     const std::string& strLabel, bool bQuick)
{
    // From the system folder only, never from wherever the search finds one.
    C_Library fmifs(SystemPath("fmifs.dll").c_str());
    auto pFormat = fmifs.GetAs<FormatExFunction>("FormatEx");
    if (pFormat == nullptr)
        return Unsupported();
    std::wstring strRootW = Wide(strRoot), strSystemW = Wide(strFileSystem), strLabelW = Wide(strLabel);
    tlsUtilityDone = false;
    pFormat(&strRootW[0], kFmifsFixedDisk, &strSystemW[0], &strLabelW[0], bQuick ? TRUE : FALSE,
            0, UtilityCallback);
    if (!tlsUtilityDone)
        ::SetLastError(ERROR_GEN_FAILURE);
    return tlsUtilityDone;
}

bool C_ManagementTools::CheckDisk(const std::string& strRoot, const std::string& strFileSystem,
                                  bool bFix)
{
    C_Library fmifs(SystemPath("fmifs.dll").c_str());
    auto pChkdsk = fmifs.GetAs<ChkdskFunction>("Chkdsk");
    if (pChkdsk == nullptr)
        return Unsupported();
    std::wstring strRootW = Wide(strRoot), strSystemW = Wide(strFileSystem);
    tlsUtilityDone = false;
    pChkdsk(&strRootW[0], &strSystemW[0], bFix ? TRUE : FALSE, FALSE, FALSE, FALSE, nullptr,
            nullptr, UtilityCallback);
    if (!tlsUtilityDone)
        ::SetLastError(ERROR_GEN_FAILURE);
    return tlsUtilityDone;
}

bool C_ManagementTools::RunConvert(const std::string& strArguments, DWORD* pdwExitCode)
{
    const std::string strProgram = SystemPath("convert.exe");
    if (strProgram.empty() || ::GetFileAttributesA(strProgram.c_str()) == INVALID_FILE_ATTRIBUTES)
        return Unsupported();
    std::string strCommand = "\"" + strProgram + "\" " + strArguments;
    std::vector<char> vCommand(strCommand.begin(), strCommand.end());
    vCommand.push_back('\0');
    // The converter reads its questions' answers from an empty input, so
    // that it ends instead of waiting for a user who cannot see it.
    SECURITY_ATTRIBUTES inherit;
    inherit.nLength = sizeof(inherit);
    inherit.lpSecurityDescriptor = nullptr;
    inherit.bInheritHandle = TRUE;
    const HANDLE hNull = ::CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING,
                                       0, nullptr);
    if (hNull == INVALID_HANDLE_VALUE)
        return false;
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof(startup));
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    startup.wShowWindow = SW_HIDE;
    startup.hStdInput = hNull;
    startup.hStdOutput = hNull;
    startup.hStdError = hNull;
    PROCESS_INFORMATION process;
    ZeroMemory(&process, sizeof(process));
    const BOOL bStarted = ::CreateProcessA(strProgram.c_str(), vCommand.data(), nullptr, nullptr,
                                           TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                                           &process);
    const DWORD dwError = ::GetLastError();
    ::CloseHandle(hNull);
    if (!bStarted) {
        ::SetLastError(dwError);
        return false;
    }
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD dwExit = 1;
    const BOOL bOk = ::GetExitCodeProcess(process.hProcess, &dwExit);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    if (pdwExitCode != nullptr)
        *pdwExitCode = dwExit;
    return bOk != FALSE;
}

std::string C_ManagementTools::VolumeNameOfPath(const std::string& strPath)
{
    using VolumeNameFunction = BOOL(WINAPI*)(LPCSTR, LPSTR, DWORD);
    C_Library kernel("kernel32.dll");
    auto pGet = kernel.GetAs<VolumeNameFunction>("GetVolumeNameForVolumeMountPointA");
    char szName[MAX_PATH] = {};
    if (pGet == nullptr || !pGet(strPath.c_str(), szName, MAX_PATH))
        return std::string();
    return szName;
}

std::string C_ManagementTools::LettersOfVolume(const std::string& strVolumeName)
{
    using PathNamesFunction = BOOL(WINAPI*)(LPCSTR, LPCH, DWORD, PDWORD);
    C_Library kernel("kernel32.dll");
    auto pGet = kernel.GetAs<PathNamesFunction>("GetVolumePathNamesForVolumeNameA");
    if (pGet == nullptr)
        return std::string();
    std::vector<char> vNames(1024, '\0');
    DWORD dwLength = 0;
    if (!pGet(strVolumeName.c_str(), vNames.data(), static_cast<DWORD>(vNames.size() - 2), &dwLength))
        return std::string();
    std::string strLetters;
    for (const char* p = vNames.data(); *p != '\0'; p += std::char_traits<char>::length(p) + 1) {
        // "X:\" names a drive letter; longer names are folders.
        if (p[1] == ':' && p[2] == '\\' && p[3] == '\0')
            strLetters += p[0];
    }
    return strLetters;
}

bool C_ManagementTools::AssignLetter(char cLetter, const std::string& strVolumeName)
{
    using SetMountPointFunction = BOOL(WINAPI*)(LPCSTR, LPCSTR);
    C_Library kernel("kernel32.dll");
    auto pSet = kernel.GetAs<SetMountPointFunction>("SetVolumeMountPointA");
    if (pSet == nullptr)
        return Unsupported();
    const char szRoot[4] = {cLetter, ':', '\\', '\0'};
    return pSet(szRoot, strVolumeName.c_str()) != FALSE;
}

DWORD C_ManagementTools::LogicalDrives()
{
    return ::GetLogicalDrives();
}

void C_ManagementTools::Sleep(DWORD dwMilliseconds)
{
    ::Sleep(dwMilliseconds);
}

C_ManagementTools& C_ManagementTools::System()
{
    static C_ManagementTools tools;
    return tools;
}

void RudvaneSetManagementTools(C_ManagementTools* pTools)
{
    g_pTools = pTools;
}

C_ManagementTools& RudvaneGetManagementTools()
{
    C_ManagementTools* pTools = g_pTools.load();
    return pTools != nullptr ? *pTools : C_ManagementTools::System();
}
