#include "fileaccess/win/BiggestFileSearch.h"

#include <windows.h>

namespace {

// Returns false once a stop was requested.
bool Walk(const std::string& strFolder, uint64_t& ullBest, std::string& strBest,
          const std::function<bool()>& isStopRequested, const std::function<void()>& onBetter)
{
    WIN32_FIND_DATAA data;
    HANDLE hFind = ::FindFirstFileA((strFolder + "*.*").c_str(), &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return true;
    bool bGoOn = true;
    do {
        if (isStopRequested()) {
            bGoOn = false;
            break;
        }
        const std::string strName = data.cFileName;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (strName == "." || strName == ".." || (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                continue;
            if (!Walk(strFolder + strName + "\\", ullBest, strBest, isStopRequested, onBetter)) {
                bGoOn = false;
                break;
            }
            continue;
        }
        const uint64_t ullSize = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        if (ullSize > ullBest) {
            ullBest = ullSize;
            strBest = strFolder + strName;
            onBetter();
        }
    } while (::FindNextFileA(hFind, &data));
    ::FindClose(hFind);
    return bGoOn;
}

} // namespace

void FindBiggestFile(const std::string& strFolder, uint64_t& ullBest, std::string& strBest,
                     const std::function<bool()>& isStopRequested, const std::function<void()>& onBetter)
{
    Walk(strFolder, ullBest, strBest, isStopRequested, onBetter);
}
