// Shared by the problem report tests: a copy of this test program run as a
// child that crashes on purpose, waits for the windows of another process,
// and the reader of a posted report form.
#ifndef QUENVALE_TESTS_REPORTTESTTOOLS_H
#define QUENVALE_TESTS_REPORTTESTTOOLS_H

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/win/TempFiles.h"

namespace reporttest {

// The variable that tells a copy of the test program what to do instead of
// running the tests (see ProblemReportTest.cpp).
constexpr const char* kChildVariable = "QV_REPORT_CHILD";
// Under MiniDumpWriteDump Wine takes seconds; a child gets this long.
constexpr DWORD kChildTimeout = 90000;

using T_Environment = std::vector<std::pair<std::string, std::string>>;

inline std::string SelfPath()
{
    char szPath[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    return szPath;
}

inline std::string EnvironmentValue(const char* pszName)
{
    char szValue[4096];
    const DWORD dwLength = ::GetEnvironmentVariableA(pszName, szValue, sizeof(szValue));
    return dwLength > 0 && dwLength < sizeof(szValue) ? std::string(szValue, dwLength) : std::string();
}

// This process's environment with the given variables replaced or added,
// as a block for CreateProcessA.
inline std::string EnvironmentBlock(const T_Environment& vChanges)
{
    std::string strBlock;
    char* pStrings = ::GetEnvironmentStringsA();
    for (const char* p = pStrings; p != nullptr && *p != '\0'; p += std::strlen(p) + 1) {
        const std::string strEntry = p;
        bool bReplaced = false;
        for (const auto& change : vChanges)
            if (_strnicmp(strEntry.c_str(), (change.first + "=").c_str(), change.first.size() + 1) == 0)
                bReplaced = true;
        if (!bReplaced)
            strBlock += strEntry + '\0';
    }
    if (pStrings != nullptr)
        ::FreeEnvironmentStringsA(pStrings);
    for (const auto& change : vChanges)
        strBlock += change.first + "=" + change.second + '\0';
    strBlock += '\0';
    return strBlock;
}

inline HANDLE StartProcess(const std::string& strCommand, const T_Environment& vChanges, DWORD* pdwProcessId = nullptr)
{
    std::string strLine = strCommand;
    std::string strBlock = EnvironmentBlock(vChanges);
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!::CreateProcessA(nullptr, &strLine[0], nullptr, nullptr, FALSE, 0, &strBlock[0], nullptr, &si, &pi))
        return nullptr;
    ::CloseHandle(pi.hThread);
    if (pdwProcessId != nullptr)
        *pdwProcessId = pi.dwProcessId;
    return pi.hProcess;
}

// A copy of this test program in its own folder, so that its report files
// ("<name>_Debug.txt" and ".dmp") land there.
class C_Child {
public:
    explicit C_Child(const char* pszName = "ReportChild") : strName(pszName), strExe(folder / (strName + ".exe"))
    {
        bCopied = ::CopyFileA(SelfPath().c_str(), strExe.c_str(), FALSE) != FALSE;
    }
    ~C_Child()
    {
        if (hProcess != nullptr) {
            if (::WaitForSingleObject(hProcess, 0) == WAIT_TIMEOUT)
                ::TerminateProcess(hProcess, 1);
            ::WaitForSingleObject(hProcess, 5000);
            ::CloseHandle(hProcess);
        }
    }
    C_Child(const C_Child&) = delete;
    C_Child& operator=(const C_Child&) = delete;

    bool Start(const char* pszMode, T_Environment vEnvironment = {})
    {
        vEnvironment.push_back({kChildVariable, pszMode});
        hProcess = StartProcess("\"" + strExe + "\"", vEnvironment, &dwProcessId);
        return hProcess != nullptr;
    }
    // True when the child ended in time; dwExitCode then holds its code.
    bool Wait(DWORD& dwExitCode, DWORD dwMilliseconds = kChildTimeout)
    {
        if (hProcess == nullptr || ::WaitForSingleObject(hProcess, dwMilliseconds) != WAIT_OBJECT_0)
            return false;
        return ::GetExitCodeProcess(hProcess, &dwExitCode) != FALSE;
    }

