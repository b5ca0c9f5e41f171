#include "quick/win/ResultsFile.h"

#include <windows.h>

#include "framework/win/Library.h"

namespace {

constexpr int kCsidlDesktop = 0x0000;   // CSIDL_DESKTOP
using T_SHGetFolderPathA = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);
using T_SHGetSpecialFolderPathA = BOOL(WINAPI*)(HWND, LPSTR, int, BOOL);

} // namespace

std::string DesktopFolder()
{
    char szFolder[MAX_PATH] = {};
    bool bFound = false;
    {
        C_Library shell32("shell32.dll");
        const auto pfnSpecial = shell32.GetAs<T_SHGetSpecialFolderPathA>("SHGetSpecialFolderPathA");
        bFound = pfnSpecial != nullptr && pfnSpecial(nullptr, szFolder, kCsidlDesktop, FALSE);
    }
    if (!bFound) {
        C_Library shfolder("shfolder.dll");
        const auto pfnGetFolderPath = shfolder.GetAs<T_SHGetFolderPathA>("SHGetFolderPathA");
        bFound = pfnGetFolderPath != nullptr &&
                 SUCCEEDED(pfnGetFolderPath(nullptr, kCsidlDesktop, nullptr, 0, szFolder));
    }
    std::string strFolder = bFound ? szFolder : "";
    if (!strFolder.empty() && strFolder.back() != '\\')
        strFolder += '\\';
    return strFolder;
}

bool SaveResultsFile(const std::string& strText, const char* pszFolder, std::string* pstrPath)
{
    const std::string strFolder = pszFolder != nullptr ? pszFolder : DesktopFolder();
    if (pstrPath != nullptr)
        pstrPath->clear();
    if (strFolder.empty())
        return false;
    const std::string strPath = strFolder + kResultsFileName;
    if (pstrPath != nullptr)
        *pstrPath = strPath;
    HANDLE hFile = ::CreateFileA(strPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    ::SetFilePointer(hFile, 0, nullptr, FILE_END);
    DWORD dwWritten = 0;
    const bool bWritten = ::WriteFile(hFile, strText.data(), static_cast<DWORD>(strText.size()), &dwWritten,
                                      nullptr) != FALSE && dwWritten == strText.size();
    ::CloseHandle(hFile);
    return bWritten;
}
