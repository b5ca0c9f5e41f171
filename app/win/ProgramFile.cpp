#include "app/win/ProgramFile.h"

#include <windows.h>

#include <vector>

#include "app/core/ProgramPaths.h"

std::string ProgramFilePath()
{
    // A path longer than the buffer is cut and the call answers the buffer
    // size, so the buffer grows until the whole path fits.
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD dwLength = ::GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (dwLength == 0)
            return std::string();
        if (dwLength < buffer.size() - 1 || buffer.size() >= 32768)
            return std::string(buffer.data(), dwLength);
        buffer.resize(buffer.size() * 2);
    }
}

std::string ProgramFolder()
{
    return FolderOfPath(ProgramFilePath());
}

std::string ProgramBaseName()
{
    return BaseNameOfPath(ProgramFilePath());
}
