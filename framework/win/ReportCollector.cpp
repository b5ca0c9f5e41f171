#include "framework/win/ReportCollector.h"

#include <tlhelp32.h>

#include <cstdio>
#include <vector>

#include "framework/core/WindowsName.h"
#include "framework/win/DbgHelp.h"
#include "framework/win/Library.h"
#include "framework/win/OsWord.h"
#include "framework/win/TimeText.h"
#include "framework/win/VersionStrings.h"

namespace {

constexpr uint16_t kMachineArm64 = 0xAA64;

template <typename T>
bool ReadOwn(uint64_t ullAddress, T& value)
{
    SIZE_T nRead = 0;
    return ullAddress != 0 &&
           ::ReadProcessMemory(::GetCurrentProcess(), reinterpret_cast<const void*>(static_cast<uintptr_t>(ullAddress)),
                               &value, sizeof(T), &nRead) &&
           nRead == sizeof(T);
}

uint64_t Address(const void* p)
{
    return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(p));
}

std::string RegistryText(HKEY hKey, const char* pszValue)
{
    char szText[256] = {};
    DWORD dwType = 0;
    DWORD dwSize = sizeof(szText) - 1;
    if (::RegQueryValueExA(hKey, pszValue, nullptr, &dwType, reinterpret_cast<BYTE*>(szText), &dwSize) !=
            ERROR_SUCCESS ||
        (dwType != REG_SZ && dwType != REG_EXPAND_SZ))
        return std::string();
    std::string strText(szText, strnlen(szText, sizeof(szText)));
    // The name string is padded with blanks on some processors.
    const size_t nFirst = strText.find_first_not_of(' ');
    const size_t nLast = strText.find_last_not_of(' ');
    return nFirst == std::string::npos ? std::string() : strText.substr(nFirst, nLast - nFirst + 1);
}

DWORD RegistryNumber(HKEY hRoot, const char* pszKey, const char* pszValue)
{
    HKEY hKey = nullptr;
    if (::RegOpenKeyExA(hRoot, pszKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return 0;
    DWORD dwValue = 0, dwType = 0, dwSize = sizeof(dwValue);
    if (::RegQueryValueExA(hKey, pszValue, nullptr, &dwType, reinterpret_cast<BYTE*>(&dwValue), &dwSize) !=
            ERROR_SUCCESS ||
        dwType != REG_DWORD)
        dwValue = 0;
    ::RegCloseKey(hKey);
    return dwValue;
}

bool KeyExists(HKEY hRoot, const char* pszKey)
{
    HKEY hKey = nullptr;
    if (::RegOpenKeyExA(hRoot, pszKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(hKey);
    return true;
}

S_ReportRegisters RegistersOf(const CONTEXT& c)
{
    S_ReportRegisters r;
#if defined(_WIN64)
    r.bX64 = true;
    r.ullAx = c.Rax;
    r.ullBx = c.Rbx;
    r.ullCx = c.Rcx;
    r.ullDx = c.Rdx;
    r.ullSi = c.Rsi;
    r.ullDi = c.Rdi;
    r.ullBp = c.Rbp;
    r.ullSp = c.Rsp;
    r.ullIp = c.Rip;
    const DWORD64 aR[8] = {c.R8, c.R9, c.R10, c.R11, c.R12, c.R13, c.R14, c.R15};
    for (int i = 0; i < 8; ++i)
        r.aullR8To15[i] = aR[i];
#else
    r.ullAx = c.Eax;
    r.ullBx = c.Ebx;
    r.ullCx = c.Ecx;
    r.ullDx = c.Edx;
    r.ullSi = c.Esi;
    r.ullDi = c.Edi;
    r.ullBp = c.Ebp;
    r.ullSp = c.Esp;
    r.ullIp = c.Eip;
#endif
    r.ulFlags = c.EFlags;
    r.wCs = static_cast<uint16_t>(c.SegCs);
    r.wSs = static_cast<uint16_t>(c.SegSs);
    r.wDs = static_cast<uint16_t>(c.SegDs);
    r.wEs = static_cast<uint16_t>(c.SegEs);
    r.wFs = static_cast<uint16_t>(c.SegFs);
    r.wGs = static_cast<uint16_t>(c.SegGs);
    return r;
}

std::vector<S_ReportProcessor> Processors()
{
    std::vector<S_ReportProcessor> v;
    for (unsigned u = 0; u < 1024; ++u) {
        char szKey[80];
        std::snprintf(szKey, sizeof(szKey), "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\%u", u);
        HKEY hKey = nullptr;
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, szKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
            break;
        S_ReportProcessor p;
        p.strName = RegistryText(hKey, "ProcessorNameString");
        p.strIdentifier = RegistryText(hKey, "Identifier");
        p.strVendor = RegistryText(hKey, "VendorIdentifier");
        DWORD dwType = 0, dwSize = sizeof(p.ulMhz);
        DWORD dwMhz = 0;
        if (::RegQueryValueExA(hKey, "~MHz", nullptr, &dwType, reinterpret_cast<BYTE*>(&dwMhz), &dwSize) ==
                ERROR_SUCCESS &&
            dwType == REG_DWORD)
            p.ulMhz = dwMhz;
        ::RegCloseKey(hKey);
        v.push_back(p);
    }
    return v;
}

bool VersionOf(OSVERSIONINFOEXA& info)
{
    info = OSVERSIONINFOEXA();
    info.dwOSVersionInfoSize = sizeof(info);
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#elif defined(_MSC_VER)
#pragma warning(suppress : 4996)
#endif
    BOOL bKnown = ::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info));
    if (!bKnown) {
        // Systems before NT4 SP6 know only the short structure.
        info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
        bKnown = ::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info));
    }
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
    return bKnown != FALSE;
}

