// The disk images behind the test prefix's raw scratch drives (R:: 64 MiB,
// S:: 16 MiB), reached as files through Z:, so that a test sees the bytes
// a raw transfer left on the Linux side.
#ifndef QUENVALE_TESTS_SCRATCHIMAGE_H
#define QUENVALE_TESTS_SCRATCHIMAGE_H

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// "Z:\...\wine-drives\r.img" for 'R'; empty when the test runs outside the
// prefix's wrapper (QV_DRIVES unset) or the image does not exist.
inline std::string ScratchImagePath(char cLetter)
{
    char szDrives[MAX_PATH] = {};
    const DWORD dwLength = ::GetEnvironmentVariableA("QV_DRIVES", szDrives, MAX_PATH);
    if (dwLength == 0 || dwLength >= MAX_PATH)
        return std::string();
    std::string strPath = std::string("Z:") + szDrives + "/" + static_cast<char>(cLetter | 0x20) + ".img";
    for (char& c : strPath) {
        if (c == '/')
            c = '\\';
    }
    return ::GetFileAttributesA(strPath.c_str()) != INVALID_FILE_ATTRIBUTES ? strPath : std::string();
}

// Bytes of the image from ullOffset on (to its end when nBytes is 0); empty on failure.
inline std::vector<uint8_t> ReadScratchImage(const std::string& strImage, uint64_t ullOffset = 0, size_t nBytes = 0)
{
    std::vector<uint8_t> v;
    const HANDLE h = ::CreateFileA(strImage.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return v;
    LARGE_INTEGER size, position;
    position.QuadPart = static_cast<LONGLONG>(ullOffset);
    if (::GetFileSizeEx(h, &size) && ::SetFilePointerEx(h, position, nullptr, FILE_BEGIN) &&
        static_cast<uint64_t>(size.QuadPart) >= ullOffset) {
        const uint64_t ullLeft = static_cast<uint64_t>(size.QuadPart) - ullOffset;
        v.resize(nBytes != 0 && nBytes < ullLeft ? nBytes : static_cast<size_t>(ullLeft));
        DWORD dwRead = 0;
        if (!v.empty() && (!::ReadFile(h, v.data(), static_cast<DWORD>(v.size()), &dwRead, nullptr) ||
                           dwRead != v.size()))
            v.clear();
    }
    ::CloseHandle(h);
    return v;
}

inline bool WriteScratchImage(const std::string& strImage, uint64_t ullOffset, const std::vector<uint8_t>& vData)
{
    const HANDLE h = ::CreateFileA(strImage.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(ullOffset);
    DWORD dwWritten = 0;
    const bool bOk = ::SetFilePointerEx(h, position, nullptr, FILE_BEGIN) &&
                     ::WriteFile(h, vData.data(), static_cast<DWORD>(vData.size()), &dwWritten, nullptr) &&
                     dwWritten == vData.size();
    ::CloseHandle(h);
    return bOk;
}

#endif
