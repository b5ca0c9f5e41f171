#include "app/win/Log.h"

#include <cstdio>
#include <string>
#include <vector>

#include "app/core/ProgramPaths.h"
#include "app/win/ErrorModeGuard.h"
#include "app/win/ProgramFile.h"
#include "framework/win/Library.h"
#include "framework/win/TimeText.h"
#include "framework/win/WideText.h"

namespace {

constexpr int kCsidlLocalAppData = 0x001C;   // CSIDL_LOCAL_APPDATA
using T_SHGetFolderPathA = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);

// The user's local application data folder; empty when the system has none.
std::string LocalAppDataFolder()
{
    // shell32 has it from Windows 2000 on; older systems get it from shfolder.dll.
    for (const char* pszModule : {"shell32.dll", "shfolder.dll"}) {
        C_Library library(pszModule);
        const auto pfnGetFolderPath = library.GetAs<T_SHGetFolderPathA>("SHGetFolderPathA");
        char szFolder[MAX_PATH] = {};
        if (pfnGetFolderPath != nullptr && SUCCEEDED(pfnGetFolderPath(nullptr, kCsidlLocalAppData, nullptr, 0, szFolder)))
            return szFolder;
    }
    return std::string();
}

bool IsAbsolute(const std::string& strPath)
{
    return (strPath.size() >= 2 && strPath[1] == ':') ||
           (!strPath.empty() && (strPath[0] == '\\' || strPath[0] == '/'));
}

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

// Creates every folder along the path that does not exist yet.
void CreateFoldersOf(const std::string& strPath)
{
    size_t nStart = 0;
    if (strPath.size() >= 2 && IsSeparator(strPath[0]) && IsSeparator(strPath[1])) {
        // \\server\share\ is no folder to create
        int nSeparators = 0;
        for (nStart = 2; nStart < strPath.size() && nSeparators < 2; ++nStart) {
            if (IsSeparator(strPath[nStart]))
                ++nSeparators;
        }
    } else if (strPath.size() >= 3 && strPath[1] == ':' && IsSeparator(strPath[2])) {
        nStart = 3;
    } else if (!strPath.empty() && IsSeparator(strPath[0])) {
        nStart = 1;
    }
    for (size_t i = nStart; i < strPath.size(); ++i) {
        if (IsSeparator(strPath[i]) && i > nStart)
            ::CreateDirectoryA(strPath.substr(0, i).c_str(), nullptr);
    }
}

// Whether the file can be opened for writing; a file that did not exist
// before is removed again when the probe closes it.
bool ProbeWritable(const std::string& strPath)
{
    HANDLE hFile = ::CreateFileA(strPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 CREATE_NEW, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (hFile == INVALID_HANDLE_VALUE && ::GetLastError() == ERROR_FILE_EXISTS)
        hFile = ::CreateFileA(strPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    ::CloseHandle(hFile);
    return true;
}

std::string FullPathOf(const std::string& strPath)
{
    char szFull[MAX_PATH];
    const DWORD dwLength = ::GetFullPathNameA(strPath.c_str(), sizeof(szFull), szFull, nullptr);
    return (dwLength > 0 && dwLength < sizeof(szFull)) ? std::string(szFull, dwLength) : strPath;
}

std::string FormatMessageV(const char* pszFormat, va_list args)
{
    if (pszFormat == nullptr)
        return std::string();
    va_list copy;
    va_copy(copy, args);
    const int nLength = std::vsnprintf(nullptr, 0, pszFormat, copy);
    va_end(copy);
    if (nLength <= 0)
        return std::string();
    std::vector<char> buffer(static_cast<size_t>(nLength) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), pszFormat, args);
    return std::string(buffer.data(), static_cast<size_t>(nLength));
}

} // namespace

C_Log::C_Log()
{
    ::InitializeCriticalSection(&lock);
}

C_Log::~C_Log()
{
    ::DeleteCriticalSection(&lock);
}

void C_Log::SetOptions(uint32_t ulOptionsIn)
{
    ulOptions.store(ulOptionsIn);
}

bool C_Log::Open(E_LogFolder eFolder, const char* pszName)
{
    return Open(eFolder == LOG_FOLDER_PROGRAM ? ProgramFolder().c_str() : "", pszName);
}