bool IsWine()
{
    HMODULE hNtdll = ::GetModuleHandleA("ntdll.dll");
    return hNtdll != nullptr && ::GetProcAddress(hNtdll, "wine_get_version") != nullptr;
}

bool IsSandbox()
{
    char szUser[257] = {};
    DWORD dwSize = sizeof(szUser);
    return ::GetUserNameA(szUser, &dwSize) && lstrcmpiA(szUser, "WDAGUtilityAccount") == 0;
}

std::string PlatformLine()
{
    C_Library kernel32("kernel32.dll");
    BOOL bWow64 = FALSE;
    auto pIsWow64 = kernel32.GetAs<BOOL(WINAPI*)(HANDLE, PBOOL)>("IsWow64Process");
    if (pIsWow64 != nullptr && !pIsWow64(::GetCurrentProcess(), &bWow64))
        bWow64 = FALSE;
    bool bArm = false;
    auto pIsWow64Two = kernel32.GetAs<BOOL(WINAPI*)(HANDLE, USHORT*, USHORT*)>("IsWow64Process2");
    USHORT wProcess = 0, wNative = 0;
    if (pIsWow64Two != nullptr && pIsWow64Two(::GetCurrentProcess(), &wProcess, &wNative))
        bArm = wNative == kMachineArm64;
#if defined(_WIN64)
    const bool bX64 = true;
#else
    const bool bX64 = false;
#endif
    return FormatPlatformLine(bX64, bWow64 != FALSE, bArm, IsWine(), KeyExists(HKEY_LOCAL_MACHINE, "SOFTWARE\\ReactOS"),
                              IsSandbox());
}

S_ReportSystem SystemOf()
{
    S_ReportSystem s;
    OSVERSIONINFOEXA info;
    if (VersionOf(info)) {
        s.bNt = info.dwPlatformId == VER_PLATFORM_WIN32_NT;
        s.ulMajor = info.dwMajorVersion;
        s.ulMinor = info.dwMinorVersion;
        s.ulBuild = info.dwBuildNumber;
        s.strServicePack.assign(info.szCSDVersion, strnlen(info.szCSDVersion, sizeof(info.szCSDVersion)));
    }
    if (s.bNt)
        s.ulRevision = RegistryNumber(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "UBR");
    s.strWindowsName = WindowsName(GetExtendedOsWord());
    s.strPlatformLine = PlatformLine();
    return s;
}

std::string Uptime()
{
    FILETIME ftCreation = {}, ftExit = {}, ftKernel = {}, ftUser = {};
    std::string strText;
    if (!::GetProcessTimes(::GetCurrentProcess(), &ftCreation, &ftExit, &ftKernel, &ftUser))
        return strText;
    FILETIME ftNow = {};
    ::GetSystemTimeAsFileTime(&ftNow);
    const uint64_t ullStart = (static_cast<uint64_t>(ftCreation.dwHighDateTime) << 32) | ftCreation.dwLowDateTime;
    const uint64_t ullNow = (static_cast<uint64_t>(ftNow.dwHighDateTime) << 32) | ftNow.dwLowDateTime;
    FormatDuration(strText, ullNow > ullStart ? ullNow - ullStart : 0, nullptr, false, nullptr);
    return strText;
}

void ReadVersions(const char* pszPath, S_ReportModule& m)
{
    C_VersionStrings version;
    const VS_FIXEDFILEINFO* pFixed = version.ReadPath(pszPath) ? version.GetFixed() : nullptr;
    if (pFixed == nullptr)
        return;
    const DWORD adw[4] = {pFixed->dwFileVersionMS, pFixed->dwFileVersionLS, pFixed->dwProductVersionMS,
                          pFixed->dwProductVersionLS};
    for (int i = 0; i < 2; ++i) {
        m.awFileVersion[2 * i] = HIWORD(adw[i]);
        m.awFileVersion[2 * i + 1] = LOWORD(adw[i]);
        m.awProductVersion[2 * i] = HIWORD(adw[2 + i]);
        m.awProductVersion[2 * i + 1] = LOWORD(adw[2 + i]);
    }
}

