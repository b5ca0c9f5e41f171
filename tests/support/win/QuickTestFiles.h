#ifndef QUENVALE_TESTS_QUICKTESTFILES_H
#define QUENVALE_TESTS_QUICKTESTFILES_H

#include <windows.h>

#include <string>

// A fresh folder under the temporary folder, removed with its files.
class C_QuickTempFolder {
public:
    explicit C_QuickTempFolder(const char* pszBase = nullptr)
    {
        char szTemp[MAX_PATH] = {};
        if (pszBase != nullptr)
            lstrcpynA(szTemp, pszBase, MAX_PATH);
        else
            ::GetTempPathA(sizeof(szTemp), szTemp);
        static int nCount = 0;
        strPath = std::string(szTemp) + "qv-quick-" + std::to_string(::GetCurrentProcessId()) + "-" +
                  std::to_string(++nCount) + "\\";
        ::CreateDirectoryA(strPath.c_str(), nullptr);
    }
    ~C_QuickTempFolder() { RemoveTree(strPath); }
    C_QuickTempFolder(const C_QuickTempFolder&) = delete;
    C_QuickTempFolder& operator=(const C_QuickTempFolder&) = delete;

    const std::string& Path() const { return strPath; }   // with the trailing '\'
    std::string operator/(const std::string& strName) const { return strPath + strName; }

    static void RemoveTree(const std::string& strFolder)
    {
        WIN32_FIND_DATAA data;
        HANDLE hFind = ::FindFirstFileA((strFolder + "*").c_str(), &data);
        if (hFind != INVALID_HANDLE_VALUE) {
            do {
                const std::string strName = data.cFileName;
                if (strName == "." || strName == "..")
                    continue;
                const std::string strPathOf = strFolder + strName;
                ::SetFileAttributesA(strPathOf.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(strPathOf + "\\");
                else
                    ::DeleteFileA(strPathOf.c_str());
            } while (::FindNextFileA(hFind, &data));
            ::FindClose(hFind);
        }
        ::RemoveDirectoryA(strFolder.c_str());
    }

private:
    std::string strPath;
};

inline bool QuickPathExists(const std::string& strPath)
{
    return ::GetFileAttributesA(strPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline std::string QuickReadFile(const std::string& strPath)
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

// The scratch drive Q: of the test prefix, when it is there.
inline bool HasScratchDriveQ()
{
    return ::GetDriveTypeA("Q:\\") != DRIVE_NO_ROOT_DIR;
}

#endif
