#include "framework/win/FileView.h"

int C_FileView::Open(const char* pszPath)
{
    Close();
    hFile = ::CreateFileA(pszPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                          FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return 0;
    LARGE_INTEGER size = {};
    if (!::GetFileSizeEx(hFile, &size)) {
        const DWORD dwError = ::GetLastError();
        Close();
        ::SetLastError(dwError);
        return 0;
    }
    ullSize = static_cast<uint64_t>(size.QuadPart);
    if (ullSize == 0)
        return 1;
    if (ullSize > static_cast<uint64_t>(SIZE_MAX)) {
        Close();
        ::SetLastError(ERROR_FILE_TOO_LARGE);
        return 0;
    }
    hMapping = ::CreateFileMappingA(hFile, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (hMapping != nullptr)
        pView = static_cast<const uint8_t*>(::MapViewOfFile(hMapping, FILE_MAP_READ, 0, 0, 0));
    if (pView == nullptr) {
        const DWORD dwError = ::GetLastError();
        Close();
        ::SetLastError(dwError);
        return 0;
    }
    return 1;
}

void C_FileView::Close()
{
    if (pView != nullptr)
        ::UnmapViewOfFile(pView);
    pView = nullptr;
    if (hMapping != nullptr)
        ::CloseHandle(hMapping);
    hMapping = nullptr;
    if (hFile != INVALID_HANDLE_VALUE)
        ::CloseHandle(hFile);
    hFile = INVALID_HANDLE_VALUE;
    ullSize = 0;
}
