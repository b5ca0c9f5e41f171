#ifndef QUENVALE_TESTS_TEMPFILES_H
#define QUENVALE_TESTS_TEMPFILES_H

#include <windows.h>

#include <string>

// A fresh folder under the temporary folder, removed with everything in it.
class C_TempFolder {
public:
    C_TempFolder()
    {
        char szTemp[MAX_PATH] = {};
        ::GetTempPathA(sizeof(szTemp), szTemp);
        static int nCount = 0;
        // Process ids come back soon under Wine: the tick count keeps a new
        // process from meeting a folder of an earlier one.
        strPath = std::string(szTemp) + "qv-test-" + std::to_string(::GetCurrentProcessId()) + "-" +
                  std::to_string(::GetTickCount()) + "-" + std::to_string(++nCount) + "\\";
        ::CreateDirectoryA(strPath.c_str(), nullptr);
    }
    ~C_TempFolder() { RemoveTree(strPath); }
    C_TempFolder(const C_TempFolder&) = delete;
    C_TempFolder& operator=(const C_TempFolder&) = delete;

    // With the trailing '\'.
    const std::string& Path() const { return strPath; }
    std::string operator/(const std::string& strName) const { return strPath + strName; }

    // The folder and everything in it, read-only files included.
    static void RemoveTree(const std::string& strFolder)
    {
        const std::string strBase = strFolder.back() == '\\' ? strFolder : strFolder + "\\";
        WIN32_FIND_DATAA data;
        HANDLE hFind = ::FindFirstFileA((strBase + "*").c_str(), &data);
        if (hFind != INVALID_HANDLE_VALUE) {
            do {
                const std::string strName = data.cFileName;
                if (strName == "." || strName == "..")
                    continue;
                const std::string strPathOf = strBase + strName;
                ::SetFileAttributesA(strPathOf.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(strPathOf);
                else
                    ::DeleteFileA(strPathOf.c_str());
            } while (::FindNextFileA(hFind, &data));
            ::FindClose(hFind);
        }
        ::RemoveDirectoryA(strBase.c_str());
    }

private:
    std::string strPath;
};

inline bool WriteWholeFile(const std::string& strPath, const std::string& strData)
{
    HANDLE hFile = ::CreateFileA(strPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                 nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    DWORD dwWritten = 0;
    const BOOL bOk = ::WriteFile(hFile, strData.data(), static_cast<DWORD>(strData.size()), &dwWritten, nullptr);
    ::CloseHandle(hFile);
    return bOk && dwWritten == strData.size();
}

// The whole file; "<missing>" when it cannot be opened.
inline std::string ReadWholeFile(const std::string& strPath)
{
    HANDLE hFile = ::CreateFileA(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return "<missing>";
    std::string strData;
    char buffer[4096];
    DWORD dwRead = 0;
    while (::ReadFile(hFile, buffer, sizeof(buffer), &dwRead, nullptr) && dwRead > 0)
        strData.append(buffer, dwRead);
    ::CloseHandle(hFile);
    return strData;
}

// A file or a folder.
inline bool PathExists(const std::string& strPath)
{
    return ::GetFileAttributesA(strPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}

#endif