bool C_Log::Open(const char* pszFolder, const char* pszName)
{
    strPath.clear();
    C_ErrorModeGuard errorMode;
    if (TryFolder(pszFolder != nullptr ? pszFolder : "", pszName))
        return true;

    // Once more in "<local application data>\<program>\". A name with a
    // folder of its own keeps only its file name there.
    const std::string strAppData = LocalAppDataFolder();
    if (strAppData.empty())
        return false;
    std::string strName = pszName != nullptr ? pszName : "";
    if (IsAbsolute(strName))
        strName = strName.substr(FolderOfPath(strName).size());
    return TryFolder(WithTrailingSeparator(strAppData) + ProgramBaseName() + "\\",
                     pszName != nullptr ? strName.c_str() : nullptr);
}

bool C_Log::TryFolder(const std::string& strFolder, const char* pszName)
{
    const std::string strFolderText = WithTrailingSeparator(strFolder);
    std::string strFile;
    if (ulOptions.load() & LOG_DATED_NAME) {
        SYSTEMTIME st;
        ::GetLocalTime(&st);
        strFile = DatedLogFileName(strFolderText, pszName != nullptr ? pszName : "Log", st.wDay, st.wMonth, st.wYear,
                                   st.wHour, st.wMinute, st.wSecond);
    } else {
        strFile = strFolderText + (pszName != nullptr ? pszName : "Log.txt");
    }
    CreateFoldersOf(strFile);
    if (!ProbeWritable(strFile))
        return false;
    // Fixed now, so that a later change of the current folder does not move the log.
    strPath = FullPathOf(strFile);
    return true;
}

void C_Log::Write(const char* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    WriteV(pszFormat, args);
    va_end(args);
}

void C_Log::WriteV(const char* pszFormat, va_list args)
{
    if ((ulOptions.load() & LOG_NOTHING) || strPath.empty())
        return;
    WriteLine(FormatMessageV(pszFormat, args));
}

void C_Log::WriteMessage(const char* pszMessage)
{
    WriteLine(pszMessage != nullptr ? pszMessage : "");
}

void C_Log::WriteLine(const std::string& strMessage)
{
    const uint32_t ulNow = ulOptions.load();
    if ((ulNow & LOG_NOTHING) || strPath.empty())
        return;

    const bool bLock = (ulNow & LOG_LOCK) != 0;
    if (bLock)
        ::EnterCriticalSection(&lock);

    std::string strDate;
    std::string strTime;
    if (ulNow & LOG_DATE_TIME) {
        SYSTEMTIME st;
        ::GetLocalTime(&st);   // one reading for both, so they never straddle midnight
        FormatDate(strDate, DATE_SHORTDATE, &st, false);
        FormatTime(strTime, (ulNow & LOG_NO_SECONDS) ? TIME_NOSECONDS : 0, &st, false);
    }
    const std::wstring strWide = WideText(ComposeLogLine(ulNow, strDate, strTime, ++ullLineNumber, strMessage));

    std::string strBytes;
    std::string strMark;
    if (ulNow & LOG_UTF16) {
        strBytes.assign(reinterpret_cast<const char*>(strWide.data()), strWide.size() * sizeof(wchar_t));
        strMark = "\xFF\xFE";
    } else {
        strBytes = NarrowText(strWide, CP_UTF8);
        strMark = "\xEF\xBB\xBF";
    }

    HANDLE hFile = ::CreateFileA(strPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile != INVALID_HANDLE_VALUE) {
        DWORD dwHigh = 0;
        const DWORD dwLow = ::GetFileSize(hFile, &dwHigh);
        if (dwLow == 0 && dwHigh == 0)
            strBytes.insert(0, strMark);
        DWORD dwWritten = 0;
        LONG lHigh = 0;
        ::SetLastError(NO_ERROR);
        if (::SetFilePointer(hFile, 0, &lHigh, FILE_END) != INVALID_SET_FILE_POINTER || ::GetLastError() == NO_ERROR)
            ::WriteFile(hFile, strBytes.data(), static_cast<DWORD>(strBytes.size()), &dwWritten, nullptr);
        if (ulNow & LOG_FLUSH)
            ::FlushFileBuffers(hFile);
        ::CloseHandle(hFile);
    }

    if (bLock)
        ::LeaveCriticalSection(&lock);
}