// Time stamp and checksum from the image's headers in memory.
void ReadImageHeader(uint64_t ullBase, S_ReportModule& m)
{
    IMAGE_DOS_HEADER dos;
    if (!ReadOwn(ullBase, dos) || dos.e_magic != IMAGE_DOS_SIGNATURE || dos.e_lfanew <= 0)
        return;
    const uint64_t ullNt = ullBase + static_cast<uint64_t>(dos.e_lfanew);
    DWORD dwSignature = 0;
    IMAGE_FILE_HEADER file;
    if (!ReadOwn(ullNt, dwSignature) || dwSignature != IMAGE_NT_SIGNATURE ||
        !ReadOwn(ullNt + sizeof(DWORD), file))
        return;
    m.ulTimeStamp = file.TimeDateStamp;
    // CheckSum lies at the same place in the 32-bit and the 64-bit optional header.
    DWORD dwChecksum = 0;
    if (ReadOwn(ullNt + sizeof(DWORD) + sizeof(IMAGE_FILE_HEADER) + offsetof(IMAGE_OPTIONAL_HEADER32, CheckSum),
                dwChecksum))
        m.ulChecksum = dwChecksum;
    // Seconds since 1970 as a file time.
    const uint64_t ullFileTime = (static_cast<uint64_t>(m.ulTimeStamp) + 11644473600ull) * 10000000ull;
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(ullFileTime);
    ft.dwHighDateTime = static_cast<DWORD>(ullFileTime >> 32);
    char szDate[kFileTimeTextBuffer] = {};
    char szTime[kFileTimeTextBuffer] = {};
    if (FormatFileDate(&ft, szDate))
        m.strDate = szDate;
    if (FormatFileTime(&ft, szTime))
        m.strTime = szTime;
}

std::vector<S_ReportModule> Modules()
{
    std::vector<S_ReportModule> v;
    HANDLE hSnapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, 0);
    if (hSnapshot == INVALID_HANDLE_VALUE)
        return v;
    MODULEENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL bMore = ::Module32First(hSnapshot, &entry); bMore; bMore = ::Module32Next(hSnapshot, &entry)) {
        S_ReportModule m;
        m.ulSize = entry.modBaseSize;
        m.ullBase = Address(entry.modBaseAddr);
        m.strPath.assign(entry.szExePath, strnlen(entry.szExePath, sizeof(entry.szExePath)));
        ReadImageHeader(m.ullBase, m);
        ReadVersions(m.strPath.c_str(), m);
        v.push_back(m);
        entry.dwSize = sizeof(entry);
    }
    ::CloseHandle(hSnapshot);
    return v;
}

struct S_ThreadBasicInformation {
    LONG lExitStatus;
    PVOID pTebBaseAddress;
    PVOID apClientId[2];
    ULONG_PTR uAffinityMask;
    LONG lPriority;
    LONG lBasePriority;
};

using T_NtQueryInformationThread = LONG(WINAPI*)(HANDLE, int, PVOID, ULONG, PULONG);
using T_GetThreadDescription = HRESULT(WINAPI*)(HANDLE, PWSTR*);

constexpr int kThreadBasicInformation = 0;
constexpr int kThreadWin32StartAddress = 9;

std::string ThreadName(HANDLE hThread, T_GetThreadDescription pGetDescription)
{
    if (pGetDescription == nullptr || hThread == nullptr)
        return std::string();
    PWSTR pszWide = nullptr;
    std::string strName;
    if (SUCCEEDED(pGetDescription(hThread, &pszWide)) && pszWide != nullptr) {
        char szName[256] = {};
        if (::WideCharToMultiByte(CP_ACP, 0, pszWide, -1, szName, sizeof(szName) - 1, nullptr, nullptr) > 0)
            strName = szName;
        ::LocalFree(pszWide);
    }
    return strName;
}