    bool IsCopied() const { return bCopied; }
    const std::string& Folder() const { return folder.Path(); }
    const std::string& Exe() const { return strExe; }
    std::string Report(const char* pszExtension) const { return folder / (strName + "_Debug." + pszExtension); }
    DWORD ProcessId() const { return dwProcessId; }

private:
    C_TempFolder folder;
    std::string strName;
    std::string strExe;
    bool bCopied = false;
    HANDLE hProcess = nullptr;
    DWORD dwProcessId = 0;
};

struct S_DialogSearch {
    DWORD dwProcessId;
    HWND hFound;
};

inline BOOL CALLBACK FindDialogOf(HWND hWnd, LPARAM lParam)
{
    S_DialogSearch* p = reinterpret_cast<S_DialogSearch*>(lParam);
    DWORD dwOwner = 0;
    ::GetWindowThreadProcessId(hWnd, &dwOwner);
    char szClass[16] = {};
    ::GetClassNameA(hWnd, szClass, sizeof(szClass));
    if (dwOwner == p->dwProcessId && ::IsWindowVisible(hWnd) && std::strcmp(szClass, "#32770") == 0) {
        p->hFound = hWnd;
        return FALSE;
    }
    return TRUE;
}

// The first visible top-level dialog of a process, or null after the time.
inline HWND WaitForDialogOf(DWORD dwProcessId, DWORD dwMilliseconds)
{
    S_DialogSearch search = {dwProcessId, nullptr};
    const DWORD dwStart = ::GetTickCount();
    while (::GetTickCount() - dwStart < dwMilliseconds) {
        ::EnumWindows(FindDialogOf, reinterpret_cast<LPARAM>(&search));
        if (search.hFound != nullptr)
            return search.hFound;
        ::Sleep(100);
    }
    return nullptr;
}

inline bool WaitForPath(const std::string& strPath, DWORD dwMilliseconds)
{
    const DWORD dwStart = ::GetTickCount();
    while (!PathExists(strPath)) {
        if (::GetTickCount() - dwStart >= dwMilliseconds)
            return false;
        ::Sleep(50);
    }
    return true;
}

// When QV_REPORT_SCREENSHOT names a PNG file (a Unix path), the screen is
// saved there (by ImageMagick's import, started as a Unix program): a
// picture of a dialog to look at by hand. Nothing happens otherwise.
inline void SaveScreenshotIfAsked(const char* pszSuffix)
{
    std::string strTarget = EnvironmentValue("QV_REPORT_SCREENSHOT");
    if (strTarget.empty())
        return;
    const size_t nDot = strTarget.rfind(".png");
    if (nDot != std::string::npos)
        strTarget.insert(nDot, pszSuffix);
    ::Sleep(500);   // let the window paint first
    HANDLE hProcess = StartProcess("/usr/bin/import -window root " + strTarget, {});
    if (hProcess != nullptr)
        ::CloseHandle(hProcess);
    std::string strWindows = "Z:" + strTarget;
    for (char& c : strWindows)
        if (c == '/')
            c = '\\';
    WaitForPath(strWindows, 10000);
    ::Sleep(500);
}

// One part of a posted multipart form.
struct S_PostedPart {
    std::string strName;
    std::string strFileName;   // empty for a field
    bool bFile = false;
    std::string strData;
};

// Splits a posted report form strictly: every part opens with the
// delimiter line and its disposition (a file also with its content type),
// ends with a line break, and the closing delimiter ends the body. False,
// with the reason, at the first thing out of place.
inline bool ParsePostedForm(const std::string& strBody, std::vector<S_PostedPart>& vParts, std::string& strError)
{
    const std::string strDelimiter = "-------------------------------1234567890123";
    const std::string strClosing = strDelimiter + "--\r\n";
    vParts.clear();
    if (strBody.size() < strClosing.size() ||
        strBody.compare(strBody.size() - strClosing.size(), strClosing.size(), strClosing) != 0) {
        strError = "no closing delimiter";
        return false;
    }
    const std::string strField = "Content-Disposition: form-data; name=\"";
    size_t nPos = 0;
    const size_t nEnd = strBody.size() - strClosing.size();
    while (nPos < nEnd) {
        if (strBody.compare(nPos, strDelimiter.size() + 2, strDelimiter + "\r\n") != 0) {
            strError = "no delimiter at " + std::to_string(nPos);
            return false;
        }
        nPos += strDelimiter.size() + 2;
        const size_t nHeadEnd = strBody.find("\r\n\r\n", nPos);
        if (nHeadEnd == std::string::npos || strBody.compare(nPos, strField.size(), strField) != 0) {
            strError = "bad part headers at " + std::to_string(nPos);
            return false;
        }
        const std::string strHead = strBody.substr(nPos + strField.size(), nHeadEnd - nPos - strField.size());
        S_PostedPart part;
        const size_t nQuote = strHead.find('"');
        part.strName = strHead.substr(0, nQuote);
        const std::string strRest = strHead.substr(nQuote + 1);
        const std::string strFile = "; filename=\"";
        const std::string strType = "\"\r\nContent-Type: application/octet-stream";
        if (strRest.compare(0, strFile.size(), strFile) == 0 && strRest.size() > strFile.size() + strType.size() &&
            strRest.compare(strRest.size() - strType.size(), strType.size(), strType) == 0) {
            part.bFile = true;
            part.strFileName = strRest.substr(strFile.size(), strRest.size() - strFile.size() - strType.size());
        } else if (!strRest.empty()) {
            strError = "bad disposition of " + part.strName;
            return false;
        }
        // The data runs up to the line break before the next delimiter line.
        const size_t nDataStart = nHeadEnd + 4;
        const size_t nNext = strBody.find("\r\n" + strDelimiter, nDataStart);
        if (nNext == std::string::npos || nNext + 2 > nEnd) {
            strError = "part " + part.strName + " runs to the end";
            return false;
        }
        part.strData = strBody.substr(nDataStart, nNext - nDataStart);
        vParts.push_back(part);
        nPos = nNext + 2;
    }
    return true;
}

} // namespace reporttest

#endif
