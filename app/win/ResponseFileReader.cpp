#include "app/win/ResponseFileReader.h"

#include <windows.h>

#include "app/win/ErrorModeGuard.h"

bool C_ResponseFileReader::ReadResponseFile(const std::string& strName, std::string& strContent)
{
    C_ErrorModeGuard errorMode;
    HANDLE hFile = ::CreateFileA(strName.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    std::string strData;
    bool bResult = true;
    char buffer[16384];
    for (;;) {
        DWORD dwRead = 0;
        if (!::ReadFile(hFile, buffer, sizeof(buffer), &dwRead, nullptr)) {
            bResult = false;
            break;
        }
        if (dwRead == 0)
            break;
        if (strData.size() + dwRead > kMaxSize) {
            ::SetLastError(ERROR_FILE_TOO_LARGE);
            bResult = false;
            break;
        }
        strData.append(buffer, dwRead);
    }
    const DWORD dwError = ::GetLastError();
    ::CloseHandle(hFile);
    ::SetLastError(dwError);
    if (bResult)
        strContent = std::move(strData);
    return bResult;
}