std::vector<S_ReportThread> Threads(DWORD dwFaultThreadId, C_DbgHelp* pDbgHelp)
{
    std::vector<S_ReportThread> v;
    C_Library ntdll("ntdll.dll");
    C_Library kernel32("kernel32.dll");
    auto pQuery = ntdll.GetAs<T_NtQueryInformationThread>("NtQueryInformationThread");
    auto pGetDescription = kernel32.GetAs<T_GetThreadDescription>("GetThreadDescription");
    auto pOpenThread = kernel32.GetAs<HANDLE(WINAPI*)(DWORD, BOOL, DWORD)>("OpenThread");

    HANDLE hSnapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (hSnapshot == INVALID_HANDLE_VALUE)
        return v;
    const DWORD dwProcess = ::GetCurrentProcessId();
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL bMore = ::Thread32First(hSnapshot, &entry); bMore; bMore = ::Thread32Next(hSnapshot, &entry)) {
        if (entry.th32OwnerProcessID != dwProcess) {
            entry.dwSize = sizeof(entry);
            continue;
        }
        S_ReportThread t;
        t.ulId = entry.th32ThreadID;
        HANDLE hThread = pOpenThread != nullptr ? pOpenThread(THREAD_QUERY_INFORMATION, FALSE, t.ulId) : nullptr;
        if (hThread != nullptr && pQuery != nullptr) {
            S_ThreadBasicInformation basic = {};
            if (pQuery(hThread, kThreadBasicInformation, &basic, sizeof(basic), nullptr) >= 0) {
                NT_TIB tib;
                if (ReadOwn(Address(basic.pTebBaseAddress), tib)) {
                    t.ullStackBase = Address(tib.StackBase);
                    t.ullStackEnd = Address(tib.StackLimit);
                }
            }
            PVOID pStart = nullptr;
            if (pQuery(hThread, kThreadWin32StartAddress, &pStart, sizeof(pStart), nullptr) >= 0)
                t.ullStart = Address(pStart);
        }
        if (t.ullStart != 0 && pDbgHelp != nullptr)
            t.strStartSymbol = pDbgHelp->SymbolAt(t.ullStart);
        t.strName = ThreadName(hThread, pGetDescription);
        if (t.ulId == dwFaultThreadId && t.strName.empty())
            t.strName = "(exception)";
        if (hThread != nullptr)
            ::CloseHandle(hThread);
        v.push_back(t);
        entry.dwSize = sizeof(entry);
    }
    ::CloseHandle(hSnapshot);
    return v;
}

} // namespace

uint64_t GetExtendedOsWord()
{
    const uint64_t ullLow = GetOsWord() & 0xFFFFFFFFull;
    S_EditionFacts facts;
    OSVERSIONINFOEXA info;
    if (VersionOf(info) && info.dwOSVersionInfoSize == sizeof(info)) {
        facts.ulMajor = info.dwMajorVersion;
        facts.ulMinor = info.dwMinorVersion;
        facts.bProductType = info.wProductType;
        facts.wSuiteMask = info.wSuiteMask;
    }
    facts.bMiniNT = KeyExists(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\MiniNT");
    facts.bTabletPC = ::GetSystemMetrics(SM_TABLETPC) != 0;
    facts.bMediaCenter = ::GetSystemMetrics(SM_MEDIACENTER) != 0;
    facts.bRemoteSession = ::GetSystemMetrics(SM_REMOTESESSION) != 0;
    return (static_cast<uint64_t>(EditionBits(facts)) << 32) | ullLow;
}

S_ReportData CollectReportData(const EXCEPTION_POINTERS* pException, DWORD dwFaultThreadId, C_DbgHelp* pDbgHelp,
                               const std::string& strLog)
{
    S_ReportData d;
    d.exception.ulThreadId = dwFaultThreadId;
    d.exception.bWin9x = (GetOsWord() & 0x2) != 0;
    const EXCEPTION_RECORD* pRecord = pException != nullptr ? pException->ExceptionRecord : nullptr;
    if (pRecord != nullptr) {
        d.exception.ulCode = pRecord->ExceptionCode;
        d.exception.ullAddress = Address(pRecord->ExceptionAddress);
        if (pRecord->NumberParameters >= 2) {
            d.exception.bHasAccessInfo = true;
            d.exception.ullAccessKind = pRecord->ExceptionInformation[0];
            d.exception.ullAccessAddress = pRecord->ExceptionInformation[1];
        }
    }
    const CONTEXT* pContext = pException != nullptr ? pException->ContextRecord : nullptr;
    if (pContext != nullptr) {
        d.bHasRegisters = true;
        d.registers = RegistersOf(*pContext);
    }
    d.vProcessors = Processors();
    d.system = SystemOf();
    d.strUptime = Uptime();
    if (pContext != nullptr && pDbgHelp != nullptr && pDbgHelp->CanWalk()) {
        HANDLE hThread = nullptr;
        const bool bOwnThread = dwFaultThreadId == ::GetCurrentThreadId();
        if (bOwnThread)
            hThread = ::GetCurrentThread();
        else
            hThread = ::OpenThread(THREAD_QUERY_INFORMATION | THREAD_GET_CONTEXT, FALSE, dwFaultThreadId);
        if (hThread != nullptr) {
            d.bHasStack = true;
            d.vStackLines = pDbgHelp->WalkStack(*pContext, hThread);
            if (!bOwnThread)
                ::CloseHandle(hThread);
        }
    }
    d.strLog = strLog;
    d.vModules = Modules();
    d.vThreads = Threads(dwFaultThreadId, pDbgHelp);
    return d;
}
