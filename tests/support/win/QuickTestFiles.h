#ifndef QUENVALE_TESTS_QUICKTESTFILES_H
#define QUENVALE_TESTS_QUICKTESTFILES_H

#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/win/TempFiles.h"

// The scratch drive Q: of the test prefix, when it is there.
inline bool HasScratchDriveQ()
{
    return ::GetDriveTypeA("Q:\\") != DRIVE_NO_ROOT_DIR;
}

// The messages of a log file's lines, each after its "<date> <time>: "; a
// line without that stamp is kept whole. None when there is no such file.
inline std::vector<std::string> QuickLogMessages(const std::string& strLogPath)
{
    std::vector<std::string> vMessages;
    if (!PathExists(strLogPath))
        return vMessages;
    const std::string strText = ReadWholeFile(strLogPath);
    size_t nStart = strText.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    while (nStart < strText.size()) {
        size_t nEnd = strText.find("\r\n", nStart);
        if (nEnd == std::string::npos)
            nEnd = strText.size();
        const std::string strLine = strText.substr(nStart, nEnd - nStart);
        const size_t nColon = strLine.find(": ");
        vMessages.push_back(nColon == std::string::npos ? strLine : strLine.substr(nColon + 2));
        nStart = nEnd + 2;
    }
    return vMessages;
}

#endif
