#include "fileaccess/win/FileVolume.h"

UINT C_SystemFileVolume::DriveType(const char* pszRoot)
{
    return ::GetDriveTypeA(pszRoot);
}

bool C_SystemFileVolume::FreeSpace(const char* pszRoot, uint64_t* pullAvailable, uint64_t* pullTotal,
                                   uint64_t* pullTotalFree)
{
    ULARGE_INTEGER available;
    ULARGE_INTEGER total;
    ULARGE_INTEGER totalFree;
    if (!::GetDiskFreeSpaceExA(pszRoot, &available, &total, &totalFree))
        return false;
    *pullAvailable = available.QuadPart;
    *pullTotal = total.QuadPart;
    *pullTotalFree = totalFree.QuadPart;
    return true;
}

bool C_SystemFileVolume::SectorSize(const char* pszRoot, uint32_t* pulBytes)
{
    DWORD dwSectorsPerCluster = 0;
    DWORD dwBytesPerSector = 0;
    DWORD dwFreeClusters = 0;
    DWORD dwClusters = 0;
    if (!::GetDiskFreeSpaceA(pszRoot, &dwSectorsPerCluster, &dwBytesPerSector, &dwFreeClusters, &dwClusters))
        return false;
    *pulBytes = dwBytesPerSector;
    return true;
}

bool PathIsFile(const std::string& strPath)
{
    const DWORD dwAttributes = ::GetFileAttributesA(strPath.c_str());
    return dwAttributes != INVALID_FILE_ATTRIBUTES && !(dwAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool PathIsFolder(const std::string& strPath)
{
    const DWORD dwAttributes = ::GetFileAttributesA(strPath.c_str());
    return dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool QueryFileSize(const std::string& strPath, uint64_t* pullSize)
{
    HANDLE hFile = ::CreateFileA(strPath.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                 0, nullptr);
    if (hFile != INVALID_HANDLE_VALUE) {
        BY_HANDLE_FILE_INFORMATION info;
        if (::GetFileInformationByHandle(hFile, &info) && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            ::CloseHandle(hFile);
            return false;
        }
        LARGE_INTEGER size;
        const BOOL bOk = ::GetFileSizeEx(hFile, &size);
        ::CloseHandle(hFile);
        if (!bOk)
            return false;
        *pullSize = static_cast<uint64_t>(size.QuadPart);
        return true;
    }
    if (::GetLastError() != ERROR_ACCESS_DENIED)
        return false;
    WIN32_FIND_DATAA data;
    HANDLE hFind = ::FindFirstFileA(strPath.c_str(), &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return false;
    ::FindClose(hFind);
    // A folder has no size of its own to show.
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return false;
    *pullSize = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return true;
}
