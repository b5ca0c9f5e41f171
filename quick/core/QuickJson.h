#ifndef QUENVALE_QUICK_QUICKJSON_H
#define QUENVALE_QUICK_QUICKJSON_H

#include <cstdint>
#include <string>
#include <vector>

#include "framework/core/JsonText.h"
#include "quick/core/QuickFigures.h"

// One console run as the JSON output shows it.
struct S_QuickRunRecord {
    uint64_t ullFileSize = 0;       // bytes
    uint32_t ulBlockSize = 0;       // bytes
    bool bSkipRandom = false;
    bool bStopped = false;
    std::string strSummary;         // empty when the last drive failed
    std::vector<S_QuickDriveReport> vDrives;
};

// Texts in the system's code page become UTF-8 through toUtf8; without it,
// bytes from 0x80 on are read as Windows-1252. The output is pure ASCII
// (other characters as \u escapes).
std::string QuickRunJson(const S_QuickRunRecord& record, const T_TextToUtf8& toUtf8 = nullptr);

#endif
